// What the simulated machine's exact deletion does with links: a link met at
// the end of the path goes as the link, one on the way stops the deletion.
#include <gtest/gtest.h>

#include "platform/sim/SimPlatform.h"

namespace nb {
namespace {

class DeleteExact : public testing::Test {
 protected:
  DeleteExact() {
    machine.AddFile(u"C:\\Users\\me\\Documents\\letter.txt", "dear", win::kAttrReadOnly);
    machine.AddFolder(u"C:\\Users\\me\\Documents\\Folder");
  }
  sim::SimMachine machine;
  sim::SimPlatform os{machine};
};

TEST_F(DeleteExact, ALinkAtTheEndGoesAsTheLinkAndItsTargetStays) {
  machine.AddFileLink(u"C:\\Temp\\letter.lnk.tmp", u"C:\\Users\\me\\Documents\\letter.txt");
  EXPECT_EQ(os.DeleteFileExact(u"C:\\Temp\\letter.lnk.tmp"), DeleteOutcome::Deleted);
  EXPECT_FALSE(machine.Exists(u"C:\\Temp\\letter.lnk.tmp"));
  ASSERT_TRUE(machine.Exists(u"C:\\Users\\me\\Documents\\letter.txt"));
  EXPECT_EQ(machine.Find(u"C:\\Users\\me\\Documents\\letter.txt")->attributes, win::kAttrReadOnly);

  // A junction where a file was found is a folder: it is not opened at all.
  machine.AddFolderLink(u"C:\\Temp\\junction.tmp", u"C:\\Users\\me\\Documents\\Folder");
  EXPECT_EQ(os.DeleteFileExact(u"C:\\Temp\\junction.tmp"), DeleteOutcome::Kept);
  EXPECT_TRUE(machine.Exists(u"C:\\Temp\\junction.tmp"));
  EXPECT_TRUE(machine.Exists(u"C:\\Users\\me\\Documents\\Folder"));
}

TEST_F(DeleteExact, ALinkOnTheWayAtAnyDepthStopsTheDeletion) {
  machine.AddFile(u"C:\\Users\\me\\Documents\\Folder\\deep\\letter.txt", "deep");
  for (const Text& link : {Text(u"C:\\Temp"), Text(u"C:\\Other\\Temp")}) {
    machine.AddFolderLink(link, u"C:\\Users\\me\\Documents\\Folder");
    EXPECT_EQ(os.DeleteFileExact(link + u"\\deep\\letter.txt"), DeleteOutcome::Redirected) << ToUtf8(link);
  }
  machine.AddFolderLink(u"C:\\Users\\me\\Documents\\Folder\\deep2", u"C:\\Users\\me\\Documents\\Folder\\deep");
  EXPECT_EQ(os.DeleteFileExact(u"C:\\Users\\me\\Documents\\Folder\\deep2\\letter.txt"), DeleteOutcome::Redirected);
  EXPECT_TRUE(machine.Exists(u"C:\\Users\\me\\Documents\\Folder\\deep\\letter.txt"));
  EXPECT_EQ(os.DeleteFileExact(u"C:\\Users\\me\\Documents\\Folder\\deep\\letter.txt"), DeleteOutcome::Deleted);
}

TEST_F(DeleteExact, AFileThatRefusesDeletionGetsItsAttributesBack) {
  auto& file = machine.AddFile(u"C:\\Temp\\guarded.tmp", "g", win::kAttrHidden | win::kAttrSystem);
  file.denyDelete = true;
  EXPECT_EQ(os.DeleteFileExact(u"C:\\Temp\\guarded.tmp"), DeleteOutcome::Kept);
  EXPECT_EQ(machine.Find(u"C:\\Temp\\guarded.tmp")->attributes, win::kAttrHidden | win::kAttrSystem);
}

}  // namespace
}  // namespace nb
