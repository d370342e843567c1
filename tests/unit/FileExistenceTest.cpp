// The disk tests of the registry cleaner: the file test, the WOW64 switch and
// the search through SearchFolders with redirection off.
#include <gtest/gtest.h>

#include <map>

#include "registry/FileExistence.h"
#include "support/SimRun.h"

namespace nb {
namespace {

// A machine whose attribute query fails with a chosen error for chosen paths,
// as it does for pagefile.sys (sharing violation) or in a folder the user may
// list but not open (access denied).
class AttributeErrorPlatform : public sim::SimPlatform {
 public:
  using SimPlatform::SimPlatform;
  uint32_t GetFileAttributes(const Text& path, uint32_t& attributes) override {
    ++attributeQueries;
    const auto it = errors.find(path);
    if (it == errors.end()) return SimPlatform::GetFileAttributes(path, attributes);
    attributes = winapi::kInvalidAttributes;
    return it->second;
  }
  std::map<Text, uint32_t> errors;
  int attributeQueries = 0;
};

class FileExistenceTest : public testing::Test, protected test::SimMachineWith<AttributeErrorPlatform> {
 protected:
  FileExistenceTest() { machine.SetUpStandardUser(); }
  Locations loc;
};

TEST_F(FileExistenceTest, PassesForFilesAndLinksThatOpen) {
  machine.AddFile(u"C:\\Data\\plain.txt");
  machine.AddFolder(u"C:\\Data\\Folder");
  machine.AddFile(u"C:\\Data\\target.dll");
  machine.AddFileLink(u"C:\\Data\\link.dll", u"C:\\Data\\target.dll");
  machine.AddFileLink(u"C:\\Data\\dangling.dll", u"C:\\Data\\gone.dll");
  machine.AddFile(u"C:\\Data\\busy.dll").lock = sim::ForeignLock{0};
  machine.AddFileLink(u"C:\\Data\\busylink.dll", u"C:\\Data\\busy.dll");
  machine.AddFolderLink(u"C:\\Data\\Junction", u"C:\\Data\\Folder");

  const struct {
    const char16_t* path;
    bool passes;
  } cases[] = {
      {u"C:\\Data\\plain.txt", true},
      {u"c:\\DATA\\PLAIN.TXT", true},
      {u"C:\\Data\\Folder", false},
      {u"C:\\Data\\missing.txt", false},
      {u"C:\\Nowhere\\missing.txt", false},
      {u"C:\\Data\\link.dll", true},
      {u"C:\\Data\\dangling.dll", false},
      // Held open by another process without sharing: the open fails with a sharing violation.
      {u"C:\\Data\\busylink.dll", true},
      {u"C:\\Data\\Junction", false},
      {u"not a path", false},
  };
  for (const auto& c : cases) EXPECT_EQ(IsExistingFile(os, c.path), c.passes) << ToUtf8(c.path);
}

TEST_F(FileExistenceTest, AnUnusualAttributeErrorLetsTheListingDecide) {
  machine.AddFile(u"C:\\Locked\\file.exe");
  machine.AddFolder(u"C:\\Locked\\Sub");
  const struct {
    uint32_t error;
    const char16_t* path;
    bool passes;
  } cases[] = {
      {winapi::kErrorAccessDenied, u"C:\\Locked\\file.exe", true},
      {winapi::kErrorSharingViolation, u"C:\\Locked\\file.exe", true},
      {winapi::kErrorAccessDenied, u"C:\\Locked\\Sub", false},
      {winapi::kErrorAccessDenied, u"C:\\Locked\\absent.exe", false},
      // The usual "not there" errors are final, even when a listing would find the file.
      {winapi::kErrorFileNotFound, u"C:\\Locked\\file.exe", false},
      {winapi::kErrorPathNotFound, u"C:\\Locked\\file.exe", false},
      {winapi::kErrorInvalidName, u"C:\\Locked\\file.exe", false},
  };
  for (const auto& c : cases) {
    os.errors = {{c.path, c.error}};
    EXPECT_EQ(IsExistingFile(os, c.path), c.passes) << ToUtf8(c.path) << " error " << c.error;
  }
}

TEST_F(FileExistenceTest, RedirectionIsSwitchedOnlyOnSixtyFourBitWindows) {
  loc.Wow64Process = false;
  TurnWow64RedirectionOff(os, loc);
  EXPECT_FALSE(machine.redirectionDisabled);

  loc.Wow64Process = true;
  TurnWow64RedirectionOff(os, loc);
  EXPECT_TRUE(machine.redirectionDisabled);
  TurnWow64RedirectionOn(os, loc);
  EXPECT_FALSE(machine.redirectionDisabled);

  // Without the entry points nothing happens and nothing fails.
  machine.wow64EntryPointsPresent = false;
  TurnWow64RedirectionOff(os, loc);
  EXPECT_FALSE(machine.redirectionDisabled);
}

TEST_F(FileExistenceTest, ExistsNativelyOrOnSearchPathLooksPastRedirectionAndThroughTheSearchFolders) {
  machine.wow64Process = true;
  loc.Wow64Process = true;
  machine.AddFolder(u"C:\\Windows\\SysWOW64");
  machine.AddFile(u"C:\\Windows\\System32\\native.exe");
  machine.AddFile(u"C:\\Tools\\tool.exe");
  loc.SearchFolders = {u"C:\\Bin\\", u"C:\\Windows\\System32\\", u"C:\\Tools\\"};

  // The redirected view of a 32-bit process does not hold the file.
  EXPECT_FALSE(IsExistingFile(os, u"C:\\Windows\\System32\\native.exe"));

  const struct {
    const char16_t* path;
    bool found;
  } cases[] = {
      {u"C:\\Windows\\System32\\native.exe", true},
      {u"D:\\Old\\native.exe", true},  // by name in System32, seen without redirection
      {u"D:\\Old\\tool.exe", true},
      {u"D:\\Old\\stream:tool.exe", true},  // the name starts after the last "\" or ":"
      {u"tool.exe", true},                  // no "\": the whole text is the name
      {u"C:tool.exe", false},
      {u"D:\\Old\\gone.exe", false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ExistsNativelyOrOnSearchPath(os, loc, c.path), c.found) << ToUtf8(c.path);
    EXPECT_FALSE(machine.redirectionDisabled) << "switched back on after " << ToUtf8(c.path);
  }
}

TEST_F(FileExistenceTest, ExistsNativelyOrOnSearchPathStopsAtTheFirstSearchFolderThatHoldsTheName) {
  machine.AddFile(u"C:\\A\\app.exe");
  loc.SearchFolders = {u"C:\\A\\", u"C:\\B\\", u"C:\\C\\"};
  os.attributeQueries = 0;
  EXPECT_TRUE(ExistsNativelyOrOnSearchPath(os, loc, u"D:\\Old\\app.exe"));
  EXPECT_EQ(os.attributeQueries, 2) << "the path itself, then C:\\A\\app.exe";
}

}  // namespace
}  // namespace nb
