#include "ui/AccessibleList.h"

#include "app/Settings.h"
#include "catalogue/Catalogue.h"
#include "support/FormFixture.h"

namespace nb::test {
namespace {

using ui::AccessibleList;
using ui::AccNav;
using ui::AccRole;

class AccessibleLists : public FormFixture {
 protected:
  AccessibleLists() {
    Start();
    form.List1.SetViewSize(210, 300);  // room for the first two groups and part of the third
  }

  // Role, name and the check/select/focus/offscreen states of every child.
  static std::vector<std::string> Tree(const AccessibleList& acc) {
    std::vector<std::string> out;
    for (int id = 0; id <= acc.ChildCount(); ++id) {
      const uint32_t s = acc.States(id);
      const char* role = acc.Role(id) == AccRole::List ? "list" : acc.Role(id) == AccRole::Grouping ? "group" : "item";
      std::string line = std::string(role) + " " + ToUtf8(acc.Name(id));
      if (!acc.Value(id).empty()) line += " = " + ToUtf8(acc.Value(id));
      if (s & ui::kAccChecked) line += " checked";
      if (s & ui::kAccSelected) line += " selected";
      if (s & ui::kAccFocused) line += " focused";
      if (s & ui::kAccOffscreen) line += " offscreen";
      out.push_back(line);
    }
    return out;
  }
};

TEST_F(AccessibleLists, SectionListShowsGroupsAndRowsInOrderWithTheirStates) {
  form.List1.SetChecked(0, 1, false);
  form.List1.SetFocus();
  form.List1.KeyDown(ui::ListKey::Home);
  AccessibleList acc(form.List1);
  const auto tree = Tree(acc);
  ASSERT_EQ(acc.ChildCount(), 5 + 16);
  EXPECT_EQ(tree[0], "list Sections to scan focused");
  EXPECT_EQ(tree[1], "group Temporary Files");
  EXPECT_EQ(tree[2], "item Folders \"Temp\" checked selected focused");
  EXPECT_EQ(tree[3], "item Recycle Bin");
  EXPECT_EQ(tree[5], "group Internet Files");
  EXPECT_EQ(tree[6], "item IE cache checked");
  EXPECT_EQ(tree.back(), "item HKEY_LOCAL_MACHINE checked offscreen");
  // Every catalogue section has its row under its group's child.
  for (const SectionInfo& s : Sections()) {
    const int id = acc.IdOf({s.group, s.item});
    EXPECT_EQ(acc.Name(id), s.caption);
    EXPECT_EQ(acc.PosOf(id), (ui::ListPos{s.group, s.item}));
    EXPECT_EQ(acc.Name(acc.IdOfGroup(s.group)), SectionGroups()[size_t(s.group)]);
  }
}

TEST_F(AccessibleLists, ResultsListRowsCarryTheirSizeAsValue) {
  AppendEntry(form.State.Results, u"01#C:\\T\\a#1.00 KB");
  AppendEntry(form.State.Results, u"01#C:\\T\\b#2.00 KB");
  form.List1ItemClick(0, 0);
  form.List2.SetChecked(0, 1, false);
  const auto tree = Tree(AccessibleList(form.List2));
  EXPECT_EQ(tree, (std::vector<std::string>{"list File", "group Files", "item C:\\T\\a = 1.00 KB checked",
                                            "item C:\\T\\b = 2.00 KB"}));
}

TEST_F(AccessibleLists, NavigationLocationsAndHitTestsFollowTheGeometry) {
  AccessibleList acc(form.List1);
  struct Case {
    int from;
    AccNav nav;
    int to;
  };
  const int second = acc.IdOfGroup(1);
  const Case cases[] = {
      {0, AccNav::FirstChild, 1},           {0, AccNav::LastChild, 21},
      {0, AccNav::Next, -1},                {1, AccNav::Previous, -1},
      {1, AccNav::Next, 2},                 {4, AccNav::Next, second},
      {second, AccNav::FirstChild, second + 1}, {second, AccNav::LastChild, second + 4},
      {2, AccNav::FirstChild, -1},          {21, AccNav::Next, -1},
  };
  for (const auto& c : cases) EXPECT_EQ(acc.Navigate(c.from, c.nav), c.to) << c.from;

  for (int id = 1; id <= 8; ++id) {
    const ui::Bounds where = acc.Location(id);
    const int line = acc.Role(id) == AccRole::Grouping ? form.List1.GroupHeight() : where.height;
    EXPECT_EQ(acc.HitTest(where.left + 100, where.top + line / 2), id) << id;
  }
  EXPECT_EQ(acc.Location(2).top, form.List1.HeaderHeight() + form.List1.GroupHeight());
  EXPECT_EQ(acc.HitTest(100, 5), AccessibleList::kSelf);  // the column header
  EXPECT_EQ(acc.HitTest(-1, 5), AccessibleList::kNone);

  form.List1.ScrollTo(1000);  // the last rows come into view, the first leave it
  EXPECT_TRUE(acc.States(2) & ui::kAccOffscreen);
  EXPECT_FALSE(acc.States(21) & ui::kAccOffscreen);
}

TEST_F(AccessibleLists, DefaultActionOnASectionFillsTheResultsList) {
  AppendEntry(form.State.Results, u"01#C:\\T\\a#1.00 KB");
  AppendEntry(form.State.Results, u"03#C:\\W\\x.log#0.50 KB");
  AppendEntry(form.State.Results, u"03#C:\\W\\y.log#0.13 KB");
  AccessibleList acc(form.List1);
  const int windowsLogs = acc.IdOf({0, 2});
  EXPECT_EQ(acc.DefaultActionName(windowsLogs), u"Click");
  EXPECT_FALSE(acc.DoDefaultAction(acc.IdOfGroup(0)));
  ASSERT_TRUE(acc.DoDefaultAction(windowsLogs));
  EXPECT_EQ(form.State.ShownSection, u"03");
  EXPECT_EQ(form.List1.SelectedRow(), (ui::ListPos{0, 2}));
  const auto tree = Tree(AccessibleList(form.List2));
  EXPECT_EQ(tree, (std::vector<std::string>{"list File", "group Files", "item C:\\W\\x.log = 0.50 KB checked",
                                            "item C:\\W\\y.log = 0.13 KB checked"}));
}

TEST_F(AccessibleLists, ToggleRaisesTheCheckChangeAndSavesTheMask) {
  AccessibleList acc(form.List1);
  std::vector<ui::ListChange> heard;
  form.List1.SetChangeListener([&](ui::ListChange change, ui::ListPos) { heard.push_back(change); });
  ASSERT_TRUE(acc.Toggle(acc.IdOf({1, 2})));  // Chrome cache, code 06
  EXPECT_EQ(LoadSectionMask(os), u"1111101111111111");
  EXPECT_FALSE(acc.States(acc.IdOf({1, 2})) & ui::kAccChecked);
  EXPECT_EQ(heard, (std::vector<ui::ListChange>{ui::ListChange::CheckState}));
  ASSERT_TRUE(acc.Toggle(acc.IdOf({1, 2})));
  EXPECT_EQ(LoadSectionMask(os), Text(16, u'1'));
  EXPECT_FALSE(acc.Toggle(acc.IdOfGroup(1)));
}

TEST_F(AccessibleLists, SetCheckTogglesOnlyWhenTheStateDiffers) {
  AccessibleList acc(form.List1);
  std::vector<ui::ListChange> heard;
  form.List1.SetChangeListener([&](ui::ListChange change, ui::ListPos) { heard.push_back(change); });
  const int chrome = acc.IdOf({1, 2});
  ASSERT_TRUE(acc.SetCheck(chrome, true));  // already ticked: nothing happens
  EXPECT_TRUE(heard.empty());
  ASSERT_TRUE(acc.SetCheck(chrome, false));
  ASSERT_TRUE(acc.SetCheck(chrome, false));
  EXPECT_EQ(heard, (std::vector<ui::ListChange>{ui::ListChange::CheckState}));
  EXPECT_EQ(LoadSectionMask(os), u"1111101111111111");
  EXPECT_FALSE(acc.SetCheck(acc.IdOfGroup(1), true));
  EXPECT_FALSE(acc.SetCheck(acc.ChildCount() + 1, true));
}

}  // namespace
}  // namespace nb::test
