#include "registry/FileExistence.h"

namespace nb {

namespace {

// Keeps redirection off for the life of the object, on every way out.
class RedirectionOff {
 public:
  RedirectionOff(Platform& os, const Locations& loc) : os_(os), loc_(loc) { SetWow64Redirection(os_, loc_, true); }
  ~RedirectionOff() { SetWow64Redirection(os_, loc_, false); }
  RedirectionOff(const RedirectionOff&) = delete;
  RedirectionOff& operator=(const RedirectionOff&) = delete;

 private:
  Platform& os_;
  const Locations& loc_;
};

bool IsFolder(uint32_t attributes) { return (attributes & win::kAttrDirectory) != 0; }

}  // namespace

bool PassesFileTest(Platform& os, const Text& path) {
  const auto found = os.GetFileAttributes(path);
  if (found.Ok()) {
    if (IsFolder(found.attributes)) return false;
    if ((found.attributes & win::kAttrReparsePoint) == 0) return true;
    // A link whose target is gone still has attributes; it counts only when it opens.
    uint32_t error = win::kErrorSuccess;
    const auto file = os.OpenForRead(path, win::kShareRead, error);
    return file != nullptr || error == win::kErrorSharingViolation;
  }
  switch (found.error) {
    case win::kErrorFileNotFound:
    case win::kErrorPathNotFound:
    case win::kErrorInvalidName:
      return false;
    default: {
      // Access denied and the like: the folder's listing may still show the file.
      FindEntry entry;
      const auto listing = os.FindFirst(path, entry);
      return listing != nullptr && !IsFolder(entry.attributes);
    }
  }
}

void SetWow64Redirection(Platform& os, const Locations& loc, bool off) {
  if (!loc.ProgramFilesX86) return;
  // A failure leaves redirection as it was: the file tests then see the redirected view.
  if (off)
    os.DisableWow64Redirection();
  else
    os.EnableWow64Redirection();
}

bool NativeFileExists(Platform& os, const Locations& loc, const Text& path) {
  const RedirectionOff redirectionOff(os, loc);
  if (PassesFileTest(os, path)) return true;
  const Text name = path.find(u'\\') == Text::npos ? path : path.substr(path.find_last_of(u"\\:") + 1);
  for (const auto& folder : loc.SearchFolders)
    if (PassesFileTest(os, folder + name)) return true;
  return false;
}

}  // namespace nb
