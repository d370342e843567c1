#include <gtest/gtest.h>

#include "ui/EasyListview.h"

namespace nb::ui {
namespace {

// Two groups of three and four rows under a header of two columns.
class Listview : public testing::Test {
 protected:
  Listview() {
    list.SetBounds({0, 0, 210, 400});
    list.AddColumn(u"Name", 150);
    list.AddColumn(u"Size", 60, TextAlign::Center);
    list.AddGroup(u"First", 0);
    list.AddGroup(u"Second", 0);
    for (int r = 0; r < 3; ++r) list.AddRow(0, u"a" + NumberText(r));
    for (int r = 0; r < 4; ++r) list.AddRow(1, u"b" + NumberText(r));
    list.OnItemClick = [this](int g, int r) { clicks.push_back({g, r}); };
    list.OnItemCheckChange = [this](int g, int r) { checks.push_back({g, r}); };
    list.OnColumnClick = [this](int c) { columns.push_back(c); };
  }
  // Client y of the middle of a row.
  int RowY(int group, int row) {
    return list.HeaderHeight() + list.RowContentTop({group, row}) - list.ScrollY() + list.RowHeight() / 2;
  }
  std::vector<Text> Captions(int group) {
    std::vector<Text> out;
    for (int r = 0; r < list.RowCount(group); ++r) out.push_back(Text(list.RowCaption(group, r)));
    return out;
  }

  TEasyListview list{nullptr, u"List"};
  std::vector<ListPos> clicks;
  std::vector<ListPos> checks;
  std::vector<int> columns;
};

TEST_F(Listview, CheckChangeIsRaisedOnlyOnARealChange) {
  list.SetChecked(1, 2, false);
  EXPECT_TRUE(checks.empty());
  list.SetChecked(1, 2, true);
  list.SetChecked(1, 2, true);
  EXPECT_EQ(checks, (std::vector<ListPos>{{1, 2}}));

  list.MouseDown(TEasyListview::kCheckIndent + 3, RowY(0, 1));  // the box itself
  EXPECT_TRUE(list.Checked(0, 1));
  EXPECT_TRUE(clicks.empty());  // ticking is not an item click
  list.KeyDown(ListKey::Space);  // the focused row is the one just ticked
  EXPECT_FALSE(list.Checked(0, 1));
  EXPECT_EQ(checks, (std::vector<ListPos>{{1, 2}, {0, 1}, {0, 1}}));
}

TEST_F(Listview, ItemClickTellsGroupAndRow) {
  list.MouseDown(100, RowY(1, 3));
  list.MouseDown(100, RowY(0, 0));
  list.MouseDown(100, list.HeaderHeight() + 5);  // a group caption
  list.MouseDown(100, 399);                      // below the last row
  EXPECT_EQ(clicks, (std::vector<ListPos>{{1, 3}, {0, 0}}));
  EXPECT_EQ(list.SelectedRow(), (ListPos{0, 0}));
  EXPECT_FALSE(list.Row(1, 3).selected);
  EXPECT_TRUE(list.Row(0, 0).selected);
}

TEST_F(Listview, ColumnClickAndRegroupKeepRowsInTheirGroupAndReverse) {
  list.MouseDown(170, 10);
  EXPECT_EQ(columns, std::vector<int>{1});

  TEasyListview files{nullptr, u"Files"};
  files.AddColumn(u"File", 450);
  files.AddColumn(u"Size", 100);
  files.AddGroup(u"Files");
  files.AddRow(0, u"c.log", u"1.00 MB");
  files.AddRow(0, u"A.tmp", u"12.50 KB");
  files.AddRow(0, u"b.dat", u"900,00 KB");
  files.SelectRow({0, 0});  // c.log

  files.SortByColumn(1);
  ASSERT_EQ(files.GroupCount(), 1);
  auto details = [&] {
    std::vector<Text> out;
    for (int r = 0; r < files.RowCount(0); ++r) out.push_back(Text(files.RowDetail(0, r)));
    return out;
  };
  EXPECT_EQ(details(), (std::vector<Text>{u"12.50 KB", u"900,00 KB", u"1.00 MB"}));
  EXPECT_EQ(files.RowCaption(0, files.SelectedRow().row), u"c.log");  // the selection follows its row
  files.SortByColumn(1);
  EXPECT_EQ(details(), (std::vector<Text>{u"1.00 MB", u"900,00 KB", u"12.50 KB"}));
  files.SortByColumn(0);
  EXPECT_EQ(files.RowCaption(0, 0), u"A.tmp");
  EXPECT_EQ(files.RowCaption(0, 2), u"c.log");
  EXPECT_EQ(files.RowCount(0), 3);
}

TEST_F(Listview, CellTextsCompareBySizeOrAlphabetically) {
  struct Case {
    const char16_t* a;
    const char16_t* b;
    int sign;
  };
  for (const auto& c : std::vector<Case>{{u"2.00 KB", u"10.00 KB", -1},
                                         {u"1.00 MB", u"999.99 KB", 1},
                                         {u"14 b", u"9 b", 1},
                                         {u"0,50 KB", u"0.50 KB", 0},
                                         {u"apple", u"Banana", -1},
                                         {u"HKCU\\A", u"hkcu\\a", 0},
                                         {u"ab", u"abc", -1}}) {
    const int got = CompareCellTexts(c.a, c.b);
    EXPECT_EQ((got > 0) - (got < 0), c.sign) << ToUtf8(c.a) << " vs " << ToUtf8(c.b);
  }
}

TEST_F(Listview, KeyboardMovesAcrossGroups) {
  struct Step {
    ListKey key;
    ListPos focus;
  };
  const std::vector<Step> steps = {
      {ListKey::Down, {0, 0}},  {ListKey::Down, {0, 1}}, {ListKey::End, {1, 3}},   {ListKey::Down, {1, 3}},
      {ListKey::PageUp, {0, 0}}, {ListKey::Up, {0, 0}},  {ListKey::PageDown, {1, 3}}, {ListKey::Home, {0, 0}},
  };
  list.AddGroup(u"Empty");  // an empty group is passed over
  for (const auto& s : steps) {
    list.KeyDown(s.key);
    EXPECT_EQ(list.FocusedRow(), s.focus);
  }
  list.KeyDown(ListKey::Down);
  list.KeyDown(ListKey::Down);
  list.KeyDown(ListKey::Down);
  EXPECT_EQ(list.FocusedRow(), (ListPos{1, 0}));
  list.KeyDown(ListKey::Enter);
  EXPECT_EQ(clicks, (std::vector<ListPos>{{1, 0}}));
}

TEST_F(Listview, HundredThousandRowsRepaintOnceAndPaintOnlyWhatShows) {
  list.RemoveGroupRows(1);
  const int before = list.RepaintCount();
  list.BeginUpdate();
  for (int i = 0; i < 100000; ++i) list.AddRow(1, u"C:\\Temp\\file" + NumberText(i) + u".tmp", u"1.00 KB", true);
  list.EndUpdate();
  EXPECT_EQ(list.RepaintCount(), before + 1);
  EXPECT_EQ(list.RowCount(1), 100000);

  EXPECT_LE(list.VisibleLines().size(), size_t(list.ViewHeight() / list.RowHeight() + 2));
  list.KeyDown(ListKey::End);
  const auto lines = list.VisibleLines();
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(lines.back().row, 99999);
  EXPECT_LE(lines.size(), size_t(list.ViewHeight() / list.RowHeight() + 2));
  EXPECT_EQ(list.ScrollY(), list.ContentHeight() - list.ViewHeight());
  EXPECT_EQ(list.HitTest(100, RowY(1, 99990)).row, 99990);

  list.Wheel(1);
  EXPECT_EQ(list.ScrollY(), list.ContentHeight() - list.ViewHeight() - 3 * list.RowHeight());
}

}  // namespace
}  // namespace nb::ui
