// The main window without a mouse: Tab and Shift+Tab walk the controls that
// show and take input, Enter and Space work the action labels, Esc closes, and
// the lists keep their focused row in view and always mark where the focus is.
#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "app/Form2.h"
#include "support/FormFixture.h"

namespace nb::test {
namespace {

using ui::Key;

// The main window, created and shown as at start-up.
struct Window : SimForm {
  Window() {
    machine.SetUpStandardUser();
    Start();
  }
  // The names that Tab (Shift+Tab when backward) visits until the focus is back where it began.
  std::vector<std::string> Round(bool backward) {
    std::vector<std::string> names;
    ui::Control* start = form.FocusedControl();
    for (int i = 0; i < 20 && (names.empty() || form.FocusedControl() != start); ++i) {
      form.KeyDown(Key::Tab, backward);
      names.push_back(form.FocusedControl() ? ToUtf8(form.FocusedControl()->Name()) : "-");
    }
    return names;
  }
  // Labels and a few rows, as after a click on a section.
  void ShowResults() {
    for (ui::Label* l : {&form.Label1, &form.Label2, &form.Label3, &form.Label4}) l->SetVisible(true);
    for (int r = 0; r < 3; ++r) form.List2.AddRow(0, u"C:\\t\\" + NumberText(r) + u".tmp", u"1.00 KB", r == 0);
  }
  int Ticked() {
    int n = 0;
    for (int r = 0; r < form.List2.RowCount(0); ++r) n += form.List2.Checked(0, r);
    return n;
  }
};

TEST(Keyboard, TabWalksTheShowingEnabledControlsInOrderAndShiftTabGoesBack) {
  struct Case {
    const char* what;
    std::function<void(TForm1&)> setUp;
    std::vector<std::string> forward;  // round from the focused control back to it
  };
  const std::vector<Case> cases = {
      {"after start, from Analyze: labels hidden, Delete all disabled", [](TForm1&) {},
       {"Button4", "List1", "List2", "List3", "Button1", "Button2"}},
      {"results shown",
       [](TForm1& f) {
         for (ui::Label* l : {&f.Label1, &f.Label2, &f.Label3, &f.Label4}) l->SetVisible(true);
         f.Button3.SetEnabled(true);
       },
       {"Button3", "Button4", "List1", "List2", "List3", "Label1", "Label2", "Label3", "Button1", "Button2"}},
      {"from About: a hidden label, a disabled list, a disabled panel of buttons",
       [](TForm1& f) {
         for (ui::Label* l : {&f.Label1, &f.Label3}) l->SetVisible(true);
         f.List2.SetEnabled(false);
         f.ButtonPanel.SetEnabled(false);
         f.Button1.SetFocus();
       },
       {"List1", "List3", "Label1", "Label3", "Button1"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Window w;
    c.setUp(w.form);
    EXPECT_EQ(w.Round(false), c.forward);
    // Backward visits the same controls the other way round.
    std::vector<std::string> back(c.forward.rbegin() + 1, c.forward.rend());
    back.push_back(c.forward.back());
    EXPECT_EQ(w.Round(true), back);
  }
}

TEST(Keyboard, EnterOrSpaceOnAFocusedActionLabelClicksItUnlessBusy) {
  struct Case {
    ui::Label TForm1::*label;
    Key key;
    int tickedAfter;  // of three rows, one ticked before
  };
  const Case cases[] = {
      {&TForm1::Label1, Key::Enter, 3},
      {&TForm1::Label1, Key::Space, 3},
      {&TForm1::Label2, Key::Enter, 0},
      {&TForm1::Label2, Key::Space, 0},
  };
  for (const Case& c : cases) {
    for (bool busy : {false, true}) {
      Window w;
      w.ShowResults();
      ui::Label& label = w.form.*c.label;
      label.SetFocus();
      w.form.State.Running = busy;
      EXPECT_TRUE(w.form.KeyDown(c.key));
      EXPECT_EQ(w.Ticked(), busy ? 1 : c.tickedAfter) << ToUtf8(label.Name()) << " busy " << busy;
    }
  }
  // "Delete checked" answers from the keyboard too, and not while busy.
  for (bool busy : {false, true}) {
    Window w;
    w.ShowResults();
    w.form.Label3.SetFocus();
    w.form.State.Running = busy;
    w.ui.answers = {winapi::kIdNo};
    w.form.KeyDown(Key::Space);
    EXPECT_EQ(w.ui.boxes.size(), busy ? 0u : 1u);
  }
}

TEST(Keyboard, EscLeavesTheMainWindowAndItsFindingsAlone) {
  for (bool busy : {true, false}) {
    Window w;
    w.ShowResults();
    w.form.State.Running = busy;
    for (ui::Control* focus : std::initializer_list<ui::Control*>{&w.form.List1, &w.form.List2, &w.form.Button4}) {
      focus->SetFocus();
      EXPECT_FALSE(w.form.KeyDown(Key::Escape)) << ToUtf8(focus->Name()) << " busy " << busy;
    }
    EXPECT_EQ(w.form.GetState(), ui::Form::State::Shown);
    EXPECT_EQ(w.form.List2.RowCount(0), 3);
    EXPECT_TRUE(w.ui.boxes.empty());
  }
}

TEST(Keyboard, TheAboutDialogClosesOnEscOrEnterAndTabsThroughItsLinks) {
  for (Key key : {Key::Escape, Key::Enter}) {
    Window w;
    std::vector<std::string> round;
    bool closed = false;
    w.ui.onModal = [&](ui::Form& dialog) {
      ui::Control* start = dialog.FocusedControl();
      for (int i = 0; i < 3; ++i) {
        dialog.KeyDown(Key::Tab);
        round.push_back(ToUtf8(dialog.FocusedControl()->Name()));
      }
      EXPECT_EQ(dialog.FocusedControl(), start);
      dialog.KeyDown(key);
      closed = dialog.GetState() == ui::Form::State::Closed;
    };
    w.form.Button1Click();
    EXPECT_EQ(round, (std::vector<std::string>{"HomePageLabel2", "SupportLabel2", "Button1"}));
    EXPECT_TRUE(closed);
    EXPECT_TRUE(w.ui.links.empty());
  }
}

// Ten rows in two groups, five of them in view.
struct TenRows {
  TenRows() {
    list.AddColumn(u"Name", 150);
    for (int g = 0; g < 2; ++g) {
      list.AddGroup(u"G" + NumberText(g));
      for (int r = 0; r < 5; ++r) list.AddRow(g, u"r" + NumberText(r));
    }
    list.SetViewSize(200, list.HeaderHeight() + 5 * list.RowHeight());
  }
  bool InView(ui::ListPos pos) const {
    const int top = list.RowContentTop(pos);
    return top >= list.ScrollY() && top + list.RowHeight() <= list.ScrollY() + list.ViewHeight();
  }
  ui::TEasyListview list{nullptr, u"List"};
};

TEST(ListKeyboard, EveryKeyBringsTheFocusedRowIntoView) {
  using ui::ListKey;
  for (ListKey key : {ListKey::Up, ListKey::Down, ListKey::Home, ListKey::End, ListKey::PageUp, ListKey::PageDown,
                      ListKey::Space, ListKey::Enter}) {
    for (bool fresh : {true, false}) {
      TenRows t;
      // Either no row has the focus yet, or one in the second group has; the view is scrolled away from it.
      if (!fresh)
        for (int i = 0; i < 7; ++i) t.list.KeyDown(ListKey::Down);
      t.list.ScrollTo(fresh ? 1 << 20 : 0);
      t.list.KeyDown(key);
      ASSERT_TRUE(t.list.FocusedRow().Valid());
      EXPECT_TRUE(t.InView(t.list.FocusedRow())) << int(key) << (fresh ? " fresh" : " moved");
    }
  }
}

TEST(ListKeyboard, TheFocusMarkIsTheFocusedRowOrElseTheFirstRow) {
  TenRows t;
  EXPECT_EQ(t.list.FocusMark(), (ui::ListPos{0, 0}));
  t.list.KeyDown(ui::ListKey::End);
  EXPECT_EQ(t.list.FocusMark(), (ui::ListPos{1, 4}));
  t.list.RemoveGroupRows(1);
  EXPECT_EQ(t.list.FocusMark(), (ui::ListPos{0, 0}));
  t.list.RemoveGroupRows(0);
  EXPECT_FALSE(t.list.FocusMark().Valid());  // an empty list marks its whole area
}

}  // namespace
}  // namespace nb::test
