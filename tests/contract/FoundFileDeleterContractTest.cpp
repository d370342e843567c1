// Deleting found files exactly where Analyze found them, on the simulated
// machine and on the real API: protected files go, a file held open without
// delete sharing stays as it was, a link that was there at Analyze is followed
// as it was, and a folder swapped for a link since then does not steer the
// deletion to the file of the same name behind it.
#include <gtest/gtest.h>

#include "contract/ContractTest.h"
#include "delete/FoundFileDeleter.h"

namespace nb::contract {
namespace {

class FoundFileDeleterContract : public FolderContractTest {
 protected:
  FoundFolders folders;

  std::string Contents(const Text& path) {
    uint32_t error = 0;
    auto file = os.OpenForRead(path, win::kShareRead, error);
    std::string bytes;
    if (file) file->Read(bytes, 100);
    return bytes;
  }

  // A folder and the files in it removed, as another process would.
  void RemoveFolder(const Text& folder, std::initializer_list<const char16_t*> files) {
    for (const char16_t* name : files) {
      stage->SetAttributes(folder + u"\\" + name, win::kAttrArchive);
      stage->RemoveFile(folder + u"\\" + name);
    }
    ASSERT_TRUE(stage->RemoveEmptyFolder(folder)) << ToUtf8(folder);
  }
};

TEST_F(FoundFileDeleterContract, FilesGoWhateverTheirAttributesAndNothingElseIsTouched) {
  constexpr uint32_t ro = win::kAttrReadOnly, hidden = win::kAttrHidden, sys = win::kAttrSystem;
  stage->MakeFolder(root + u"Cleaned");
  stage->MakeFolder(root + u"Cleaned\\deep");
  stage->MakeFolder(root + u"Cleaned\\deep\\deeper");
  folders.Record(os, root + u"Cleaned\\");
  FoundFileDeleter files(os, folders);
  struct Case {
    const char16_t* name;
    uint32_t attributes;
  };
  for (const Case& c : {Case{u"plain.tmp", win::kAttrArchive}, Case{u"deep\\readonly hidden.tmp", ro | hidden},
                        Case{u"deep\\deeper\\protected.log", ro | hidden | sys}, Case{u"none.tmp", win::kAttrNormal},
                        Case{u"deep\\again.tmp", ro}}) {
    const Text path = root + u"Cleaned\\" + c.name;
    stage->MakeFile(path, "data", c.attributes);
    EXPECT_EQ(files.Delete(path), DeleteOutcome::Deleted) << ToUtf8(c.name);
    EXPECT_FALSE(os.GetFileAttributes(path).Ok()) << ToUtf8(c.name);
  }
  EXPECT_EQ(files.Delete(root + u"Cleaned\\never there.tmp"), DeleteOutcome::Missing);
  EXPECT_EQ(files.Delete(root + u"Cleaned\\no folder\\x.tmp"), DeleteOutcome::Missing);

  stage->MakeFolder(root + u"Cleaned\\folder.tmp");
  ASSERT_TRUE(stage->SetAttributes(root + u"Cleaned\\folder.tmp", win::kAttrHidden));
  const uint32_t folderBefore = os.GetFileAttributes(root + u"Cleaned\\folder.tmp").attributes;
  EXPECT_EQ(files.Delete(root + u"Cleaned\\folder.tmp"), DeleteOutcome::Kept);
  EXPECT_EQ(os.GetFileAttributes(root + u"Cleaned\\folder.tmp").attributes, folderBefore);
}

TEST_F(FoundFileDeleterContract, AFileHeldOpenWithoutDeleteSharingStaysWithItsAttributes) {
  folders.Record(os, root);
  FoundFileDeleter files(os, folders);
  const Text held = root + u"held.log";
  stage->MakeFile(held, "h", win::kAttrReadOnly | win::kAttrHidden);
  const uint32_t before = os.GetFileAttributes(held).attributes;
  if (!stage->HoldOpen(held, win::kShareRead | win::kShareWrite)) GTEST_SKIP() << "stage cannot hold a file open";
  EXPECT_EQ(files.Delete(held), DeleteOutcome::Kept);
  stage->ReleaseLock();
  EXPECT_EQ(os.GetFileAttributes(held).attributes, before);

  // Held open by one that shares delete: it goes.
  const Text shared = root + u"shared.log";
  stage->MakeFile(shared, "s", win::kAttrHidden);
  ASSERT_TRUE(stage->HoldOpen(shared, win::kShareRead | win::kShareWrite | win::kShareDelete));
  EXPECT_EQ(files.Delete(shared), DeleteOutcome::Deleted);
  stage->ReleaseLock();
  EXPECT_FALSE(os.GetFileAttributes(shared).Ok());
}

TEST_F(FoundFileDeleterContract, LinksThatWereThereAtAnalyzeAreFollowed) {
  // A temp folder moved elsewhere, a link left in its place.
  stage->MakeFolder(root + u"Moved");
  stage->MakeFolder(root + u"Moved\\sub");
  stage->MakeFile(root + u"Moved\\a.tmp", "a", win::kAttrReadOnly);
  stage->MakeFile(root + u"Moved\\sub\\b.tmp", "b");
  if (!stage->MakeFolderLink(root + u"Temp", root + u"Moved")) GTEST_SKIP() << "stage cannot make a folder link";
  folders.Record(os, root + u"Temp\\");
  FoundFileDeleter files(os, folders);
  EXPECT_EQ(files.Delete(root + u"Temp\\a.tmp"), DeleteOutcome::Deleted);
  EXPECT_EQ(files.Delete(root + u"Temp\\sub\\b.tmp"), DeleteOutcome::Deleted);
  EXPECT_FALSE(os.GetFileAttributes(root + u"Moved\\a.tmp").Ok());
  EXPECT_FALSE(os.GetFileAttributes(root + u"Moved\\sub\\b.tmp").Ok());

  // Without a record of the folder, nothing reached through a link goes.
  stage->MakeFile(root + u"Moved\\c.tmp", "c");
  FoundFolders none;
  FoundFileDeleter unrecorded(os, none);
  EXPECT_EQ(unrecorded.Delete(root + u"Temp\\c.tmp"), DeleteOutcome::Redirected);
  EXPECT_EQ(Contents(root + u"Moved\\c.tmp"), "c");
}

TEST_F(FoundFileDeleterContract, AFolderSwappedForALinkAfterAnalyzeDoesNotRedirectTheDeletion) {
  stage->MakeFolder(root + u"Elsewhere");
  stage->MakeFile(root + u"Elsewhere\\victim.tmp", "keep me", win::kAttrReadOnly);
  stage->MakeFile(root + u"Elsewhere\\root.tmp", "keep me too");
  // Wine adds the archive mark to every file it lists: compare with what was there.
  const uint32_t before = os.GetFileAttributes(root + u"Elsewhere\\victim.tmp").attributes;
  stage->MakeFolder(root + u"Cleaned");
  stage->MakeFolder(root + u"Cleaned\\inner");
  stage->MakeFile(root + u"Cleaned\\inner\\victim.tmp", "junk");
  folders.Record(os, root + u"Cleaned\\");

  // A folder below the root, then the root itself, becomes a link.
  RemoveFolder(root + u"Cleaned\\inner", {u"victim.tmp"});
  if (!stage->MakeFolderLink(root + u"Cleaned\\inner", root + u"Elsewhere"))
    GTEST_SKIP() << "stage cannot make a folder link";
  ASSERT_TRUE(os.GetFileAttributes(root + u"Cleaned\\inner\\victim.tmp").Ok());
  {
    FoundFileDeleter files(os, folders);
    EXPECT_EQ(files.Delete(root + u"Cleaned\\inner\\victim.tmp"), DeleteOutcome::Redirected);
  }
  ASSERT_TRUE(stage->RemoveFolderLink(root + u"Cleaned\\inner"));
  RemoveFolder(root + u"Cleaned", {});
  ASSERT_TRUE(stage->MakeFolderLink(root + u"Cleaned", root + u"Elsewhere"));
  {
    FoundFileDeleter files(os, folders);
    EXPECT_EQ(files.Delete(root + u"Cleaned\\root.tmp"), DeleteOutcome::Redirected);
    EXPECT_EQ(files.Delete(root + u"Cleaned\\victim.tmp"), DeleteOutcome::Redirected);
  }
  EXPECT_EQ(os.GetFileAttributes(root + u"Elsewhere\\victim.tmp").attributes, before);
  EXPECT_EQ(Contents(root + u"Elsewhere\\victim.tmp"), "keep me");
  EXPECT_EQ(Contents(root + u"Elsewhere\\root.tmp"), "keep me too");
}

TEST_F(FoundFileDeleterContract, AFileLinkOrHardLinkGoesAsItsOwnNameAndWhatItNamesStays) {
  stage->MakeFolder(root + u"Documents");
  stage->MakeFile(root + u"Documents\\letter.txt", "dear", win::kAttrReadOnly);
  const uint32_t before = os.GetFileAttributes(root + u"Documents\\letter.txt").attributes;
  stage->MakeFolder(root + u"Temp");
  folders.Record(os, root + u"Temp\\");
  FoundFileDeleter files(os, folders);
  if (stage->MakeFileLink(root + u"Temp\\letter.tmp", root + u"Documents\\letter.txt")) {
    // Windows deletes the link itself; Wine can only open what it points at, and leaves it.
    const DeleteOutcome outcome = files.Delete(root + u"Temp\\letter.tmp");
    EXPECT_TRUE(outcome == DeleteOutcome::Deleted || outcome == DeleteOutcome::Redirected);
  }
  if (stage->MakeHardLink(root + u"Temp\\hard.tmp", root + u"Documents\\letter.txt")) {
    EXPECT_EQ(files.Delete(root + u"Temp\\hard.tmp"), DeleteOutcome::Deleted);
    EXPECT_FALSE(os.GetFileAttributes(root + u"Temp\\hard.tmp").Ok());
  }
  EXPECT_EQ(Contents(root + u"Documents\\letter.txt"), "dear");
  EXPECT_EQ(os.GetFileAttributes(root + u"Documents\\letter.txt").attributes, before);
}

}  // namespace
}  // namespace nb::contract
