// The main window on real windows, driven by keys alone: Tab and Shift+Tab
// move the real focus in the window's tab order, Space on a focused action
// label clicks it, Esc closes the About dialog and never the main window,
// Alt+F4 is refused while the window is busy and closes it after. The window is built in
// this process on a simulated machine.
#include <windows.h>

#include <gtest/gtest.h>

#include "app/Form1.h"
#include "support/SimRun.h"
#include "ui/win32/Win32Toolkit.h"

namespace nb {
namespace {

using ui::win32::Win32Toolkit;

// Runs inside the About dialog's modal loop, as the user would press Esc there.
void CALLBACK PressEscInAbout(HWND, UINT, UINT_PTR, DWORD) {
  if (HWND about = ::FindWindowW(L"TForm2", L"About"))
    ::PostMessageW(::GetFocus() ? ::GetFocus() : about, WM_KEYDOWN, VK_ESCAPE, 1);
}

class KeyboardWine : public testing::Test, protected test::SimMachineFixture {
 protected:
  KeyboardWine() {
    machine.SetUpStandardUser();
    ui.Realize(form);
    ui.Show(form);
    ui.DispatchQueued();
  }
  ~KeyboardWine() override {
    // A closed main window leaves the end of the message loop behind.
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
  }

  // A key as the keyboard delivers it: to the focused window, or as a system
  // key to the active window when none has the focus.
  void Press(UINT vk, bool shift = false, bool alt = false) {
    BYTE keys[256] = {};
    if (shift) keys[VK_SHIFT] = 0x80;
    ::SetKeyboardState(keys);
    HWND focus = ::GetFocus();
    const bool system = alt || !focus;
    const LPARAM lParam = 1 | (alt ? (1 << 29) : 0);
    ::PostMessageW(focus ? focus : Win32Toolkit::WindowOf(form), system ? WM_SYSKEYDOWN : WM_KEYDOWN, vk, lParam);
    // What the key sets off (a click, a focus change) is queued in turn.
    for (int i = 0; i < 3; ++i) ui.DispatchQueued();
    keys[VK_SHIFT] = 0;
    ::SetKeyboardState(keys);
  }
  HWND Focus(const ui::Control& c) { return Win32Toolkit::WindowOf(c); }
  int Ticked() {
    int n = 0;
    for (int r = 0; r < form.List2.RowCount(0); ++r) n += form.List2.Checked(0, r);
    return n;
  }

  Win32Toolkit ui{::GetModuleHandleW(nullptr)};
  TForm1 form{os, ui};
};

TEST_F(KeyboardWine, TabReachesTheActionLabelsSpaceClicksThemEscClosesOnlyTheAboutBoxAltF4OnlyWhenIdle) {
  for (ui::Label* l : {&form.Label1, &form.Label2, &form.Label3, &form.Label4}) l->SetVisible(true);
  for (int r = 0; r < 3; ++r) form.List2.AddRow(0, u"C:\\t\\" + NumberText(r) + u".tmp", u"1.00 KB", r == 0);
  ASSERT_EQ(::GetFocus(), Focus(form.Button2));  // "Analyze" has the focus after start

  // "Delete all" is disabled: Tab passes over it.
  for (const ui::Control* next : {static_cast<const ui::Control*>(&form.Button4), static_cast<const ui::Control*>(&form.List1),
                                  static_cast<const ui::Control*>(&form.List2), static_cast<const ui::Control*>(&form.List3),
                                  static_cast<const ui::Control*>(&form.Label1)}) {
    Press(VK_TAB);
    EXPECT_EQ(::GetFocus(), Focus(*next)) << ToUtf8(next->Name());
  }
  Press(VK_SPACE);
  EXPECT_EQ(Ticked(), 3);  // "Check all"
  Press(VK_TAB);
  Press(VK_RETURN);
  EXPECT_EQ(Ticked(), 0);  // "Uncheck all"
  Press(VK_TAB, /*shift=*/true);
  Press(VK_TAB, /*shift=*/true);
  EXPECT_EQ(::GetFocus(), Focus(form.List3));

  // Esc in the About dialog closes the dialog only.
  const UINT_PTR timer = ::SetTimer(nullptr, 0, 100, &PressEscInAbout);
  form.Button1Click();
  ::KillTimer(nullptr, timer);
  EXPECT_EQ(::FindWindowW(L"TForm2", L"About"), nullptr);
  ASSERT_NE(form.GetState(), ui::Form::State::Closed);

  // Esc on the main window, idle or busy, leaves it open with its rows.
  Press(VK_ESCAPE);
  EXPECT_NE(form.GetState(), ui::Form::State::Closed);
  EXPECT_EQ(form.List2.RowCount(0), 3);

  form.State.Running = true;
  Press(VK_ESCAPE);
  Press(VK_F4, false, /*alt=*/true);
  EXPECT_NE(form.GetState(), ui::Form::State::Closed);
  EXPECT_TRUE(::IsWindow(Focus(form)));

  form.State.Running = false;
  Press(VK_F4, false, /*alt=*/true);
  EXPECT_EQ(form.GetState(), ui::Form::State::Closed);
}

}  // namespace
}  // namespace nb
