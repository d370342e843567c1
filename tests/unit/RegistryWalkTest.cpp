// The registry walk on the simulated machine: which values become findings,
// which keys are never entered, and how a run stops.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "registry/RegistryWalk.h"
#include "support/SimRun.h"
#include "support/ValueData.h"

namespace nb {
namespace {

constexpr uint32_t HKCU = winapi::kHkeyCurrentUser;
constexpr uint32_t HKLM = winapi::kHkeyLocalMachine;

// A key whose enumerations misbehave the way some keys do under Wine.
class MisbehavingKey : public RegistryKey {
 public:
  enum class Mode { FailEveryIndex, NeverEnds };
  MisbehavingKey(std::unique_ptr<RegistryKey> inner, Mode mode) : inner_(std::move(inner)), mode_(mode) {}
  uint32_t QueryValue(const Text& name, RegValue& value) override { return inner_->QueryValue(name, value); }
  uint32_t SetValue(const Text& name, uint32_t type, const std::vector<uint8_t>& data) override {
    return inner_->SetValue(name, type, data);
  }
  uint32_t DeleteValue(const Text& name) override { return inner_->DeleteValue(name); }
  uint32_t QueryInfo(RegKeyInfo& info) override { return inner_->QueryInfo(info); }
  uint32_t EnumKey(uint32_t index, Text& name) override {
    if (mode_ == Mode::FailEveryIndex) return winapi::kErrorInvalidHandle;
    RegKeyInfo info;
    inner_->QueryInfo(info);
    return inner_->EnumKey(info.subKeyCount ? index % info.subKeyCount : 0, name) == winapi::kErrorSuccess
               ? winapi::kErrorSuccess
               : winapi::kErrorMoreData;
  }
  uint32_t EnumValue(uint32_t index, Text& name) override {
    if (mode_ == Mode::FailEveryIndex) return winapi::kErrorInvalidHandle;
    RegKeyInfo info;
    inner_->QueryInfo(info);
    return inner_->EnumValue(info.valueCount ? index % info.valueCount : 0, name) == winapi::kErrorSuccess
               ? winapi::kErrorSuccess
               : winapi::kErrorMoreData;
  }

 private:
  std::unique_ptr<RegistryKey> inner_;
  Mode mode_;
};

// Records every key the walk asks for, and can hand out misbehaving keys.
class WatchedPlatform : public sim::SimPlatform {
 public:
  using SimPlatform::SimPlatform;
  uint32_t OpenKey(uint32_t root, const Text& path, uint32_t access, std::unique_ptr<RegistryKey>& key) override {
    opened.push_back(ToUtf8(path));
    accesses.push_back(access);
    const uint32_t result = SimPlatform::OpenKey(root, path, access, key);
    if (result == winapi::kErrorSuccess && misbehaving.count(path))
      key = std::make_unique<MisbehavingKey>(std::move(key), misbehaving.at(path));
    return result;
  }
  uint32_t GetFileAttributes(const Text& path, uint32_t& attributes) override {
    ++attributeQueries;
    return SimPlatform::GetFileAttributes(path, attributes);
  }
  std::vector<std::string> opened;
  std::vector<uint32_t> accesses;
  int attributeQueries = 0;
  std::map<Text, MisbehavingKey::Mode> misbehaving;
};

class RegistryWalk : public testing::Test, protected test::SimRunWith<WatchedPlatform> {
 protected:
  RegistryWalk() {
    machine.SetUpStandardUser();
    machine.environment[u"AppName"] = u"Tool";
    state.Running = true;
    state.Loc.WindowsFolder = u"C:\\Windows\\";
    state.Loc.SystemFolder = u"C:\\Windows\\System32\\";
    state.Loc.SearchFolders = {u"C:\\Tools\\", u"C:\\Windows\\", u"C:\\Windows\\System32\\"};
    machine.AddFolder(u"C:\\Tools");
    machine.AddKey(HKCU, u"SOFTWARE");
    machine.AddKey(HKLM, u"SOFTWARE");
  }

  void Set(uint32_t root, const Text& key, const Text& name, const Text& text, uint32_t type = winapi::kRegSz) {
    machine.SetString(root, key, name, text, type);
  }
  void SetRaw(const Text& key, const Text& name, uint32_t type, std::vector<uint8_t> data) {
    machine.SetValue(HKCU, key, name, type, data);
  }

  std::vector<std::string> Walk(uint32_t root = HKCU, const Text& path = u"\\SOFTWARE") {
    WalkRegistryKey(run, root, path);
    std::vector<std::string> entries;
    for (const Text& entry : Entries()) entries.push_back(ToUtf8(entry));
    return entries;
  }
};

using Findings = std::vector<std::string>;

TEST_F(RegistryWalk, RecordsStaleValuesDepthFirstWithTheLengthOfTheExtractedPath) {
  Set(HKCU, u"SOFTWARE\\Vendor\\App", u"Updater", u"C:\\Old\\app.exe");
  Set(HKCU, u"SOFTWARE\\Vendor\\App", u"", u"\"C:\\Old\\gone.dll\",1");
  Set(HKCU, u"SOFTWARE\\Vendor\\App\\Sub", u"Icon", u"C:\\Old\\icon.ico,0");
  Set(HKCU, u"SOFTWARE\\Vendor", u"Later", u"C:\\Old\\b.exe -x");
  Set(HKCU, u"SOFTWARE\\Vendor\\Zed", u"Expand", u"C:\\Old\\%AppName%.exe", winapi::kRegExpandSz);
  Set(HKCU, u"SOFTWARE\\Vendor\\Zed", u"ExpandPlain", u"C:\\Old\\plain.exe", winapi::kRegExpandSz);

  EXPECT_EQ(Walk(), (Findings{
                        "15#HKCU\\SOFTWARE\\Vendor=Later#12 b",
                        "15#HKCU\\SOFTWARE\\Vendor\\App=Updater#14 b",
                        "15#HKCU\\SOFTWARE\\Vendor\\App=#15 b",
                        "15#HKCU\\SOFTWARE\\Vendor\\App\\Sub=Icon#15 b",
                        "15#HKCU\\SOFTWARE\\Vendor\\Zed=Expand#15 b",
                        "15#HKCU\\SOFTWARE\\Vendor\\Zed=ExpandPlain#16 b",
                    }));
  EXPECT_EQ(state.SectionFindingCounts[15], 6);
  EXPECT_EQ(state.SectionFindingCounts[16], 0);
  EXPECT_EQ(state.SectionKbTotals, (PerSection<int64_t>{}));
}

TEST_F(RegistryWalk, FiltersValuesByTextTypeAndDisk) {
  machine.AddFile(u"C:\\Apps\\here.exe");
  machine.AddFile(u"C:\\Tools\\found.exe");
  const Text key = u"SOFTWARE\\Vendor\\App";
  const struct {
    const char16_t* name;
    const char16_t* text;
    int recordedLength;  // the number the finding shows; 0 for none
  } cases[] = {
      {u"txt", u"C:\\Old\\readme.txt", 17},  // any three-letter extension
      {u"json", u"C:\\Old\\data.json", 0},
      {u"short", u"C:\\a", 0},
      {u"dot4", u".:\\x", 0},  // would pass every later test: only its length stops it
      {u"tilde", u"C:\\PROGRA~1\\app.exe", 0},
      {u"dollar", u"C:\\$Old\\app.exe", 0},
      {u"slash", u"C:\\Old\\app.exe /s", 0},
      {u"caret", u"C:\\Old\\a^b.exe", 0},
      {u"bar", u"C:\\Old\\app.exe|x", 0},
      {u"commas", u"C:\\Old\\app.ico,1,2", 0},
      {u"oneComma", u"C:\\Old\\app.ico,1", 14},
      {u"folder", u"C:\\Old\\Folder\\", 0},
      {u"noColon", u"\\\\srv\\share\\app.exe", 0},
      {u"noBackslash", u"C:app.exe", 0},
      {u"windows", u"C:\\Windows\\Gone\\app.exe", 0},
      {u"windowsLower", u"\"c:\\windows\\gone\\app.exe\" -run", 0},
      {u"exists", u"C:\\Apps\\here.exe", 0},
      {u"existsWithArgs", u"C:\\Apps\\here.exe -arg", 0},
      {u"searchFolders", u"C:\\Old\\found.exe", 0},
  };
  for (const auto& c : cases) Set(HKCU, key, c.name, c.text);
  SetRaw(key, u"dword", winapi::kRegDword, {1, 0, 0, 0});
  // One entry and the NUL that closes the list.
  SetRaw(key, u"multi", winapi::kRegMultiSz, ValueDataFromText(Text(u"C:\\Old\\multi.exe\0", 17)));
  SetRaw(key, u"binary", winapi::kRegBinary, ValueDataFromText(u"C:\\Old\\binary.exe"));
  SetRaw(key, u"noTerminator", winapi::kRegSz, test::UnterminatedValueData(u"C:\\Old\\nonul.exe"));
  SetRaw(key, u"embeddedNul", winapi::kRegSz, ValueDataFromText(Text(u"C:\\Old\\a.exe\0C:\\Old\\b.exe", 25)));
  // An odd byte count, by hand: no encoder makes one.
  SetRaw(key, u"oddBytes", winapi::kRegSz, {'C', 0, ':', 0, '\\', 0, 'o', 0, '.', 0, 'e', 0, 'x', 0, 'e', 0, 'Z'});

  Findings expected;
  for (const auto& c : cases)
    if (c.recordedLength > 0)
      expected.push_back("15#HKCU\\SOFTWARE\\Vendor\\App=" + ToUtf8(c.name) + "#" +
                         std::to_string(c.recordedLength) + " b");
  expected.push_back("15#HKCU\\SOFTWARE\\Vendor\\App=noTerminator#16 b");
  expected.push_back("15#HKCU\\SOFTWARE\\Vendor\\App=embeddedNul#12 b");
  expected.push_back("15#HKCU\\SOFTWARE\\Vendor\\App=oddBytes#8 b");
  EXPECT_EQ(Walk(), expected);
}

TEST_F(RegistryWalk, ValuesRejectedByTheirTextCostNoDiskAccess) {
  for (const Text text : {u"1.0.3", u"https://example.com/a.exe", u"C:\\PROGRA~1\\a.exe", u"C:\\Old\\"})
    Set(HKCU, u"SOFTWARE\\Vendor", text, text);
  SetRaw(u"SOFTWARE\\Vendor", u"dword", winapi::kRegDword, {1, 0, 0, 0});
  EXPECT_TRUE(Walk().empty());
  EXPECT_EQ(os.attributeQueries, 0);
  EXPECT_EQ(host.pumps, 6) << "one per value, one for the key Vendor";
}

TEST_F(RegistryWalk, NeverEntersExcludedKeysOrAnythingBelowThem) {
  for (const Text key : {u"SOFTWARE\\Microsoft\\Windows\\Run", u"SOFTWARE\\microsoft", u"SOFTWARE\\Classes\\App",
                         u"SOFTWARE\\Policies\\Vendor", u"SOFTWARE\\Vendor\\Applications\\Tool",
                         u"SOFTWARE\\Vendor\\Location", u"SOFTWARE\\Vendor\\Configuration", u"SOFTWARE\\Autodesk",
                         u"SOFTWARE\\Vendor\\ASync\\Deep", u"SOFTWARE\\Kaspersky", u"SOFTWARE\\McAfee\\A",
                         u"SOFTWARE\\Hewlett-Packard", u"SOFTWARE\\Dell", u"SOFTWARE\\Vendor\\Cloud Sync"})
    Set(HKCU, key, u"v", u"C:\\Old\\app.exe");
  Set(HKCU, u"SOFTWARE\\Vendor\\Tool", u"v", u"C:\\Old\\app.exe");

  EXPECT_EQ(Walk(), (Findings{"15#HKCU\\SOFTWARE\\Vendor\\Tool=v#14 b"}));
  for (const auto& opened : os.opened) {
    const Text upper = ToUpperAscii(FromUtf8(opened));
    EXPECT_FALSE(Contains(upper, u"ATI") || Contains(upper, u"MICROSOFT") || Contains(upper, u"SYNC")) << opened;
  }
  // An excluded starting key finds nothing at all.
  state.Results.Clear();
  EXPECT_TRUE(Walk(HKCU, u"\\SOFTWARE\\Microsoft").empty());
}

TEST_F(RegistryWalk, AKeyThatRefusesFullAccessHidesItsSubtree) {
  machine.AddKey(HKCU, u"SOFTWARE\\Locked").refuseFullAccess = true;
  Set(HKCU, u"SOFTWARE\\Locked", u"v", u"C:\\Old\\a.exe");
  Set(HKCU, u"SOFTWARE\\Locked\\Open", u"v", u"C:\\Old\\b.exe");
  Set(HKCU, u"SOFTWARE\\Other", u"v", u"C:\\Old\\c.exe");

  EXPECT_EQ(Walk(), (Findings{"15#HKCU\\SOFTWARE\\Other=v#12 b"}));
  EXPECT_EQ(os.opened, (std::vector<std::string>{"SOFTWARE", "SOFTWARE\\Locked", "SOFTWARE\\Other"}));
  for (uint32_t access : os.accesses) EXPECT_EQ(access, 0xF013Fu);

  // A starting key that refuses full access: nothing at all.
  state.Results.Clear();
  machine.AddKey(HKLM, u"SOFTWARE").refuseFullAccess = true;
  Set(HKLM, u"SOFTWARE\\Vendor", u"v", u"C:\\Old\\a.exe");
  EXPECT_TRUE(Walk(HKLM).empty());
}

TEST_F(RegistryWalk, EmbarcaderoPathsAreShownAndStillRecorded) {
  Set(HKCU, u"SOFTWARE\\Vendor", u"Studio", u"\"C:\\Program Files\\Embarcadero\\Studio\\bds.exe\" -pDelphi");
  Set(HKCU, u"SOFTWARE\\Vendor", u"Lower", u"C:\\Old\\embarcadero\\bds.exe");

  EXPECT_EQ(Walk(), (Findings{"15#HKCU\\SOFTWARE\\Vendor=Studio#43 b", "15#HKCU\\SOFTWARE\\Vendor=Lower#26 b"}));
  ASSERT_EQ(host.boxes.size(), 1u);
  EXPECT_EQ(ToUtf8(host.boxes[0].text), "C:\\Program Files\\Embarcadero\\Studio\\bds.exe");
  EXPECT_EQ(host.boxes[0].caption, u"");
  EXPECT_EQ(host.boxes[0].flags, winapi::kMbOk);
}

TEST_F(RegistryWalk, WhenNotRunningNothingIsOpened) {
  Set(HKCU, u"SOFTWARE\\Vendor", u"v", u"C:\\Old\\a.exe");
  state.Running = false;
  EXPECT_TRUE(Walk().empty());
  EXPECT_TRUE(os.opened.empty());
  EXPECT_EQ(host.pumps, 0);
}

TEST_F(RegistryWalk, AStopMidWalkEndsItAtTheNextCheck) {
  Set(HKCU, u"SOFTWARE\\A", u"v", u"C:\\Old\\a.exe");
  Set(HKCU, u"SOFTWARE\\B", u"v1", u"C:\\Old\\b1.exe");
  Set(HKCU, u"SOFTWARE\\B", u"v2", u"C:\\Old\\b2.exe");
  Set(HKCU, u"SOFTWARE\\B\\Inner", u"v", u"C:\\Old\\i.exe");
  Set(HKCU, u"SOFTWARE\\C", u"v", u"C:\\Old\\c.exe");
  // Pumps: 1 before A, 2 for A's value, 3 before B, 4 and 5 for B's values,
  // 6 before B\Inner, 7 before C. The user stops the run at B's first value.
  host.onPump = [&](int pump) {
    if (pump == 4) state.StopRequested = true;
  };

  EXPECT_EQ(Walk(), (Findings{"15#HKCU\\SOFTWARE\\A=v#12 b"}));
  EXPECT_EQ(os.opened, (std::vector<std::string>{"SOFTWARE", "SOFTWARE\\A", "SOFTWARE\\B"}));
  EXPECT_EQ(host.pumps, 7) << "remaining values and subkeys are still pumped once each";
}

TEST_F(RegistryWalk, TheSixtyFourBitViewShowsWow6432NodeAsAnOrdinaryKey) {
  machine.wow64Process = true;
  Set(HKLM, u"SOFTWARE\\Vendor64\\App", u"v", u"C:\\Old\\a64.exe");
  Set(HKLM, u"SOFTWARE\\Wow6432Node\\Vendor32\\App", u"v", u"C:\\Old\\a32.exe");
  Set(HKCU, u"SOFTWARE\\Vendor\\App", u"v", u"C:\\Old\\cu.exe");

  EXPECT_EQ(Walk(HKLM, u"SOFTWARE"), (Findings{"16#HKLM\\SOFTWARE\\Vendor64\\App=v#14 b",
                                              "16#HKLM\\SOFTWARE\\Wow6432Node\\Vendor32\\App=v#14 b"}));
  EXPECT_EQ(state.SectionFindingCounts[16], 2);
  EXPECT_EQ(state.SectionFindingCounts[15], 0);
}

TEST_F(RegistryWalk, EnumerationsEndAtTheReportedCountsAndAtAnyError) {
  Set(HKCU, u"SOFTWARE\\Broken", u"v", u"C:\\Old\\broken.exe");
  Set(HKCU, u"SOFTWARE\\Broken\\Inner", u"v", u"C:\\Old\\inner.exe");
  Set(HKCU, u"SOFTWARE\\Endless", u"v", u"C:\\Old\\endless.exe");
  Set(HKCU, u"SOFTWARE\\Endless\\Inner", u"v", u"C:\\Old\\inner.exe");
  os.misbehaving[u"SOFTWARE\\Broken"] = MisbehavingKey::Mode::FailEveryIndex;
  os.misbehaving[u"SOFTWARE\\Endless"] = MisbehavingKey::Mode::NeverEnds;

  EXPECT_EQ(Walk(), (Findings{"15#HKCU\\SOFTWARE\\Endless=v#18 b", "15#HKCU\\SOFTWARE\\Endless\\Inner=v#16 b"}));
}

}  // namespace
}  // namespace nb
