#include "delete/DeleteFinding.h"

#include "platform/RegistryText.h"
#include "registry/RegistrySections.h"

namespace nb {

bool DeleteFoundValue(Platform& os, uint32_t root, const RegistrySubject& subject) {
  return DeleteRegValue(os, root, subject.keyPath, subject.valueName, FindingRegistryView(root));
}

}  // namespace nb
