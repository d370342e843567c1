#include "state/ScanRoots.h"

namespace nb {

uint32_t ScanRoots::Record(Platform& os, const Text& folder) {
  for (size_t i = 0; i < roots_.size(); ++i)
    if (roots_[i].folder == folder) return uint32_t(i);
  ScanRoot root;
  root.folder = folder;
  if (auto identity = IdentifyFolderAt(os, folder)) {
    root.known = true;
    root.identity = std::move(*identity);
  }
  roots_.push_back(std::move(root));
  return uint32_t(roots_.size() - 1);
}

void ScanRoots::Refuse(uint32_t root) {
  if (root >= roots_.size()) return;
  roots_[root].known = false;
  roots_[root].identity = {};
}

const ScanRoot* ScanRoots::At(uint32_t root) const { return root < roots_.size() ? &roots_[root] : nullptr; }

const ScanRoot* ScanRoots::Find(const Text& folder) const {
  for (const ScanRoot& root : roots_)
    if (root.folder == folder) return &root;
  return nullptr;
}

std::optional<FolderIdentity> IdentifyFolderAt(Platform& os, const Text& path) {
  FolderIdentity identity;
  std::unique_ptr<OpenFolder> opened;
  if (os.OpenFolderAt(path, opened) != winapi::kErrorSuccess || !os.IdentifyFolder(*opened, identity))
    return std::nullopt;
  return identity;
}

bool LiesBelow(TextView path, TextView folder) {
  if (folder.empty() || folder.back() != u'\\' || path.size() <= folder.size()) return false;
  return EqualsIgnoreCase(path.substr(0, folder.size()), folder);
}

bool IsSameScanRoot(const ScanRoot* scanRoot, const Text& folder, const FolderIdentity& now) {
  if (scanRoot)
    return scanRoot->known && now.fileId == scanRoot->identity.fileId &&
           now.volumeSerial == scanRoot->identity.volumeSerial &&
           EqualsIgnoreCase(now.finalPath, scanRoot->identity.finalPath);
  // "C:\" keeps its backslash, as a drive's root path does.
  const bool slash = folder.size() > 3 && EndsWith(folder, u"\\");
  return EqualsIgnoreCase(now.finalPath, slash ? TextView(folder).substr(0, folder.size() - 1) : TextView(folder));
}

Text FinalPathBelow(const Text& finalPath, TextView relative) {
  Text path = finalPath;
  if (!EndsWith(path, u"\\")) path += u'\\';
  path += relative;
  return path;
}

DeleteOutcome OutcomeOfFailedOpen(uint32_t error) {
  return error == winapi::kErrorFileNotFound || error == winapi::kErrorPathNotFound ? DeleteOutcome::Missing
                                                                              : DeleteOutcome::Kept;
}

ExactFolder OpenFolderExactlyBelow(Platform& os, OpenFolder& base, const Text& baseFinalPath, TextView relative,
                                   uint32_t volume) {
  ExactFolder folder;
  const uint32_t error = os.OpenFolderBelow(base, Text(relative), folder.handle);
  FolderIdentity now;
  if (error != winapi::kErrorSuccess)
    folder.failure = OutcomeOfFailedOpen(error);
  else if (!os.IdentifyFolder(*folder.handle, now) || now.isLink || now.volumeSerial != volume ||
           !EqualsIgnoreCase(now.finalPath, FinalPathBelow(baseFinalPath, relative)))
    folder.failure = DeleteOutcome::Redirected;
  if (folder.failure != DeleteOutcome::Deleted) folder.handle.reset();
  return folder;
}

}  // namespace nb
