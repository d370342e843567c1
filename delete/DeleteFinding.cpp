#include "delete/DeleteFinding.h"

#include "app/Settings.h"

namespace nb {

uint32_t FindingRegistryView(uint32_t root) { return root == win::kHkeyLocalMachine ? win::kKeyWow64_64Key : 0; }

bool DeleteFoundValue(Platform& os, uint32_t root, const RegistrySubject& subject) {
  return DeleteRegValue(os, root, subject.keyPath, subject.valueName, FindingRegistryView(root));
}

}  // namespace nb
