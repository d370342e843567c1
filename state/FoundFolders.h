// What the folders that findings were taken from were when Analyze listed
// them. Deletion later follows the same folders, links that were there
// included, and refuses a folder that has become something else since.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "platform/Platform.h"

namespace nb {

// A folder the scanner started from, as the run named it ("...\Temp\"), and
// what it was then. A folder that could not be opened has no identity.
struct ScanRoot {
  Text folder;
  bool known = false;
  FolderIdentity identity;
};

class FoundFolders {
 public:
  void Clear() { roots_.clear(); }
  // Opens `folder` once and records what it is, unless it is recorded already.
  void Record(Platform& os, const Text& folder);
  // The longest recorded folder that `path` lies in; null when there is none.
  const ScanRoot* RootOf(TextView path) const;
  // The record of exactly `folder`; null when there is none.
  const ScanRoot* Find(const Text& folder) const;

 private:
  std::vector<ScanRoot> roots_;
};

// Whether a folder opened now by the path `folder` is the folder recorded for
// it: the same object on the same volume, lying where it lay. With no record,
// whether it lies where `folder` says, no link on the way.
bool IsRecordedFolder(const ScanRoot* recorded, const Text& folder, const FolderIdentity& now);

// The final path of `relative` ("a" or "a\\b") below a folder's final path.
Text FinalPathBelow(const Text& finalPath, TextView relative);

// What a deletion reports for a folder that would not open: Missing when
// nothing is there, Kept otherwise.
DeleteOutcome OutcomeOfFailedOpen(uint32_t error);

// A folder below an open one, opened and checked to lie exactly there: no
// link, on `volume`, at the base's final path plus `relative`. Without a
// handle, `failure` says why: Missing, Kept (cannot be opened) or Redirected.
struct ExactFolder {
  std::unique_ptr<OpenFolder> handle;
  DeleteOutcome failure = DeleteOutcome::Deleted;
};
ExactFolder OpenFolderExactlyBelow(Platform& os, OpenFolder& base, const Text& baseFinalPath, TextView relative,
                                   uint32_t volume);

}  // namespace nb
