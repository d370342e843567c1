#include "app/Form1.h"

#include <array>

#include "app/Form2.h"
#include "app/Links.h"
#include "app/Settings.h"
#include "app/SingleInstance.h"
#include "catalogue/Catalogue.h"
#include "catalogue/DiscoverLocations.h"
#include "app/ResultsRows.h"

namespace nb {

using ui::Align;
using ui::Bounds;
using ui::Cursor;
using ui::TextAlign;

namespace {
ui::Font ScriptFont(int height, bool bold = false) {
  ui::Font f;
  f.face = u"Segoe Script";
  f.height = height;
  f.bold = bold;
  return f;
}
}  // namespace

TForm1::TForm1(Platform& os, ui::Toolkit& toolkit)
    : Form(u"Form1", kMainWindowClass, kMainWindowCaption),
      Os(os),
      Ui(toolkit),
      TopPanel(this, u"TopPanel"),
      LogoImage(&TopPanel, u"LogoImage", u"LOGO32", {16, 4, 32, 32}),
      TopPanelLabel1(&TopPanel, u"TopPanelLabel1", u"Night Broom", 64, 8),
      BottomPanel(this, u"BottomPanel"),
      Button1(&BottomPanel, u"Button1", u"About", {16, 8, 75, 25}),
      ButtonPanel(&BottomPanel, u"ButtonPanel"),
      Button2(&ButtonPanel, u"Button2", u"Analyze", {10, 7, 120, 25}),
      Button3(&ButtonPanel, u"Button3", u"Delete all", {136, 7, 120, 25}),
      Button4(&ButtonPanel, u"Button4", u"Close", {262, 7, 120, 25}),
      List1(this, u"List1"),
      Splitter1(this, u"Splitter1", List1, 170, 210),
      CenterPanel(this, u"CenterPanel"),
      List2(&CenterPanel, u"List2"),
      List3(&CenterPanel, u"List3"),
      ActionPanel(&CenterPanel, u"ActionPanel"),
      Label1(&ActionPanel, u"Label1", u"Check all", 16, 4),
      Label2(&ActionPanel, u"Label2", u"Uncheck all", 80, 4),
      Label3(&ActionPanel, u"Label3", u"Delete checked", 160, 4),
      Label4(&ActionPanel, u"Label4", u"0 files, 0 MB", 490, 4) {
  BuildControls();
  WireEvents();
  SetClientSize(784, 561);
}

TForm1::~TForm1() {
  Ui.SetMessageHook(nullptr);
  DropPeers();
}

void TForm1::BuildControls() {
  SetMinOuterSize(800, 600);
  SetPosition(ui::FormPosition::ScreenCenter);

  TopPanel.SetAlign(Align::Top);
  TopPanel.SetHeight(40);
  LogoImage.SetCursor(Cursor::Hand);
  TopPanelLabel1.SetFont(ScriptFont(16, true));

  BottomPanel.SetAlign(Align::Bottom);
  BottomPanel.SetHeight(40);
  ButtonPanel.SetAlign(Align::Right);
  ButtonPanel.SetWidth(392);
  ButtonPanel.SetBevel(false);
  for (ui::Button* b : {&Button1, &Button2, &Button3, &Button4}) b->SetFont(ScriptFont(13));

  List1.SetAlign(Align::Left);
  List1.SetWidth(210);
  List1.AddColumn(u"Sections to scan", 202);
  List1.SetGroupPictures({u"GROUP16"});
  for (const char16_t* caption : SectionGroups()) List1.AddGroup(caption, 0);
  for (const SectionInfo& s : Sections()) List1.AddRow(s.group, s.caption, {}, true);

  Splitter1.SetAlign(Align::Left);
  Splitter1.SetWidth(3);

  CenterPanel.SetAlign(Align::Client);
  CenterPanel.SetBevel(false);
  List2.SetAlign(Align::Client);
  ui::Font rowFont = List2.GetFont();
  rowFont.height = 12;
  List2.SetFont(rowFont);
  List2.SetCaptionFontHeight(13);
  List2.AddColumn(u"File", 450, TextAlign::Left);
  List2.AddColumn(u"Size", 100, TextAlign::Center);
  List2.AddGroup(u"Files");
  List3.SetAlign(Align::Bottom);
  List3.SetHeight(100);
  ActionPanel.SetAlign(Align::Bottom);
  ActionPanel.SetHeight(28);
  ActionPanel.SetBevel(false);

  for (ui::Label* l : {&Label1, &Label2, &Label3}) {
    l->SetCursor(Cursor::Hand);
    l->SetTabStop(true);
  }
  Label4.SetTextAlign(TextAlign::Right);
  Label4.AnchorRight(8);
  for (ui::Label* l : {&Label1, &Label2, &Label3, &Label4}) l->SetVisible(false);
  // The keyboard walks the window from left to right, then along the strip and the buttons.
  SetTabOrder({&List1, &List2, &List3, &Label1, &Label2, &Label3, &Button1, &Button2, &Button3, &Button4});
}

void TForm1::WireEvents() {
  OnCreate = [this] { CreateForm(); };
  OnShow = [this] { ShowForm(); };
  OnCloseQuery = [this](bool& canClose) { CloseForm(canClose); };
  OnDestroy = [this] { DestroyForm(); };
  // No OnEscape: a stray Esc must not end the program and throw its findings
  // away. "Close", the close box, the system menu and Alt+F4 close it.

  LogoImage.OnClick = [this] { LogoImageClick(); };
  Button1.OnClick = [this] { Button1Click(); };
  Button2.OnClick = [this] { Button2Click(); };
  Button3.OnClick = [this] { Button3Click(); };
  Button4.OnClick = [this] { Button4Click(); };
  Label1.OnClick = [this] { Label1Click(); };
  Label2.OnClick = [this] { Label2Click(); };
  Label3.OnClick = [this] { Label3Click(); };
  Label1.OnMouseEnter = [this] { Label1MouseEnter(); };
  Label1.OnMouseLeave = [this] { Label1MouseLeave(); };
  Label2.OnMouseEnter = [this] { Label2MouseEnter(); };
  Label2.OnMouseLeave = [this] { Label2MouseLeave(); };
  Label3.OnMouseEnter = [this] { Label3MouseEnter(); };
  Label3.OnMouseLeave = [this] { Label3MouseLeave(); };
  List1.OnItemClick = [this](int group, int item) { List1ItemClick(group, item); };
  List1.OnItemCheckChange = [this](int group, int item) { List1ItemCheckChange(group, item); };
  List2.OnItemClick = [this](int, int row) { List2ItemClick(row); };
  List2.OnColumnClick = [this](int column) { List2ColumnClick(column); };
  Ui.SetMessageHook([this](uint32_t message, uintptr_t wParam, intptr_t lParam) { NBOnMessage(message, wParam, lParam); });
}

void TForm1::CreateForm() {
  State.RestoreMessage = Os.RegisterWindowMessage(kRestoreMessageName);
  State.Results.Clear();
  State.Loc = Locations{};
  State.DecimalSeparator = Os.GetDecimalSeparator();
  DiscoverLocations(Os, State.Loc);
  State.Running = false;
  State.StopRequested = false;
}

void TForm1::ShowForm() {
  const Text mask = LoadSectionMask(Os);
  for (int k = 1; k <= kSectionCount; ++k) {
    const auto [group, item] = PositionOfSection(SectionCode(k));
    List1.SetChecked(group, item, MaskTicks(mask, k));
  }
  for (ui::Label* l : {&Label1, &Label2, &Label3, &Label4}) l->SetVisible(false);
  ActionPanel.SetCaption(u"Please check sections to scan and press \"Analyze\" button");
  Button3.SetEnabled(false);
  Button2.SetFocus();
}

void TForm1::CloseForm(bool& canClose) {
  if (State.Busy()) canClose = false;
}

void TForm1::DestroyForm() {
  List2.RemoveGroupRows(kFindingsGroup);  // its rows show the store's texts
  State.Results.Clear();
  State.Roots.Clear();
  Locations& loc = State.Loc;
  for (auto* list : {&loc.TempFolders, &loc.IeCacheFolders, &loc.EdgeCacheFolders, &loc.ChromeTargets,
                     &loc.FirefoxCacheFolders, &loc.SearchFolders})
    list->clear();
}

void TForm1::LogoImageClick() { Ui.OpenLink(*this, kHomePageAddress); }

void TForm1::Button1Click() {
  TForm2 about(Ui);
  Ui.ShowModal(about);
}

void TForm1::Button4Click() { Ui.RequestClose(*this); }

void TForm1::Label1MouseEnter() { Label1.SetUnderline(true); }
void TForm1::Label1MouseLeave() { Label1.SetUnderline(false); }
void TForm1::Label2MouseEnter() { Label2.SetUnderline(true); }
void TForm1::Label2MouseLeave() { Label2.SetUnderline(false); }
void TForm1::Label3MouseEnter() { Label3.SetUnderline(true); }
void TForm1::Label3MouseLeave() { Label3.SetUnderline(false); }

void TForm1::List1ItemCheckChange(int, int) {
  std::array<bool, kSectionCount> ticks{};
  for (int k = 1; k <= kSectionCount; ++k) {
    const auto [group, item] = PositionOfSection(SectionCode(k));
    ticks[size_t(k - 1)] = List1.Checked(group, item);
  }
  SaveSectionMask(Os, BuildSectionMask(ticks));
}

void TForm1::NBOnMessage(uint32_t message, uintptr_t wParam, intptr_t) {
  if (State.RestoreMessage != 0 && message == State.RestoreMessage && wParam == kRestoreRequest)
    Ui.RestoreApplication();
}

}  // namespace nb
