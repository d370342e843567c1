// The simulated machine most tests start from, and a run on it. Plain
// structs, so that a test can take one as the base of its fixture (next to
// testing::Test) or make a fresh one for each case of a loop.
#pragma once

#include "platform/sim/SimPlatform.h"
#include "support/HostedRun.h"

namespace nb::test {

// A machine and the Windows layer over it. `Os` is what the code under test
// is handed: the simulated platform, or one of its subclasses that counts or
// bends some of its calls.
template <class Os = sim::SimPlatform>
struct SimMachineWith {
  sim::SimMachine machine;
  Os os{machine};
};
using SimMachineFixture = SimMachineWith<>;

// The machine with a scripted host and a fresh program state.
template <class Os = sim::SimPlatform>
struct SimRunWith : SimMachineWith<Os>, HostedRun {
  SimRunWith() : HostedRun(this->os) {}
};
using SimRun = SimRunWith<>;

}  // namespace nb::test
