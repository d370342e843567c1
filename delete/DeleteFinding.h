// Deleting one stored finding, the step Delete all and Delete checked share.
#pragma once

#include "delete/FoundFileDeleter.h"
#include "platform/Platform.h"
#include "state/AppState.h"
#include "state/ResultEntry.h"

namespace nb {

// Deletes the value a registry subject names below `root`, in the view the
// walk found it in, but only while it still holds `found`, the type and data
// the walk read: a value changed since (a program reinstalled meanwhile) is
// Changed and stays, as does one with nothing on record. Deleted when it is
// gone now; Missing when it was gone already; Kept when it stays for any
// other reason (its key refuses full access).
DeleteOutcome DeleteFoundValue(Platform& os, uint32_t root, const RegistrySubject& subject, const RegValue* found);

// What the walk read from the value of the stored finding `index`; null
// when nothing is on record for it.
const RegValue* FoundValueOf(const AppState& state, size_t index);

// Deletes the finding at `index` of the results store, its section read from
// the entry: a file below the scan root that found it, through `files`; a
// registry value only while it holds what the walk read. The entry stays in
// the store. Kept for an entry of no section or beyond the store.
DeleteOutcome DeleteFindingAt(const AppState& state, Platform& os, FoundFileDeleter& files, size_t index);

}  // namespace nb
