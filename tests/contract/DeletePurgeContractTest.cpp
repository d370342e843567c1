// Deleting findings, pruning empty folders and previewing files, on the
// simulated machine and on the real API: attributes, share modes and links
// behave alike on both.
#include <gtest/gtest.h>

#include "contract/ContractTest.h"
#include "delete/FoundFileDeleter.h"
#include "delete/FolderPurge.h"
#include "results/ItemDetails.h"
#include "support/HostedRun.h"

namespace nb::contract {
namespace {

class DeletePurgeContract : public FolderContractTest, protected test::HostedRun {
 protected:
  DeletePurgeContract() : HostedRun(os) {}
};

TEST_F(DeletePurgeContract, ProtectedFilesGoAndAFileHeldOpenKeepsItsAttributes) {
  state.Folders.Record(os, root);
  FoundFileDeleter files(os, state.Folders);
  const Text protectedFile = root + u"protected.tmp";
  stage->MakeFile(protectedFile, "p", win::kAttrReadOnly | win::kAttrHidden | win::kAttrSystem);
  EXPECT_EQ(files.Delete(protectedFile), DeleteOutcome::Deleted);
  EXPECT_FALSE(FileExists(os, protectedFile));

  const Text held = root + u"held.log";
  stage->MakeFile(held, "h", win::kAttrHidden);
  if (!stage->HoldOpen(held, win::kShareRead | win::kShareWrite)) GTEST_SKIP() << "stage cannot hold a file open";
  const uint32_t before = os.GetFileAttributes(held).attributes;
  EXPECT_EQ(files.Delete(held), DeleteOutcome::Kept);
  stage->ReleaseLock();
  EXPECT_TRUE(FileExists(os, held));
  EXPECT_EQ(os.GetFileAttributes(held).attributes, before);
  EXPECT_TRUE(before & win::kAttrHidden);
}

TEST_F(DeletePurgeContract, PruneRemovesEmptyTreesButNotFilesLinksOrTheirTargets) {
  stage->MakeFolder(root + u"T");
  stage->MakeFile(root + u"T\\a.txt", "a");
  stage->MakeFolder(root + u"T\\x");
  stage->MakeFolder(root + u"T\\y");
  stage->MakeFolder(root + u"T\\y\\z");
  stage->MakeFolder(root + u"T\\hidden");
  ASSERT_TRUE(stage->SetAttributes(root + u"T\\hidden", win::kAttrHidden | win::kAttrSystem));
  // Outside the pruned folder: what a link inside it points at.
  stage->MakeFolder(root + u"Target");
  stage->MakeFolder(root + u"Target\\emptyInside");
  stage->MakeFile(root + u"Target\\canary.txt", "keep");
  const bool linked = stage->MakeFolderLink(root + u"T\\link", root + u"Target");

  PruneEmptyFolders(run, root + u"T\\");

  EXPECT_TRUE(FolderExists(os, root + u"T"));
  EXPECT_TRUE(FileExists(os, root + u"T\\a.txt"));
  for (const char16_t* gone : {u"T\\x", u"T\\y\\z", u"T\\y", u"T\\hidden"})
    EXPECT_FALSE(os.GetFileAttributes(root + gone).Ok()) << ToUtf8(gone);
  EXPECT_TRUE(FolderExists(os, root + u"Target\\emptyInside"));
  EXPECT_TRUE(FileExists(os, root + u"Target\\canary.txt"));
  if (linked) {
    EXPECT_TRUE(os.GetFileAttributes(root + u"T\\link").Ok());
  }
}

TEST_F(DeletePurgeContract, PreviewReadsFilesOthersWriteButNotOnesTheyLock) {
  const Text log = root + u"busy.log";
  stage->MakeFile(log, "Hello\r\nWorld");
  EXPECT_EQ(ItemDetailLines(os, u"01", log, u"0.01 KB"), std::vector<Text>{u"HelloWorld"});
  if (!stage->HoldOpen(log, win::kShareRead | win::kShareWrite)) GTEST_SKIP() << "stage cannot hold a file open";
  EXPECT_EQ(ItemDetailLines(os, u"01", log, u"0.01 KB"), std::vector<Text>{u"HelloWorld"});
  stage->ReleaseLock();
  ASSERT_TRUE(stage->HoldOpen(log, 0));
  EXPECT_TRUE(ItemDetailLines(os, u"01", log, u"0.01 KB").empty());
  stage->ReleaseLock();
}

}  // namespace
}  // namespace nb::contract
