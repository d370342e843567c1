// Location discovery against the real API in the test prefix: a Chrome
// profile, a Firefox profiles.ini and a Skype shared.xml are planted below the
// prefix's own application-data folders, and every list is checked against
// what the API itself reports about this machine.
#include <windows.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "catalogue/DiscoverLocations.h"
#include "platform/win32/Wide.h"
#include "platform/win32/Win32Platform.h"

namespace nb {
namespace {

using List = std::vector<Text>;
using win32::FromWide;
using win32::ToWide;

Text ShellFolder(int csidl) {
  wchar_t buffer[MAX_PATH] = {};
  if (FAILED(::SHGetFolderPathW(nullptr, csidl, nullptr, 0, buffer)) || buffer[0] == L'\0') return {};
  return WithTrailingBackslash(FromWide(buffer));
}

bool IsFolder(const Text& path) {
  const DWORD attributes = ::GetFileAttributesW(ToWide(path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// Folders and files planted for one test; removed again, newest first. Only
// what the test itself created is removed.
class Plants {
 public:
  Plants() = default;
  Plants(const Plants&) = delete;
  Plants& operator=(const Plants&) = delete;
  ~Plants() {
    for (auto it = created_.rbegin(); it != created_.rend(); ++it) {
      const std::wstring path = ToWide(it->first);
      if (it->second)
        ::RemoveDirectoryW(path.c_str());
      else
        ::DeleteFileW(path.c_str());
    }
  }

  // Creates the folder and its missing parents; `folder` ends with "\".
  void Folder(const Text& folder) {
    for (size_t at = folder.find(u'\\', 3); at != Text::npos; at = folder.find(u'\\', at + 1)) {
      const Text part = folder.substr(0, at);
      if (::CreateDirectoryW(ToWide(part).c_str(), nullptr)) created_.emplace_back(part, true);
    }
  }

  // A new file; false when one is there already (it is then left alone).
  bool File(const Text& path, const std::string& bytes) {
    Folder(path.substr(0, path.rfind(u'\\') + 1));
    const HANDLE file = ::CreateFileW(ToWide(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                      FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    created_.emplace_back(path, false);
    DWORD written = 0;
    const bool ok = ::WriteFile(file, bytes.data(), DWORD(bytes.size()), &written, nullptr) && written == bytes.size();
    ::CloseHandle(file);
    return ok;
  }

 private:
  std::vector<std::pair<Text, bool>> created_;  // path, is a folder
};

TEST(LocationsWine, ListsMatchThePrefixFoldersAndPlantedProfiles) {
  const Text appData = ShellFolder(CSIDL_APPDATA);
  const Text localAppData = ShellFolder(CSIDL_LOCAL_APPDATA);
  ASSERT_FALSE(appData.empty());
  ASSERT_FALSE(localAppData.empty());
  const Text chromeRoot = localAppData + u"Google\\Chrome\\User Data\\";
  const Text profilesIni = appData + u"Mozilla\\Firefox\\profiles.ini";
  const Text sharedXml = appData + u"Skype\\shared.xml";
  if (IsFolder(chromeRoot) || IsFolder(appData + u"Mozilla") || IsFolder(appData + u"Skype"))
    GTEST_SKIP() << "the prefix holds browser or Skype data of its own; nothing is planted over it";

  Plants plants;
  plants.Folder(chromeRoot + u"Default\\");
  plants.Folder(chromeRoot + u"Profile 1\\");
  plants.Folder(chromeRoot + u"Profile 3\\");
  ASSERT_TRUE(plants.File(profilesIni, "[General]\r\nStartWithLastProfile=1\r\n\r\n[Profile0]\r\nName=default\r\n"
                                       "IsRelative=1\r\nPath=Profiles/abc.default\r\n"));
  // UTF-8 with its mark, and an account name outside ASCII.
  ASSERT_TRUE(plants.File(sharedXml, "\xEF\xBB\xBF<?xml version=\"1.0\"?>\r\n<config>\r\n  <Lib>\r\n"
                                     "    <Account>\r\n      <Default>zo\xC3\xAB</Default>\r\n    </Account>\r\n"
                                     "  </Lib>\r\n</config>\r\n"));

  Win32Platform os;
  Locations loc;
  DiscoverLocations(os, loc);

  // Values, against the API's own answers.
  wchar_t buffer[MAX_PATH] = {};
  ASSERT_GT(::GetWindowsDirectoryW(buffer, MAX_PATH), 0u);
  const Text windows = WithTrailingBackslash(FromWide(buffer));
  ASSERT_GT(::GetSystemDirectoryW(buffer, MAX_PATH), 0u);
  const Text system = WithTrailingBackslash(FromWide(buffer));
  wchar_t user[260] = {};
  DWORD userSize = 259;
  ASSERT_TRUE(::GetUserNameW(user, &userSize));
  OSVERSIONINFOW version = {};
  version.dwOSVersionInfoSize = sizeof(version);
  ASSERT_TRUE(::GetVersionExW(&version));

  EXPECT_EQ(loc.OsMajorVersion, version.dwMajorVersion);
  EXPECT_EQ(loc.UserName, FromWide(user));
  EXPECT_EQ(loc.WindowsFolder, windows);
  EXPECT_EQ(loc.SystemFolder, system);
  EXPECT_EQ(loc.AppDataFolder, appData);
  EXPECT_EQ(loc.LocalAppDataFolder, localAppData);
  EXPECT_EQ(loc.ProgramFilesFolder, ShellFolder(CSIDL_PROGRAM_FILES));
  EXPECT_EQ(loc.DocumentsFolder, ShellFolder(CSIDL_PERSONAL));
  EXPECT_EQ(loc.RecentFolder, ShellFolder(CSIDL_RECENT));
  EXPECT_EQ(loc.OfficeRecentFolder, appData + u"Microsoft\\Office\\Recent\\");
  EXPECT_EQ(loc.Wow64Process, Contains(ToUpperAscii(loc.ProgramFilesFolder), u"(X86)"));
  const Text users = version.dwMajorVersion == 5 ? u"\\Documents and Settings\\" : u"\\Users\\";
  EXPECT_EQ(loc.ProfileFolder, windows.substr(0, 2) + users + FromWide(user) + u"\\");
  EXPECT_EQ(loc.SkypeChatsyncFolder, appData + u"Skype\\zo\u00EB\\chatsync\\");

  // Lists.
  EXPECT_EQ(loc.IeCacheFolders, (List{ShellFolder(CSIDL_INTERNET_CACHE), ShellFolder(CSIDL_HISTORY),
                                      localAppData + u"Microsoft\\Windows\\INetCache\\"}));
  EXPECT_EQ(loc.FirefoxCacheFolders, (List{localAppData + u"Mozilla\\Firefox\\Profiles\\abc.default\\Cache\\",
                                           localAppData + u"Mozilla\\Firefox\\Profiles\\abc.default\\Cache2\\"}));
  ASSERT_EQ(loc.ChromeTargets.size(), 50u) << "Default and Profile 1; Profile 3 lies past the gap";
  EXPECT_EQ(loc.ChromeTargets[0], chromeRoot + u"Default\\Cache\\");
  EXPECT_EQ(loc.ChromeTargets[5], u"#" + chromeRoot + u"Default\\Shortcuts");
  EXPECT_EQ(loc.ChromeTargets[24], u"#" + chromeRoot + u"Default\\Network Action Predictor-journal");
  EXPECT_EQ(loc.ChromeTargets[25], chromeRoot + u"Profile 1\\Cache\\");
  EXPECT_EQ(loc.ChromeTargets[49], u"#" + chromeRoot + u"Profile 1\\Network Action Predictor-journal");

  const Text edgeBase = loc.ProfileFolder + u"AppData\\Local\\Packages\\Microsoft.MicrosoftEdge_8wekyb3d8bbwe\\AC\\";
  EXPECT_EQ(loc.EdgeCacheFolders.size(), IsFolder(edgeBase) ? 3u : 0u);

  List temp;
  for (const Text& candidate : {localAppData + u"Temp\\", windows + u"Temp\\", Text(u"C:\\ProgramData\\Temp\\"),
                                loc.ProfileFolder + u"AppData\\LocalLow\\Temp\\"})
    if (IsFolder(candidate)) temp.push_back(candidate);
  EXPECT_EQ(loc.TempFolders, temp);
  EXPECT_FALSE(temp.empty()) << "a Wine prefix has at least the Windows Temp folder";

  std::wstring path(32767, L'\0');
  path.resize(::GetEnvironmentVariableW(L"PATH", path.data(), DWORD(path.size())));
  List search;
  for (const Text& piece : Split(FromWide(path.c_str()), u';'))
    if (!piece.empty()) search.push_back(WithTrailingBackslash(piece));
  for (const Text& folder : {windows, system})
    if (std::none_of(search.begin(), search.end(), [&](const Text& e) { return EqualsIgnoreAsciiCase(e, folder); }))
      search.push_back(folder);
  EXPECT_EQ(loc.SearchFolders, search);
}

}  // namespace
}  // namespace nb
