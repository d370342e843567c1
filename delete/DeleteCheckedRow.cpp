#include "delete/DeleteCheckedRow.h"

#include "delete/DeleteFinding.h"

namespace nb {

namespace {

bool IsRegistrySection(const Text& code) { return code == u"15" || code == u"16"; }

// The part of a path after its last "\" or ":".
Text FileNameOf(const Text& path) {
  const size_t cut = path.find_last_of(u"\\:");
  return cut == Text::npos ? path : path.substr(cut + 1);
}

void RemoveFromStore(RunContext& ctx, const Text& caption, const Text& sizeText) {
  const Text entry = ctx.state.ShownSection + u"#" + caption + u"#" + sizeText;
  const int64_t index = ctx.state.Results.IndexOfIgnoringCase(ctx.os, entry);
  if (index >= 0) ctx.state.Results.RemoveAt(size_t(index));
}

}  // namespace

bool IsDeletedRow(TextView caption) { return StartsWith(caption, u"Deleted"); }

std::optional<Text> DeleteCheckedRow(RunContext& ctx, FoundFileDeleter& files, const Text& caption,
                                     const Text& sizeText) {
  if (IsRegistrySection(ctx.state.ShownSection)) {
    const uint32_t root = StartsWith(caption, u"HKLM") ? win::kHkeyLocalMachine : win::kHkeyCurrentUser;
    const RegistrySubject subject = SplitRegistrySubject(caption);
    if (!DeleteFoundValue(ctx.os, root, subject)) return std::nullopt;
    RemoveFromStore(ctx, caption, sizeText);
    return u"Deleted value " + subject.valueName;
  }
  if (files.Delete(caption) != DeleteOutcome::Deleted) return std::nullopt;
  RemoveFromStore(ctx, caption, sizeText);
  return u"Deleted file " + FileNameOf(caption);
}

}  // namespace nb
