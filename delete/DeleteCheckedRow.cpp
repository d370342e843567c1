#include "delete/DeleteCheckedRow.h"

#include "catalogue/Catalogue.h"
#include "delete/DeleteFinding.h"
#include "registry/RegistrySections.h"
#include "results/RowCaptions.h"

namespace nb {

namespace {

void RemoveFromStore(RunContext& ctx, const Text& caption, const Text& sizeText) {
  const Text entry = ctx.state.ShownSection + u"#" + caption + u"#" + sizeText;
  const int64_t index = ctx.state.Results.IndexOfIgnoringCase(ctx.os, entry);
  if (index >= 0) ctx.state.Results.RemoveAt(size_t(index));
}

}  // namespace

std::optional<Text> DeleteCheckedRow(RunContext& ctx, FoundFileDeleter& files, const Text& caption,
                                     const Text& sizeText) {
  if (const RegistrySection* registry = RegistrySectionNumbered(SectionNumberOf(ctx.state.ShownSection))) {
    const RegistrySubject subject = SplitRegistrySubject(caption);
    if (!DeleteFoundValue(ctx.os, registry->root, subject)) return std::nullopt;
    RemoveFromStore(ctx, caption, sizeText);
    return DeletedValueCaption(subject.valueName);
  }
  if (files.Delete(caption) != DeleteOutcome::Deleted) return std::nullopt;
  RemoveFromStore(ctx, caption, sizeText);
  return DeletedFileCaption(caption);
}

}  // namespace nb
