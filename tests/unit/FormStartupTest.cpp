#include <gtest/gtest.h>

#include "app/Form1.h"
#include "app/SingleInstance.h"
#include "support/SimRun.h"

namespace nb {
namespace {

TEST(Startup, ASecondStartPostsTheRestoreRequestAndEnds) {
  test::SimMachineFixture m;
  m.machine.windows.push_back({u"TForm1", u"Night Broom", 0x1234});
  EXPECT_TRUE(HandOverToRunningInstance(m.os));
  ASSERT_EQ(m.machine.posted.size(), 1u);
  const auto& posted = m.machine.posted[0];
  EXPECT_EQ(posted.window, 0x1234u);
  EXPECT_EQ(posted.message, m.os.RegisterWindowMessage(u"NBRestore"));
  EXPECT_EQ(posted.wParam, kRestoreRequest);
  EXPECT_EQ(posted.lParam, 0);
  EXPECT_EQ(m.machine.sleptMilliseconds, 500u);
  EXPECT_EQ(m.machine.FindKey(winapi::kHkeyCurrentUser, u"SOFTWARE\\Quellmark"), nullptr);  // no settings touched
}

TEST(Startup, WithoutAMatchingWindowTheProcessBecomesTheInstance) {
  for (const auto& window : std::vector<sim::SimMachine::Window>{{u"TForm1", u"Night Broom - old", 1},
                                                                  {u"TForm2", u"Night Broom", 2}}) {
    test::SimMachineFixture m;
    m.machine.windows.push_back(window);
    EXPECT_FALSE(HandOverToRunningInstance(m.os));
    EXPECT_TRUE(m.machine.posted.empty());
    EXPECT_EQ(m.machine.sleptMilliseconds, 0u);
  }
}

}  // namespace
}  // namespace nb
