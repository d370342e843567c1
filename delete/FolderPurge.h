// Removing the folder skeleton that deleting files leaves behind.
#pragma once

#include "delete/DeletedNames.h"
#include "state/RunContext.h"

namespace nb {

// Removes, bottom up, every subfolder below `folder` (a full path ending with
// "\") that is empty or becomes empty once its own subfolders are gone. The
// folder itself stays. Pumps once per directory entry; never looks at the busy
// flag. Junctions and directory links are neither entered nor removed.
// Each folder `deleted` awaits is compared with its listing on the way.
void PruneEmptyFolders(RunContext& run, const Text& folder, DeletedNames* deleted = nullptr);

}  // namespace nb
