// A simulated machine, a scripted host and a fresh program state, wired into
// the RunContext that the scan routines take.
#pragma once

#include <gtest/gtest.h>

#include <vector>

#include "state/RunContext.h"
#include "platform/sim/SimPlatform.h"
#include "support/FakeHost.h"

namespace nb::test {

class ScanFixture : public testing::Test {
 protected:
  ScanFixture() {
    machine.SetUpStandardUser();
    state.Busy = true;
  }

  std::vector<Text> Entries() const {
    std::vector<Text> entries;
    for (size_t i = 0; i < state.Results.Count(); ++i) entries.push_back(state.Results.At(i));
    return entries;
  }

  sim::SimMachine machine;
  sim::SimPlatform os{machine};
  FakeHost host;
  AppState state;
  RunContext run{os, host, state};
};

}  // namespace nb::test
