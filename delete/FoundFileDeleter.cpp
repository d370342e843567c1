#include "delete/FoundFileDeleter.h"

namespace nb {

void FoundFileDeleter::LeaveFolders(size_t keep) {
  while (chain_.size() > keep) {
    Held& held = chain_.back();
    if (held.handle && !held.deleted.empty() && names_)
      names_->Deleted(os_, *held.handle, held.folder, std::move(held.deleted));
    chain_.pop_back();
  }
}

void FoundFileDeleter::EnterRoot(const Text& rootFolder, uint32_t rootNumber, const ScanRoot* scanRoot) {
  LeaveFolders(0);
  rootFolder_ = rootFolder;
  root_ = rootNumber;
  Held root;
  root.folder = rootFolder;
  const uint32_t error = os_.OpenFolderAt(rootFolder, root.handle);
  FolderIdentity now;
  if (error != winapi::kErrorSuccess) {
    root.failure = OutcomeOfFailedOpen(error);
  } else if (!os_.IdentifyFolder(*root.handle, now)) {
    root.failure = DeleteOutcome::Kept;
  } else if ((rootNumber != kNoScanRoot && !scanRoot) || !IsSameScanRoot(scanRoot, rootFolder, now)) {
    root.failure = DeleteOutcome::Redirected;
  }
  if (root.failure != DeleteOutcome::Deleted) root.handle.reset();
  root.finalPath = now.finalPath;
  rootVolume_ = now.volumeSerial;
  chain_.push_back(std::move(root));
}

FoundFileDeleter::Held& FoundFileDeleter::Reach(const Text& folder) {
  size_t keep = chain_.size();
  while (keep > 1 && !StartsWith(folder, chain_[keep - 1].folder)) --keep;
  LeaveFolders(keep);
  Held& base = chain_.back();
  if (base.folder.size() == folder.size() || !base.handle) return base;
  // Below the root every folder was a real folder at Analyze: the scanner
  // enters no link. So the folder must lie exactly below the one it is in.
  const TextView relative = TextView(folder).substr(base.folder.size(), folder.size() - base.folder.size() - 1);
  Held next;
  next.folder = folder;
  ExactFolder opened = OpenFolderExactlyBelow(os_, *base.handle, base.finalPath, relative, rootVolume_);
  next.handle = std::move(opened.handle);
  next.failure = opened.failure;
  next.finalPath = FinalPathBelow(base.finalPath, relative);
  chain_.push_back(std::move(next));
  return chain_.back();
}

DeleteOutcome FoundFileDeleter::Delete(const Text& path, uint32_t root) {
  const size_t cut = path.find_last_of(u'\\');
  if (cut == Text::npos || cut + 1 == path.size()) return DeleteOutcome::Kept;
  const Text folder = path.substr(0, cut + 1);
  const ScanRoot* scanRoot = roots_.At(root);
  // A finding lies below the root whose walk found it; anything else was
  // never that walk's to delete.
  if (scanRoot && !LiesBelow(path, scanRoot->folder)) return DeleteOutcome::Redirected;
  const Text& rootFolder = scanRoot ? scanRoot->folder : folder;
  if (chain_.empty() || root != root_ || rootFolder != rootFolder_) EnterRoot(rootFolder, root, scanRoot);
  Held& held = Reach(folder);
  if (!held.handle) return held.failure;
  Text name = path.substr(cut + 1);
  const DeleteOutcome outcome = os_.DeleteFileIn(*held.handle, name);
  if (names_ && outcome == DeleteOutcome::Deleted) held.deleted.push_back(std::move(name));
  return outcome;
}

}  // namespace nb
