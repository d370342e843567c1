// How the Windows layer reads a path: separators, dots and blanks, characters no
// name may hold, share modes. On the simulated machine and on the real API.
#include <gtest/gtest.h>

#include "contract/ContractTest.h"

namespace nb::contract {
namespace {

enum class Names { File, Folder, NoFile, NoPath, BadName };

class PathContract : public FolderContractTest {
 protected:

  void SetUp() override {
    stage->MakeFile(root + u"file.txt", "f");
    stage->MakeFolder(root + u"Dir");
    stage->MakeFile(root + u"Dir\\in.txt", "i");
  }

  Names What(const Text& path) {
    uint32_t attributes = 0;
    const uint32_t error = os.GetFileAttributes(path, attributes);
    if (error == winapi::kErrorSuccess) return (attributes & winapi::kAttrDirectory) ? Names::Folder : Names::File;
    if (error == winapi::kErrorFileNotFound) return Names::NoFile;
    if (error == winapi::kErrorPathNotFound) return Names::NoPath;
    if (error == winapi::kErrorInvalidName) return Names::BadName;
    return Names(100 + error);
  }
};

TEST_F(PathContract, PathsAreNormalisedBeforeTheyAreLookedUp) {
  const struct {
    Text path;
    Names names;
  } cases[] = {
      {u"file.txt.", Names::File},           // trailing dots and blanks go
      {u"file.txt . .", Names::File},
      {u"...", Names::Folder},               // nothing but dots: the folder itself
      {u"Dir.\\in.txt", Names::File},        // a folder name loses one trailing dot
      {u"Dir..\\in.txt", Names::NoPath},     // only one
      {u"Dir \\in.txt", Names::NoPath},      // and no blank
      {u"Dir/in.txt", Names::File},          // "/" separates like "\"
      {u"Dir\\\\in.txt", Names::File},
      {u"Dir\\.\\in.txt", Names::File},
      {u"Dir\\..\\file.txt", Names::File},
      {u"Dir\\.", Names::Folder},
      {u"absent.exe", Names::NoFile},
      {u"absent\\x.exe", Names::NoPath},
      {u"file.txt\\x.exe", Names::NoPath},   // a file is no folder
      {u"file.txt:stream", Names::NoFile},   // a stream the file does not have
  };
  for (const auto& c : cases) EXPECT_EQ(What(root + c.path), c.names) << ToUtf8(c.path);
}

TEST_F(PathContract, WildcardsAndControlCharactersMakeAnInvalidName) {
  for (const Text name : {u"st*r.exe", u"q?.exe", u"a<b.exe", u"a>b.exe", u"quo\"te.exe", u"a|b\\c.exe",
                          u"absent\\a*b.exe", u"a\tb.exe"})
    EXPECT_EQ(What(root + name), Names::BadName) << ToUtf8(name);
  EXPECT_EQ(OpenForReadError(root + u"a*b.txt", winapi::kShareRead), winapi::kErrorInvalidName);
  FindEntry entry;
  EXPECT_EQ(os.FindFirst(root + u"a|b\\*.*", entry), nullptr);
}

TEST_F(PathContract, RelativePathsNameNothingHere) {
  EXPECT_EQ(What(u"nb-no-such-folder\\x.exe"), Names::NoPath);
  EXPECT_EQ(What(u"C:nb-no-such-file.exe"), Names::NoFile);
}

TEST_F(PathContract, EveryOperationNormalisesTheSameWay) {
  FindEntry entry;
  ASSERT_NE(os.FindFirst(root + u"file.txt.", entry), nullptr);
  EXPECT_EQ(entry.name, u"file.txt");
  EXPECT_NE(os.FindFirst(root + u"Dir.\\in.txt ", entry), nullptr);
  std::unique_ptr<OpenFile> file;
  ASSERT_EQ(os.OpenForRead(root + u"Dir/in.txt.", winapi::kShareRead, file), winapi::kErrorSuccess);
  EXPECT_EQ(file->Size(), 1u);
  file.reset();
  ASSERT_TRUE(stage->SetAttributes(root + u"file.txt", winapi::kAttrHidden));
  EXPECT_TRUE(AttributesOf(os, root + u"file.txt. ") & winapi::kAttrHidden);
  ASSERT_NE(os.FindFirst(root + u"file.txt ", entry), nullptr);
  EXPECT_TRUE(entry.attributes & winapi::kAttrHidden);
}

TEST_F(PathContract, ATrailingBackslashOnAFileNamesNoFile) {
  EXPECT_EQ(OpenForReadError(root + u"file.txt\\", winapi::kShareRead), winapi::kErrorInvalidName);
  EXPECT_FALSE(FileExists(os, root + u"file.txt\\"));
  EXPECT_TRUE(FileExists(os, root + u"file.txt"));
  FindEntry entry;
  EXPECT_EQ(os.FindFirst(root + u"Dir\\", entry), nullptr) << "a pattern needs a name after the last backslash";
}

TEST_F(PathContract, OpeningBesideAnotherHandleDependsOnBothShareModes) {
  // The other handle reads and writes; ours only reads.
  constexpr uint32_t R = winapi::kShareRead, W = winapi::kShareWrite, D = winapi::kShareDelete;
  const struct {
    uint32_t held, ours;
    bool opens;
  } cases[] = {
      {0, R | W | D, false},     {R, R, false},         {R, R | W, true},      {R | W, R, false},
      {R | W, R | W, true},      {W, R | W | D, false}, {D, R | W | D, false}, {R | D, R | W, true},
      {R | W | D, R | W, true},  {R | W | D, R, false},
  };
  const Text path = root + u"shared.dat";
  stage->MakeFile(path, "s");
  for (const auto& c : cases) {
    if (!stage->HoldOpen(path, c.held)) NB_STAGE_CANNOT("hold a file open");
    std::unique_ptr<OpenFile> file;
    const uint32_t error = os.OpenForRead(path, c.ours, file);
    EXPECT_EQ(file != nullptr, c.opens) << "held " << c.held << ", ours " << c.ours;
    EXPECT_EQ(error, c.opens ? winapi::kErrorSuccess : winapi::kErrorSharingViolation) << "held " << c.held << ", ours " << c.ours;
    file.reset();
    stage->ReleaseLock();
  }
}

TEST_F(PathContract, NoDotEntriesInADriveRootButInEveryOtherFolder) {
  const auto dots = [&](const Text& pattern) {
    int count = 0;
    FindEntry entry;
    auto listing = os.FindFirst(pattern, entry);
    if (!listing) return count;
    do count += entry.name == u"." || entry.name == u"..";
    while (listing->Next(entry));
    return count;
  };
  EXPECT_EQ(dots(u"C:\\*.*"), 0);
  EXPECT_EQ(dots(root + u"Dir\\*.*"), 2);
  EXPECT_EQ(dots(root + u"Dir\\*.txt"), 0);
}

}  // namespace
}  // namespace nb::contract
