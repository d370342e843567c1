// The registry cleaner's walk: every string value below a key whose text names
// a file that exists nowhere becomes one finding of section 15 (HKEY_CURRENT_USER)
// or 16 (HKEY_LOCAL_MACHINE).
#pragma once

#include "registry/RegistrySections.h"
#include "state/RunContext.h"

namespace nb {

// Walks `keyPath` (a path below `root`, with or without its leading "\") and
// all keys below it, depth first, until a Stop is asked for. Appends a
// "15#HKCU..." or "16#HKLM..." entry per stale value and counts it. Roots
// other than HKEY_CURRENT_USER and HKEY_LOCAL_MACHINE are not walked.
void WalkRegistryKey(RunContext& run, uint32_t root, const Text& keyPath);

// Key paths holding a vendor or system word are never walked; the words match
// inside longer names too ("ATI" in LOCATION).
bool IsExcludedKeyPath(TextView keyPath);

}  // namespace nb
