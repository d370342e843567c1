#include "support/FormFixture.h"

namespace nb::test {
namespace {

class ResultsRows : public FormFixture {
 protected:
  ResultsRows() { Start(); }

  void Fill(std::initializer_list<Text> entries) {
    for (const Text& entry : entries) AppendEntry(form.State.Results, entry);
  }

  // Captions, sizes and ticks of the results list, one text per row.
  std::vector<Text> Rows() const {
    std::vector<Text> rows;
    for (int row = 0; row < form.List2.RowCount(0); ++row)
      rows.push_back(Text(form.List2.RowCaption(0, row)) + u" | " + Text(form.List2.RowDetail(0, row)) +
                     (form.List2.Checked(0, row) ? u" | x" : u" | -"));
    return rows;
  }
};

TEST_F(ResultsRows, SectionClickShowsTheFirstRunOfTheSectionAllTicked) {
  Fill({u"01#C:\\T\\a#1.00 KB", u"01#C:\\T\\b#2.00 KB", u"02#C:\\$RECYCLE.BIN\\c#0.00 KB", u"03#C:\\W\\x.log#0.50 KB",
        u"03#C:\\W\\y.log#0.13 KB", u"01#C:\\T\\late#1.00 KB"});
  struct Case {
    int group, item;
    Text shown;
    std::vector<Text> rows;
  };
  const Case cases[] = {
      {0, 2, u"03", {u"C:\\W\\x.log | 0.50 KB | x", u"C:\\W\\y.log | 0.13 KB | x"}},
      {0, 0, u"01", {u"C:\\T\\a | 1.00 KB | x", u"C:\\T\\b | 2.00 KB | x"}},
      {1, 2, u"06", {}},
      {7, 0, u"", {}},  // no section at that place
  };
  for (const auto& c : cases) {
    form.List3.AddLine(u"details");
    form.List1ItemClick(c.group, c.item);
    EXPECT_EQ(form.State.ShownSection, c.shown);
    EXPECT_EQ(Rows(), c.rows) << ToUtf8(c.shown);
    EXPECT_TRUE(form.List3.Lines().empty());
    EXPECT_FALSE(form.State.Busy());
  }
}

TEST_F(ResultsRows, CaptionsAreTheSubjectUpToTheLastHash) {
  Fill({u"05#C:\\P\\AC\\#!001\\MicrosoftEdge\\Cache\\X1\\a.dat#1.00 KB",
        u"15#HKCU\\SOFTWARE\\Vendor\\App=Updater#14 b", u"15#HKCU\\SOFTWARE\\Vendor\\App=#15 b"});
  form.List1ItemClick(1, 1);
  EXPECT_EQ(Rows(), (std::vector<Text>{u"C:\\P\\AC\\#!001\\MicrosoftEdge\\Cache\\X1\\a.dat | 1.00 KB | x"}));
  form.List1ItemClick(4, 0);
  EXPECT_EQ(Rows(), (std::vector<Text>{u"HKCU\\SOFTWARE\\Vendor\\App=Updater | 14 b | x",
                                       u"HKCU\\SOFTWARE\\Vendor\\App= | 15 b | x"}));
}

TEST_F(ResultsRows, EmptyStoreLeavesTheListAndMemoAlone) {
  form.List2.AddRow(0, u"left over", u"1.00 KB", false);
  form.List3.AddLine(u"left over");
  form.List1ItemClick(0, 0);
  EXPECT_EQ(Rows(), (std::vector<Text>{u"left over | 1.00 KB | -"}));
  EXPECT_EQ(form.List3.Lines().size(), 1u);
  EXPECT_EQ(form.State.ShownSection, u"");
}

TEST_F(ResultsRows, FillPumpsEveryHundredEntriesWithRepaintingSuspendedAndBusyHeld) {
  for (int i = 0; i < 250; ++i) AppendEntry(form.State.Results, u"01#C:\\T\\f" + NumberText(i) + u"#0.00 KB");
  std::vector<int> rowsAtPump;
  std::vector<bool> busyAtPump;
  int repaints = -1;
  ui.onPump = [&](int) {
    rowsAtPump.push_back(form.List2.RowCount(0));
    busyAtPump.push_back(form.State.Busy());
    EXPECT_TRUE(form.List2.Updating());
    if (repaints < 0) repaints = form.List2.RepaintCount();
  };
  // A Yes to Analyze's cancel question during the fill clears the flag but does not shorten the fill.
  ui.answers.push_back(winapi::kIdYes);
  ui.Post([&] { form.Button2.Click(); });
  form.List1ItemClick(0, 0);
  EXPECT_EQ(rowsAtPump, (std::vector<int>{0, 100, 200}));
  EXPECT_EQ(busyAtPump, (std::vector<bool>{true, false, false}));
  EXPECT_EQ(ui.boxes.size(), 1u);
  EXPECT_EQ(form.List2.RowCount(0), 250);
  EXPECT_FALSE(form.List2.Updating());
  EXPECT_EQ(form.List2.RepaintCount(), repaints + 1) << "one repaint when the fill ends";
  EXPECT_FALSE(form.State.Busy());
}

TEST_F(ResultsRows, TheListHoldsTheStoresTextsUntilItsRowsAreRemoved) {
  Fill({u"01#C:\\T\\a#1.00 KB", u"01#C:\\T\\b#2.00 KB"});
  form.List1ItemClick(0, 0);
  ASSERT_TRUE(form.State.Results.ViewsRegistered());
  // Emptying the store under the rows is the fault the store stops at; a
  // build without the check keeps the texts until the rows are gone.
  EXPECT_DEBUG_DEATH(form.State.Results.Clear(), "while a list still shows its texts");
  EXPECT_EQ(Rows(), (std::vector<Text>{u"C:\\T\\a | 1.00 KB | x", u"C:\\T\\b | 2.00 KB | x"}));
  form.List2.RemoveGroupRows(0);
  EXPECT_FALSE(form.State.Results.ViewsRegistered());
}

TEST_F(ResultsRows, EveryHandlerRemovesTheRowsBeforeTheStoreGoes) {
  const std::pair<const char*, void (*)(TForm1&)> handlers[] = {
      {"Analyze", [](TForm1& f) { f.Button2Click(); }},
      {"Delete all", [](TForm1& f) { f.Button3Click(); }},
      {"Close", [](TForm1& f) { f.Button4Click(); }},
      {"a section click", [](TForm1& f) { f.List1ItemClick(0, 2); }},
  };
  for (const auto& [what, handler] : handlers) {
    SCOPED_TRACE(what);
    SimForm w;
    w.machine.SetUpStandardUser();
    w.Start();
    AppendEntry(w.form.State.Results, u"01#C:\\T\\a#1.00 KB");
    w.form.List1ItemClick(0, 0);
    ASSERT_EQ(w.form.List2.RowCount(0), 1);
    handler(w.form);
    EXPECT_EQ(w.form.List2.RowCount(0), 0);
    EXPECT_FALSE(w.form.State.Results.ViewsRegistered());
  }
}

TEST_F(ResultsRows, CheckAllUncheckAllAndColumnClick) {
  Fill({u"01#C:\\T\\b#2.00 KB", u"01#C:\\T\\a#1.00 KB", u"01#C:\\T\\c#0.50 KB"});
  form.Label2Click();  // empty list: nothing happens
  form.List1ItemClick(0, 0);
  form.List2.SetChecked(0, 1, false);
  form.List1ItemClick(0, 0);
  EXPECT_EQ(Rows(), (std::vector<Text>{u"C:\\T\\b | 2.00 KB | x", u"C:\\T\\a | 1.00 KB | x", u"C:\\T\\c | 0.50 KB | x"}))
      << "a second click ticks every row again";

  form.Label2Click();
  EXPECT_EQ(Rows(), (std::vector<Text>{u"C:\\T\\b | 2.00 KB | -", u"C:\\T\\a | 1.00 KB | -", u"C:\\T\\c | 0.50 KB | -"}));
  form.List2.SetChecked(0, 0, true);
  form.List2ColumnClick(1);
  EXPECT_EQ(Rows(), (std::vector<Text>{u"C:\\T\\c | 0.50 KB | -", u"C:\\T\\a | 1.00 KB | -", u"C:\\T\\b | 2.00 KB | x"}))
      << "rows sorted by size, ticks kept";
  form.Label1Click();
  EXPECT_EQ(Rows(), (std::vector<Text>{u"C:\\T\\c | 0.50 KB | x", u"C:\\T\\a | 1.00 KB | x", u"C:\\T\\b | 2.00 KB | x"}));
  EXPECT_EQ(form.State.Results.Count(), 3u);

  form.State.Running = true;  // another operation holds the flag
  const std::vector<Text> before = Rows();
  form.Label2Click();
  form.List2ColumnClick(0);
  form.List1ItemClick(0, 0);
  EXPECT_EQ(Rows(), before);
  EXPECT_EQ(form.List2.SortColumn(), 1);
}

}  // namespace
}  // namespace nb::test
