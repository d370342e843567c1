#include "delete/FolderPurge.h"

#include <set>

namespace nb {

namespace {

bool IsDotEntry(const Text& name) { return name == u"." || name == u".."; }

// Everything below the root happens through handles: each subfolder is opened
// relative to the folder it was listed in, and is entered only when it is
// that folder's own entry, no link, on the root's volume.
class Purge {
 public:
  Purge(RunContext& run, uint32_t volume, DeletedNames* deleted) : run_(run), volume_(volume), deleted_(deleted) {}

  void Prune(OpenFolder& folder, const Text& path, const Text& finalPath) {
    FindEntry entry;
    auto listing = run_.os.ListFolder(folder, entry);
    if (!listing) return;
    const bool awaited = deleted_ && deleted_->Awaits(path);
    std::set<Text> files;  // folded, while `deleted` awaits this folder
    do {
      run_.host.PumpMessages();
      if ((entry.attributes & winapi::kAttrDirectory) == 0) {
        if (awaited) files.insert(FoldCaseText(entry.name));
        continue;
      }
      if (IsDotEntry(entry.name)) continue;
      // A junction in a temp folder or a recycle bin may point anywhere, at the
      // user's own folders too: its target is none of our business, and the
      // link itself is left for whoever made it.
      if (entry.attributes & winapi::kAttrReparsePoint) continue;
      const Text subPath = path + entry.name;
      if (subPath.size() >= kFolderPathLimit) continue;
      ExactFolder sub = OpenFolderExactlyBelow(run_.os, folder, finalPath, entry.name, volume_);
      if (!sub.handle) continue;
      Prune(*sub.handle, subPath + u"\\", FinalPathBelow(finalPath, entry.name));
      sub.handle.reset();
      run_.os.RemoveFolderIn(folder, entry.name);  // fails, and the folder stays, while anything is left in it
    } while (listing->Next(entry));
    if (awaited) deleted_->Listed(path, files);
  }

 private:
  RunContext& run_;
  uint32_t volume_;
  DeletedNames* deleted_;
};

}  // namespace

void PruneEmptyFolders(RunContext& run, const Text& folder, DeletedNames* deleted) {
  std::unique_ptr<OpenFolder> root;
  FolderIdentity now;
  if (run.os.OpenFolderAt(folder, root) != winapi::kErrorSuccess || !run.os.IdentifyFolder(*root, now) || now.isLink) return;
  // The folder must be the one Analyze found there, links on the way as they
  // were then; a folder never recorded must lie where its path says.
  if (!IsSameScanRoot(run.state.Roots.Find(folder), folder, now)) return;
  Purge(run, now.volumeSerial, deleted).Prune(*root, folder, now.finalPath);
}

}  // namespace nb
