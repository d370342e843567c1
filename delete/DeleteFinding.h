// Deleting one registry finding, the step Delete all and Delete checked share.
#pragma once

#include "platform/Platform.h"
#include "state/ResultStore.h"

namespace nb {

// Deletes the value a registry subject names below `root`, in the view the
// walk found it in. True when the value existed and is gone.
bool DeleteFoundValue(Platform& os, uint32_t root, const RegistrySubject& subject);

}  // namespace nb
