#include "wine/RunningProgram.h"

namespace nb::wine {

std::wstring ProgramPath() {
  wchar_t buffer[MAX_PATH] = {};
  if (::GetEnvironmentVariableW(L"NB_PROGRAM_EXE", buffer, MAX_PATH) > 0) return buffer;
  ::GetModuleFileNameW(nullptr, buffer, MAX_PATH);
  std::wstring path = buffer;
  path.erase(path.find_last_of(L'\\'));
  path.erase(path.find_last_of(L'\\') + 1);
  return path + L"NightBroom.exe";
}

HWND ChildByCaption(HWND parent, const std::wstring& caption) {
  struct Search {
    const std::wstring& caption;
    HWND found = nullptr;
  } search{caption};
  ::EnumChildWindows(
      parent,
      [](HWND window, LPARAM data) CALLBACK -> BOOL {
        auto* s = reinterpret_cast<Search*>(data);
        wchar_t text[256] = {};
        ::GetWindowTextW(window, text, 256);
        if (s->caption != text) return TRUE;
        s->found = window;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

HWND WaitForMainWindow(DWORD milliseconds, std::string& error) {
  const ULONGLONG end = ::GetTickCount64() + milliseconds;
  const auto left = [&] { return DWORD(end > ::GetTickCount64() ? end - ::GetTickCount64() : 0); };
  HWND main = nullptr;
  if (!WaitFor([&] { return (main = ::FindWindowW(L"TForm1", L"Night Broom")) != nullptr; }, left())) {
    error = "no main window of class TForm1 titled Night Broom";
    return nullptr;
  }
  if (!WaitFor([&] { return ChildByCaption(main, kFirstStatus) != nullptr; }, left() + 10000)) {
    error = "the main window was not shown with its first status line";
    return nullptr;
  }
  return main;
}

bool RunningProgram::Launch(std::string& error, const std::wstring& arguments) {
  End();
  std::wstring command = L"\"" + ProgramPath() + L"\"";
  if (!arguments.empty()) command += L" " + arguments;
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION info{};
  if (!::CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info)) {
    error = "cannot start the program (error " + std::to_string(::GetLastError()) + ")";
    return false;
  }
  ::CloseHandle(info.hThread);
  process_ = win32::UniqueFile(info.hProcess);
  processId_ = info.dwProcessId;
  return true;
}

bool RunningProgram::FindMainWindow(std::string& error, DWORD milliseconds) {
  main_ = WaitForMainWindow(milliseconds, error);
  return main_ != nullptr;
}

bool RunningProgram::Start(std::string& error, DWORD milliseconds) {
  return Launch(error) && FindMainWindow(error, milliseconds);
}

bool RunningProgram::Running() const {
  return process_.valid() && ::WaitForSingleObject(process_.get(), 0) == WAIT_TIMEOUT;
}

bool RunningProgram::WaitForExit(DWORD milliseconds) const {
  return process_.valid() && ::WaitForSingleObject(process_.get(), milliseconds) == WAIT_OBJECT_0;
}

DWORD RunningProgram::ExitCode() const {
  DWORD code = STILL_ACTIVE;
  if (process_.valid()) ::GetExitCodeProcess(process_.get(), &code);
  return code;
}

void RunningProgram::End(DWORD milliseconds) {
  if (!process_.valid()) {
    main_ = nullptr;
    return;
  }
  if (Running()) {
    if (main_ && ::IsWindow(main_)) ::PostMessageW(main_, WM_CLOSE, 0, 0);
    if (!WaitForExit(milliseconds)) ::TerminateProcess(process_.get(), 1);
    ::WaitForSingleObject(process_.get(), 5000);
  }
  process_ = win32::UniqueFile();
  processId_ = 0;
  main_ = nullptr;
}

}  // namespace nb::wine
