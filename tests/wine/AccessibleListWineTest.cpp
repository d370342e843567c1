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

#include "wine/RemoteList.h"
#include "wine/RunningProgram.h"

namespace nb {
namespace {

using wine::ChildByCaption;
using wine::RemoteList;
using wine::WaitFor;
using win32::UniqueFile;

// Child windows of the main window by class, left to right.
std::vector<HWND> ChildrenOfClass(HWND parent, const std::wstring& cls) {
  struct Search {
    std::wstring cls;
    std::vector<HWND> found;
  } search{cls, {}};
  ::EnumChildWindows(
      parent,
      [](HWND window, LPARAM data) CALLBACK -> BOOL {
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

class AccessibleListWine : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(com_.Ready());
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

    std::string error;
    ASSERT_TRUE(instance_.Start(error, 30000)) << error;
    main_ = instance_.Main();
    ASSERT_TRUE(WaitFor([&] { return ChildrenOfClass(main_, L"NBListview").size() == 2; }, 10000));
    ASSERT_TRUE(WaitFor([&] { return ::IsWindowVisible(main_) != FALSE; }, 10000));
    lists_ = ChildrenOfClass(main_, L"NBListview");
  }

  void TearDown() override { instance_.End(); }

  wine::ComApartment com_;
  wine::RunningProgram instance_;
  HWND main_ = nullptr;
  std::vector<HWND> lists_;
};

TEST_F(AccessibleListWine, SectionListGivesRowNamesAndTicksToAnotherProcess) {
  RemoteList list1;
  ASSERT_EQ(list1.Open(lists_[0]), S_OK);
  ASSERT_NE(list1.get(), nullptr);
  BSTR name = nullptr;
  VARIANT self;
  ::VariantInit(&self);
  ASSERT_EQ(list1.get()->get_accName(self, &name), S_OK);
  EXPECT_EQ(std::wstring(name, ::SysStringLen(name)), L"Sections to scan");
  ::SysFreeString(name);
  EXPECT_EQ(list1.ChildCount(), 21);
  EXPECT_EQ(list1.Role(0), ROLE_SYSTEM_LIST);
  EXPECT_EQ(list1.Name(1), L"Temporary Files");
  EXPECT_EQ(list1.Role(1), ROLE_SYSTEM_GROUPING);
  EXPECT_EQ(list1.Name(2), L"Folders \"Temp\"");
  EXPECT_EQ(list1.Role(2), ROLE_SYSTEM_LISTITEM);
  EXPECT_TRUE(list1.Checked(2));
  EXPECT_EQ(list1.Name(3), L"Recycle Bin");
  EXPECT_FALSE(list1.Checked(3));
  EXPECT_EQ(list1.Name(21), L"HKEY_LOCAL_MACHINE");

  // Once the window is gone the object answers, but only with an error.
  ::PostMessageW(main_, WM_CLOSE, 0, 0);
  ASSERT_TRUE(instance_.WaitForExit(10000));
  long count = 0;
  EXPECT_TRUE(FAILED(list1.get()->get_accChildCount(&count)));
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

  RemoteList list1, list2;
  ASSERT_EQ(list1.Open(lists_[0]), S_OK);
  ASSERT_EQ(list2.Open(lists_[1]), S_OK);
  EXPECT_EQ(list2.ChildCount(), 1);  // the group "Files", empty
  ASSERT_EQ(list1.DoDefaultAction(2), S_OK);
  ASSERT_GE(list2.ChildCount(), 2);
  const long row = list2.Find(L"\\nb-accessible-test.tmp", true, 2);
  ASSERT_NE(row, 0);
  EXPECT_TRUE(list2.Checked(row));
  EXPECT_TRUE(list1.State(2) & STATE_SYSTEM_SELECTED);
  ::DeleteFileW(file.c_str());
}

}  // namespace
}  // namespace nb
