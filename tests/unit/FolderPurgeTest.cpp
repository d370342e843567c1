#include <gtest/gtest.h>

#include "delete/FolderPurge.h"
#include "support/SimRun.h"

namespace nb {
namespace {

class FolderPurge : public testing::Test, protected test::SimRun {
 protected:
  void Prune(const Text& folder) { PruneEmptyFolders(run, folder); }
};

TEST_F(FolderPurge, EmptyChainsGoInnermostFirstWhileFilesAndTheFolderItselfStay) {
  machine.AddFile(u"C:\\T\\a.txt", "a");
  machine.AddFolder(u"C:\\T\\x");
  machine.AddFolder(u"C:\\T\\y\\z");
  machine.SetEnumerationOrder(u"C:\\T", {u"a.txt", u"x", u"y"});

  Prune(u"C:\\T\\");

  EXPECT_TRUE(machine.Exists(u"C:\\T\\a.txt"));
  EXPECT_FALSE(machine.Exists(u"C:\\T\\x"));
  EXPECT_FALSE(machine.Exists(u"C:\\T\\y"));
  // One pump per listed entry, dots included: T (5), x (2), y (3), z (2).
  EXPECT_EQ(host.pumps, 12);

  Prune(u"C:\\T\\");  // nothing left to do; the folder itself is never removed
  EXPECT_TRUE(machine.Exists(u"C:\\T\\a.txt"));
  machine.Remove(u"C:\\T\\a.txt");
  Prune(u"C:\\T\\");
  EXPECT_TRUE(machine.Exists(u"C:\\T"));
}

TEST_F(FolderPurge, AFolderHoldingAFileKeepsItsAncestorsButLosesItsEmptySubfolders) {
  machine.AddFile(u"C:\\T\\keep\\deep\\f.dat", "f");
  machine.AddFolder(u"C:\\T\\keep\\deep\\empty1\\empty2");
  machine.AddFolder(u"C:\\T\\keep\\empty3");

  Prune(u"C:\\T\\");

  EXPECT_TRUE(machine.Exists(u"C:\\T\\keep\\deep\\f.dat"));
  EXPECT_FALSE(machine.Exists(u"C:\\T\\keep\\deep\\empty1"));
  EXPECT_FALSE(machine.Exists(u"C:\\T\\keep\\empty3"));
}

TEST_F(FolderPurge, AFolderThatHasBecomeALinkLeavesItsTargetAlone) {
  machine.AddFolder(u"C:\\Users\\me\\Documents\\Drafts\\empty");
  machine.AddFolderLink(u"C:\\Temp", u"C:\\Users\\me\\Documents");

  Prune(u"C:\\Temp\\");

  EXPECT_TRUE(machine.Exists(u"C:\\Users\\me\\Documents\\Drafts\\empty"));
  EXPECT_TRUE(machine.Exists(u"C:\\Temp"));
}

TEST_F(FolderPurge, MissingOrEmptyFolderIsLeftAlone) {
  Prune(u"C:\\Nowhere\\");
  EXPECT_EQ(host.pumps, 0);
  machine.AddFolder(u"C:\\Empty");
  Prune(u"C:\\Empty\\");
  EXPECT_TRUE(machine.Exists(u"C:\\Empty"));
}

TEST_F(FolderPurge, HiddenAndSystemSubfoldersGoLikeOthers) {
  machine.AddFolder(u"C:\\T\\hidden", winapi::kAttrDirectory | winapi::kAttrHidden);
  machine.AddFolder(u"C:\\T\\system", winapi::kAttrDirectory | winapi::kAttrSystem | winapi::kAttrHidden);
  Prune(u"C:\\T\\");
  EXPECT_FALSE(machine.Exists(u"C:\\T\\hidden"));
  EXPECT_FALSE(machine.Exists(u"C:\\T\\system"));
}

TEST_F(FolderPurge, SubfolderPathsOf256CharactersAreNeitherEnteredNorRemoved) {
  const Text parent = u"C:\\T\\" + Text(200, u'p') + u"\\";  // 206 characters
  machine.AddFolder(parent + Text(49, u'a'));                  // path of 255: removed
  machine.AddFolder(parent + Text(50, u'b'));                  // path of 256: kept, though empty
  machine.AddFolder(parent + Text(51, u'c') + u"\\inner");     // never entered

  Prune(u"C:\\T\\");

  EXPECT_FALSE(machine.Exists(parent + Text(49, u'a')));
  EXPECT_TRUE(machine.Exists(parent + Text(50, u'b')));
  EXPECT_TRUE(machine.Exists(parent + Text(51, u'c') + u"\\inner"));
}

TEST_F(FolderPurge, JunctionsAreNeitherFollowedNorRemoved) {
  // Canaries: the user's folders a junction in a temp folder points at.
  machine.AddFile(u"C:\\Users\\me\\Documents\\canary.txt", "keep me");
  machine.AddFolder(u"C:\\Users\\me\\Documents\\EmptyProject\\src");
  machine.AddFolder(u"C:\\Users\\me\\EmptyTarget");
  machine.AddFolderLink(u"C:\\T\\docs", u"C:\\Users\\me\\Documents");
  machine.AddFolderLink(u"C:\\T\\sub\\link", u"C:\\Users\\me\\EmptyTarget");

  Prune(u"C:\\T\\");

  EXPECT_TRUE(machine.Exists(u"C:\\Users\\me\\Documents\\canary.txt"));
  EXPECT_TRUE(machine.Exists(u"C:\\Users\\me\\Documents\\EmptyProject\\src"));
  EXPECT_TRUE(machine.Exists(u"C:\\Users\\me\\EmptyTarget"));
  EXPECT_TRUE(machine.Exists(u"C:\\T\\docs"));
  EXPECT_TRUE(machine.Exists(u"C:\\T\\sub\\link"));
}

}  // namespace
}  // namespace nb
