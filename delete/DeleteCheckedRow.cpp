#include "delete/DeleteCheckedRow.h"

#include "catalogue/Catalogue.h"
#include "delete/DeleteFinding.h"
#include "registry/RegistrySections.h"
#include "results/RowCaptions.h"

namespace nb {

std::optional<Text> DeleteCheckedRow(RunContext& ctx, FoundFileDeleter& files, const Text& caption,
                                     const Text& sizeText) {
  // The row's finding in the store: where it came from decides how it may be deleted.
  const Text entry = ctx.state.ShownSection + u"#" + caption + u"#" + sizeText;
  const int64_t index = ctx.state.Results.IndexOfIgnoringCase(ctx.os, entry);
  std::optional<Text> relabel;
  if (const RegistrySection* registry = RegistrySectionNumbered(SectionNumberOf(ctx.state.ShownSection))) {
    const RegistrySubject subject = SplitRegistrySubject(caption);
    const RegValue* found = index >= 0 ? FoundValueOf(ctx.state, size_t(index)) : nullptr;
    if (DeleteFoundValue(ctx.os, registry->root, subject, found) == DeleteOutcome::Deleted)
      relabel = DeletedValueCaption(subject.valueName);
  } else {
    const uint32_t root = index >= 0 ? ctx.state.Results.Origin(size_t(index)) : kNoScanRoot;
    if (files.Delete(caption, root) == DeleteOutcome::Deleted) relabel = DeletedFileCaption(caption);
  }
  if (relabel && index >= 0) ctx.state.Results.RemoveAt(size_t(index));
  return relabel;
}

}  // namespace nb
