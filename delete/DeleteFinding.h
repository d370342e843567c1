// Deleting one finding, the step Delete all and Delete checked share.
#pragma once

#include "platform/Platform.h"
#include "results/ResultStore.h"

namespace nb {

// The registry view a finding of `root` was found in: the walk reads
// HKEY_LOCAL_MACHINE in its 64-bit view, HKEY_CURRENT_USER in the default one.
uint32_t FindingRegistryView(uint32_t root);

// Deletes the value a registry subject names below `root`, in the view the
// walk found it in. True when the value existed and is gone.
bool DeleteFoundValue(Platform& os, uint32_t root, const RegistrySubject& subject);

}  // namespace nb
