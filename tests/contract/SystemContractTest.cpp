// Drives, special folders, identity, processes, window messages and the locale,
// on the simulated machine and on the real API.
#include <gtest/gtest.h>

#include "contract/ContractTest.h"

namespace nb::contract {
namespace {

class SystemContract : public ContractTest {
 protected:

  // "C:\..." with no backslash at the end.
  static void ExpectFullFolderText(const Text& folder, const char* what) {
    ASSERT_GE(folder.size(), 3u) << what;
    EXPECT_EQ(folder.substr(1, 2), u":\\") << what << ": " << ToUtf8(folder);
    EXPECT_NE(folder.back(), u'\\') << what << ": " << ToUtf8(folder);
  }
};

TEST_F(SystemContract, DriveCIsPresentAndFixedAndAbsentLettersHaveNoRoot) {
  const uint32_t drives = os.GetLogicalDrives();
  EXPECT_TRUE(drives & (1u << 2)) << "C:";
  EXPECT_EQ(os.GetDriveType(u"C:\\"), winapi::kDriveFixed);
  for (char16_t letter = u'D'; letter <= u'Y'; ++letter) {
    if (drives & (1u << (letter - u'A'))) continue;
    EXPECT_EQ(os.GetDriveType(Text(1, letter) + u":\\"), winapi::kDriveNoRootDir) << char(letter);
  }
}

TEST_F(SystemContract, SpecialFoldersExistAndEndWithoutBackslash) {
  const struct {
    int csidl;
    const char* what;
  } folders[] = {
      {winapi::kCsidlAppData, "AppData"},         {winapi::kCsidlLocalAppData, "LocalAppData"},
      {winapi::kCsidlPersonal, "Documents"},      {winapi::kCsidlProgramFiles, "Program Files"},
      {winapi::kCsidlRecent, "Recent"},           {winapi::kCsidlInternetCache, "Internet cache"},
      {winapi::kCsidlHistory, "History"},         {winapi::kCsidlProfile, "Profile"},
      {winapi::kCsidlDesktopDirectory, "Desktop"}, {winapi::kKnownFolderDownloads, "Downloads"},
      {winapi::kCsidlMyPictures, "Pictures"},     {winapi::kCsidlMyMusic, "Music"},
      {winapi::kCsidlMyVideo, "Videos"},          {winapi::kCsidlFavorites, "Favorites"},
  };
  for (const auto& f : folders) {
    const auto folder = os.GetSpecialFolder(f.csidl);
    ASSERT_TRUE(folder.has_value()) << f.what;
    ExpectFullFolderText(*folder, f.what);
    EXPECT_TRUE(FolderExists(os, *folder)) << f.what << ": " << ToUtf8(*folder);
  }
  EXPECT_FALSE(os.GetSpecialFolder(0x7F).has_value()) << "no such folder";
}

TEST_F(SystemContract, WindowsAndSystemFoldersUserAndVersion) {
  const Text windows = os.GetWindowsDirectory();
  const Text system = os.GetSystemDirectory();
  ExpectFullFolderText(windows, "Windows");
  ExpectFullFolderText(system, "System");
  EXPECT_TRUE(FolderExists(os, windows));
  EXPECT_TRUE(FolderExists(os, system));
  EXPECT_TRUE(EqualsIgnoreAsciiCase(system.substr(0, windows.size() + 1), windows + u"\\"));
  const auto user = os.GetUserName();
  ASSERT_TRUE(user.has_value());
  EXPECT_FALSE(user->empty());
  EXPECT_EQ(user->find(u'\0'), Text::npos);
  const auto version = os.GetMajorVersion();
  ASSERT_TRUE(version.has_value());
  EXPECT_GE(*version, 5u);
}

TEST_F(SystemContract, ProcessSnapshotNamesRunningExecutables) {
  const auto names = os.ProcessNames();
  ASSERT_TRUE(names.has_value());
  ASSERT_FALSE(names->empty());
  for (const auto& name : *names) {
    EXPECT_FALSE(name.empty());
    EXPECT_EQ(name.find(u'\0'), Text::npos);
  }
}

TEST_F(SystemContract, RegisteredMessageNumbersDependOnlyOnTheName) {
  const uint32_t restore = os.RegisterWindowMessage(u"NBRestore");
  EXPECT_GE(restore, 0xC000u);
  EXPECT_LE(restore, 0xFFFFu);
  EXPECT_EQ(os.RegisterWindowMessage(u"NBRestore"), restore);
  EXPECT_EQ(os.RegisterWindowMessage(u"nbrestore"), restore) << "names ignore case";
  const uint32_t other = os.RegisterWindowMessage(u"NBContractOther");
  EXPECT_GE(other, 0xC000u);
  EXPECT_NE(other, restore);
}

TEST_F(SystemContract, NoWindowIsFoundOrReachedWhereThereIsNone) {
  EXPECT_EQ(os.FindWindow(u"NBContractNoSuchClass", u"No such window"), 0u);
  EXPECT_FALSE(os.PostMessage(uintptr_t(0x7FFF0000), 0x0400, 0, 0));
}

TEST_F(SystemContract, LocaleGivesADecimalSeparator) { EXPECT_FALSE(os.GetDecimalSeparator().empty()); }

TEST_F(SystemContract, AnsiBytesDecodeToText) {
  EXPECT_EQ(os.DecodeAnsi("Skype <Default>alice</Default>"), u"Skype <Default>alice</Default>");
  EXPECT_EQ(os.DecodeAnsi(""), u"");
  EXPECT_EQ(os.DecodeAnsi("caf\xE9"), u"caf\u00E9");
}

}  // namespace
}  // namespace nb::contract
