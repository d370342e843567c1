// The list's IAccessible in this process: automation ticks and unticks rows
// through put_accValue, and a reference kept after the list is gone answers
// every call with "not connected" instead of reaching freed memory.
#include <windows.h>
#include <oleacc.h>

#include <gtest/gtest.h>

#include <optional>
#include <utility>
#include <vector>

#include "ui/EasyListview.h"
#include "ui/win32/AccessibleListview.h"
#include "wine/RemoteList.h"

namespace nb::ui::win32 {
namespace {

using nb::wine::ChildVariant;
using nb::wine::ComApartment;
using nb::wine::RemoteList;

struct Window {
  Window() { handle = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 300, 200, nullptr, nullptr, nullptr, nullptr); }
  ~Window() {
    if (handle) ::DestroyWindow(handle);
  }
  HWND handle = nullptr;
};

TEST(AccessibleObjectWine, ValueTicksRowsAndAKeptReferenceIsDisconnectedWithTheList) {
  ComApartment com;
  ASSERT_TRUE(com.Ready());
  Window window;
  ASSERT_NE(window.handle, nullptr);
  RemoteList acc;
  std::vector<std::pair<int, int>> toggled;
  {
    TEasyListview list(nullptr, u"List2");
    list.SetBounds({0, 0, 300, 200});
    list.AddColumn(u"File", 200);
    list.AddColumn(u"Size", 80);
    list.AddGroup(u"Files");
    list.AddRow(0, u"C:\\Temp\\a.tmp", u"1.00 KB", true);
    list.AddRow(0, u"C:\\Temp\\b.tmp", u"2.00 KB", true);
    list.OnItemCheckChange = [&](int group, int row) { toggled.emplace_back(group, row); };
    ListAccessibility access(list);
    const std::optional<LRESULT> answer = access.Answer(window.handle, 0, OBJID_CLIENT);
    ASSERT_TRUE(answer.has_value());
    ASSERT_EQ(acc.FromResult(*answer, 0), S_OK);

    // Children: 1 the group, 2 and 3 its rows.
    EXPECT_EQ(acc.PutValue(2, L"unchecked"), S_OK);
    EXPECT_FALSE(list.Checked(0, 0));
    EXPECT_FALSE(acc.Checked(2));
    EXPECT_EQ(acc.PutValue(2, L"UNCHECKED"), S_OK);  // already so: no second event
    EXPECT_EQ(acc.PutValue(2, L"checked"), S_OK);
    EXPECT_TRUE(acc.Checked(2));
    EXPECT_EQ(toggled, (std::vector<std::pair<int, int>>{{0, 0}, {0, 0}}));

    EXPECT_EQ(acc.PutValue(3, L"maybe"), E_INVALIDARG);
    EXPECT_EQ(acc.PutValue(3, L""), E_INVALIDARG);
    EXPECT_EQ(acc.PutValue(1, L"checked"), DISP_E_MEMBERNOTFOUND);  // a group has no box
    EXPECT_EQ(acc.PutValue(4, L"checked"), E_INVALIDARG);
    EXPECT_TRUE(list.Checked(0, 1));
  }
  ASSERT_NE(acc.get(), nullptr);
  long count = 0;
  EXPECT_EQ(acc.get()->get_accChildCount(&count), CO_E_OBJNOTCONNECTED);
  BSTR name = nullptr;
  EXPECT_EQ(acc.get()->get_accName(ChildVariant(2), &name), CO_E_OBJNOTCONNECTED);
  EXPECT_EQ(name, nullptr);
  EXPECT_EQ(acc.PutValue(2, L"unchecked"), CO_E_OBJNOTCONNECTED);
  EXPECT_EQ(acc.DoDefaultAction(2), CO_E_OBJNOTCONNECTED);
  acc.Reset();
  EXPECT_EQ(toggled.size(), 2u);
}

}  // namespace
}  // namespace nb::ui::win32
