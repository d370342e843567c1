#include <gtest/gtest.h>

#include <functional>

#include "catalogue/DiscoverLocations.h"
#include "support/SimRun.h"

namespace nb {
namespace {

using List = std::vector<Text>;

const Text kProfile = u"C:\\Users\\Tester\\";
const Text kRoaming = kProfile + u"AppData\\Roaming\\";
const Text kLocal = kProfile + u"AppData\\Local\\";
const Text kChromeRoot = kLocal + u"Google\\Chrome\\User Data\\";
const Text kEdgeBase = kLocal + u"Packages\\Microsoft.MicrosoftEdge_8wekyb3d8bbwe\\AC\\";
const Text kProfilesIni = kRoaming + u"Mozilla\\Firefox\\profiles.ini";
const Text kSharedXml = kRoaming + u"Skype\\shared.xml";

// The 25 entries of one Chrome profile folder, in list order.
List ChromeEntries(const Text& profile) {
  const Text p = kChromeRoot + profile;
  return {p + u"Cache\\", p + u"Media Cache\\", p + u"Session Storage\\", p + u"Extension State\\",
          p + u"GPUCache\\", u"#" + p + u"Shortcuts", u"#" + p + u"History",
          u"#" + p + u"History Provider Cache", u"#" + p + u"Top Sites", u"#" + p + u"Current Session",
          u"#" + p + u"Current Tabs", u"#" + p + u"Last Session", u"#" + p + u"Last Tabs",
          u"#" + p + u"Visited Links", u"#" + p + u"Network Action Predictor", u"#" + p + u"Cookies-journal",
          u"#" + p + u"Safe Browing Cookies-journal", u"#" + p + u"History-journal",
          u"#" + p + u"Shortcuts-journal", u"#" + p + u"Safe Browsing Cookies-journal",
          u"#" + p + u"Top Sites-journal", u"#" + p + u"Favicons-journal", u"#" + p + u"Web Data-journal",
          u"#" + p + u"QuotaManager-journal", u"#" + p + u"Network Action Predictor-journal"};
}

List FirefoxEntries(const Text& profilePath) {
  const Text base = kLocal + u"Mozilla\\Firefox\\" + profilePath;
  return {base + u"\\Cache\\", base + u"\\Cache2\\"};
}

// A Windows 10 user "Tester" with the usual shell folders below C:\Users\Tester.
struct StandardMachine : test::SimMachineFixture {
  StandardMachine() { machine.SetUpStandardUser(); }

  Locations Discover() {
    Locations loc;
    DiscoverLocations(os, loc);
    return loc;
  }

  // Everything the discovery looks for, present and readable.
  void LayOutEverything() {
    machine.AddFolder(kLocal + u"Temp");
    machine.AddFolder(u"C:\\Windows\\Temp");
    machine.AddFolder(u"C:\\ProgramData\\Temp");
    machine.AddFolder(kProfile + u"AppData\\LocalLow\\Temp");
    machine.AddFolder(kChromeRoot + u"Default");
    machine.AddFolder(kEdgeBase);
    machine.AddFile(kProfilesIni, "[General]\r\nStartWithLastProfile=1\r\n\r\n[Profile0]\r\nName=default\r\n"
                                  "IsRelative=1\r\nPath=Profiles/abc.default\r\n");
    machine.AddFile(kSharedXml, "<?xml version=\"1.0\"?>\r\n<config>\r\n  <Lib>\r\n    <Account>\r\n"
                                "      <Default>alice</Default>\r\n    </Account>\r\n  </Lib>\r\n</config>\r\n");
  }
};

class Locate : public testing::Test, protected StandardMachine {};

TEST_F(Locate, StandardUserGetsEveryValueAndList) {
  LayOutEverything();
  const auto loc = Discover();
  EXPECT_EQ(loc.OsMajorVersion, 10u);
  EXPECT_EQ(loc.UserName, u"Tester");
  EXPECT_EQ(loc.WindowsFolder, u"C:\\Windows\\");
  EXPECT_EQ(loc.SystemFolder, u"C:\\Windows\\System32\\");
  EXPECT_EQ(loc.ProfileFolder, kProfile);
  EXPECT_EQ(loc.AppDataFolder, kRoaming);
  EXPECT_EQ(loc.LocalAppDataFolder, kLocal);
  EXPECT_EQ(loc.ProgramFilesFolder, u"C:\\Program Files\\");
  EXPECT_EQ(loc.DocumentsFolder, kProfile + u"Documents\\");
  EXPECT_EQ(loc.RecentFolder, kRoaming + u"Microsoft\\Windows\\Recent\\");
  EXPECT_EQ(loc.OfficeRecentFolder, kRoaming + u"Microsoft\\Office\\Recent\\");
  EXPECT_FALSE(loc.Wow64Process);
  EXPECT_EQ(loc.SkypeChatsyncFolder, kRoaming + u"Skype\\alice\\chatsync\\");

  EXPECT_EQ(loc.TempFolders, (List{kLocal + u"Temp\\", u"C:\\Windows\\Temp\\", u"C:\\ProgramData\\Temp\\",
                                   kProfile + u"AppData\\LocalLow\\Temp\\"}));
  // The shell's internet cache is the INetCache folder here, so it is listed twice.
  EXPECT_EQ(loc.IeCacheFolders, (List{kLocal + u"Microsoft\\Windows\\INetCache\\",
                                      kLocal + u"Microsoft\\Windows\\History\\",
                                      kLocal + u"Microsoft\\Windows\\INetCache\\"}));
  EXPECT_EQ(loc.EdgeCacheFolders, (List{kEdgeBase + u"MicrosoftEdge\\Cache\\",
                                        kEdgeBase + u"#!001\\MicrosoftEdge\\Cache\\",
                                        kEdgeBase + u"#!002\\MicrosoftEdge\\Cache\\"}));
  EXPECT_EQ(loc.ChromeTargets, ChromeEntries(u"Default\\"));
  EXPECT_EQ(loc.FirefoxCacheFolders, FirefoxEntries(u"Profiles\\abc.default"));
  EXPECT_EQ(loc.SearchFolders, (List{u"C:\\Windows\\System32\\", u"C:\\Windows\\", u"C:\\Windows\\System32\\Wbem\\"}));
}

TEST_F(Locate, VersionPicksTheProfileFolderLayout) {
  struct Case {
    std::optional<uint32_t> reported;
    uint32_t version;
    const char16_t* profile;
  };
  const Case cases[] = {{5, 5, u"C:\\Documents and Settings\\Tester\\"},
                        {6, 6, u"C:\\Users\\Tester\\"},
                        {10, 10, u"C:\\Users\\Tester\\"},
                        {std::nullopt, 7, u"C:\\Users\\Tester\\"}};
  for (const auto& c : cases) {
    machine.majorVersion = c.reported;
    const auto loc = Discover();
    EXPECT_EQ(loc.OsMajorVersion, c.version);
    EXPECT_EQ(loc.ProfileFolder, c.profile) << c.version;
  }
}

TEST_F(Locate, Wow64ProcessFollowsTheProgramFilesFolder) {
  const std::pair<Text, bool> cases[] = {{u"C:\\Program Files (x86)", true},
                                         {u"D:\\apps (X86)\\x", true},
                                         {u"C:\\Program Files", false},
                                         {u"C:\\x86", false}};
  for (const auto& [folder, x86] : cases) {
    machine.specialFolders[winapi::kCsidlProgramFiles] = folder;
    EXPECT_EQ(Discover().Wow64Process, x86) << ToUtf8(folder);
  }
}

TEST_F(Locate, SearchFoldersArePathThenWindowsAndSystemUnlessPresent) {
  struct Case {
    std::optional<Text> path;
    List folders;
  };
  const Text win = u"C:\\Windows\\", sys = u"C:\\Windows\\System32\\";
  const Case cases[] = {
      {u"C:\\A;C:\\B\\;;C:\\C", {u"C:\\A\\", u"C:\\B\\", u"C:\\C\\", win, sys}},
      {u"c:\\windows;C:\\X;", {u"c:\\windows\\", u"C:\\X\\", sys}},
      {u"C:\\WINDOWS\\SYSTEM32\\;c:\\Windows\\", {u"C:\\WINDOWS\\SYSTEM32\\", u"c:\\Windows\\"}},
      // Written as they stand: no quotes removed, nothing expanded, duplicates kept.
      {u"\"C:\\Q R\";%SystemRoot%\\x;C:\\A;C:\\A", {u"\"C:\\Q R\"\\", u"%SystemRoot%\\x\\", u"C:\\A\\", u"C:\\A\\", win, sys}},
      {u"", {win, sys}},
      {u";;", {win, sys}},
      {std::nullopt, {win, sys}},
  };
  for (const auto& c : cases) {
    if (c.path)
      machine.environment[u"PATH"] = *c.path;
    else
      machine.environment.erase(u"PATH");
    EXPECT_EQ(Discover().SearchFolders, c.folders) << ToUtf8(c.path.value_or(u"(none)"));
  }
}

TEST_F(Locate, ChromeProfilesRunFromDefaultToTheFirstGap) {
  machine.AddFolder(kChromeRoot + u"Default");
  machine.AddFolder(kChromeRoot + u"Profile 1");
  machine.AddFolder(kChromeRoot + u"Profile 3");
  List expected = ChromeEntries(u"Default\\");
  const List second = ChromeEntries(u"Profile 1\\");
  expected.insert(expected.end(), second.begin(), second.end());
  const auto loc = Discover();
  ASSERT_EQ(loc.ChromeTargets.size(), 50u);
  EXPECT_EQ(loc.ChromeTargets, expected);
}

TEST_F(Locate, ChromeWithoutADefaultProfileFolderGivesNothing) {
  machine.AddFolder(kChromeRoot + u"Profile 1");
  EXPECT_EQ(Discover().ChromeTargets, List{});
  machine.AddFile(kChromeRoot + u"Default", "not a folder");
  EXPECT_EQ(Discover().ChromeTargets, List{});
}

TEST_F(Locate, FirefoxTakesThePathOfProfile0) {
  struct Case {
    const char* ini;  // nullptr: no profiles.ini
    Text path;
  };
  const Case cases[] = {
      {"[Profile0]\nPath=Profiles/abc.default\n", u"Profiles\\abc.default"},
      {"[Profile1]\nPath=other\n[Profile0]\nName=x\nPath=xyz.default\n", u"xyz.default"},
      {"[Profile0]\nName=no path\n", u""},
      {"[Profile1]\nPath=Profiles/abc.default\n", u""},
      {nullptr, u""},
  };
  for (const auto& c : cases) {
    machine.Remove(kProfilesIni);
    if (c.ini) machine.AddFile(kProfilesIni, c.ini);
    EXPECT_EQ(Discover().FirefoxCacheFolders, FirefoxEntries(c.path)) << (c.ini ? c.ini : "(no file)");
  }
  // Without a path the two entries keep their doubled backslash.
  EXPECT_EQ(FirefoxEntries(u"")[0], kLocal + u"Mozilla\\Firefox\\\\Cache\\");
}

TEST_F(Locate, SkypeAccountIsTheFirstDefaultElementAfterTheFirstLine) {
  struct Case {
    const char* what;
    std::string xml;
    Text folder;
  };
  const Text skype = kRoaming + u"Skype\\";
  const Case cases[] = {
      {"second line", "<?xml?>\r\n    <Default>alice</Default>\r\n</config>", skype + u"alice\\chatsync\\"},
      {"last line, no break", "<config>\n<Lib>\n<DEFAULT>bob</DEFAULT>", skype + u"bob\\chatsync\\"},
      {"first match wins", "<a>\r<default>carol</default>\r<default>dan</default>\r", skype + u"carol\\chatsync\\"},
      {"first line is not examined", "<Default>eve</Default>\r\n<config/>\r\n", u""},
      {"one line only", "<x><Default>eve</Default></x>", u""},
      {"no match", "<x>\n<DefaultUser>eve</DefaultUser>\n", u""},
      {"no '<' after the first '>'", "<x>\n<Default>frank\n</Default>\n", skype + u"\\chatsync\\"},
      {"empty element", "<x>\n<Default></Default>\n", skype + u"\\chatsync\\"},
      {"first '>' comes before the element", "<x>\n<a><Default>gil</Default>\n", skype + u"\\chatsync\\"},
      {"UTF-16 file", std::string("\xFF\xFE" "<\0x\0>\0\n\0<\0D\0e\0f\0a\0u\0l\0t\0>\0h\0<\0", 32),
       skype + u"h\\chatsync\\"},
  };
  for (const auto& c : cases) {
    machine.Remove(kSharedXml);
    machine.AddFile(kSharedXml, c.xml);
    EXPECT_EQ(Discover().SkypeChatsyncFolder, c.folder) << c.what;
  }
}

TEST_F(Locate, SkypeWithoutAReadableSharedXmlHasNoFolder) {
  EXPECT_EQ(Discover().SkypeChatsyncFolder, u"");
  machine.AddFolder(kSharedXml);
  EXPECT_EQ(Discover().SkypeChatsyncFolder, u"") << "a folder named shared.xml";
  machine.Remove(kSharedXml);
  machine.AddFile(kSharedXml, "<x>\n<Default>alice</Default>\n").lock = sim::ForeignLock{0};
  EXPECT_EQ(Discover().SkypeChatsyncFolder, u"") << "locked";
  machine.Remove(kSharedXml);
  machine.AddFile(kSharedXml, "\xEF\xBB\xBF<x>\n<Default>al\xFFice</Default>\n");
  EXPECT_EQ(Discover().SkypeChatsyncFolder, u"") << "undecodable";
}

// Names read from other programs' files must not lead out of their folder.
TEST_F(Locate, UntrustedNamesFromFilesGiveNoFolder) {
  const std::pair<std::string, bool> cases[] = {
      {"Profiles\\abc.default", true},
      {"abc.default", true},
      {"a..b/.hidden/./x", true},
      {"C:\\Windows", false},
      {"C:Windows", false},
      {"\\Windows", false},
      {"/etc", false},
      {"\\\\server\\share", false},
      {"..", false},
      {"Profiles/../../..", false},
      {"Profiles\\...\\x", false},
      {"Profiles\\. .\\x", false},
      {"a<b", false},
      {"a>b", false},
      {"a\"b", false},
      {"a|b", false},
      {"a?b", false},
      {"a*b", false},
      {"a\x01" "b", false},
      {"a\tb", false},
  };
  const Text skype = kRoaming + u"Skype\\";
  for (const auto& [name, trusted] : cases) {
    machine.Remove(kProfilesIni);
    machine.Remove(kSharedXml);
    machine.AddFile(kProfilesIni, "[Profile0]\nPath=" + name + "\n");
    machine.AddFile(kSharedXml, "<?xml?>\n<Default>" + name + "</Default>\n");
    const auto loc = Discover();
    Text asFolder = FromLatin1(name);
    std::replace(asFolder.begin(), asFolder.end(), u'/', u'\\');
    EXPECT_EQ(loc.FirefoxCacheFolders, FirefoxEntries(trusted ? asFolder : u"")) << name;
    // A Skype name with "<" or ">" is cut at the tag and cannot be compared here.
    if (name.find_first_of("<>") == std::string::npos) {
      EXPECT_EQ(loc.SkypeChatsyncFolder, trusted ? skype + FromLatin1(name) + u"\\chatsync\\" : u"") << name;
    }
  }
  machine.Remove(kSharedXml);
  machine.AddFile(kSharedXml, "<?xml?>\n<Default>a>b</Default>\n");
  EXPECT_EQ(Discover().SkypeChatsyncFolder, u"");
}

TEST_F(Locate, EdgeFoldersOnlyWhenThePackageAcFolderExists) {
  EXPECT_EQ(Discover().EdgeCacheFolders, List{});
  machine.AddFolder(kLocal + u"Packages\\Microsoft.MicrosoftEdge_8wekyb3d8bbwe");
  EXPECT_EQ(Discover().EdgeCacheFolders, List{});
  machine.AddFolder(kEdgeBase);
  EXPECT_EQ(Discover().EdgeCacheFolders.size(), 3u);
}

TEST_F(Locate, TempFoldersAreThoseThatExistInFixedOrder) {
  // Created in another order than they are listed.
  machine.AddFolder(kProfile + u"AppData\\LocalLow\\Temp");
  machine.AddFolder(u"C:\\ProgramData\\Temp");
  EXPECT_EQ(Discover().TempFolders, (List{u"C:\\ProgramData\\Temp\\", kProfile + u"AppData\\LocalLow\\Temp\\"}));
  machine.AddFolder(u"C:\\Windows\\Temp");
  machine.AddFile(kLocal + u"Temp", "a file, not a folder");
  EXPECT_EQ(Discover().TempFolders, (List{u"C:\\Windows\\Temp\\", u"C:\\ProgramData\\Temp\\",
                                          kProfile + u"AppData\\LocalLow\\Temp\\"}));
}

TEST_F(Locate, ProfileFolderComesFromTheUserNameNotTheShell) {
  LayOutEverything();
  machine.userName = u"Bob";  // the shell folders stay below C:\Users\Tester
  const auto loc = Discover();
  EXPECT_EQ(loc.ProfileFolder, u"C:\\Users\\Bob\\");
  EXPECT_EQ(loc.EdgeCacheFolders, List{});
  EXPECT_EQ(loc.TempFolders, (List{kLocal + u"Temp\\", u"C:\\Windows\\Temp\\", u"C:\\ProgramData\\Temp\\"}));
}

// A folder that cannot be found must never become "\" or a drive root that a
// scan or a deletion would then walk.
void ExpectEveryFolderBelowADriveRoot(const Locations& loc) {
  const auto check = [](Text folder, const char* what) {
    if (!folder.empty() && folder[0] == u'#') folder.erase(0, 1);
    EXPECT_TRUE(folder.size() > 3 && folder[1] == u':' && folder[2] == u'\\' && folder[3] != u'\\')
        << what << ": " << ToUtf8(folder);
  };
  for (const Text* value : {&loc.WindowsFolder, &loc.SystemFolder, &loc.ProfileFolder, &loc.AppDataFolder,
                            &loc.LocalAppDataFolder, &loc.ProgramFilesFolder, &loc.DocumentsFolder,
                            &loc.RecentFolder, &loc.OfficeRecentFolder, &loc.SkypeChatsyncFolder})
    if (!value->empty()) check(*value, "value");
  for (const List* list : {&loc.TempFolders, &loc.IeCacheFolders, &loc.EdgeCacheFolders, &loc.ChromeTargets,
                           &loc.FirefoxCacheFolders})
    for (const Text& entry : *list) check(entry, "list entry");
}

TEST_F(Locate, FailedLookupsLeaveOutEverythingBuiltFromThem) {
  struct Case {
    const char* what;
    std::function<void(sim::SimMachine&)> fail;
    std::function<void(const Locations&)> expect;
  };
  const Case cases[] = {
      {"local application data",
       [](auto& m) { m.specialFolders.erase(winapi::kCsidlLocalAppData); },
       [](const Locations& loc) {
         EXPECT_EQ(loc.LocalAppDataFolder, u"");
         EXPECT_EQ(loc.ChromeTargets, List{});
         EXPECT_EQ(loc.FirefoxCacheFolders, List{});
         EXPECT_EQ(loc.IeCacheFolders, (List{kLocal + u"Microsoft\\Windows\\INetCache\\",
                                             kLocal + u"Microsoft\\Windows\\History\\"}));
         EXPECT_EQ(loc.TempFolders.size(), 3u);
         EXPECT_EQ(loc.TempFolders[0], u"C:\\Windows\\Temp\\");
       }},
      {"local application data found empty",
       [](auto& m) { m.specialFolders[winapi::kCsidlLocalAppData] = u""; },
       [](const Locations& loc) {
         EXPECT_EQ(loc.LocalAppDataFolder, u"");
         EXPECT_EQ(loc.ChromeTargets, List{});
       }},
      {"application data",
       [](auto& m) { m.specialFolders.erase(winapi::kCsidlAppData); },
       [](const Locations& loc) {
         EXPECT_EQ(loc.AppDataFolder, u"");
         EXPECT_EQ(loc.OfficeRecentFolder, u"");
         EXPECT_EQ(loc.SkypeChatsyncFolder, u"");
         EXPECT_EQ(loc.FirefoxCacheFolders, FirefoxEntries(u"")) << "as without profiles.ini";
       }},
      {"internet cache and history",
       [](auto& m) {
         m.specialFolders.erase(winapi::kCsidlInternetCache);
         m.specialFolders.erase(winapi::kCsidlHistory);
       },
       [](const Locations& loc) {
         EXPECT_EQ(loc.IeCacheFolders, List{kLocal + u"Microsoft\\Windows\\INetCache\\"});
       }},
      {"every shell folder",
       [](auto& m) { m.specialFolders.clear(); },
       [](const Locations& loc) {
         for (const Text* value : {&loc.AppDataFolder, &loc.LocalAppDataFolder, &loc.ProgramFilesFolder,
                                   &loc.DocumentsFolder, &loc.RecentFolder, &loc.OfficeRecentFolder,
                                   &loc.SkypeChatsyncFolder})
           EXPECT_EQ(*value, u"");
         EXPECT_FALSE(loc.Wow64Process);
         EXPECT_EQ(loc.IeCacheFolders, List{});
         EXPECT_EQ(loc.EdgeCacheFolders.size(), 3u) << "built from the user name";
       }},
      {"Windows folder",
       [](auto& m) { m.windowsFolder = u""; },
       [](const Locations& loc) {
         EXPECT_EQ(loc.WindowsFolder, u"");
         EXPECT_EQ(loc.ProfileFolder, u"") << "no system drive";
         EXPECT_EQ(loc.EdgeCacheFolders, List{});
         EXPECT_EQ(loc.TempFolders, (List{kLocal + u"Temp\\", u"C:\\ProgramData\\Temp\\"}));
         EXPECT_EQ(loc.SearchFolders, (List{u"C:\\Windows\\System32\\", u"C:\\Windows\\", u"C:\\Windows\\System32\\Wbem\\"}));
       }},
      {"System folder",
       [](auto& m) {
         m.systemFolder = u"";
         m.environment[u"PATH"] = u"C:\\Tools";
       },
       [](const Locations& loc) {
         EXPECT_EQ(loc.SystemFolder, u"");
         EXPECT_EQ(loc.SearchFolders, (List{u"C:\\Tools\\", u"C:\\Windows\\"}));
       }},
      {"user name",
       [](auto& m) { m.userName = std::nullopt; },
       [](const Locations& loc) {
         EXPECT_EQ(loc.ProfileFolder, u"");
         EXPECT_EQ(loc.EdgeCacheFolders, List{});
         EXPECT_EQ(loc.TempFolders.size(), 3u);
       }},
      {"empty user name",
       [](auto& m) { m.userName = u""; },
       [](const Locations& loc) {
         EXPECT_EQ(loc.ProfileFolder, u"");
         EXPECT_EQ(loc.EdgeCacheFolders, List{});
       }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    StandardMachine fresh;
    fresh.LayOutEverything();
    c.fail(fresh.machine);
    const auto loc = fresh.Discover();
    c.expect(loc);
    ExpectEveryFolderBelowADriveRoot(loc);
  }
}

}  // namespace
}  // namespace nb
