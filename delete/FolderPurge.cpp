#include "delete/FolderPurge.h"

namespace nb {

namespace {

// Paths this long are left alone: the plain API calls cannot reach below them.
constexpr size_t kMaxSubfolderPath = 256;

bool IsDotEntry(const Text& name) { return name == u"." || name == u".."; }

}  // namespace

void PruneEmptyFolders(RunContext& ctx, const Text& folder) {
  // The folder itself may have become a link since it was found (a temp folder
  // swapped for a junction after Analyze): then its target is not pruned either.
  const Text self = folder.size() > 3 && EndsWith(folder, u"\\") ? folder.substr(0, folder.size() - 1) : folder;
  const auto attributes = ctx.os.GetFileAttributes(self);
  if (!attributes.Ok() || (attributes.attributes & win::kAttrReparsePoint)) return;
  FindEntry entry;
  auto listing = ctx.os.FindFirst(folder + u"*.*", entry);
  if (!listing) return;
  do {
    ctx.ui.PumpMessages();
    if ((entry.attributes & win::kAttrDirectory) == 0 || IsDotEntry(entry.name)) continue;
    // A junction in a temp folder or a recycle bin may point anywhere, at the
    // user's own folders too: its target is none of our business, and the
    // link itself is left for whoever made it.
    if (entry.attributes & win::kAttrReparsePoint) continue;
    const Text path = folder + entry.name;
    if (path.size() >= kMaxSubfolderPath) continue;
    PruneEmptyFolders(ctx, path + u"\\");
    ctx.os.RemoveDirectory(path);  // fails, and the folder stays, while anything is left in it
  } while (listing->Next(entry));
}

}  // namespace nb
