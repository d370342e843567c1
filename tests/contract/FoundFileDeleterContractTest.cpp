// Deleting found files exactly where Analyze found them, on the simulated
// machine and on the real API: protected files go, a file held open without
// delete sharing stays as it was, a link that was there at Analyze is followed
// as it was, and the other names of a deleted file keep their attributes.
// Folders swapped after Analyze: DeletePurgeContractTest.cpp.
#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "contract/ContractTest.h"
#include "delete/FoundFileDeleter.h"

namespace nb::contract {
namespace {

class FoundFileDeleterContract : public FolderContractTest {
 protected:
  ScanRoots folders;
};

TEST_F(FoundFileDeleterContract, FilesGoWhateverTheirAttributesAndNothingElseIsTouched) {
  constexpr uint32_t ro = winapi::kAttrReadOnly, hidden = winapi::kAttrHidden, sys = winapi::kAttrSystem;
  stage->MakeFolder(root + u"Cleaned");
  stage->MakeFolder(root + u"Cleaned\\deep");
  stage->MakeFolder(root + u"Cleaned\\deep\\deeper");
  const uint32_t scanRoot = folders.Record(os, root + u"Cleaned\\");
  FoundFileDeleter files(os, folders);
  struct Case {
    const char16_t* name;
    uint32_t attributes;
  };
  for (const Case& c : {Case{u"plain.tmp", winapi::kAttrArchive}, Case{u"deep\\readonly hidden.tmp", ro | hidden},
                        Case{u"deep\\deeper\\protected.log", ro | hidden | sys}, Case{u"none.tmp", winapi::kAttrNormal},
                        Case{u"deep\\again.tmp", ro}}) {
    const Text path = root + u"Cleaned\\" + c.name;
    stage->MakeFile(path, "data", c.attributes);
    EXPECT_EQ(files.Delete(path, scanRoot), DeleteOutcome::Deleted) << ToUtf8(c.name);
    EXPECT_EQ(AttributesOf(os, path), winapi::kInvalidAttributes) << ToUtf8(c.name);
  }
  EXPECT_EQ(files.Delete(root + u"Cleaned\\never there.tmp", scanRoot), DeleteOutcome::Missing);
  EXPECT_EQ(files.Delete(root + u"Cleaned\\no folder\\x.tmp", scanRoot), DeleteOutcome::Missing);

  stage->MakeFolder(root + u"Cleaned\\folder.tmp");
  ASSERT_TRUE(stage->SetAttributes(root + u"Cleaned\\folder.tmp", winapi::kAttrHidden));
  const uint32_t folderBefore = AttributesOf(os, root + u"Cleaned\\folder.tmp");
  EXPECT_EQ(files.Delete(root + u"Cleaned\\folder.tmp", scanRoot), DeleteOutcome::Kept);
  EXPECT_EQ(AttributesOf(os, root + u"Cleaned\\folder.tmp"), folderBefore);
}

TEST_F(FoundFileDeleterContract, AFileHeldOpenWithoutDeleteSharingStaysWithItsAttributes) {
  const uint32_t scratch = folders.Record(os, root);
  FoundFileDeleter files(os, folders);
  const Text held = root + u"held.log";
  stage->MakeFile(held, "h", winapi::kAttrReadOnly | winapi::kAttrHidden);
  const uint32_t before = AttributesOf(os, held);
  if (!stage->HoldOpen(held, winapi::kShareRead | winapi::kShareWrite)) NB_STAGE_CANNOT("hold a file open");
  EXPECT_EQ(files.Delete(held, scratch), DeleteOutcome::Kept);
  stage->ReleaseLock();
  EXPECT_EQ(AttributesOf(os, held), before);

  // Held open by one that shares delete: where the file system takes a name
  // at once (Windows, the simulated machine) the file goes; where it takes
  // names only at the last close (Wine), the file stays as it was rather
  // than go at that program's whim.
  const Text shared = root + u"shared.log";
  stage->MakeFile(shared, "s", winapi::kAttrHidden);
  const uint32_t sharedBefore = AttributesOf(os, shared);
  ASSERT_TRUE(stage->HoldOpen(shared, winapi::kShareRead | winapi::kShareWrite | winapi::kShareDelete));
  const DeleteOutcome outcome = files.Delete(shared, scratch);
  EXPECT_TRUE(outcome == DeleteOutcome::Deleted || outcome == DeleteOutcome::Kept);
  EXPECT_EQ(outcome == DeleteOutcome::Deleted, (AttributesOf(os, shared) == winapi::kInvalidAttributes));
  stage->ReleaseLock();
  if (outcome == DeleteOutcome::Kept) {
    EXPECT_EQ(AttributesOf(os, shared), sharedBefore);
  } else {
    EXPECT_EQ(AttributesOf(os, shared), winapi::kInvalidAttributes);
  }
}

TEST_F(FoundFileDeleterContract, LinksThatWereThereAtAnalyzeAreFollowed) {
  // A temp folder moved elsewhere, a link left in its place.
  stage->MakeFolder(root + u"Moved");
  stage->MakeFolder(root + u"Moved\\sub");
  stage->MakeFile(root + u"Moved\\a.tmp", "a", winapi::kAttrReadOnly);
  stage->MakeFile(root + u"Moved\\sub\\b.tmp", "b");
  if (!stage->MakeFolderLink(root + u"Temp", root + u"Moved")) NB_STAGE_CANNOT("make a folder link");
  const uint32_t scanRoot = folders.Record(os, root + u"Temp\\");
  FoundFileDeleter files(os, folders);
  EXPECT_EQ(files.Delete(root + u"Temp\\a.tmp", scanRoot), DeleteOutcome::Deleted);
  EXPECT_EQ(files.Delete(root + u"Temp\\sub\\b.tmp", scanRoot), DeleteOutcome::Deleted);
  EXPECT_EQ(AttributesOf(os, root + u"Moved\\a.tmp"), winapi::kInvalidAttributes);
  EXPECT_EQ(AttributesOf(os, root + u"Moved\\sub\\b.tmp"), winapi::kInvalidAttributes);

  // Without a record of the folder, nothing reached through a link goes.
  stage->MakeFile(root + u"Moved\\c.tmp", "c");
  ScanRoots none;
  FoundFileDeleter unrecorded(os, none);
  EXPECT_EQ(unrecorded.Delete(root + u"Temp\\c.tmp", kNoScanRoot), DeleteOutcome::Redirected);
  EXPECT_EQ(Contents(root + u"Moved\\c.tmp"), "c");
}

TEST_F(FoundFileDeleterContract, AFileLinkGoesAsItsOwnNameAndWhatItNamesStays) {
  stage->MakeFolder(root + u"Documents");
  stage->MakeFile(root + u"Documents\\letter.txt", "dear", winapi::kAttrReadOnly);
  const uint32_t before = AttributesOf(os, root + u"Documents\\letter.txt");
  stage->MakeFolder(root + u"Temp");
  const uint32_t scanRoot = folders.Record(os, root + u"Temp\\");
  FoundFileDeleter files(os, folders);
  if (!stage->MakeFileLink(root + u"Temp\\letter.tmp", root + u"Documents\\letter.txt"))
    NB_STAGE_CANNOT("make a file link");
  // Windows deletes the link itself; Wine can only open what it points at, and leaves it.
  const DeleteOutcome outcome = files.Delete(root + u"Temp\\letter.tmp", scanRoot);
  EXPECT_TRUE(outcome == DeleteOutcome::Deleted || outcome == DeleteOutcome::Redirected);
  EXPECT_EQ(Contents(root + u"Documents\\letter.txt"), "dear");
  EXPECT_EQ(AttributesOf(os, root + u"Documents\\letter.txt"), before);
}

// A file of one, two or three names, read-only alone or with hidden and
// system, deleted through one name, or refused while another program holds
// it without delete sharing. The names share one set of attributes.
using NamesCase = std::tuple<int, uint32_t, bool>;  // names, attributes, held

class FileNamesContract : public FoundFileDeleterContract, public testing::WithParamInterface<NamesCase> {};

TEST_P(FileNamesContract, TheOtherNamesAndAKeptFileKeepTheirAttributes) {
  const auto [names, attributes, held] = GetParam();
  stage->MakeFolder(root + u"Temp");
  stage->MakeFolder(root + u"Documents");
  const Text finding = root + u"Temp\\finding.tmp";
  stage->MakeFile(finding, "one file");
  std::vector<Text> others;
  for (int i = 1; i < names; ++i) {
    others.push_back(root + u"Documents\\name" + NumberText(i) + u".txt");
    if (!stage->MakeHardLink(others.back(), finding)) NB_STAGE_CANNOT("give a file a second name");
  }
  ASSERT_TRUE(stage->SetAttributes(finding, attributes));
  const uint32_t before = AttributesOf(os, finding);
  ASSERT_EQ(before & attributes, attributes);
  const uint32_t scanRoot = folders.Record(os, root + u"Temp\\");
  FoundFileDeleter files(os, folders);
  if (held && !stage->HoldOpen(finding, winapi::kShareRead | winapi::kShareWrite))
    NB_STAGE_CANNOT("hold a file open");

  EXPECT_EQ(files.Delete(finding, scanRoot), held ? DeleteOutcome::Kept : DeleteOutcome::Deleted);
  stage->ReleaseLock();
  if (held) {
    EXPECT_EQ(AttributesOf(os, finding), before);
    EXPECT_EQ(Contents(finding), "one file");
  } else {
    EXPECT_EQ(AttributesOf(os, finding), winapi::kInvalidAttributes);
  }
  for (const Text& other : others) {
    EXPECT_EQ(AttributesOf(os, other), before) << ToUtf8(other);
    EXPECT_EQ(Contents(other), "one file") << ToUtf8(other);
  }
}

std::string NamesCaseName(const testing::TestParamInfo<NamesCase>& info) {
  const auto [names, attributes, held] = info.param;
  return std::to_string(names) + (names == 1 ? "Name" : "Names") +
         (attributes == winapi::kAttrReadOnly ? "ReadOnly" : "ReadOnlyHiddenSystem") + (held ? "Held" : "Free");
}

INSTANTIATE_TEST_SUITE_P(
    Deletion, FileNamesContract,
    testing::Combine(testing::Values(1, 2, 3),
                     testing::Values(winapi::kAttrReadOnly, winapi::kAttrReadOnly | winapi::kAttrHidden | winapi::kAttrSystem),
                     testing::Bool()),
    NamesCaseName);

}  // namespace
}  // namespace nb::contract
