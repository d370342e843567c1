// The built NightBroom.exe started by a Wine test: the process, held until the
// test is done with it, and the program's main window once it has come up.
// Whatever a test starts is ended when its RunningProgram goes away.
#pragma once

#include <windows.h>

#include <string>

#include "platform/win32/Handles.h"

namespace nb::wine {

// The main window's caption on its status line right after start-up.
inline constexpr wchar_t kFirstStatus[] = L"Please check sections to scan and press \"Analyze\" button";

// Polls `condition` every 20 ms until it holds or `milliseconds` have passed.
template <typename Condition>
bool WaitFor(Condition condition, DWORD milliseconds) {
  const ULONGLONG end = ::GetTickCount64() + milliseconds;
  while (!condition()) {
    if (::GetTickCount64() > end) return false;
    ::Sleep(20);
  }
  return true;
}

// NB_PROGRAM_EXE, or NightBroom.exe in the folder above the running executable's.
std::wstring ProgramPath();

// The direct or deeper child of `parent` whose window text is `caption`.
HWND ChildByCaption(HWND parent, const std::wstring& caption);

// The program's main window (class TForm1, caption "Night Broom") once it is
// shown with its first status line: null when the window does not appear
// within `milliseconds`, or its status line not within 10 s more. `error`
// tells which of the two did not come.
HWND WaitForMainWindow(DWORD milliseconds, std::string& error);

class RunningProgram {
 public:
  RunningProgram() = default;
  ~RunningProgram() { End(); }
  RunningProgram(const RunningProgram&) = delete;
  RunningProgram& operator=(const RunningProgram&) = delete;

  // Starts the program with `arguments` after its quoted path; false, with
  // `error` set, when the process cannot be created.
  bool Launch(std::string& error, const std::wstring& arguments = L"");
  // Takes the main window as WaitForMainWindow finds it: this program's, or
  // that of one started elsewhere (which End then leaves running).
  bool FindMainWindow(std::string& error, DWORD milliseconds = 60000);
  // Launch, then FindMainWindow.
  bool Start(std::string& error, DWORD milliseconds = 60000);

  HWND Main() const { return main_; }
  HANDLE Process() const { return process_.get(); }
  DWORD ProcessId() const { return processId_; }
  bool Running() const;
  // Waits for the process to end by itself; false on timeout.
  bool WaitForExit(DWORD milliseconds) const;
  // The exit code of an ended process; STILL_ACTIVE while it runs.
  DWORD ExitCode() const;

  // Asks the main window to close and terminates the process when it has not
  // ended after `milliseconds`. Nothing when no process was started.
  void End(DWORD milliseconds = 10000);

 private:
  win32::UniqueFile process_;
  DWORD processId_ = 0;
  HWND main_ = nullptr;
};

}  // namespace nb::wine
