#include "delete/DeleteFinding.h"

#include "app/Settings.h"

namespace nb {

bool DeleteFoundFile(Platform& os, const Text& path) {
  // Through one handle on the file itself: a folder on the way that has become
  // a link since the analysis cannot steer the deletion to another file.
  return os.DeleteFileExact(path) == DeleteOutcome::Deleted;
}

uint32_t FindingRegistryView(uint32_t root) { return root == win::kHkeyLocalMachine ? win::kKeyWow64_64Key : 0; }

bool DeleteFoundValue(Platform& os, uint32_t root, const RegistrySubject& subject) {
  return DeleteRegValue(os, root, subject.keyPath, subject.valueName, FindingRegistryView(root));
}

}  // namespace nb
