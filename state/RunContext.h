// What a long operation works with: the machine, the window's pump and boxes,
// the state.
#pragma once

#include "platform/Platform.h"
#include "state/AppState.h"
#include "state/RunHost.h"

namespace nb {

struct RunContext {
  Platform& os;
  RunHost& host;
  AppState& state;
};

// Lets the window dispatch what is queued, then tells whether the running
// operation goes on: false once a Stop was answered Yes.
inline bool PumpAndCheck(RunContext& run) {
  run.host.PumpMessages();
  return run.state.Busy();
}

}  // namespace nb
