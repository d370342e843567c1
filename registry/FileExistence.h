// The registry cleaner's file-existence check: does a value's file exist anywhere?
#pragma once

#include "platform/Platform.h"
#include "state/Locations.h"

namespace nb {

// True when `path` names an existing entry that is not a folder. A reparse
// point must also open for reading (or be held open by someone else); when the
// attributes cannot be read for an unusual reason, a listing of the path decides.
bool IsExistingFile(Platform& os, const Text& path);

// Switch the calling thread's WOW64 file-system redirection off, or back on.
// They do nothing unless the program is a 32-bit process on 64-bit Windows;
// failures are ignored.
void TurnWow64RedirectionOff(Platform& os, const Locations& loc);
void TurnWow64RedirectionOn(Platform& os, const Locations& loc);

// True when the file is found with redirection off, at `path` or by its file
// name in one of the SearchFolders.
bool ExistsNativelyOrOnSearchPath(Platform& os, const Locations& loc, const Text& path);

}  // namespace nb
