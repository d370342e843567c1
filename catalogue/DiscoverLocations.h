// Finds, once at start-up, the folders, browser profiles, messenger account and
// search folders of this machine.
#pragma once

#include "state/Locations.h"
#include "platform/Platform.h"

namespace nb {

void DiscoverLocations(Platform& os, Locations& loc);

}  // namespace nb
