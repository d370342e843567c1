// The registry operations of the Windows layer, on the simulated machine and on the real API.
#include <gtest/gtest.h>

#include <algorithm>

#include "contract/ContractTest.h"
#include "support/ValueData.h"

namespace nb::contract {
namespace {

class RegistryContract : public ContractTest {
 protected:
  Text root = stage->Key();

  std::unique_ptr<RegistryKey> Create(const Text& path) {
    std::unique_ptr<RegistryKey> key;
    EXPECT_EQ(os.CreateKey(winapi::kHkeyCurrentUser, path, winapi::kKeyAllAccess, key), winapi::kErrorSuccess) << ToUtf8(path);
    return key;
  }
  std::unique_ptr<RegistryKey> Open(const Text& path, uint32_t access = winapi::kKeyAllAccess) {
    std::unique_ptr<RegistryKey> key;
    EXPECT_EQ(os.OpenKey(winapi::kHkeyCurrentUser, path, access, key), winapi::kErrorSuccess) << ToUtf8(path);
    return key;
  }
  uint32_t OpenError(const Text& path) {
    std::unique_ptr<RegistryKey> key;
    return os.OpenKey(winapi::kHkeyCurrentUser, path, winapi::kKeyAllAccess, key);
  }
  static std::vector<Text> SubKeys(RegistryKey& key) {
    RegKeyInfo info;
    EXPECT_EQ(key.QueryInfo(info), winapi::kErrorSuccess);
    std::vector<Text> names(info.subKeyCount);
    for (uint32_t i = 0; i < info.subKeyCount; ++i) EXPECT_EQ(key.EnumKey(i, names[i]), winapi::kErrorSuccess);
    Text beyond;
    EXPECT_EQ(key.EnumKey(info.subKeyCount, beyond), winapi::kErrorNoMoreItems);
    return names;
  }
  static std::vector<Text> ValueNames(RegistryKey& key) {
    RegKeyInfo info;
    EXPECT_EQ(key.QueryInfo(info), winapi::kErrorSuccess);
    std::vector<Text> names(info.valueCount);
    for (uint32_t i = 0; i < info.valueCount; ++i) EXPECT_EQ(key.EnumValue(i, names[i]), winapi::kErrorSuccess);
    Text beyond;
    EXPECT_EQ(key.EnumValue(info.valueCount, beyond), winapi::kErrorNoMoreItems);
    return names;
  }
};

TEST_F(RegistryContract, CreateMakesMissingParentsAndOpenCreatesNothing) {
  EXPECT_EQ(OpenError(root + u"\\Outer\\Middle"), winapi::kErrorFileNotFound);
  EXPECT_EQ(OpenError(root + u"\\Outer\\Middle"), winapi::kErrorFileNotFound) << "a failed open creates nothing";
  ASSERT_NE(Create(root + u"\\Outer\\Middle\\Inner"), nullptr);
  EXPECT_NE(Open(root + u"\\Outer\\Middle"), nullptr);
  EXPECT_NE(Open(root + u"\\OUTER\\middle\\Inner"), nullptr) << "key names ignore case";
  EXPECT_EQ(OpenError(root + u"\\Outer\\Other"), winapi::kErrorFileNotFound);

  auto again = Create(root + u"\\Outer");
  ASSERT_NE(again, nullptr);
  EXPECT_EQ(SubKeys(*again), std::vector<Text>{u"Middle"}) << "creating an existing key opens it";
}

struct RawCase {
  const char* label;
  Text name;
  uint32_t type;
  std::vector<uint8_t> data;
};

std::vector<RawCase> RawCases() {
  std::vector<uint8_t> dword = {0x78, 0x56, 0x34, 0x12};
  std::vector<uint8_t> qword = {1, 2, 3, 4, 5, 6, 7, 8};
  return {
      {"string with its terminator", u"Terminated", winapi::kRegSz, ValueDataFromText(u"C:\\a.exe")},
      {"string with a NUL inside", u"InnerNul", winapi::kRegSz, ValueDataFromText(Text(u"12345678\0" u"1234567", 16))},
      {"string without terminator", u"Unterminated", winapi::kRegSz, test::UnterminatedValueData(u"abc")},
      {"empty string data", u"Empty", winapi::kRegSz, {}},
      {"odd byte count", u"Odd", winapi::kRegSz, {0x41, 0x00, 0x42}},
      {"expandable string", u"Expand", winapi::kRegExpandSz, ValueDataFromText(u"%TEMP%\\x")},
      {"binary", u"Binary", winapi::kRegBinary, {0x00, 0xFF, 0x10}},
      {"dword", u"Dword", winapi::kRegDword, dword},
      {"big-endian dword", u"BigEndian", 5, dword},
      // "a", "b" and the NUL that closes the list.
      {"multi-string", u"Multi", winapi::kRegMultiSz, ValueDataFromText(Text(u"a\0b\0", 4))},
      {"qword", u"Qword", winapi::kRegQword, qword},
      {"none", u"None", winapi::kRegNone, {0x01}},
      {"a type of nobody's", u"Custom", 0x4242, {0x09}},
  };
}

TEST_F(RegistryContract, ValuesComeBackWithTheirTypeAndExactlyTheStoredBytes) {
  auto written = Create(root + u"\\Written");
  ASSERT_NE(written, nullptr);
  for (const auto& c : RawCases()) {
    EXPECT_EQ(written->SetValue(c.name, c.type, c.data), winapi::kErrorSuccess) << c.label;
    stage->SetRawValue(root + u"\\Staged", c.name, c.type, c.data);
  }
  auto staged = Open(root + u"\\Staged", winapi::kKeyRead);
  ASSERT_NE(staged, nullptr);
  for (auto* key : {written.get(), staged.get()})
    for (const auto& c : RawCases()) {
      RegValue value;
      ASSERT_EQ(key->QueryValue(c.name, value), winapi::kErrorSuccess) << c.label;
      EXPECT_EQ(value.type, c.type) << c.label;
      EXPECT_EQ(value.data, c.data) << c.label;
    }
}

TEST_F(RegistryContract, ValueNamesIgnoreCaseAndAMissingValueIsNotFound) {
  auto key = Create(root + u"\\Values");
  ASSERT_NE(key, nullptr);
  RegValue value;
  EXPECT_EQ(key->QueryValue(u"Sections", value), winapi::kErrorFileNotFound);
  EXPECT_EQ(key->DeleteValue(u"Sections"), winapi::kErrorFileNotFound);
  ASSERT_EQ(key->SetValue(u"Sections", winapi::kRegSz, ValueDataFromText(u"1111")), winapi::kErrorSuccess);
  ASSERT_EQ(key->QueryValue(u"SECTIONS", value), winapi::kErrorSuccess);
  EXPECT_EQ(value.data.size(), 10u);
  ASSERT_EQ(key->SetValue(u"sections", winapi::kRegDword, {1, 0, 0, 0}), winapi::kErrorSuccess);
  EXPECT_EQ(ValueNames(*key), std::vector<Text>{u"Sections"}) << "rewriting keeps one value and its first name";
  EXPECT_EQ(key->DeleteValue(u"SECTIONS"), winapi::kErrorSuccess);
  EXPECT_EQ(key->QueryValue(u"Sections", value), winapi::kErrorFileNotFound);
  EXPECT_EQ(key->DeleteValue(u"Sections"), winapi::kErrorFileNotFound);
}

TEST_F(RegistryContract, KeyOpenedForReadingRefusesChanges) {
  Create(root + u"\\ReadOnly")->SetValue(u"v", winapi::kRegDword, {1, 0, 0, 0});
  auto key = Open(root + u"\\ReadOnly", winapi::kKeyRead);
  ASSERT_NE(key, nullptr);
  EXPECT_EQ(key->SetValue(u"w", winapi::kRegDword, {1, 0, 0, 0}), winapi::kErrorAccessDenied);
  EXPECT_EQ(key->DeleteValue(u"v"), winapi::kErrorAccessDenied);
  RegValue value;
  EXPECT_EQ(key->QueryValue(u"v", value), winapi::kErrorSuccess);
}

TEST_F(RegistryContract, QueryInfoCountsSubkeysAndValuesAndTheirLongestNames) {
  auto key = Create(root + u"\\Info");
  ASSERT_NE(key, nullptr);
  RegKeyInfo info;
  ASSERT_EQ(key->QueryInfo(info), winapi::kErrorSuccess);
  EXPECT_EQ(info.subKeyCount, 0u);
  EXPECT_EQ(info.valueCount, 0u);
  Create(root + u"\\Info\\a");
  Create(root + u"\\Info\\Eleven-Name");
  Create(root + u"\\Info\\Eleven-Name\\Deeper-And-Longer");
  key->SetValue(u"", winapi::kRegSz, ValueDataFromText(u"x"));
  key->SetValue(u"twelve-chars", winapi::kRegDword, {1, 0, 0, 0});
  key->SetValue(u"x", winapi::kRegDword, {1, 0, 0, 0});
  ASSERT_EQ(key->QueryInfo(info), winapi::kErrorSuccess);
  EXPECT_EQ(info.subKeyCount, 2u) << "direct subkeys only";
  EXPECT_EQ(info.maxSubKeyLength, 11u);
  EXPECT_EQ(info.valueCount, 3u) << "the unnamed default value counts";
  EXPECT_EQ(info.maxValueNameLength, 12u);
}

// Windows sorts subkeys by their upper-cased names, Wine by their lower-cased
// ones: names of letters and digits only sort the same either way.
TEST_F(RegistryContract, SubkeysEnumerateInNameOrderIgnoringCase) {
  for (const char16_t* name : {u"Zeta", u"alpha", u"Gamma2", u"Beta", u"gamma1", u"10", u"9"})
    Create(root + u"\\Order\\" + name);
  auto key = Open(root + u"\\Order", winapi::kKeyRead);
  ASSERT_NE(key, nullptr);
  EXPECT_EQ(SubKeys(*key), (std::vector<Text>{u"10", u"9", u"alpha", u"Beta", u"gamma1", u"Gamma2", u"Zeta"}));
}

TEST_F(RegistryContract, ValuesEnumerateWithTheUnnamedDefaultValueAsAnEmptyName) {
  auto key = Create(root + u"\\Default");
  ASSERT_NE(key, nullptr);
  RegValue value;
  EXPECT_EQ(key->QueryValue(u"", value), winapi::kErrorFileNotFound) << "a new key has no default value";
  // Written in name order: Windows lists values in the order they were written,
  // Wine in name order, so only this order is the same on both.
  ASSERT_EQ(key->SetValue(u"", winapi::kRegSz, ValueDataFromText(u"C:\\gone.exe")), winapi::kErrorSuccess);
  ASSERT_EQ(key->SetValue(u"Alpha", winapi::kRegSz, ValueDataFromText(u"a")), winapi::kErrorSuccess);
  ASSERT_EQ(key->SetValue(u"beta", winapi::kRegExpandSz, ValueDataFromText(u"b")), winapi::kErrorSuccess);
  EXPECT_EQ(ValueNames(*key), (std::vector<Text>{u"", u"Alpha", u"beta"}));
  ASSERT_EQ(key->QueryValue(u"", value), winapi::kErrorSuccess);
  EXPECT_EQ(value.type, winapi::kRegSz);
  EXPECT_EQ(value.data, ValueDataFromText(u"C:\\gone.exe"));
}

TEST_F(RegistryContract, PathWithALeadingBackslashIsRefusedAndATrailingOneIsIgnored) {
  constexpr uint32_t kErrorBadPathname = 161;
  Create(root + u"\\Slash");
  std::unique_ptr<RegistryKey> key;
  EXPECT_EQ(os.OpenKey(winapi::kHkeyCurrentUser, u"\\" + root + u"\\Slash", winapi::kKeyAllAccess, key), kErrorBadPathname);
  EXPECT_EQ(os.CreateKey(winapi::kHkeyCurrentUser, u"\\" + root + u"\\New", winapi::kKeyAllAccess, key), kErrorBadPathname);
  EXPECT_EQ(key, nullptr);
  EXPECT_EQ(OpenError(root + u"\\New"), winapi::kErrorFileNotFound) << "the refused create made nothing";
  EXPECT_EQ(os.OpenKey(winapi::kHkeyCurrentUser, u"\\", winapi::kKeyAllAccess, key), kErrorBadPathname);
  EXPECT_NE(Open(root + u"\\Slash\\"), nullptr);
}

TEST_F(RegistryContract, UnknownRootIsAnInvalidHandle) {
  std::unique_ptr<RegistryKey> key;
  EXPECT_EQ(os.OpenKey(0x80000099, u"Software", winapi::kKeyRead, key), winapi::kErrorInvalidHandle);
  EXPECT_EQ(os.CreateKey(0x80000099, u"Software", winapi::kKeyAllAccess, key), winapi::kErrorInvalidHandle);
  EXPECT_EQ(key, nullptr);
}

}  // namespace
}  // namespace nb::contract
