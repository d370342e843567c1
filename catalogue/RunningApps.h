// Whether a web browser or Skype is running right now, so that Delete all can
// suggest closing them first.
#pragma once

#include "platform/Platform.h"
#include "state/AppState.h"

namespace nb {

// Sets BrowserRunning and SkypeRunning from a fresh process snapshot; both are
// false when no snapshot can be taken.
void CheckRunningApps(Platform& os, AppState& state);

}  // namespace nb
