// Deleting one file exactly where it was found, on the simulated machine and on
// the real API: protected files go, a file held open without delete sharing
// stays as it was, and a folder on the way that has become a link does not
// steer the deletion to the file of the same name behind it.
#include <gtest/gtest.h>

#include "contract/ContractStage.h"

namespace nb::contract {
namespace {

class DeleteExactContract : public testing::Test {
 protected:
  std::unique_ptr<ContractStage> stage = MakeContractStage();
  Platform& os = stage->os();
  Text root = stage->Folder();
};

TEST_F(DeleteExactContract, FilesGoWhateverTheirAttributesAndNothingElseIsTouched) {
  constexpr uint32_t ro = win::kAttrReadOnly, hidden = win::kAttrHidden, sys = win::kAttrSystem;
  struct Case {
    const char16_t* name;
    uint32_t attributes;
  };
  for (const Case& c : {Case{u"plain.tmp", win::kAttrArchive}, Case{u"readonly hidden.tmp", ro | hidden},
                        Case{u"protected.log", ro | hidden | sys}, Case{u"none.tmp", win::kAttrNormal}}) {
    stage->MakeFile(root + c.name, "data", c.attributes);
    EXPECT_EQ(os.DeleteFileExact(root + c.name), DeleteOutcome::Deleted) << ToUtf8(c.name);
    EXPECT_FALSE(os.GetFileAttributes(root + c.name).Ok()) << ToUtf8(c.name);
  }
  EXPECT_EQ(os.DeleteFileExact(root + u"never there.tmp"), DeleteOutcome::Missing);
  EXPECT_EQ(os.DeleteFileExact(root + u"no folder\\x.tmp"), DeleteOutcome::Missing);

  stage->MakeFolder(root + u"folder.tmp");
  os.SetFileAttributes(root + u"folder.tmp", win::kAttrHidden);
  const uint32_t folderBefore = os.GetFileAttributes(root + u"folder.tmp").attributes;
  EXPECT_EQ(os.DeleteFileExact(root + u"folder.tmp"), DeleteOutcome::Kept);
  EXPECT_EQ(os.GetFileAttributes(root + u"folder.tmp").attributes, folderBefore);
}

TEST_F(DeleteExactContract, AFileHeldOpenWithoutDeleteSharingStaysWithItsAttributes) {
  const Text held = root + u"held.log";
  stage->MakeFile(held, "h", win::kAttrReadOnly | win::kAttrHidden);
  const uint32_t before = os.GetFileAttributes(held).attributes;
  if (!stage->HoldOpen(held, win::kShareRead | win::kShareWrite)) GTEST_SKIP() << "stage cannot hold a file open";
  EXPECT_EQ(os.DeleteFileExact(held), DeleteOutcome::Kept);
  stage->ReleaseLock();
  EXPECT_EQ(os.GetFileAttributes(held).attributes, before);

  // Held open by one that shares delete: it goes.
  const Text shared = root + u"shared.log";
  stage->MakeFile(shared, "s", win::kAttrHidden);
  ASSERT_TRUE(stage->HoldOpen(shared, win::kShareRead | win::kShareWrite | win::kShareDelete));
  EXPECT_EQ(os.DeleteFileExact(shared), DeleteOutcome::Deleted);
  stage->ReleaseLock();
  EXPECT_FALSE(os.GetFileAttributes(shared).Ok());
}

TEST_F(DeleteExactContract, AFolderSwappedForALinkDoesNotRedirectTheDeletion) {
  // Analyze saw Cleaned\victim.tmp; then Cleaned became a link to a folder
  // holding a file of the same name.
  stage->MakeFolder(root + u"Elsewhere");
  stage->MakeFile(root + u"Elsewhere\\victim.tmp", "keep me", win::kAttrReadOnly);
  // Wine adds the archive mark to every file it lists: compare with what was there.
  const uint32_t before = os.GetFileAttributes(root + u"Elsewhere\\victim.tmp").attributes;
  if (!stage->MakeFolderLink(root + u"Cleaned", root + u"Elsewhere"))
    GTEST_SKIP() << "stage cannot make a folder link";
  ASSERT_TRUE(os.GetFileAttributes(root + u"Cleaned\\victim.tmp").Ok());

  EXPECT_EQ(os.DeleteFileExact(root + u"Cleaned\\victim.tmp"), DeleteOutcome::Redirected);
  EXPECT_EQ(os.GetFileAttributes(root + u"Elsewhere\\victim.tmp").attributes, before);
  uint32_t error = 0;
  auto file = os.OpenForRead(root + u"Elsewhere\\victim.tmp", win::kShareRead, error);
  ASSERT_TRUE(file);
  std::string bytes;
  ASSERT_TRUE(file->Read(bytes, 100));
  EXPECT_EQ(bytes, "keep me");
  // The link itself met as a finding is a folder: it stays too.
  EXPECT_EQ(os.DeleteFileExact(root + u"Cleaned"), DeleteOutcome::Kept);
  EXPECT_TRUE(FolderExists(os, root + u"Elsewhere"));
}

}  // namespace
}  // namespace nb::contract
