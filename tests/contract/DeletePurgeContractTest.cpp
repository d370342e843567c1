// Deleting findings, pruning empty folders and previewing files, on the
// simulated machine and on the real API: attributes, share modes and links
// behave alike on both, and a folder swapped after Analyze steers neither the
// deletion nor the purge.
#include <gtest/gtest.h>

#include <ostream>
#include <string>

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
  const uint32_t scanRoot = state.Roots.Record(os, root);
  FoundFileDeleter files(os, state.Roots);
  const Text protectedFile = root + u"protected.tmp";
  stage->MakeFile(protectedFile, "p", winapi::kAttrReadOnly | winapi::kAttrHidden | winapi::kAttrSystem);
  EXPECT_EQ(files.Delete(protectedFile, scanRoot), DeleteOutcome::Deleted);
  EXPECT_FALSE(FileExists(os, protectedFile));

  const Text held = root + u"held.log";
  stage->MakeFile(held, "h", winapi::kAttrHidden);
  if (!stage->HoldOpen(held, winapi::kShareRead | winapi::kShareWrite)) NB_STAGE_CANNOT("hold a file open");
  const uint32_t before = AttributesOf(os, held);
  EXPECT_EQ(files.Delete(held, scanRoot), DeleteOutcome::Kept);
  stage->ReleaseLock();
  EXPECT_TRUE(FileExists(os, held));
  EXPECT_EQ(AttributesOf(os, held), before);
  EXPECT_TRUE(before & winapi::kAttrHidden);
}

TEST_F(DeletePurgeContract, PruneRemovesEmptyTreesButNotFilesLinksOrTheirTargets) {
  stage->MakeFolder(root + u"T");
  stage->MakeFile(root + u"T\\a.txt", "a");
  stage->MakeFolder(root + u"T\\x");
  stage->MakeFolder(root + u"T\\y");
  stage->MakeFolder(root + u"T\\y\\z");
  stage->MakeFolder(root + u"T\\hidden");
  ASSERT_TRUE(stage->SetAttributes(root + u"T\\hidden", winapi::kAttrHidden | winapi::kAttrSystem));
  // Outside the pruned folder: what a link inside it points at.
  stage->MakeFolder(root + u"Target");
  stage->MakeFolder(root + u"Target\\emptyInside");
  stage->MakeFile(root + u"Target\\canary.txt", "keep");
  const bool linked = stage->MakeFolderLink(root + u"T\\link", root + u"Target");

  PruneEmptyFolders(run, root + u"T\\");

  EXPECT_TRUE(FolderExists(os, root + u"T"));
  EXPECT_TRUE(FileExists(os, root + u"T\\a.txt"));
  for (const char16_t* gone : {u"T\\x", u"T\\y\\z", u"T\\y", u"T\\hidden"})
    EXPECT_EQ(AttributesOf(os, root + gone), winapi::kInvalidAttributes) << ToUtf8(gone);
  EXPECT_TRUE(FolderExists(os, root + u"Target\\emptyInside"));
  EXPECT_TRUE(FileExists(os, root + u"Target\\canary.txt"));
  if (linked) {
    EXPECT_NE(AttributesOf(os, root + u"T\\link"), winapi::kInvalidAttributes);
  }
}

// After Analyze recorded Cleaned\ and found Cleaned\a\b\victim.tmp, a folder
// on the way is moved away and something else put in its place: a link to a
// folder laid out as the rest of the way (for the last folder, one in
// between, the root), or for the root another real folder of the same name.
// What lies behind it, a read-only hidden file of the finding's name beside
// an empty folder, stays as it was through the deletion and the purge.
struct Swap {
  const char* name;
  const char16_t* swapped;  // below the scratch folder
  const char16_t* rest;     // from the swapped folder to the finding's folder
  bool link;
};

void PrintTo(const Swap& swap, std::ostream* out) { *out << swap.name; }

class SwapContract : public DeletePurgeContract, public testing::WithParamInterface<Swap> {};

TEST_P(SwapContract, LeavesWhatLiesBehindTheSwapAsItWas) {
  const Swap& swap = GetParam();
  const Text finding = root + u"Cleaned\\a\\b\\victim.tmp";
  stage->MakeFolder(root + u"Cleaned\\a\\b");
  stage->MakeFile(finding, "junk");
  const uint32_t scanRoot = state.Roots.Record(os, root + u"Cleaned\\");

  const Text swapped = root + swap.swapped;
  ASSERT_TRUE(stage->MoveFolder(swapped, swapped + u"-moved"));
  const Text behind = (swap.link ? root + u"Bait" : swapped) + u"\\" + swap.rest;
  stage->MakeFolder(behind + u"empty");
  stage->MakeFile(behind + u"victim.tmp", "precious", winapi::kAttrReadOnly | winapi::kAttrHidden);
  if (swap.link && !stage->MakeFolderLink(swapped, root + u"Bait")) NB_STAGE_CANNOT("make a folder link");
  // Wine adds the archive mark to every file it lists: compare with what was there.
  const uint32_t before = AttributesOf(os, behind + u"victim.tmp");
  ASSERT_EQ(Contents(finding), "precious") << "the finding's path leads to the victim";

  FoundFileDeleter files(os, state.Roots);
  EXPECT_EQ(files.Delete(finding, scanRoot), DeleteOutcome::Redirected);
  PruneEmptyFolders(run, root + u"Cleaned\\");

  EXPECT_EQ(Contents(behind + u"victim.tmp"), "precious");
  EXPECT_EQ(AttributesOf(os, behind + u"victim.tmp"), before);
  EXPECT_TRUE(FolderExists(os, behind + u"empty"));
}

INSTANTIATE_TEST_SUITE_P(AfterAnalyze, SwapContract,
                         testing::Values(Swap{"LastFolderToLink", u"Cleaned\\a\\b", u"", true},
                                         Swap{"FolderBetweenToLink", u"Cleaned\\a", u"b\\", true},
                                         Swap{"RootToLink", u"Cleaned", u"a\\b\\", true},
                                         Swap{"RootToAnotherFolder", u"Cleaned", u"a\\b\\", false}),
                         [](const testing::TestParamInfo<Swap>& info) { return std::string(info.param.name); });

TEST_F(DeletePurgeContract, PreviewReadsFilesOthersWriteButNotOnesTheyLock) {
  const Text log = root + u"busy.log";
  stage->MakeFile(log, "Hello\r\nWorld");
  ResultStore store;
  store.Append(sections::kTemp, log, 12);
  EXPECT_EQ(ItemDetailLines(os, store, 0), std::vector<Text>{u"HelloWorld"});
  if (!stage->HoldOpen(log, winapi::kShareRead | winapi::kShareWrite)) NB_STAGE_CANNOT("hold a file open");
  EXPECT_EQ(ItemDetailLines(os, store, 0), std::vector<Text>{u"HelloWorld"});
  stage->ReleaseLock();
  ASSERT_TRUE(stage->HoldOpen(log, 0));
  EXPECT_TRUE(ItemDetailLines(os, store, 0).empty());
  stage->ReleaseLock();
}

}  // namespace
}  // namespace nb::contract
