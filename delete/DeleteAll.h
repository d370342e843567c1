// The work of one Delete all run, without the window around it.
#pragma once

#include "state/RunContext.h"

namespace nb {

// Deletes every stored finding whose section is ticked in `mask`: files for
// sections 01-14, values for 15 (HKEY_CURRENT_USER) and 16
// (HKEY_LOCAL_MACHINE). Pumps before every hundredth entry and stops there
// once the busy flag is clear: what a confirmed stop leaves stays on disk.
void DeleteStoredFindings(RunContext& ctx, const Text& mask);

// Prunes the empty subfolders of the temp folders (section 01), of the
// recycle bins of the fixed drives (02) and of the Skype chat-sync folder
// (11). Pumps between the steps and ends early once the busy flag is clear.
void PruneLeftoverFolders(RunContext& ctx, const Text& mask);

// Both of the above, in that order; running out of memory ends the run as a
// stopped one: what it did not reach stays.
void DeleteAllFindings(RunContext& ctx, const Text& mask);

}  // namespace nb
