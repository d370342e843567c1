#include "platform/Platform.h"

namespace nb {

uint32_t AttributesOf(Platform& os, const Text& path) {
  uint32_t attributes = winapi::kInvalidAttributes;
  return os.GetFileAttributes(path, attributes) == winapi::kErrorSuccess ? attributes : winapi::kInvalidAttributes;
}

bool FileExists(Platform& os, const Text& path) {
  const uint32_t attributes = AttributesOf(os, path);
  return attributes != winapi::kInvalidAttributes && (attributes & winapi::kAttrDirectory) == 0;
}

bool FolderExists(Platform& os, const Text& path) {
  const uint32_t attributes = AttributesOf(os, path);
  return attributes != winapi::kInvalidAttributes && (attributes & winapi::kAttrDirectory) != 0;
}

uint64_t FindFileSize(Platform& os, const Text& path) {
  FindEntry entry;
  return os.FindFirst(path, entry) ? entry.size : 0;
}

bool IsPlainEntryName(TextView name) {
  return !name.empty() && name != u"." && name != u".." && name.find_first_of(u"\\/:") == TextView::npos;
}

}  // namespace nb
