// Deleting found files exactly where Analyze found them. Each file is deleted
// relative to its folder, held open once for all the files in it; the folder
// is reached from the scan root whose walk found the file, and must still be
// what it was then: a root with the same identity, below it the same real
// folders. A trusted link that was already there at Analyze is followed as it
// was; a folder swapped for a link or for another folder since gives
// Redirected, and so does a root that Analyze refused.
#pragma once

#include <memory>
#include <vector>

#include "delete/DeletedNames.h"
#include "platform/Platform.h"
#include "state/ScanRoots.h"

namespace nb {

class FoundFileDeleter {
 public:
  FoundFileDeleter(Platform& os, const ScanRoots& roots) : os_(os), roots_(roots) {}

  // Deletes the file at `path`, a finding's subject, found by the walk of the
  // scan root numbered `root`. With kNoScanRoot the file is deleted only when
  // no link lies on its way.
  DeleteOutcome Delete(const Text& path, uint32_t root);

  // With TrackDeletedNames called before the deletions, the names deleted in
  // each folder go to `names` as the folder is left, to learn which outlived
  // their deletion. LeaveFolders lets the last ones go.
  void TrackDeletedNames(DeletedNames& names) { names_ = &names; }
  void LeaveFolders() { LeaveFolders(0); }

 private:
  // A folder of the current root held open, with where it must lie.
  struct Held {
    Text folder;  // as the findings name it, ending with "\"
    std::unique_ptr<OpenFolder> handle;
    Text finalPath;
    DeleteOutcome failure = DeleteOutcome::Deleted;  // why it is not held, when handle is null
    std::vector<Text> deleted;                       // names deleted in it
  };

  // Looks for the names deleted in the held folders from `keep` on, then lets them go.
  void LeaveFolders(size_t keep);

  void EnterRoot(const Text& rootFolder, uint32_t root, const ScanRoot* scanRoot);
  // The held folder `folder` lies in or is, opened and checked as needed.
  Held& Reach(const Text& folder);

  Platform& os_;
  const ScanRoots& roots_;
  Text rootFolder_;
  uint32_t root_ = kNoScanRoot;
  uint32_t rootVolume_ = 0;
  std::vector<Held> chain_;  // the root first, then folders below it, each inside the one before
  DeletedNames* names_ = nullptr;
};

}  // namespace nb
