// Memory running out in the middle of a long operation (simulated by a pump
// that fails to allocate): the operation ends as a stopped one, the window is no
// longer busy, nothing is left half-built and the window stays usable.
#include <new>

#include "app/Settings.h"
#include "catalogue/Catalogue.h"
#include "support/FormFixture.h"

namespace nb::test {
namespace {

class OutOfMemory : public FormFixture {
 protected:
  // The pump fails at its `pump`th call from now on, once.
  void FailAtPump(int pump) {
    const int start = ui.pumps;
    ui.onPump = [this, start, pump](int now) {
      if (now - start != pump) return;
      ui.onPump = nullptr;
      throw std::bad_alloc();
    };
  }
  void TempFiles(int count) {
    form.State.Loc.TempFolders = {u"C:\\T\\"};
    for (int i = 0; i < count; ++i) machine.AddFile(u"C:\\T\\f" + NumberText(i) + u".tmp", "junk");
    SaveSectionMask(os, u"1000000000000000");
  }
};

TEST_F(OutOfMemory, AnalyzeEndsAsAStoppedRunWithWhatItStored) {
  Start();
  TempFiles(300);
  // The temp list pumps once before its folder, the walk once before each
  // file: the 150th pump comes before the 149th file.
  FailAtPump(150);
  form.Button2Click();
  EXPECT_FALSE(form.State.Busy());
  EXPECT_EQ(form.Button2.Caption(), u"Analyze");
  EXPECT_TRUE(form.Button4.Enabled());
  EXPECT_EQ(form.State.Results.Count(), 148u);
  EXPECT_EQ(form.Label4.Caption(), u"Total:148 items found, 0.00 MB");
  // Usable: the next run finds everything.
  form.Button2Click();
  EXPECT_EQ(form.State.Results.Count(), 300u);
}

TEST_F(OutOfMemory, TheSectionFillLeavesNoHalfFilledList) {
  Start();
  TempFiles(300);
  form.Button2Click();
  const auto [group, item] = PositionOfSection(u"01");
  FailAtPump(2);  // before entry 100
  form.List1ItemClick(group, item);
  EXPECT_FALSE(form.State.Busy());
  EXPECT_EQ(form.List2.RowCount(0), 0);
  form.List1ItemClick(group, item);
  EXPECT_EQ(form.List2.RowCount(0), 300);
}

TEST_F(OutOfMemory, DeleteAllAndDeleteCheckedEndAndKeepWhatTheyDidNotReach) {
  Start();
  TempFiles(250);
  form.Button2Click();
  const auto [group, item] = PositionOfSection(u"01");
  form.List1ItemClick(group, item);

  FailAtPump(3);  // the third row's pump
  ui.answers = {winapi::kIdYes};
  form.Label3Click();
  EXPECT_FALSE(form.State.Busy());
  EXPECT_EQ(form.Label4.Caption(), u"");
  EXPECT_EQ(form.List2.RowCaption(0, 1), u"Deleted file f1.tmp");
  EXPECT_EQ(form.List2.RowCaption(0, 2), u"C:\\T\\f2.tmp");
  EXPECT_EQ(form.State.Results.Count(), 248u);

  FailAtPump(2);  // before entry 100
  form.Button3Click();
  EXPECT_FALSE(form.State.Busy());
  // Entries 100 to 247 were not reached: they stay on disk and in the list.
  EXPECT_EQ(form.ActionPanel.Caption(),
            u"148 items could not be deleted and are still listed (148 not reached before the run stopped)");
  EXPECT_EQ(form.Button3.Caption(), u"Delete");
  EXPECT_TRUE(form.Button2.Enabled());
  EXPECT_EQ(form.State.Results.Count(), 148u);
  EXPECT_EQ(EntryAt(form.State.Results, 0), u"01#C:\\T\\f102.tmp#0.00 KB");
  EXPECT_FALSE(machine.Exists(u"C:\\T\\f3.tmp"));
  EXPECT_TRUE(machine.Exists(u"C:\\T\\f102.tmp"));
}

}  // namespace
}  // namespace nb::test
