// The built program under Wine: it starts, its main window is found by class
// and caption, its controls are reached by their captions, a second start only
// asks the running instance to come back and ends, and a restore request with
// another wParam changes nothing. Every instance started here is ended here.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/win32/Handles.h"

namespace nb {
namespace {

using win32::UniqueFile;

// NB_PROGRAM_EXE, or NightBroom.exe in the folder above this test's own.
std::wstring ProgramPath() {
  wchar_t buffer[MAX_PATH] = {};
  if (::GetEnvironmentVariableW(L"NB_PROGRAM_EXE", buffer, MAX_PATH) > 0) return buffer;
  ::GetModuleFileNameW(nullptr, buffer, MAX_PATH);
  std::wstring path = buffer;
  path.erase(path.find_last_of(L'\\'));
  path.erase(path.find_last_of(L'\\') + 1);
  return path + L"NightBroom.exe";
}

HWND FindMain() { return ::FindWindowW(L"TForm1", L"Night Broom"); }

constexpr wchar_t kFirstStatus[] = L"Please check sections to scan and press \"Analyze\" button";

template <typename Condition>
bool WaitFor(Condition condition, DWORD milliseconds) {
  const ULONGLONG end = ::GetTickCount64() + milliseconds;
  while (!condition()) {
    if (::GetTickCount64() > end) return false;
    ::Sleep(20);
  }
  return true;
}

int CountMainWindows() {
  int count = 0;
  ::EnumWindows(
      [](HWND window, LPARAM counter) -> BOOL {
        wchar_t cls[32] = {};
        ::GetClassNameW(window, cls, 32);
        if (std::wstring(cls) == L"TForm1") ++*reinterpret_cast<int*>(counter);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&count));
  return count;
}

// The child window (at any depth) whose text is `caption`.
HWND ChildByCaption(HWND parent, const std::wstring& caption) {
  struct Search {
    std::wstring caption;
    HWND found = nullptr;
  } search{caption};
  ::EnumChildWindows(
      parent,
      [](HWND window, LPARAM data) -> BOOL {
        auto* s = reinterpret_cast<Search*>(data);
        wchar_t text[256] = {};
        ::GetWindowTextW(window, text, 256);
        if (s->caption == text) {
          s->found = window;
          return FALSE;
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

UniqueFile Start() {
  std::wstring command = L"\"" + ProgramPath() + L"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION info{};
  if (!::CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info))
    return UniqueFile();
  ::CloseHandle(info.hThread);
  return UniqueFile(info.hProcess);
}

class Startup : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(FindMain(), nullptr) << "an instance is already running";
    instance_ = Start();
    ASSERT_TRUE(instance_.valid()) << "cannot start the program";
    ASSERT_TRUE(WaitFor([&] { return (main_ = FindMain()) != nullptr; }, 30000)) << "no main window";
    // Shown: the status line has its first text.
    ASSERT_TRUE(WaitFor([&] { return ChildByCaption(main_, kFirstStatus) != nullptr; }, 10000));
  }

  void TearDown() override {
    if (!instance_.valid()) return;
    if (main_ && ::IsWindow(main_)) ::PostMessageW(main_, WM_CLOSE, 0, 0);
    if (::WaitForSingleObject(instance_.get(), 10000) != WAIT_OBJECT_0) ::TerminateProcess(instance_.get(), 1);
  }

  UniqueFile instance_;
  HWND main_ = nullptr;
};

TEST_F(Startup, MainWindowIsFoundByClassAndCaptionWithItsControls) {
  wchar_t cls[32] = {};
  ::GetClassNameW(main_, cls, 32);
  EXPECT_STREQ(cls, L"TForm1");
  for (const wchar_t* caption : {L"About", L"Analyze", L"Delete all", L"Close", kFirstStatus})
    EXPECT_NE(ChildByCaption(main_, caption), nullptr) << std::string(caption, caption + wcslen(caption));
  EXPECT_FALSE(::IsWindowEnabled(ChildByCaption(main_, L"Delete all")));
  // Client 784 x 561 inside a window of at least 800 x 600; where the frame is
  // thinner than Windows' own (Wine's null driver), the minimum size wins.
  RECT client{}, outer{};
  ::GetClientRect(main_, &client);
  ::GetWindowRect(main_, &outer);
  const SIZE outerSize{outer.right - outer.left, outer.bottom - outer.top};
  EXPECT_GE(outerSize.cx, 800);
  EXPECT_GE(outerSize.cy, 600);
  EXPECT_TRUE((client.right == 784 && client.bottom == 561) || (outerSize.cx == 800 && outerSize.cy == 600))
      << client.right << "x" << client.bottom << " in " << outerSize.cx << "x" << outerSize.cy;

  // "About" opens the dialog; its "Close" ends it.
  ::PostMessageW(ChildByCaption(main_, L"About"), BM_CLICK, 0, 0);
  HWND about = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (about = ::FindWindowW(L"TForm2", L"About")) != nullptr; }, 5000));
  EXPECT_TRUE(WaitFor([&] { return !::IsWindowEnabled(main_); }, 2000));
  ::PostMessageW(ChildByCaption(about, L"Close"), BM_CLICK, 0, 0);
  EXPECT_TRUE(WaitFor([&] { return !::IsWindow(about); }, 5000));
  EXPECT_TRUE(WaitFor([&] { return ::IsWindowEnabled(main_) != FALSE; }, 2000));

  // The close box ends the program.
  ::PostMessageW(main_, WM_CLOSE, 0, 0);
  ASSERT_EQ(::WaitForSingleObject(instance_.get(), 10000), WAIT_OBJECT_0);
  DWORD code = 1;
  ::GetExitCodeProcess(instance_.get(), &code);
  EXPECT_EQ(code, 0u);
}

TEST_F(Startup, SecondStartRestoresTheRunningInstanceAndEndsWithoutAWindow) {
  ::ShowWindow(main_, SW_MINIMIZE);
  ASSERT_TRUE(WaitFor([&] { return ::IsIconic(main_) != FALSE; }, 5000));

  const ULONGLONG started = ::GetTickCount64();
  UniqueFile second = Start();
  ASSERT_TRUE(second.valid());
  ASSERT_EQ(::WaitForSingleObject(second.get(), 10000), WAIT_OBJECT_0);
  const ULONGLONG lived = ::GetTickCount64() - started;
  DWORD code = 1;
  ::GetExitCodeProcess(second.get(), &code);
  EXPECT_EQ(code, 0u);
  EXPECT_GE(lived, 500u);   // it waits half a second after posting
  EXPECT_LT(lived, 3000u);  // and no more than process start-up adds
  EXPECT_EQ(CountMainWindows(), 1);
  EXPECT_TRUE(WaitFor([&] { return !::IsIconic(main_); }, 5000)) << "the running instance was not restored";
}

TEST_F(Startup, RestoreRequestWithAnotherWParamChangesNothing) {
  const UINT restore = ::RegisterWindowMessageW(L"NBRestore");
  ::ShowWindow(main_, SW_MINIMIZE);
  ASSERT_TRUE(WaitFor([&] { return ::IsIconic(main_) != FALSE; }, 5000));
  ::PostMessageW(main_, restore, 1033, 0);
  ::PostMessageW(main_, restore + 1, 1034, 0);
  ::Sleep(700);
  EXPECT_TRUE(::IsIconic(main_));
  ::PostMessageW(main_, restore, 1034, 0);
  EXPECT_TRUE(WaitFor([&] { return !::IsIconic(main_); }, 5000));
}

}  // namespace
}  // namespace nb
