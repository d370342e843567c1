// The test prefix must keep everything a test deletes inside itself: Wine links
// the user's shell folders into the Unix home, and the prefix maker replaces
// those links with real folders. Nothing below the profile may be a link.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/win32/Handles.h"

namespace nb {
namespace {

std::wstring ProfileFolder() {
  wchar_t buffer[MAX_PATH] = {};
  const DWORD length = ::GetEnvironmentVariableW(L"USERPROFILE", buffer, MAX_PATH);
  return length > 0 && length < MAX_PATH ? std::wstring(buffer, length) : std::wstring();
}

// Every entry below `folder` that is a reparse point; links are not entered.
void CollectLinks(const std::wstring& folder, std::vector<std::wstring>& links) {
  WIN32_FIND_DATAW data;
  win32::UniqueFind find(::FindFirstFileW((folder + L"\\*").c_str(), &data));
  if (!find) return;
  do {
    const std::wstring name = data.cFileName;
    if (name == L"." || name == L"..") continue;
    const std::wstring path = folder + L"\\" + name;
    if (data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) links.push_back(path);
    else if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) CollectLinks(path, links);
  } while (::FindNextFileW(find.get(), &data));
}

std::string Narrow(const std::wstring& text) { return std::string(text.begin(), text.end()); }

TEST(UserFoldersWine, ShellFoldersAreRealFoldersInsideThePrefix) {
  const std::wstring profile = ProfileFolder();
  ASSERT_FALSE(profile.empty());
  for (const wchar_t* name : {L"Desktop", L"Documents", L"Downloads", L"Music", L"Pictures", L"Videos"}) {
    const DWORD attributes = ::GetFileAttributesW((profile + L"\\" + name).c_str());
    ASSERT_NE(attributes, INVALID_FILE_ATTRIBUTES) << Narrow(name);
    EXPECT_TRUE(attributes & FILE_ATTRIBUTE_DIRECTORY) << Narrow(name);
    EXPECT_FALSE(attributes & FILE_ATTRIBUTE_REPARSE_POINT) << Narrow(name) << " is a link";
  }
}

TEST(UserFoldersWine, NothingBelowTheProfileIsALink) {
  const std::wstring profile = ProfileFolder();
  ASSERT_FALSE(profile.empty());
  std::vector<std::wstring> links;
  CollectLinks(profile, links);
  for (const auto& link : links) ADD_FAILURE() << Narrow(link) << " is a link";
}

}  // namespace
}  // namespace nb
