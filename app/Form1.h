// The main window: the section list, the results list and memo, the status and
// action strip, the four buttons. Its handlers are thin: they keep the
// controls and the running state, and call the routines of scan/, delete/ and
// results/ for the work, with the window's toolkit behind their host.
#pragma once

#include "app/ToolkitHost.h"
#include "platform/Platform.h"
#include "state/RunContext.h"
#include "ui/Controls.h"
#include "ui/EasyListview.h"
#include "ui/Form.h"
#include "ui/Toolkit.h"

namespace nb {

class TForm1 : public ui::Form {
 public:
  TForm1(Platform& os, ui::Toolkit& toolkit);
  ~TForm1() override;

  // What the logic works with: the machine, the pump and boxes, the state.
  RunContext Context() { return {Os, Host, State}; }

  Platform& Os;
  ui::Toolkit& Ui;
  ToolkitHost Host{Ui};
  AppState State;

  ui::Panel TopPanel;
  ui::Image LogoImage;
  ui::Label TopPanelLabel1;
  ui::Panel BottomPanel;
  ui::Button Button1;
  ui::Panel ButtonPanel;
  ui::Button Button2;
  ui::Button Button3;
  ui::Button Button4;
  ui::TEasyListview List1;
  ui::Splitter Splitter1;
  ui::Panel CenterPanel;
  ui::TEasyListview List2;
  ui::Memo List3;
  ui::Panel ActionPanel;
  ui::Label Label1;
  ui::Label Label2;
  ui::Label Label3;
  ui::Label Label4;

  // --- The shell (Form1.cpp) ---
  void CreateForm();
  void ShowForm();
  void CloseForm(bool& canClose);
  void DestroyForm();
  void LogoImageClick();
  void Button1Click();
  void Button4Click();
  void Label1MouseEnter();
  void Label1MouseLeave();
  void Label2MouseEnter();
  void Label2MouseLeave();
  void Label3MouseEnter();
  void Label3MouseLeave();
  void List1ItemCheckChange(int group, int item);
  void NBOnMessage(uint32_t message, uintptr_t wParam, intptr_t lParam);

  // --- The long operations (Form1Runs.cpp): Analyze, Delete all, Delete checked ---
  void Button2Click();
  void Button3Click();
  void Label3Click();
  // --- The results views and item details (Form1Views.cpp) ---
  void Label1Click();
  void Label2Click();
  void List1ItemClick(int group, int item);
  void List2ColumnClick(int column);
  void List2ItemClick(int row);

 private:
  void BuildControls();
  void WireEvents();
};

// wParam of the restore request that a second start posts to the running instance.
inline constexpr uintptr_t kRestoreRequest = 1034;

}  // namespace nb
