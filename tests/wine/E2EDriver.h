// Drives the built NightBroom.exe the way a user would, from another process,
// through window messages only: the main window by class and caption,
// controls by their captions or classes, clicks as BM_CLICK or mouse messages,
// texts by WM_GETTEXT, message boxes answered with their own buttons. The
// program is ended when the driver goes away.
#pragma once

#include <windows.h>

#include <string>

#include "wine/RunningProgram.h"

namespace nb::e2e {

using wine::WaitFor;

// A window's text read with WM_GETTEXT (an edit control's content too).
std::wstring TextOf(HWND window);

// The running program and its controls. The handles of the controls whose
// captions change (the status line, Label4, the buttons) are taken once, when
// the window is first shown, while their captions are known.
class Program {
 public:
  Program() = default;
  ~Program() { End(); }
  Program(const Program&) = delete;
  Program& operator=(const Program&) = delete;

  // Starts the program and waits until its main window shows the first status
  // line. False, with `error` set, when it does not come up in time.
  bool Start(std::string& error);
  // Only starts the process.
  bool Launch(std::string& error);
  // Finds the main window of a program that has just started (this one's, or
  // one started elsewhere) and its controls.
  bool Attach(std::string& error);
  // Asks the window to close, and terminates the process when it does not end.
  // A program found by Attach alone is left running.
  void End();
  bool Running() const { return running_.Running(); }
  DWORD ProcessId() const { return processId_; }
  // Waits for the process to end by itself; false on timeout.
  bool WaitForExit(DWORD milliseconds) const { return running_.WaitForExit(milliseconds); }

  HWND Main() const { return main_; }
  HWND Analyze() const { return analyze_; }  // Button2: "Analyze" / "Stop"
  HWND DeleteAll() const { return deleteAll_; }  // Button3: "Delete all" / "Stop" / "Delete"
  HWND DeleteChecked() const { return deleteChecked_; }  // Label3: "Delete checked"
  HWND Close() const { return close_; }
  HWND Status() const { return status_; }  // ActionPanel: its caption is the status line
  HWND Summary() const { return summary_; }  // Label4
  HWND Sections() const { return list1_; }
  HWND Results() const { return list2_; }
  HWND Memo() const { return list3_; }

  // Posts a click and returns at once (the user may click again meanwhile).
  static void Click(HWND button);
  // Clicks and returns when the button's handler has returned, that is, when
  // the operation it started is over. False when it takes longer than `milliseconds`.
  static bool ClickAndWait(HWND button, DWORD milliseconds);
  // A left click at client point (x, y) of one of the lists, handled before it returns.
  static void ClickAt(HWND list, int x, int y);

  // The message box (#32770) that the program shows, owned by its main
  // window; null when none appears within `milliseconds`.
  HWND WaitForMessageBox(DWORD milliseconds) const;
  static std::wstring MessageText(HWND box);
  static std::wstring Caption(HWND box);
  // Clicks the box's button IDYES, IDNO or IDOK; false when it has none such.
  static bool Answer(HWND box, int id);

  // No long operation runs: "Analyze" reads so and "Close" is enabled.
  bool Idle() const;

 private:
  HWND ChildByCaption(const std::wstring& caption) const;

  wine::RunningProgram running_;
  DWORD processId_ = 0;
  HWND main_ = nullptr;
  HWND analyze_ = nullptr;
  HWND deleteAll_ = nullptr;
  HWND deleteChecked_ = nullptr;
  HWND close_ = nullptr;
  HWND status_ = nullptr;
  HWND summary_ = nullptr;
  HWND list1_ = nullptr;
  HWND list2_ = nullptr;
  HWND list3_ = nullptr;
};

// Geometry of our list control for clicks: header, group lines and rows in
// client pixels, as the control lays them out by default.
struct ListGeometry {
  int header = 25;
  int group = 26;
  int row = 19;
  // The middle of row `row` of group `group`, given the row counts of the groups above it.
  int RowMiddle(const int* rowsPerGroup, int group, int row) const;
  // The middle of the row of section 1..16 in the section list, whose five
  // groups hold 3, 4, 4, 3 and 2 sections in code order.
  int SectionMiddle(int section) const;
  // The middle of the first row of the results list's one group.
  int FirstResultMiddle() const { return header + group + row / 2; }
};

}  // namespace nb::e2e
