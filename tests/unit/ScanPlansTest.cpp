#include <map>

#include "catalogue/Catalogue.h"
#include "scan/ScanPlans.h"
#include "support/ScanFixture.h"

namespace nb {
namespace {

const Text kProfile = u"C:\\Users\\Tester\\";
const Text kRoaming = kProfile + u"AppData\\Roaming\\";
const Text kLocal = kProfile + u"AppData\\Local\\";
const Text kDocuments = kProfile + u"Documents\\";
const Text kWindows = u"C:\\Windows\\";
const Text kPrograms = u"C:\\Program Files\\";
const Text kEdge = kLocal + u"Packages\\Microsoft.MicrosoftEdge_8wekyb3d8bbwe\\AC\\";
const Text kChrome = kLocal + u"Google\\Chrome\\User Data\\Default\\";
const Text kFirefox = kLocal + u"Mozilla\\Firefox\\Profiles\\abc.default\\";

class ScanPlans : public test::ScanFixture {
 protected:
  ScanPlans() {
    Locations& loc = state.Loc;
    loc.OsMajorVersion = 10;
    loc.WindowsFolder = kWindows;
    loc.SystemFolder = kWindows + u"System32\\";
    loc.AppDataFolder = kRoaming;
    loc.LocalAppDataFolder = kLocal;
    loc.ProgramFilesFolder = kPrograms;
    loc.DocumentsFolder = kDocuments;
    loc.RecentFolder = kRoaming + u"Microsoft\\Windows\\Recent\\";
    loc.OfficeRecentFolder = kRoaming + u"Microsoft\\Office\\Recent\\";
    loc.SkypeChatsyncFolder = kRoaming + u"Skype\\alice\\chatsync\\";
    loc.TempFolders = {kLocal + u"Temp\\", kWindows + u"Temp\\"};
    loc.IeCacheFolders = {kLocal + u"Microsoft\\Windows\\INetCache\\", kLocal + u"Microsoft\\Windows\\History\\"};
    loc.EdgeCacheFolders = {kEdge + u"MicrosoftEdge\\Cache\\", kEdge + u"#!001\\MicrosoftEdge\\Cache\\",
                            kEdge + u"#!002\\MicrosoftEdge\\Cache\\"};
    loc.ChromeTargets = {kChrome + u"Cache\\", kChrome + u"GPUCache\\", u"#" + kChrome + u"History",
                         u"#" + kChrome + u"Top Sites", u"#" + kChrome + u"Cookies-journal"};
    loc.FirefoxCacheFolders = {kFirefox + u"Cache\\", kFirefox + u"Cache2\\"};
    machine.AddDrive(u'A', winapi::kDriveFixed);
    machine.AddDrive(u'D', winapi::kDriveFixed);
    machine.AddDrive(u'E', winapi::kDriveRemovable);
    machine.AddDrive(u'F', winapi::kDriveRemote);
    machine.AddDrive(u'G', winapi::kDriveFixed);  // no recycle bin at all
  }

  // Plants `files` (path, bytes); returns the section's entries in plan order.
  void Plant(const std::vector<std::pair<Text, uint64_t>>& files) {
    for (const auto& [path, bytes] : files) machine.AddSizedFile(path, bytes);
  }

  std::vector<Text> RunAlone(int section) {
    state.Results.Clear();
    state.SectionFindingCounts = {};
    state.SectionKbTotals = {};
    EXPECT_TRUE(RunSectionPlan(run, section));
    return Entries();
  }
};

// Every file section on one machine: what each plan finds, exactly and in order,
// and what it must leave alone.
TEST_F(ScanPlans, EveryFileSectionFindsExactlyItsOwnFiles) {
  const Text recent = state.Loc.RecentFolder;
  const Text officeRecent = state.Loc.OfficeRecentFolder;
  Plant({
      // 01
      {kLocal + u"Temp\\a.tmp", 100}, {kLocal + u"Temp\\sub\\b.tmp", 2048}, {kWindows + u"Temp\\c.tmp", 0},
      // 02: drive A and drives that are not fixed are never examined
      {u"C:\\$RECYCLE.BIN\\S-1-5-21\\$RABC.txt", 1536}, {u"C:\\$RECYCLE.BIN\\S-1-5-21\\desktop.ini", 1},
      {u"C:\\$RECYCLE.BIN\\INFO2", 1}, {u"D:\\$RECYCLE.BIN\\x.dat", 10}, {u"A:\\$RECYCLE.BIN\\no.dat", 1},
      {u"E:\\$RECYCLE.BIN\\no.dat", 1}, {u"F:\\$RECYCLE.BIN\\no.dat", 1}, {u"C:\\RECYCLER\\old.dat", 1},
      // 03
      {kWindows + u"setup.log", 12800}, {kWindows + u"notes.txt", 1}, {kWindows + u"Logs\\cbs.log", 1},
      {kWindows + u"Logs\\CBS\\deep.log", 1}, {kWindows + u"Debug\\d.log", 1}, {kWindows + u"Debug\\UserMode\\u.log", 1},
      {kWindows + u"security\\Logs\\s.log", 1}, {kWindows + u"Microsoft.NET\\Framework\\v4\\ngen.log", 1},
      {kWindows + u"System32\\wbem\\Logs\\w.log", 1}, {kLocal + u"Microsoft\\Windows\\WebCache\\x.log", 1},
      {kRoaming + u"Microsoft\\Windows\\y.log", 1},
      // 04
      {kLocal + u"Microsoft\\Windows\\INetCache\\IE\\a.dat", 1}, {kLocal + u"Microsoft\\Windows\\History\\h.dat", 1},
      // 05
      {kEdge + u"#!001\\MicrosoftEdge\\Cache\\X1\\a.dat", 1024},
      // 06
      {kChrome + u"Cache\\data_0", 1}, {kChrome + u"GPUCache\\data_1", 1}, {kChrome + u"History", 10240},
      {kChrome + u"Cookies-journal", 0},
      // 07
      {kFirefox + u"Cache2\\entries\\E1", 1},
      // 08
      {kPrograms + u"Yahoo!\\Messenger\\Cache\\y1.dat", 1},
      {kLocal + u"VirtualStore\\Program Files (x86)\\Yahoo!\\Messenger\\Cache\\y2", 1},
      // 09
      {kDocuments + u"AIMLogger\\log.txt", 1}, {kRoaming + u"acccore\\caches\\bart\\b1", 1},
      {kLocal + u"AIM\\Settings\\aolbartcache\\c1", 1},
      // 10
      {kRoaming + u"Microsoft\\MSN Messenger\\m1.dat", 1},
      // 11
      {kRoaming + u"Skype\\alice\\chatsync\\ab\\c.dat", 1},
      // 12
      {kLocal + u"Microsoft\\Windows\\Explorer\\thumbcache_32.db", 1},
      {kLocal + u"Microsoft\\Windows\\Explorer\\iconcache_32.db", 1},
      {kLocal + u"Microsoft\\Windows\\Explorer\\ThumbCacheToDelete\\thm1234.tmp", 1},
      {kWindows + u"ServiceProfiles\\LocalService\\AppData\\Local\\FontCache-S-1.dat", 1},
      {kDocuments + u"Pictures\\Thumbs.db", 1}, {recent + u"doc.lnk", 1}, {recent + u"sub\\deep.lnk", 1},
      {officeRecent + u"o.lnk", 1},
      // 13
      {kPrograms + u"Steam\\html5app\\htmlcache\\h1", 1}, {kPrograms + u"Steam\\Dumps\\d1.mdmp", 1},
      {kPrograms + u"Steam\\Logs\\l1.txt", 1},
      // 14
      {kLocal + u"TechSmith\\SnagIt\\CrashDumps\\c.dmp", 1}, {kLocal + u"TechSmith\\SnagIt\\Thumbnails\\t.png", 1},
  });
  const std::map<int, std::vector<Text>> expected = {
      {1, {u"01#" + kLocal + u"Temp\\a.tmp#0.10 KB", u"01#" + kLocal + u"Temp\\sub\\b.tmp#2.00 KB",
           u"01#" + kWindows + u"Temp\\c.tmp#0.00 KB"}},
      {2, {u"02#C:\\$RECYCLE.BIN\\S-1-5-21\\$RABC.txt#1.50 KB", u"02#D:\\$RECYCLE.BIN\\x.dat#0.01 KB"}},
      {3, {u"03#" + kWindows + u"setup.log#12.50 KB", u"03#" + kWindows + u"Logs\\cbs.log#0.00 KB",
           u"03#" + kWindows + u"Debug\\d.log#0.00 KB", u"03#" + kWindows + u"Debug\\UserMode\\u.log#0.00 KB",
           u"03#" + kWindows + u"security\\Logs\\s.log#0.00 KB",
           u"03#" + kWindows + u"Microsoft.NET\\Framework\\v4\\ngen.log#0.00 KB",
           u"03#" + kWindows + u"System32\\wbem\\Logs\\w.log#0.00 KB",
           u"03#" + kLocal + u"Microsoft\\Windows\\WebCache\\x.log#0.00 KB",
           u"03#" + kRoaming + u"Microsoft\\Windows\\y.log#0.00 KB"}},
      {4, {u"04#" + kLocal + u"Microsoft\\Windows\\INetCache\\IE\\a.dat#0.00 KB",
           u"04#" + kLocal + u"Microsoft\\Windows\\History\\h.dat#0.00 KB"}},
      {5, {u"05#" + kEdge + u"#!001\\MicrosoftEdge\\Cache\\X1\\a.dat#1.00 KB"}},
      {6, {u"06#" + kChrome + u"Cache\\data_0#0.00 KB", u"06#" + kChrome + u"GPUCache\\data_1#0.00 KB",
           u"06#" + kChrome + u"History#10.00 KB", u"06#" + kChrome + u"Cookies-journal#0.00 KB"}},
      {7, {u"07#" + kFirefox + u"Cache2\\entries\\E1#0.00 KB"}},
      {8, {u"08#" + kPrograms + u"Yahoo!\\Messenger\\Cache\\y1.dat#0.00 KB",
           u"08#" + kLocal + u"VirtualStore\\Program Files (x86)\\Yahoo!\\Messenger\\Cache\\y2#0.00 KB"}},
      {9, {u"09#" + kDocuments + u"AIMLogger\\log.txt#0.00 KB", u"09#" + kRoaming + u"acccore\\caches\\bart\\b1#0.00 KB",
           u"09#" + kLocal + u"AIM\\Settings\\aolbartcache\\c1#0.00 KB"}},
      {10, {u"10#" + kRoaming + u"Microsoft\\MSN Messenger\\m1.dat#0.00 KB"}},
      {11, {u"11#" + kRoaming + u"Skype\\alice\\chatsync\\ab\\c.dat#0.00 KB"}},
      {12, {u"12#" + kLocal + u"Microsoft\\Windows\\Explorer\\thumbcache_32.db#0.00 KB",
            u"12#" + kLocal + u"Microsoft\\Windows\\Explorer\\ThumbCacheToDelete\\thm1234.tmp#0.00 KB",
            u"12#" + kWindows + u"ServiceProfiles\\LocalService\\AppData\\Local\\FontCache-S-1.dat#0.00 KB",
            u"12#" + kDocuments + u"Pictures\\Thumbs.db#0.00 KB", u"12#" + recent + u"doc.lnk#0.00 KB",
            u"12#" + officeRecent + u"o.lnk#0.00 KB"}},
      {13, {u"13#" + kPrograms + u"Steam\\html5app\\htmlcache\\h1#0.00 KB",
            u"13#" + kPrograms + u"Steam\\Dumps\\d1.mdmp#0.00 KB", u"13#" + kPrograms + u"Steam\\Logs\\l1.txt#0.00 KB"}},
      {14, {u"14#" + kLocal + u"TechSmith\\SnagIt\\CrashDumps\\c.dmp#0.00 KB",
            u"14#" + kLocal + u"TechSmith\\SnagIt\\Thumbnails\\t.png#0.00 KB"}},
  };
  for (const auto& [section, entries] : expected) {
    EXPECT_EQ(RunAlone(section), entries) << "section " << section;
    EXPECT_EQ(state.SectionFindingCounts[size_t(section)], int32_t(entries.size())) << "section " << section;
  }
  RunAlone(6);
  EXPECT_EQ(state.SectionKbTotals[6], 10) << "the Chrome History file adds its 10 KB";
  RunAlone(2);
  EXPECT_EQ(state.SectionKbTotals[2], 2) << "1536 bytes round to 2 KB, 10 bytes to 0";
}

TEST_F(ScanPlans, WindowsVersionPicksTheRecycleBinAndTheEdgeCache) {
  machine.AddFile(u"C:\\$RECYCLE.BIN\\new.dat");
  machine.AddFile(u"C:\\RECYCLER\\S-1-5-21\\old.dat");
  machine.AddFile(kEdge + u"MicrosoftEdge\\Cache\\e.dat");
  struct Case {
    uint32_t osMajor;
    int section;
    std::vector<Text> entries;
  };
  const Case cases[] = {
      {5, 2, {u"02#C:\\RECYCLER\\S-1-5-21\\old.dat#0.00 KB"}},
      {6, 2, {u"02#C:\\$RECYCLE.BIN\\new.dat#0.00 KB"}},
      {10, 5, {u"05#" + kEdge + u"MicrosoftEdge\\Cache\\e.dat#0.00 KB"}},
      {6, 5, {}},
  };
  for (const auto& c : cases) {
    state.Loc.OsMajorVersion = c.osMajor;
    host.pumps = 0;
    EXPECT_EQ(RunAlone(c.section), c.entries) << "version " << c.osMajor << ", section " << c.section;
    if (c.entries.empty()) {
      EXPECT_EQ(host.pumps, 0) << "a section that examines nothing does not pump";
    }
  }
}

TEST_F(ScanPlans, EmptyLocationsExamineNothing) {
  machine.AddFile(u"C:\\Skype\\chatsync\\x.dat");
  machine.AddFile(u"C:\\Logs\\x.log");
  state.Loc = Locations{};  // no folder found, no list entry
  for (int section = 1; section <= 14; ++section)
    if (section != 2) {
      EXPECT_TRUE(RunAlone(section).empty()) << "section " << section;
    }
}

TEST_F(ScanPlans, AFolderListedTwiceInASectionsListIsScannedOncePerRun) {
  // The shell's cache folder is the one the list also names by hand.
  const Text cache = kLocal + u"Microsoft\\Windows\\INetCache\\";
  state.Loc.IeCacheFolders = {cache, ToUpperAscii(cache), kLocal + u"Microsoft\\Windows\\History\\", cache};
  Plant({{cache + u"IE\\X1\\page[1].htm", 2048}, {cache + u"b.dat", 1024}});
  EXPECT_EQ(RunAlone(4), (std::vector<Text>{u"04#" + cache + u"IE\\X1\\page[1].htm#2.00 KB",
                                           u"04#" + cache + u"b.dat#1.00 KB"}));
  EXPECT_EQ(state.SectionFindingCounts[4], 2);
  EXPECT_EQ(state.SectionKbTotals[4], 3);
  // A second run finds them again, once.
  EXPECT_EQ(RunAlone(4).size(), 2u);
}

TEST_F(ScanPlans, ListsPumpBeforeEveryEntryAndAfterEveryScan) {
  machine.AddFile(kLocal + u"Temp\\1");
  machine.AddFile(kLocal + u"Temp\\2");
  state.Loc.TempFolders.push_back(u"C:\\Third\\");
  // before entry 1, two files, after scan 1, before entry 2 (Stop answered Yes), before entry 3
  host.onPump = [&](int pump) {
    if (pump == 5) state.StopRequested = true;
  };
  EXPECT_FALSE(RunSectionPlan(run, 1));
  EXPECT_EQ(host.pumps, 6);
  EXPECT_EQ(Entries().size(), 2u);

  // The Chrome files are pumped for one by one as well; a Stop passes over the rest.
  state.StopRequested = false;
  host.pumps = 0;
  machine.AddFile(kChrome + u"History");
  machine.AddFile(kChrome + u"Top Sites");
  state.Loc.ChromeTargets = {u"#" + kChrome + u"History", u"#" + kChrome + u"Top Sites", kChrome + u"Cache\\"};
  host.onPump = [&](int pump) {
    if (pump == 5) state.StopRequested = true;  // folder list: 3 before entries + 1 after the scan; files: the first
  };
  state.Results.Clear();
  EXPECT_FALSE(RunSectionPlan(run, 6));
  EXPECT_EQ(host.pumps, 7);
  EXPECT_TRUE(Entries().empty());
}

TEST_F(ScanPlans, RecycleBinsPumpBeforeEveryPresentDrive) {
  // Drives A, C, D, E, F, G are present: six pumps, plus one after each of the
  // two scanned bins, and nothing scanned after Stop.
  machine.AddFile(u"C:\\$RECYCLE.BIN\\c.dat");
  machine.AddFile(u"D:\\$RECYCLE.BIN\\d.dat");
  EXPECT_TRUE(RunSectionPlan(run, 2));
  EXPECT_EQ(host.pumps, 6 + 2 + 2);

  host.pumps = 0;
  state.Results.Clear();
  host.onPump = [&](int pump) {
    if (pump == 2) state.StopRequested = true;  // before drive C
  };
  EXPECT_FALSE(RunSectionPlan(run, 2));
  EXPECT_EQ(host.pumps, 6);
  EXPECT_TRUE(Entries().empty());
}

TEST_F(ScanPlans, RegistrySectionsWalkTheirRootsSoftwareKey) {
  machine.SetString(winapi::kHkeyCurrentUser, u"SOFTWARE\\Vendor\\App", u"Updater", u"C:\\Old\\app.exe");
  machine.SetString(winapi::kHkeyLocalMachine, u"SOFTWARE\\Vendor", u"", u"C:\\Old\\b.dll");
  EXPECT_EQ(RunAlone(15), (std::vector<Text>{u"15#HKCU\\SOFTWARE\\Vendor\\App=Updater#14 b"}));
  EXPECT_EQ(RunAlone(16), (std::vector<Text>{u"16#HKLM\\SOFTWARE\\Vendor=#12 b"}));
  EXPECT_EQ(state.SectionFindingCounts[16], 1);
}

}  // namespace
}  // namespace nb
