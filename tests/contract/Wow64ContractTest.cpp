// What only a 32-bit process on 64-bit Windows sees, as the program that ships
// runs: the (x86) program-files folder and variables, a System32 that is
// SysWOW64 until redirection is switched off, and a machine SOFTWARE key whose
// default view is Wow6432Node. On the simulated machine made such a process,
// and on the real API in the 32-bit test build (under Wine's WoW64); the
// 64-bit test build skips these cases.
#include <gtest/gtest.h>

#include <algorithm>

#include "platform/RegistryText.h"
#include "catalogue/DiscoverLocations.h"
#include "contract/ContractTest.h"
#include "registry/FileExistence.h"
#include "registry/RegistryWalk.h"
#include "registry/ValueReference.h"
#include "support/HostedRun.h"

namespace nb::contract {
namespace {

constexpr uint32_t kHklm = winapi::kHkeyLocalMachine;
const Text kNative = u"C:\\Program Files";
const Text kX86 = u"C:\\Program Files (x86)";

class Wow64Contract : public ContractTest {
 protected:
  void SetUp() override {
    if (!stage->BecomeWow64Process())
      GTEST_SKIP() << "a 64-bit process: these cases are the 32-bit build's (a 32-bit process on 64-bit Windows)";
    DiscoverLocations(os, loc);
  }

  // The findings of a walk of `keyPath` below HKEY_LOCAL_MACHINE.
  std::vector<Text> WalkMachineKey(const Text& keyPath) {
    test::HostedRun walk(os);
    walk.state.Running = true;
    walk.state.Loc = loc;
    WalkRegistryKey(walk.run, kHklm, keyPath);
    return walk.Entries();
  }

  Locations loc;
};

TEST_F(Wow64Contract, ProgramFilesFolderIsTheX86OneBesideTheNativeOne) {
  const auto programFiles = os.GetSpecialFolder(winapi::kCsidlProgramFiles);
  ASSERT_TRUE(programFiles.has_value());
  EXPECT_EQ(*programFiles, kX86);
  EXPECT_TRUE(FolderExists(os, kX86));
  EXPECT_TRUE(FolderExists(os, kNative));
  EXPECT_EQ(loc.ProgramFilesFolder, kX86 + u"\\");
  EXPECT_TRUE(loc.Wow64Process) << "the program knows it runs on 64-bit Windows";
}

// The environment names the 32-bit folders; the program resolves the
// variables of registry texts to fixed folders instead, those that the
// 64-bit programs which wrote most such texts meant.
TEST_F(Wow64Contract, ProgramFilesVariablesNameThe32BitFoldersAndTheProgramResolvesThemToFixedOnes) {
  const Text common = u"\\Common Files";
  const struct {
    Text variable;
    Text inThisProcess;
    Text fixed;
  } cases[] = {
      {u"ProgramFiles", kX86, kNative},
      {u"ProgramFiles(x86)", kX86, kX86},
      {u"ProgramW6432", kNative, kNative},
      {u"CommonProgramFiles", kX86 + common, kNative + common},
      {u"CommonProgramFiles(x86)", kX86 + common, kX86 + common},
      {u"CommonProgramW6432", kNative + common, kNative + common},
  };
  for (const auto& c : cases) {
    const std::string what = ToUtf8(c.variable);
    EXPECT_EQ(os.GetEnvironmentVariable(c.variable), c.inThisProcess) << what;
    const Text text = u"%" + c.variable + u"%\\Vendor\\tool.exe";
    EXPECT_EQ(os.ExpandEnvironmentStrings(text, kExpansionBufferChars), c.inThisProcess + u"\\Vendor\\tool.exe")
        << what;
    EXPECT_EQ(ExpandProgramFolders(os, loc, text), c.fixed + u"\\Vendor\\tool.exe") << what;
  }
}

TEST_F(Wow64Contract, AFileOfTheNativeSystemFolderIsFoundOnlyWithRedirectionOff) {
  const Text path = stage->MakeSystemFile(true);
  if (path.empty()) NB_STAGE_CANNOT("write to the system folder");
  const Text name = path.substr(path.rfind(u'\\') + 1);
  uint32_t attributes = 0;
  EXPECT_EQ(os.GetFileAttributes(path, attributes), winapi::kErrorFileNotFound) << "System32 is SysWOW64 here";
  ASSERT_TRUE(os.DisableWow64Redirection());
  EXPECT_TRUE(FileExists(os, path));
  ASSERT_TRUE(os.EnableWow64Redirection());
  EXPECT_FALSE(FileExists(os, path)) << "redirection is on again";

  TurnWow64RedirectionOff(os, loc);
  EXPECT_TRUE(FileExists(os, path));
  TurnWow64RedirectionOn(os, loc);
  EXPECT_FALSE(FileExists(os, path));

  EXPECT_TRUE(ExistsNativelyOrOnSearchPath(os, loc, path));
  EXPECT_TRUE(ExistsNativelyOrOnSearchPath(os, loc, u"C:\\NightBroomContract\\" + name)) << "by its name in the system folder";
  EXPECT_FALSE(FileExists(os, path)) << "ExistsNativelyOrOnSearchPath switches redirection back on";
  Locations sixtyFourBitFlagClear = loc;
  sixtyFourBitFlagClear.Wow64Process = false;
  EXPECT_FALSE(ExistsNativelyOrOnSearchPath(os, sixtyFourBitFlagClear, path)) << "the switch acts only on 64-bit Windows";
}

TEST_F(Wow64Contract, AFileOfThe32BitSystemFolderIsSeenInSystem32ButNotByTheNativeSearch) {
  const Text path = stage->MakeSystemFile(false);
  if (path.empty()) NB_STAGE_CANNOT("write to the system folder");
  EXPECT_TRUE(FileExists(os, path));
  EXPECT_TRUE(IsExistingFile(os, path));
  EXPECT_FALSE(ExistsNativelyOrOnSearchPath(os, loc, path)) << "the native System32 holds no such file";
  EXPECT_TRUE(FileExists(os, path)) << "redirection is on again";
}

// HKEY_LOCAL_MACHINE\SOFTWARE has two views: this process's own (the 32-bit
// one, Wow6432Node) and the native one, which KEY_WOW64_64KEY reaches and
// where the 32-bit view is the subkey Wow6432Node. HKEY_CURRENT_USER\Software
// is one key in both.
TEST_F(Wow64Contract, DefaultViewOfMachineSoftwareIsWow6432NodeAndTheSixtyFourBitViewTheNativeKey) {
  const Text name = stage->MachineKeyName();
  if (name.empty()) NB_STAGE_CANNOT("write below HKEY_LOCAL_MACHINE\\SOFTWARE");
  const Text key = u"SOFTWARE\\" + name;
  const Text node = u"SOFTWARE\\Wow6432Node\\" + name;
  WriteRegText(os, kHklm, key, u"Where", u"32-bit view");
  EXPECT_EQ(ReadRegText(os, kHklm, key, u"Where", winapi::kKeyWow64_64Key), u"") << "no native key yet";
  WriteRegText(os, kHklm, key, u"Where", u"native", winapi::kKeyWow64_64Key);

  const struct {
    Text path;
    uint32_t view;
    Text where;
  } reads[] = {
      {key, 0, u"32-bit view"},
      {key, winapi::kKeyWow64_32Key, u"32-bit view"},
      {node, 0, u"32-bit view"},
      {node, winapi::kKeyWow64_64Key, u"32-bit view"},
      {key, winapi::kKeyWow64_64Key, u"native"},
  };
  for (const auto& r : reads) EXPECT_EQ(ReadRegText(os, kHklm, r.path, u"Where", r.view), r.where) << ToUtf8(r.path);

  std::unique_ptr<RegistryKey> software;
  ASSERT_EQ(os.OpenKey(kHklm, u"SOFTWARE", winapi::kKeyRead | winapi::kKeyWow64_64Key, software), winapi::kErrorSuccess);
  RegKeyInfo info;
  ASSERT_EQ(software->QueryInfo(info), winapi::kErrorSuccess);
  std::vector<Text> subkeys(info.subKeyCount);
  for (uint32_t i = 0; i < info.subKeyCount; ++i) EXPECT_EQ(software->EnumKey(i, subkeys[i]), winapi::kErrorSuccess);
  const auto isNode = [](const Text& subkey) { return EqualsIgnoreAsciiCase(subkey, u"Wow6432Node"); };
  EXPECT_TRUE(std::any_of(subkeys.begin(), subkeys.end(), isNode)) << "the native key lists the 32-bit view";

  // Deleting through the path the native view shows removes the 32-bit value alone.
  EXPECT_TRUE(DeleteRegValue(os, kHklm, node, u"Where", winapi::kKeyWow64_64Key));
  EXPECT_EQ(ReadRegText(os, kHklm, key, u"Where"), u"");
  EXPECT_EQ(ReadRegText(os, kHklm, key, u"Where", winapi::kKeyWow64_64Key), u"native");

  for (const uint32_t view : {winapi::kKeyWow64_32Key, winapi::kKeyWow64_64Key}) {
    std::unique_ptr<RegistryKey> user;
    EXPECT_EQ(os.OpenKey(winapi::kHkeyCurrentUser, stage->Key(), winapi::kKeyRead | view, user), winapi::kErrorSuccess)
        << "HKEY_CURRENT_USER\\Software is shared, view " << view;
  }
}

// The walk of HKEY_LOCAL_MACHINE reads the native view whatever the process's
// own: a key of the 32-bit view is found below Wow6432Node, and a value
// naming a file that only the native System32 holds is not stale.
TEST_F(Wow64Contract, RegistryWalkReadsTheNativeViewAndSearchesTheNativeSystemFolder) {
  const Text name = stage->MachineKeyName();
  if (name.empty()) NB_STAGE_CANNOT("write below HKEY_LOCAL_MACHINE\\SOFTWARE");
  const Text nativeFile = stage->MakeSystemFile(true);
  if (nativeFile.empty()) NB_STAGE_CANNOT("write to the system folder");
  const Text elsewhere = u"C:\\NightBroomContract\\" + nativeFile.substr(nativeFile.rfind(u'\\') + 1);
  const Text key = u"SOFTWARE\\" + name;
  WriteRegText(os, kHklm, key, u"Gone", u"C:\\NightBroomContract\\gone32.exe");
  WriteRegText(os, kHklm, key, u"InSystem32", elsewhere);
  WriteRegText(os, kHklm, key, u"Gone", u"C:\\NightBroomContract\\gone64.exe", winapi::kKeyWow64_64Key);
  WriteRegText(os, kHklm, key, u"InSystem32", elsewhere, winapi::kKeyWow64_64Key);

  EXPECT_EQ(WalkMachineKey(u"\\" + key), std::vector<Text>{u"16#HKLM\\" + key + u"=Gone#32 b"});
  EXPECT_EQ(WalkMachineKey(u"\\SOFTWARE\\Wow6432Node\\" + name),
            std::vector<Text>{u"16#HKLM\\SOFTWARE\\Wow6432Node\\" + name + u"=Gone#32 b"});
}

}  // namespace
}  // namespace nb::contract
