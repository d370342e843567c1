#include <gtest/gtest.h>

#include "app/Settings.h"
#include "platform/RegistryText.h"
#include "support/SimRun.h"
#include "support/ValueData.h"

namespace nb {
namespace {

class Settings : public testing::Test, protected test::SimMachineFixture {
 protected:
  const uint32_t hkcu = winapi::kHkeyCurrentUser;

  void Store(uint32_t type, const std::vector<uint8_t>& data) {
    machine.SetValue(hkcu, kSettingsKey, kSettingsValue, type, data);
  }
};

TEST_F(Settings, StoredMaskIsReadByItsTypeLengthAndTerminator) {
  const Text all(16, u'1');
  const Text sixteen = u"1111111111111110";
  struct Case {
    const char* what;
    uint32_t type;
    std::vector<uint8_t> data;
    Text expected;
  };
  const std::vector<Case> cases = {
      {"sixteen characters", winapi::kRegSz, ValueDataFromText(sixteen), sixteen},
      {"blanks around are trimmed", winapi::kRegSz, ValueDataFromText(u"  " + sixteen + u"\t "), sixteen},
      {"one character", winapi::kRegSz, ValueDataFromText(u"0"), all},
      {"fifteen characters", winapi::kRegSz, ValueDataFromText(Text(15, u'0')), all},
      {"seventeen characters", winapi::kRegSz, ValueDataFromText(Text(17, u'0')), all},
      {"thirty-two characters", winapi::kRegSz, ValueDataFromText(sixteen + sixteen), all},
      {"odd characters are kept", winapi::kRegSz, ValueDataFromText(u"12x0111111111111"), u"12x0111111111111"},
      {"expandable string", winapi::kRegExpandSz, ValueDataFromText(sixteen), sixteen},
      {"multi-string is ignored", winapi::kRegMultiSz, ValueDataFromText(sixteen), all},
      {"DWORD is ignored", winapi::kRegDword, {0, 0, 0, 0}, all},
      {"no terminator", winapi::kRegSz, test::UnterminatedValueData(sixteen), sixteen},
      {"a NUL after eight characters", winapi::kRegSz, ValueDataFromText(Text(u"11110000\0" u"11111111", 17)), all},
      {"empty data", winapi::kRegSz, {}, all},
  };
  for (const auto& c : cases) {
    Store(c.type, c.data);
    EXPECT_EQ(LoadSectionMask(os), c.expected) << c.what;
  }
}

TEST_F(Settings, MissingKeyOrValueTicksEverything) {
  EXPECT_EQ(LoadSectionMask(os), Text(16, u'1'));
  machine.AddKey(hkcu, kSettingsKey);
  EXPECT_EQ(LoadSectionMask(os), Text(16, u'1'));
}

TEST_F(Settings, SavingCreatesTheKeyWithItsParentsAndWritesAnSzWithTerminator) {
  SaveSectionMask(os, u"0111111111111111");
  ASSERT_NE(machine.FindKey(hkcu, u"SOFTWARE\\Quellmark"), nullptr);
  const auto* value = machine.FindValue(hkcu, kSettingsKey, kSettingsValue);
  ASSERT_NE(value, nullptr);
  EXPECT_EQ(value->type, winapi::kRegSz);
  EXPECT_EQ(value->data.size(), 34u);
  EXPECT_EQ(LoadSectionMask(os), u"0111111111111111");
}

TEST_F(Settings, BuildingTheMaskFollowsCodeOrder) {
  std::array<bool, kSectionCount> ticks{};
  ticks.fill(true);
  ticks[15] = false;
  EXPECT_EQ(BuildSectionMask(ticks), u"1111111111111110");
  ticks.fill(false);
  ticks[0] = true;
  EXPECT_EQ(BuildSectionMask(ticks), u"1000000000000000");
}

TEST_F(Settings, LeadingBackslashNamesTheSameKey) {
  machine.SetString(hkcu, u"SOFTWARE\\Vendor", u"Path", u"  C:\\x.exe ");
  EXPECT_EQ(ReadRegText(os, hkcu, u"\\SOFTWARE\\Vendor", u"Path"), u"C:\\x.exe");
  EXPECT_EQ(ReadRegText(os, hkcu, u"SOFTWARE\\Vendor", u"Path"), u"C:\\x.exe");
  EXPECT_TRUE(DeleteRegValue(os, hkcu, u"\\SOFTWARE\\Vendor", u"Path"));
  EXPECT_EQ(machine.FindValue(hkcu, u"SOFTWARE\\Vendor", u"Path"), nullptr);
}

TEST_F(Settings, DeletingWhatIsNotThereChangesNothing) {
  EXPECT_FALSE(DeleteRegValue(os, hkcu, u"SOFTWARE\\Nowhere", u"Value"));
  EXPECT_EQ(machine.FindKey(hkcu, u"SOFTWARE\\Nowhere"), nullptr) << "a delete never creates the key";
  machine.SetString(hkcu, u"SOFTWARE\\Vendor", u"Keep", u"x");
  EXPECT_FALSE(DeleteRegValue(os, hkcu, u"SOFTWARE\\Vendor", u"Other"));
  EXPECT_NE(machine.FindValue(hkcu, u"SOFTWARE\\Vendor", u"Keep"), nullptr);
}

TEST_F(Settings, KeyRefusingFullAccessCountsAsMissing) {
  machine.SetString(winapi::kHkeyLocalMachine, u"SOFTWARE\\Vendor", u"Path", u"C:\\x.exe");
  machine.FindKey(winapi::kHkeyLocalMachine, u"SOFTWARE\\Vendor")->refuseFullAccess = true;
  EXPECT_EQ(ReadRegText(os, winapi::kHkeyLocalMachine, u"SOFTWARE\\Vendor", u"Path"), u"");
  EXPECT_FALSE(DeleteRegValue(os, winapi::kHkeyLocalMachine, u"SOFTWARE\\Vendor", u"Path"));
  EXPECT_NE(machine.FindValue(winapi::kHkeyLocalMachine, u"SOFTWARE\\Vendor", u"Path"), nullptr);
}

TEST_F(Settings, ValueNamesWithHashAndEqualsAreAddressedWhole) {
  machine.SetString(hkcu, u"SOFTWARE\\Vendor", u"a=b#c", u"C:\\x.exe");
  EXPECT_TRUE(DeleteRegValue(os, hkcu, u"SOFTWARE\\Vendor", u"a=b#c"));
}

TEST_F(Settings, The64BitViewReachesWhatTheDefaultViewOfA32BitProcessDoesNot) {
  machine.wow64Process = true;
  machine.SetString(winapi::kHkeyLocalMachine, u"SOFTWARE\\Vendor", u"Path", u"C:\\x.exe");
  EXPECT_EQ(ReadRegText(os, winapi::kHkeyLocalMachine, u"SOFTWARE\\Vendor", u"Path"), u"");
  EXPECT_EQ(ReadRegText(os, winapi::kHkeyLocalMachine, u"SOFTWARE\\Vendor", u"Path", winapi::kKeyWow64_64Key), u"C:\\x.exe");
  EXPECT_TRUE(DeleteRegValue(os, winapi::kHkeyLocalMachine, u"SOFTWARE\\Vendor", u"Path", winapi::kKeyWow64_64Key));
}

}  // namespace
}  // namespace nb
