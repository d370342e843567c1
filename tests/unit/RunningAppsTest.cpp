#include <gtest/gtest.h>

#include "catalogue/RunningApps.h"
#include "support/SimRun.h"

namespace nb {
namespace {

class RunningApps : public testing::Test, protected test::SimMachineFixture {
 protected:
  AppState state;
};

TEST_F(RunningApps, NamesContainingABrowserOrSkypeSetTheFlags) {
  struct Case {
    std::vector<Text> processes;
    bool browser, skype;
  };
  const Case cases[] = {
      {{u"System", u"chrome.exe"}, true, false},
      {{u"IEXPLORE.EXE"}, true, false},
      {{u"FireFox.exe"}, true, false},
      {{u"NotQuiteCHROME.EXE"}, true, false},
      {{u"chrome.exe.bak"}, true, false},
      {{u"Skype.exe"}, false, true},
      {{u"Skype.exe", u"firefox.exe"}, true, true},
      {{u"SkypeApp.exe", u"msedge.exe", u"opera.exe", u"chrome"}, false, false},
      // Every entry is looked at, also after a browser was seen.
      {{u"chrome.exe", u"explorer.exe", u"svchost.exe", u"skype.exe"}, true, true},
      {{}, false, false},
  };
  for (const auto& c : cases) {
    machine.processes = c.processes;
    CheckRunningApps(os, state);
    EXPECT_EQ(state.BrowserRunning, c.browser) << ToUtf8(c.processes.empty() ? u"" : c.processes.back());
    EXPECT_EQ(state.SkypeRunning, c.skype) << ToUtf8(c.processes.empty() ? u"" : c.processes.back());
  }
}

TEST_F(RunningApps, EachCallDescribesOnlyItsOwnMoment) {
  machine.processes = {u"explorer.exe", u"chrome.exe", u"Skype.exe"};
  CheckRunningApps(os, state);
  EXPECT_TRUE(state.BrowserRunning);
  EXPECT_TRUE(state.SkypeRunning);

  machine.processes = {u"explorer.exe", u"Skype.exe"};
  CheckRunningApps(os, state);
  EXPECT_FALSE(state.BrowserRunning) << "Chrome was closed in between";
  EXPECT_TRUE(state.SkypeRunning);
}

TEST_F(RunningApps, NoSnapshotMeansNothingIsRunning) {
  machine.processes = {u"chrome.exe", u"Skype.exe"};
  CheckRunningApps(os, state);
  machine.snapshotFails = true;
  CheckRunningApps(os, state);
  EXPECT_FALSE(state.BrowserRunning);
  EXPECT_FALSE(state.SkypeRunning);
}

}  // namespace
}  // namespace nb
