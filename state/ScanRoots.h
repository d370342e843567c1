// The scan roots: the folders Analyze walked from, and what each was when it
// was listed. Deletion later follows the same folders, links that were there
// included, and refuses a folder that has become something else since.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "platform/Platform.h"

namespace nb {

// The number of a scan root; a finding carries the number of the root whose
// walk found it.
inline constexpr uint32_t kNoScanRoot = 0xFFFFFFFF;

// A folder the scanner started from, as the run named it ("...\Temp\"), and
// what it was then. A folder that could not be opened, or that was refused
// as a root, has no identity: nothing is deleted or pruned through it.
struct ScanRoot {
  Text folder;
  bool known = false;
  FolderIdentity identity;
};

class ScanRoots {
 public:
  void Clear() { roots_.clear(); }
  // Opens `folder` once and records what it is, unless it is recorded
  // already; the root's number either way.
  uint32_t Record(Platform& os, const Text& folder);
  // Forgets what a recorded root was: it is followed no more.
  void Refuse(uint32_t root);
  // The root numbered `root`; null for kNoScanRoot or a number never given.
  const ScanRoot* At(uint32_t root) const;
  // The record of exactly `folder`; null when there is none.
  const ScanRoot* Find(const Text& folder) const;

 private:
  std::vector<ScanRoot> roots_;
};

// A subfolder whose path (its folder's path and its name together) reaches
// this many characters is neither walked by Analyze nor pruned by Delete all:
// the plain API calls cannot reach below it.
inline constexpr size_t kFolderPathLimit = 256;

// Whether `path` lies below `folder` (a folder text ending with "\"), name by
// name and ignoring letter case: "C:\X\" holds
// "C:\x\f" but not "C:\Xy\f", nor the folder itself.
bool LiesBelow(TextView path, TextView folder);

// Whether a folder opened now by the path `folder` is the scan root it was:
// the same object on the same volume, lying where it lay. With no scan root,
// whether it lies where `folder` says, no link on the way.
bool IsSameScanRoot(const ScanRoot* scanRoot, const Text& folder, const FolderIdentity& now);

// What the folder at `path` is now, links on the way followed; no value when
// it does not open or cannot be told.
std::optional<FolderIdentity> IdentifyFolderAt(Platform& os, const Text& path);

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
