// The built program under Wine: it starts, its main window is found by class
// and caption, its controls are reached by their captions, a second start only
// asks the running instance to come back and ends, and a restore request with
// another wParam changes nothing. Every instance started here is ended here.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "wine/RunningProgram.h"

namespace nb {
namespace {

using wine::ChildByCaption;
using wine::kFirstStatus;
using wine::RunningProgram;
using wine::WaitFor;

int CountMainWindows() {
  int count = 0;
  ::EnumWindows(
      [](HWND window, LPARAM counter) CALLBACK -> BOOL {
        wchar_t cls[32] = {};
        ::GetClassNameW(window, cls, 32);
        if (std::wstring(cls) == L"TForm1") ++*reinterpret_cast<int*>(counter);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&count));
  return count;
}

class Startup : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(::FindWindowW(L"TForm1", L"Night Broom"), nullptr) << "an instance is already running";
    std::string error;
    ASSERT_TRUE(instance_.Start(error, 30000)) << error;
    main_ = instance_.Main();
  }

  RunningProgram instance_;
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
  ASSERT_TRUE(instance_.WaitForExit(10000));
  EXPECT_EQ(instance_.ExitCode(), 0u);
}

TEST_F(Startup, SecondStartRestoresTheRunningInstanceAndEndsWithoutAWindow) {
  ::ShowWindow(main_, SW_MINIMIZE);
  ASSERT_TRUE(WaitFor([&] { return ::IsIconic(main_) != FALSE; }, 5000));

  const ULONGLONG started = ::GetTickCount64();
  RunningProgram second;
  std::string error;
  ASSERT_TRUE(second.Launch(error)) << error;
  ASSERT_TRUE(second.WaitForExit(10000));
  const ULONGLONG lived = ::GetTickCount64() - started;
  EXPECT_EQ(second.ExitCode(), 0u);
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
