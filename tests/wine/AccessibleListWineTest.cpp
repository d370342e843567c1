// The section list seen from another process, as a screen reader sees it:
// its IAccessible comes through AccessibleObjectFromWindow, with the rows'
// names and ticks; a section's default action after an Analyze fills the
// results list. Every instance started here is ended here.
#include <windows.h>

#include <oleacc.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/win32/Handles.h"

namespace nb {
namespace {

using win32::UniqueFile;

constexpr GUID kIidAccessible = {0x618736E0, 0x3C3D, 0x11CF, {0x81, 0x0C, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71}};

std::wstring ProgramPath() {
  wchar_t buffer[MAX_PATH] = {};
  if (::GetEnvironmentVariableW(L"NB_PROGRAM_EXE", buffer, MAX_PATH) > 0) return buffer;
  ::GetModuleFileNameW(nullptr, buffer, MAX_PATH);
  std::wstring path = buffer;
  path.erase(path.find_last_of(L'\\'));
  path.erase(path.find_last_of(L'\\') + 1);
  return path + L"NightBroom.exe";
}

template <typename Condition>
bool WaitFor(Condition condition, DWORD milliseconds) {
  const ULONGLONG end = ::GetTickCount64() + milliseconds;
  while (!condition()) {
    if (::GetTickCount64() > end) return false;
    ::Sleep(50);
  }
  return true;
}

// Child windows of the main window by class, left to right.
std::vector<HWND> ChildrenOfClass(HWND parent, const std::wstring& cls) {
  struct Search {
    std::wstring cls;
    std::vector<HWND> found;
  } search{cls, {}};
  ::EnumChildWindows(
      parent,
      [](HWND window, LPARAM data) -> BOOL {
        auto* s = reinterpret_cast<Search*>(data);
        wchar_t name[64] = {};
        ::GetClassNameW(window, name, 64);
        if (s->cls == name) s->found.push_back(window);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  std::sort(search.found.begin(), search.found.end(), [](HWND a, HWND b) {
    RECT ra{}, rb{};
    ::GetWindowRect(a, &ra);
    ::GetWindowRect(b, &rb);
    return ra.left < rb.left;
  });
  return search.found;
}

HWND ChildByCaption(HWND parent, const std::wstring& caption) {
  for (HWND child = ::FindWindowExW(parent, nullptr, nullptr, nullptr); child;
       child = ::FindWindowExW(parent, child, nullptr, nullptr)) {
    wchar_t text[256] = {};
    ::GetWindowTextW(child, text, 256);
    if (caption == text) return child;
    if (HWND inner = ChildByCaption(child, caption)) return inner;
  }
  return nullptr;
}

VARIANT Child(long id) {
  VARIANT v;
  ::VariantInit(&v);
  v.vt = VT_I4;
  v.lVal = id;
  return v;
}

std::wstring Name(IAccessible* acc, long id) {
  BSTR name = nullptr;
  if (acc->get_accName(Child(id), &name) != S_OK || !name) return L"";
  std::wstring out(name, ::SysStringLen(name));
  ::SysFreeString(name);
  return out;
}

long Number(HRESULT hr, const VARIANT& v) { return SUCCEEDED(hr) && v.vt == VT_I4 ? v.lVal : -1; }
long Role(IAccessible* acc, long id) {
  VARIANT v;
  const HRESULT hr = acc->get_accRole(Child(id), &v);
  return Number(hr, v);
}
long State(IAccessible* acc, long id) {
  VARIANT v;
  const HRESULT hr = acc->get_accState(Child(id), &v);
  return Number(hr, v);
}

struct ComRef {
  IAccessible* p = nullptr;
  ~ComRef() {
    if (p) p->Release();
  }
};

class AccessibleListWine : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(SUCCEEDED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
    ASSERT_EQ(::FindWindowW(L"TForm1", L"Night Broom"), nullptr) << "an instance is already running";
    // Only the temporary folders ticked: a short Analyze.
    HKEY key = nullptr;
    ASSERT_EQ(::RegCreateKeyExW(HKEY_CURRENT_USER, L"SOFTWARE\\Quellmark\\Nightbroom", 0, nullptr, 0, KEY_SET_VALUE,
                                nullptr, &key, nullptr),
              ERROR_SUCCESS);
    const std::wstring mask = L"1000000000000000";
    ::RegSetValueExW(key, L"Sections", 0, REG_SZ, reinterpret_cast<const BYTE*>(mask.c_str()),
                     DWORD((mask.size() + 1) * sizeof(wchar_t)));
    ::RegCloseKey(key);

    std::wstring command = L"\"" + ProgramPath() + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info{};
    ASSERT_TRUE(::CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info));
    ::CloseHandle(info.hThread);
    instance_ = UniqueFile(info.hProcess);
    ASSERT_TRUE(WaitFor([&] { return (main_ = ::FindWindowW(L"TForm1", L"Night Broom")) != nullptr; }, 30000));
    ASSERT_TRUE(WaitFor([&] { return ChildrenOfClass(main_, L"NBListview").size() == 2; }, 10000));
    ASSERT_TRUE(WaitFor([&] { return ::IsWindowVisible(main_) != FALSE; }, 10000));
    lists_ = ChildrenOfClass(main_, L"NBListview");
  }

  void TearDown() override {
    if (instance_.valid()) {
      if (main_ && ::IsWindow(main_)) ::PostMessageW(main_, WM_CLOSE, 0, 0);
      if (::WaitForSingleObject(instance_.get(), 10000) != WAIT_OBJECT_0) ::TerminateProcess(instance_.get(), 1);
    }
    ::CoUninitialize();
  }

  HRESULT Accessible(HWND window, ComRef& out) {
    return ::AccessibleObjectFromWindow(window, DWORD(OBJID_CLIENT), kIidAccessible, reinterpret_cast<void**>(&out.p));
  }

  UniqueFile instance_;
  HWND main_ = nullptr;
  std::vector<HWND> lists_;
};

TEST_F(AccessibleListWine, SectionListGivesRowNamesAndTicksToAnotherProcess) {
  ComRef list1;
  ASSERT_EQ(Accessible(lists_[0], list1), S_OK);
  ASSERT_NE(list1.p, nullptr);
  BSTR name = nullptr;
  VARIANT self;
  ::VariantInit(&self);
  ASSERT_EQ(list1.p->get_accName(self, &name), S_OK);
  EXPECT_EQ(std::wstring(name, ::SysStringLen(name)), L"Sections to scan");
  ::SysFreeString(name);
  long count = 0;
  ASSERT_EQ(list1.p->get_accChildCount(&count), S_OK);
  EXPECT_EQ(count, 21);
  EXPECT_EQ(Role(list1.p, 0), ROLE_SYSTEM_LIST);
  EXPECT_EQ(Name(list1.p, 1), L"Temporary Files");
  EXPECT_EQ(Role(list1.p, 1), ROLE_SYSTEM_GROUPING);
  EXPECT_EQ(Name(list1.p, 2), L"Folders \"Temp\"");
  EXPECT_EQ(Role(list1.p, 2), ROLE_SYSTEM_LISTITEM);
  EXPECT_TRUE(State(list1.p, 2) & STATE_SYSTEM_CHECKED);
  EXPECT_EQ(Name(list1.p, 3), L"Recycle Bin");
  EXPECT_FALSE(State(list1.p, 3) & STATE_SYSTEM_CHECKED);
  EXPECT_EQ(Name(list1.p, 21), L"HKEY_LOCAL_MACHINE");

  // Once the window is gone the object answers, but only with an error.
  ::PostMessageW(main_, WM_CLOSE, 0, 0);
  ASSERT_EQ(::WaitForSingleObject(instance_.get(), 10000), WAIT_OBJECT_0);
  EXPECT_TRUE(FAILED(list1.p->get_accChildCount(&count)));
}

TEST_F(AccessibleListWine, DefaultActionOnASectionAfterAnalyzeFillsTheResults) {
  // Something to find in the Windows temporary folder.
  wchar_t windows[MAX_PATH] = {};
  ::GetWindowsDirectoryW(windows, MAX_PATH);
  const std::wstring temp = std::wstring(windows) + L"\\Temp\\";
  ::CreateDirectoryW(temp.c_str(), nullptr);
  const std::wstring file = temp + L"nb-accessible-test.tmp";
  {
    UniqueFile out(::CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    ASSERT_TRUE(out.valid());
    DWORD written = 0;
    ::WriteFile(out.get(), "junk", 4, &written, nullptr);
  }
  HWND deleteAll = ChildByCaption(main_, L"Delete all");
  ASSERT_NE(deleteAll, nullptr);
  ::PostMessageW(ChildByCaption(main_, L"Analyze"), BM_CLICK, 0, 0);
  ASSERT_TRUE(WaitFor([&] { return ::IsWindowEnabled(deleteAll) != FALSE; }, 60000)) << "Analyze found nothing";

  ComRef list1, list2;
  ASSERT_EQ(Accessible(lists_[0], list1), S_OK);
  ASSERT_EQ(Accessible(lists_[1], list2), S_OK);
  long rows = 0;
  ASSERT_EQ(list2.p->get_accChildCount(&rows), S_OK);
  EXPECT_EQ(rows, 1);  // the group "Files", empty
  ASSERT_EQ(list1.p->accDoDefaultAction(Child(2)), S_OK);
  ASSERT_EQ(list2.p->get_accChildCount(&rows), S_OK);
  ASSERT_GE(rows, 2);
  bool found = false;
  for (long id = 2; id <= rows; ++id) {
    const std::wstring row = Name(list2.p, id);
    if (row.size() >= 22 && row.substr(row.size() - 22) == L"nb-accessible-test.tmp") {
      found = true;
      EXPECT_TRUE(State(list2.p, id) & STATE_SYSTEM_CHECKED);
    }
  }
  EXPECT_TRUE(found);
  EXPECT_TRUE(State(list1.p, 2) & STATE_SYSTEM_SELECTED);
  ::DeleteFileW(file.c_str());
}

}  // namespace
}  // namespace nb
