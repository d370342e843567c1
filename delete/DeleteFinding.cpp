#include "delete/DeleteFinding.h"

#include "app/Settings.h"

namespace nb {

namespace {

// The attributes SetFileAttributesW accepts; the others (directory,
// compressed, reparse point ...) are reported but cannot be set.
constexpr uint32_t kSettableAttributes = 0x1 | 0x2 | 0x4 | 0x20 | 0x80 | 0x100 | 0x1000 | 0x2000;

}  // namespace

bool DeleteFoundFile(Platform& os, const Text& path) {
  const auto found = os.GetFileAttributes(path);
  if (!found.Ok() || (found.attributes & win::kAttrDirectory) != 0) return false;
  os.SetFileAttributes(path, win::kAttrArchive);
  if (os.DeleteFile(path)) return true;
  // The file stays: leave it as the user had it.
  const uint32_t original = found.attributes & kSettableAttributes;
  os.SetFileAttributes(path, original == 0 ? win::kAttrNormal : original);
  return false;
}

uint32_t FindingRegistryView(uint32_t root) { return root == win::kHkeyLocalMachine ? win::kKeyWow64_64Key : 0; }

bool DeleteFoundValue(Platform& os, uint32_t root, const RegistrySubject& subject) {
  return DeleteRegValue(os, root, subject.keyPath, subject.valueName, FindingRegistryView(root));
}

}  // namespace nb
