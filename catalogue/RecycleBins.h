// Where the recycle bins are: one folder on each fixed drive.
#pragma once

#include <optional>

#include "platform/Platform.h"
#include "state/Locations.h"

namespace nb {

// The recycle bin of the drive numbered `drive` (0 is A:) when it is a fixed
// drive: "X:\$RECYCLE.BIN\", or "X:\RECYCLER\" on Windows XP. Drive A is a
// floppy drive and is never asked about: asking may spin it up. Whether the
// folder exists is not looked at.
std::optional<Text> RecycleBinOfDrive(Platform& os, const Locations& loc, int drive);

}  // namespace nb
