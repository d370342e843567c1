#include "registry/FileExistence.h"

namespace nb {

namespace {

// Keeps redirection off for the life of the object, on every way out.
class RedirectionOff {
 public:
  RedirectionOff(Platform& os, const Locations& loc) : os_(os), loc_(loc) { TurnWow64RedirectionOff(os_, loc_); }
  ~RedirectionOff() { TurnWow64RedirectionOn(os_, loc_); }
  RedirectionOff(const RedirectionOff&) = delete;
  RedirectionOff& operator=(const RedirectionOff&) = delete;

 private:
  Platform& os_;
  const Locations& loc_;
};

bool IsFolder(uint32_t attributes) { return (attributes & winapi::kAttrDirectory) != 0; }

}  // namespace

bool IsExistingFile(Platform& os, const Text& path) {
  uint32_t attributes = winapi::kInvalidAttributes;
  const uint32_t error = os.GetFileAttributes(path, attributes);
  if (error == winapi::kErrorSuccess) {
    if (IsFolder(attributes)) return false;
    if ((attributes & winapi::kAttrReparsePoint) == 0) return true;
    // A link whose target is gone still has attributes; it counts only when it opens.
    std::unique_ptr<OpenFile> file;
    const uint32_t opened = os.OpenForRead(path, winapi::kShareRead, file);
    return opened == winapi::kErrorSuccess || opened == winapi::kErrorSharingViolation;
  }
  switch (error) {
    case winapi::kErrorFileNotFound:
    case winapi::kErrorPathNotFound:
    case winapi::kErrorInvalidName:
      return false;
    default: {
      // Access denied and the like: the folder's listing may still show the file.
      FindEntry entry;
      const auto listing = os.FindFirst(path, entry);
      return listing != nullptr && !IsFolder(entry.attributes);
    }
  }
}

// A failure leaves redirection as it was: the file tests then see the redirected view.
void TurnWow64RedirectionOff(Platform& os, const Locations& loc) {
  if (loc.Wow64Process) os.DisableWow64Redirection();
}

void TurnWow64RedirectionOn(Platform& os, const Locations& loc) {
  if (loc.Wow64Process) os.EnableWow64Redirection();
}

bool ExistsNativelyOrOnSearchPath(Platform& os, const Locations& loc, const Text& path) {
  const RedirectionOff redirectionOff(os, loc);
  if (IsExistingFile(os, path)) return true;
  const Text name = path.find(u'\\') == Text::npos ? path : path.substr(path.find_last_of(u"\\:") + 1);
  for (const auto& folder : loc.SearchFolders)
    if (IsExistingFile(os, folder + name)) return true;
  return false;
}

}  // namespace nb
