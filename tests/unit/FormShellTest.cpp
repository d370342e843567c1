#include "app/Form2.h"
#include "app/Links.h"
#include "app/Settings.h"
#include "platform/RegistryText.h"
#include "catalogue/Catalogue.h"
#include "support/FormFixture.h"

namespace nb::test {
namespace {

// The check boxes of the section list, "1" for a ticked one, in code order.
Text TicksOf(const ui::TEasyListview& list) {
  Text ticks;
  for (int k = 1; k <= kSectionCount; ++k) {
    const auto [group, item] = PositionOfSection(SectionCode(k));
    ticks += list.Checked(group, item) ? u'1' : u'0';
  }
  return ticks;
}

std::optional<Text> StoredMask(sim::SimMachine& m, Platform& p) {
  if (!m.FindValue(winapi::kHkeyCurrentUser, kSettingsKey, kSettingsValue)) return std::nullopt;
  return ReadRegText(p, winapi::kHkeyCurrentUser, kSettingsKey, kSettingsValue);
}

using FormShell = FormFixture;

TEST_F(FormShell, ShowFormAppliesTheStoredMaskAndEveryRealChangeSavesIt) {
  const Text all(16, u'1');
  struct Case {
    const char* what;
    std::optional<Text> stored;
    Text ticks;
    // What each change saved, the first and the last: the ticks at that moment.
    int changes;
    std::optional<Text> firstSaved, lastSaved;
  };
  const std::vector<Case> cases = {
      {"no value", std::nullopt, all, 0, std::nullopt, std::nullopt},
      {"odd characters untick", u"1x11111111111121", u"1011111111111101", 2, u"1011111111111111",
       u"1011111111111101"},
      {"only the last section", u"0000000000000001", u"0000000000000001", 15, u"0111111111111111",
       u"0000000000000001"},
      {"all but the last", u"1111111111111110", u"1111111111111110", 1, u"1111111111111110", u"1111111111111110"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    SimForm w;
    if (c.stored) w.machine.SetString(winapi::kHkeyCurrentUser, kSettingsKey, kSettingsValue, *c.stored);
    std::vector<std::optional<Text>> saved;
    auto save = w.form.List1.OnItemCheckChange;
    w.form.List1.OnItemCheckChange = [&](int group, int item) {
      save(group, item);
      saved.push_back(StoredMask(w.machine, w.os));
      EXPECT_EQ(saved.back(), TicksOf(w.form.List1));
    };
    w.Start();
    EXPECT_EQ(TicksOf(w.form.List1), c.ticks);
    ASSERT_EQ(saved.size(), size_t(c.changes));
    if (c.changes == 0) {
      EXPECT_EQ(StoredMask(w.machine, w.os), c.stored) << "showing the window saves nothing";
      continue;
    }
    EXPECT_EQ(saved.front(), c.firstSaved);
    EXPECT_EQ(saved.back(), c.lastSaved);
    EXPECT_EQ(StoredMask(w.machine, w.os), c.lastSaved);
  }
}

TEST_F(FormShell, TickingASectionSavesAndARestartBringsItBack) {
  Start();
  form.List1.SetChecked(4, 1, false);  // HKEY_LOCAL_MACHINE
  EXPECT_EQ(StoredMask(machine, os), u"1111111111111110");

  TForm1 again{os, ui};
  ui.Realize(again);
  ui.Show(again);
  EXPECT_FALSE(again.List1.Checked(4, 1));
  EXPECT_TRUE(again.List1.Checked(4, 0));
}

TEST_F(FormShell, StripAndButtonsAfterShowForm) {
  Start();
  for (ui::Label* l : {&form.Label1, &form.Label2, &form.Label3, &form.Label4}) EXPECT_FALSE(l->Visible());
  EXPECT_EQ(form.ActionPanel.Caption(), u"Please check sections to scan and press \"Analyze\" button");
  EXPECT_FALSE(form.Button3.Enabled());
  EXPECT_TRUE(form.Button2.Enabled());
  EXPECT_TRUE(form.Button4.Enabled());
  EXPECT_EQ(form.FocusedControl(), &form.Button2);
  EXPECT_EQ(form.Button2.Caption(), u"Analyze");
  EXPECT_EQ(form.Button3.Caption(), u"Delete all");
}

TEST_F(FormShell, CreateFormSetsUpTheStateOnce) {
  form.State.Running = true;
  AppendEntry(form.State.Results, u"01#C:\\x#1.00 KB");
  Start();
  EXPECT_FALSE(form.State.Busy());
  EXPECT_TRUE(form.State.Results.Empty());
  EXPECT_EQ(form.State.RestoreMessage, os.RegisterWindowMessage(u"NBRestore"));
  EXPECT_EQ(form.State.Loc.WindowsFolder, u"C:\\Windows\\");  // discovery ran
}

TEST_F(FormShell, CloseIsRefusedWhileBusyAndAllowedAfter) {
  Start();
  AppendEntry(form.State.Results, u"01#C:\\x#1.00 KB");
  form.State.Running = true;
  form.Button4.Click();
  ui.RequestClose(form);  // the close box, Alt+F4
  EXPECT_EQ(form.GetState(), ui::Form::State::Shown);
  EXPECT_EQ(form.State.Results.Count(), 1u);

  form.State.Running = false;
  form.Button4.Click();
  EXPECT_EQ(form.GetState(), ui::Form::State::Closed);
  EXPECT_TRUE(form.State.Results.Empty());  // DestroyForm released the store
}

TEST_F(FormShell, ActionLabelsUnderlineWhileThePointerIsOverThem) {
  Start();
  for (ui::Label* l : {&form.Label1, &form.Label2, &form.Label3}) {
    l->MouseEnter();
    EXPECT_TRUE(l->GetFont().underline) << ToUtf8(l->Name());
    l->MouseLeave();
    EXPECT_FALSE(l->GetFont().underline) << ToUtf8(l->Name());
  }
  form.Label4.MouseEnter();
  EXPECT_FALSE(form.Label4.GetFont().underline);
}

TEST_F(FormShell, SplitterKeepsTheSectionListBetween170And210) {
  Start();
  for (auto [drag, width] : std::vector<std::pair<int, int>>{{300, 210}, {100, 170}, {190, 190}, {210, 210}}) {
    form.Splitter1.DragTo(drag);
    EXPECT_EQ(form.List1.GetBounds().width, width);
    EXPECT_EQ(form.CenterPanel.GetBounds().left, width + form.Splitter1.GetBounds().width);
    EXPECT_EQ(form.CenterPanel.GetBounds().left + form.CenterPanel.GetBounds().width, 784);
  }
}

TEST_F(FormShell, LayoutOfTheMainWindow) {
  Start();
  EXPECT_EQ(form.WindowClass(), u"TForm1");
  EXPECT_EQ(form.Caption(), u"Night Broom");
  EXPECT_EQ(form.TopPanel.GetBounds(), (ui::Bounds{0, 0, 784, 40}));
  EXPECT_EQ(form.BottomPanel.GetBounds(), (ui::Bounds{0, 521, 784, 40}));
  EXPECT_EQ(form.ButtonPanel.GetBounds(), (ui::Bounds{784 - 1 - 392, 1, 392, 38}));  // inside the bevel
  EXPECT_EQ(form.List1.GetBounds(), (ui::Bounds{0, 40, 210, 481}));
  EXPECT_EQ(form.List3.GetBounds().height, 100);
  EXPECT_EQ(form.ActionPanel.GetBounds().top, 481 - 28);
  EXPECT_EQ(form.List3.GetBounds().top, 481 - 28 - 100);
  EXPECT_EQ(form.List2.GetBounds().height, 481 - 28 - 100);
  ASSERT_EQ(form.List1.GroupCount(), 5);
  EXPECT_EQ(form.List1.Group(1).caption, u"Internet Files");
  EXPECT_EQ(form.List1.RowCaption(0, 0), u"Folders \"Temp\"");
  EXPECT_EQ(form.List1.Column(0).caption, u"Sections to scan");
  ASSERT_EQ(form.List2.ColumnCount(), 2);
  EXPECT_EQ(form.List2.Column(1).caption, u"Size");
  EXPECT_EQ(form.List2.Column(1).align, ui::TextAlign::Center);
  EXPECT_EQ(form.List2.Group(0).caption, u"Files");
}

TEST_F(FormShell, AboutDialogAndLinks) {
  Start();
  form.LogoImage.Click();
  ui.onModal = [](ui::Form& dialog) {
    auto& about = static_cast<TForm2&>(dialog);
    EXPECT_EQ(about.HomePageLabel2.Hint(), u"Visit to homepage");
    about.HomePageLabel2.Click();
    about.SupportLabel2.Click();
    about.Button1.Click();
    EXPECT_EQ(about.GetState(), ui::Form::State::Closed);
  };
  form.Button1.Click();
  EXPECT_EQ(ui.modalCaptions, std::vector<Text>{u"About"});
  ASSERT_EQ(ui.links.size(), 3u);
  EXPECT_EQ(ui.links[0].window, &form);
  EXPECT_EQ(ui.links[0].target, kHomePageAddress);
  EXPECT_NE(ui.links[1].window, &form);
  EXPECT_EQ(ui.links[1].target, kHomePageAddress);
  EXPECT_EQ(ui.links[2].target, Text(u"mailto:") + kSupportAddress);
  EXPECT_TRUE(form.Enabled());
}

TEST_F(FormShell, RestoreRequestIsObeyedEvenInsideALongOperationsPump) {
  Start();
  const uint32_t restore = form.State.RestoreMessage;
  ui.PostMessage(restore, 1033, 0);
  ui.PostMessage(restore + 1, kRestoreRequest, 0);
  ui.RunQueued();
  EXPECT_EQ(ui.restores, 0);

  form.State.Running = true;
  ui.PostMessage(restore, kRestoreRequest, 0);
  ui.PumpMessages();  // as a scan does between files
  EXPECT_EQ(ui.restores, 1);
}

}  // namespace
}  // namespace nb::test
