#include "platform/Platform.h"

namespace nb {

bool FileExists(Platform& os, const Text& path) {
  const auto result = os.GetFileAttributes(path);
  return result.Ok() && (result.attributes & winapi::kAttrDirectory) == 0;
}

bool FolderExists(Platform& os, const Text& path) {
  const auto result = os.GetFileAttributes(path);
  return result.Ok() && (result.attributes & winapi::kAttrDirectory) != 0;
}

uint64_t FindFileSize(Platform& os, const Text& path) {
  FindEntry entry;
  return os.FindFirst(path, entry) ? entry.size : 0;
}

bool IsPlainEntryName(TextView name) {
  return !name.empty() && name != u"." && name != u".." && name.find_first_of(u"\\/:") == TextView::npos;
}

}  // namespace nb
