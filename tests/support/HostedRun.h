// A scripted host and a fresh program state, wired with a Windows layer into
// the RunContext that the long operations take.
#pragma once

#include <vector>

#include "state/RunContext.h"
#include "support/EntryTexts.h"
#include "support/FakeHost.h"

namespace nb::test {

struct HostedRun {
  explicit HostedRun(Platform& os) : run{os, host, state} {}
  // The run refers to this very host and state.
  HostedRun(const HostedRun&) = delete;
  HostedRun& operator=(const HostedRun&) = delete;

  std::vector<Text> Entries() const { return EntriesOf(state.Results, state.DecimalSeparator); }

  FakeHost host;
  AppState state;
  RunContext run;
};

}  // namespace nb::test
