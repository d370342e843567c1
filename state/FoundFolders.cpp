#include "state/FoundFolders.h"

namespace nb {

void FoundFolders::Record(Platform& os, const Text& folder) {
  if (Find(folder)) return;
  ScanRoot root;
  root.folder = folder;
  uint32_t error = 0;
  if (auto opened = os.OpenFolderAt(folder, error)) root.known = os.IdentifyFolder(*opened, root.identity);
  roots_.push_back(std::move(root));
}

const ScanRoot* FoundFolders::RootOf(TextView path) const {
  const ScanRoot* best = nullptr;
  for (const ScanRoot& root : roots_)
    if (path.size() > root.folder.size() && path.starts_with(root.folder) &&
        (!best || root.folder.size() > best->folder.size()))
      best = &root;
  return best;
}

const ScanRoot* FoundFolders::Find(const Text& folder) const {
  for (const ScanRoot& root : roots_)
    if (root.folder == folder) return &root;
  return nullptr;
}

bool IsRecordedFolder(const ScanRoot* recorded, const Text& folder, const FolderIdentity& now) {
  if (recorded)
    return recorded->known && now.fileId == recorded->identity.fileId &&
           now.volumeSerial == recorded->identity.volumeSerial &&
           EqualsIgnoreCase(now.finalPath, recorded->identity.finalPath);
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
  return error == win::kErrorFileNotFound || error == win::kErrorPathNotFound ? DeleteOutcome::Missing
                                                                              : DeleteOutcome::Kept;
}

ExactFolder OpenFolderExactlyBelow(Platform& os, OpenFolder& base, const Text& baseFinalPath, TextView relative,
                                   uint32_t volume) {
  ExactFolder folder;
  uint32_t error = 0;
  folder.handle = os.OpenFolderBelow(base, Text(relative), error);
  FolderIdentity now;
  if (!folder.handle)
    folder.failure = OutcomeOfFailedOpen(error);
  else if (!os.IdentifyFolder(*folder.handle, now) || now.isLink || now.volumeSerial != volume ||
           !EqualsIgnoreCase(now.finalPath, FinalPathBelow(baseFinalPath, relative)))
    folder.failure = DeleteOutcome::Redirected;
  if (folder.failure != DeleteOutcome::Deleted) folder.handle.reset();
  return folder;
}

}  // namespace nb
