// Finds, once at start-up, the folders, browser profiles, messenger account and
// search folders of this machine.
#pragma once

#include "platform/Platform.h"
#include "state/Locations.h"

namespace nb {

void DiscoverLocations(Platform& os, Locations& loc);

}  // namespace nb
