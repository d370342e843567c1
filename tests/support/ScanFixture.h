// A standard user's simulated machine, a scripted host and a fresh program
// state marked running, as a scan runs.
#pragma once

#include <gtest/gtest.h>

#include "support/SimRun.h"

namespace nb::test {

class ScanFixture : public testing::Test, protected SimRun {
 protected:
  ScanFixture() {
    machine.SetUpStandardUser();
    state.Running = true;
  }
};

}  // namespace nb::test
