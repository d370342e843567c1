#include "support/FormFixture.h"
#include "support/StoredFindings.h"

namespace nb::test {
namespace {

const Text kSelect = u"Please select items.";
const Text kConfirm = u"Are you sure you want to delete checked items?";

class DeleteChecked : public FormFixture {
 protected:
  // Section `code` shown in the results list after an analysis.
  void Shown(const Text& code) {
    Start();
    form.State.ShownSection = code;
    for (ui::Label* l : {&form.Label1, &form.Label2, &form.Label3, &form.Label4}) l->SetVisible(true);
    form.Label4.SetCaption(u"Total:3 items found, 0.01 MB");
  }
  // A finding: on disk (unless `onDisk` is false), in the store and as a row.
  void FileRow(const Text& path, bool checked = true, bool onDisk = true) {
    if (onDisk) machine.AddFile(path, "contents", winapi::kAttrReadOnly);
    AppendEntry(form.State.Results, form.State.ShownSection + u"#" + path + u"#0.01 KB");
    form.List2.AddRow(0, path, u"0.01 KB", checked, uint32_t(form.State.Results.Count() - 1));
  }
  Text Caption(int row) const { return Text(form.List2.RowCaption(0, row)); }
};

TEST_F(DeleteChecked, DeletesTickedRowsRelabelsThemAndReportsTheCount) {
  Shown(u"01");
  FileRow(u"C:\\T\\a.tmp");
  FileRow(u"C:\\T\\gone.tmp", true, false);  // removed outside the program after the analysis
  FileRow(u"C:\\T\\sub\\b.tmp");
  FileRow(u"C:\\T\\unticked.tmp", false);
  ui.answers = {winapi::kIdYes};

  form.Label3.Click();

  EXPECT_EQ(Caption(0), u"Deleted file a.tmp");
  EXPECT_EQ(Caption(1), u"C:\\T\\gone.tmp");
  EXPECT_EQ(Caption(2), u"Deleted file b.tmp");
  EXPECT_EQ(Caption(3), u"C:\\T\\unticked.tmp");
  EXPECT_TRUE(form.List2.Checked(0, 0));
  EXPECT_EQ(form.List2.RowDetail(0, 0), u"0.01 KB");
  EXPECT_TRUE(machine.Exists(u"C:\\T\\unticked.tmp"));
  ASSERT_EQ(form.State.Results.Count(), 2u);
  EXPECT_EQ(EntryAt(form.State.Results, 0), u"01#C:\\T\\gone.tmp#0.01 KB");
  EXPECT_EQ(EntryAt(form.State.Results, 1), u"01#C:\\T\\unticked.tmp#0.01 KB");
  ASSERT_EQ(ui.boxes.size(), 2u);
  EXPECT_EQ(ui.boxes[0].text, kConfirm);
  EXPECT_EQ(ui.boxes[0].caption, u"Confirmation");
  EXPECT_EQ(ui.boxes[0].flags, winapi::kMbYesNo | winapi::kMbIconQuestion);
  EXPECT_EQ(ui.boxes[1].text, u"2 items have been deleted");
  EXPECT_EQ(ui.boxes[1].caption, u"Confirmation");
  EXPECT_EQ(ui.boxes[1].flags, winapi::kMbIconInformation);
  EXPECT_EQ(form.Label4.Caption(), u"");
  EXPECT_TRUE(form.Label4.Visible());
  EXPECT_EQ(ui.pumps, 4);  // one per row, ticked or not
  EXPECT_FALSE(form.State.Busy());
}

TEST_F(DeleteChecked, NothingTickedOrNoChangesNothing) {
  Shown(u"01");
  FileRow(u"C:\\T\\a.tmp", false);
  form.Label3.Click();
  ASSERT_EQ(ui.boxes.size(), 1u);
  EXPECT_EQ(ui.boxes[0].text, kSelect);
  EXPECT_EQ(ui.boxes[0].caption, u"Information");
  EXPECT_EQ(ui.boxes[0].flags, winapi::kMbIconInformation);

  form.List2.SetChecked(0, 0, true);
  form.Label3.Click();  // answered No
  EXPECT_EQ(ui.boxes.back().text, kConfirm);
  EXPECT_TRUE(machine.Exists(u"C:\\T\\a.tmp"));
  EXPECT_EQ(Caption(0), u"C:\\T\\a.tmp");
  EXPECT_EQ(form.Label4.Caption(), u"Total:3 items found, 0.01 MB");
  EXPECT_EQ(form.State.Results.Count(), 1u);
}

TEST_F(DeleteChecked, NothingDeletedShowsNoCountButEmptiesTheSummary) {
  Shown(u"01");
  FileRow(u"C:\\T\\gone.tmp", true, false);
  ui.answers = {winapi::kIdYes};
  form.Label3.Click();
  EXPECT_EQ(ui.boxes.size(), 1u);
  EXPECT_EQ(form.Label4.Caption(), u"");
}

TEST_F(DeleteChecked, RegistryRowsAndRowsAlreadyDeleted) {
  Shown(u"15");
  machine.SetString(winapi::kHkeyCurrentUser, u"SOFTWARE\\Vendor\\App", u"", u"C:\\gone.exe");
  StoreValueFinding(form.State, os, u"15#HKCU\\SOFTWARE\\Vendor\\App=#11 b");
  form.List2.AddRow(0, u"HKCU\\SOFTWARE\\Vendor\\App=", u"11 b", true, 0);
  ui.answers = {winapi::kIdYes};

  form.Label3.Click();

  EXPECT_EQ(Caption(0), u"Deleted value ");
  EXPECT_EQ(machine.FindValue(winapi::kHkeyCurrentUser, u"SOFTWARE\\Vendor\\App", u""), nullptr);
  EXPECT_TRUE(form.State.Results.Empty());
  EXPECT_EQ(ui.boxes.back().text, u"1 items have been deleted");

  // Still ticked, but nothing is left behind it.
  ui.boxes.clear();
  form.Label3.Click();
  ASSERT_EQ(ui.boxes.size(), 1u);
  EXPECT_EQ(ui.boxes[0].text, kSelect);
  EXPECT_EQ(Caption(0), u"Deleted value ");
}

// Each row deletes the finding it shows, found by its place in the store:
// after a sort, and where two findings differ only in letter case (as in a
// case-sensitive folder), the store loses exactly the deleted ones.
TEST_F(DeleteChecked, EachRowDeletesItsOwnFindingAfterASortAndWhateverTheLetterCase) {
  Shown(u"01");
  // a.tmp and A.TMP differ only in letter case; a deleted finding stands
  // before one that stays, whose row must follow it to its new place.
  const Text entries[] = {u"01#C:\\T\\a.tmp#1.00 KB", u"01#C:\\T\\A.TMP#1.00 KB", u"01#C:\\T\\c.tmp#3.00 KB",
                          u"01#C:\\T\\b.tmp#4.00 KB"};
  for (const Text& entry : entries) AppendEntry(form.State.Results, entry);
  for (const char16_t* name : {u"C:\\T\\a.tmp", u"C:\\T\\b.tmp", u"C:\\T\\c.tmp"}) machine.AddFile(name, "x");
  form.List1ItemClick(PositionOfSection(u"01").first, PositionOfSection(u"01").second);
  form.List2ColumnClick(1);  // by size: the two 1.00 KB rows, c.tmp, b.tmp
  ASSERT_EQ(form.List2.RowCount(0), 4);
  const auto rowOf = [&](const Text& caption) {
    for (int row = 0; row < form.List2.RowCount(0); ++row)
      if (Caption(row) == caption) return row;
    return -1;
  };
  const int lower = rowOf(u"C:\\T\\a.tmp"), upper = rowOf(u"C:\\T\\A.TMP"), c = rowOf(u"C:\\T\\c.tmp");
  ASSERT_EQ(c, 2);
  ASSERT_EQ(Caption(3), u"C:\\T\\b.tmp");
  form.List2.SetChecked(0, lower, false);
  form.List2.SetChecked(0, c, false);
  ui.answers = {winapi::kIdYes};

  form.Label3.Click();

  EXPECT_EQ(Caption(upper), u"Deleted file A.TMP");
  EXPECT_EQ(Caption(3), u"Deleted file b.tmp");
  ASSERT_EQ(form.State.Results.Count(), 2u);
  EXPECT_EQ(EntryAt(form.State.Results, 0), entries[0]);
  EXPECT_EQ(EntryAt(form.State.Results, 1), entries[2]);
  // The rows left point at their findings' new places: ticking c.tmp's row deletes c.tmp alone.
  form.List2.SetChecked(0, c, true);
  ui.answers = {winapi::kIdYes};
  form.Label3.Click();
  EXPECT_EQ(Caption(c), u"Deleted file c.tmp");
  EXPECT_FALSE(machine.Exists(u"C:\\T\\c.tmp"));
  ASSERT_EQ(form.State.Results.Count(), 1u);
  EXPECT_EQ(EntryAt(form.State.Results, 0), entries[0]);
}

TEST_F(DeleteChecked, RunsBusySoThatNoOtherRunCutsIn) {
  Shown(u"01");
  FileRow(u"C:\\T\\a.tmp");
  FileRow(u"C:\\T\\b.tmp");
  form.Button3.SetEnabled(true);
  ui.answers = {winapi::kIdYes, winapi::kIdNo};
  ui.onPump = [&](int pump) {
    EXPECT_TRUE(form.State.Busy());
    if (pump == 1) form.Button3.Click();  // Delete all asks to cancel instead of starting; No
  };
  form.Label3.Click();
  EXPECT_FALSE(form.State.Busy());
  EXPECT_EQ(form.State.Results.Count(), 0u);
  ASSERT_EQ(ui.boxes.size(), 3u);
  EXPECT_EQ(ui.boxes[1].text, u"Are you sure you want to cancel deleting?");
  EXPECT_EQ(ui.boxes[2].text, u"2 items have been deleted");
  EXPECT_EQ(form.List2.RowCount(0), 2);
}

TEST_F(DeleteChecked, IgnoredWhileAnotherOperationIsBusy) {
  Shown(u"01");
  FileRow(u"C:\\T\\a.tmp");
  form.State.Running = true;
  form.Label3.Click();
  EXPECT_TRUE(ui.boxes.empty());
  EXPECT_TRUE(machine.Exists(u"C:\\T\\a.tmp"));
  EXPECT_EQ(form.Label4.Caption(), u"Total:3 items found, 0.01 MB");
}

}  // namespace
}  // namespace nb::test
