// Without the style among the resources (this test program carries none), the
// toolkit shows "Style 'Aqua Light Slate' not found" with a Close button and
// goes on with the system's plain look.
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>

#include "ui/Style.h"
#include "ui/win32/Win32Toolkit.h"

namespace nb::ui::win32 {
namespace {

struct Found {
  std::wstring text;
  HWND close = nullptr;
};

BOOL CALLBACK Collect(HWND window, LPARAM data) {
  auto* found = reinterpret_cast<Found*>(data);
  wchar_t text[256] = {};
  ::GetWindowTextW(window, text, 256);
  if (std::wstring(text).find(L"not found") != std::wstring::npos) found->text = text;
  if (std::wstring(text) == L"Close") found->close = window;
  return TRUE;
}

TEST(StyleWine, MissingStyleShowsAnErrorWithCloseAndFallsBackToThePlainLook) {
  std::atomic<bool> done{false};
  Found found;
  // Answers the box from another thread, as the user would.
  std::thread user([&] {
    const ULONGLONG end = ::GetTickCount64() + 10000;
    while (!done && ::GetTickCount64() < end) {
      if (HWND box = ::FindWindowW(nullptr, L"Error")) {
        Found now;
        ::EnumChildWindows(box, &Collect, reinterpret_cast<LPARAM>(&now));
        if (now.close) {
          found = now;
          ::PostMessageW(now.close, BM_CLICK, 0, 0);
          return;
        }
      }
      ::Sleep(20);
    }
  });
  Win32Toolkit toolkit(::GetModuleHandleW(nullptr));
  toolkit.ApplyStyle(kStyleName);
  done = true;
  user.join();
  EXPECT_EQ(found.text, L"Style 'Aqua Light Slate' not found");
  EXPECT_NE(found.close, nullptr);
  EXPECT_EQ(toolkit.Style().listBackground, PlainStyle().listBackground);
}

}  // namespace
}  // namespace nb::ui::win32
