// Which folders a scan may start from. The program runs elevated and scans
// folders that other users and programs can write to, so a scan root reached
// through a link is followed only when every link on its way belongs to the
// user, an administrator or the system, and it does not lead into a folder
// the program must never clean.
#pragma once

#include "state/ProtectedPlaces.h"
#include "state/RunContext.h"

namespace nb {

// The protected folders of this machine: the user's profile folder itself,
// Documents, Desktop, Pictures, Music, Videos, Downloads and Favorites, the
// other profiles, the Windows folder but its Temp, and the program folders.
// A drive's root is protected by rule (IsProtectedFolder).
ProtectedPlaces FindProtectedPlaces(Platform& os, const Locations& loc);

// Whether the folder `finalFolder` (ending with "\") is, or lies in, a
// protected place, or is a drive's root.
bool IsProtectedFolder(const ProtectedPlaces& protectedPlaces, TextView finalFolder);

// Records `folder` (ending with "\") as a scan root and judges it: its
// number when the scan may walk it, kNoScanRoot when it is missing or
// refused. A refused root stays on record as refused, so that nothing is
// deleted or pruned through it either.
uint32_t TrustedScanRoot(RunContext& run, const Text& folder);

}  // namespace nb
