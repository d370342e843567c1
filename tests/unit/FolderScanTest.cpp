#include "catalogue/Catalogue.h"
#include "scan/FileMask.h"
#include "scan/FolderScanner.h"
#include "support/ScanFixture.h"

namespace nb {
namespace {

using test::ScanFixture;

TEST(FileMask, WholeNameWithStarQuestionMarkAndAsciiCase) {
  struct Case {
    const char16_t* mask;
    const char16_t* name;
    bool matches;
  };
  const Case cases[] = {
      {u"*.log", u"SETUP.LOG", true},
      {u"*.log", u"setup.log.old", false},
      {u"*.log", u".log", true},
      {u"thumbcache_*.db", u"thumbcache_32.db", true},
      {u"thumbcache_*.db", u"THUMBCACHE_idx.DB", true},
      {u"thumbcache_*.db", u"thumbcache.db", false},
      {u"thumbs.db", u"Thumbs.db", true},
      {u"thumbs.db", u"thumbs.db.bak", false},
      {u"FontCache*.dat", u"FontCache-S-1-5-21.dat", true},
      {u"thm*.tmp", u"thm.tmp", true},
      {u"file?.txt", u"file1.txt", true},
      {u"file?.txt", u"file.txt", false},
      {u"file?.txt", u"file12.txt", false},
      {u"*a*b", u"xaxxab", true},
      {u"\u00e4.log", u"\u00c4.log", false},  // only A to Z fold
  };
  for (const auto& c : cases)
    EXPECT_EQ(MatchesFileMask(c.mask, c.name), c.matches) << ToUtf8(c.mask) << " / " << ToUtf8(c.name);
}

class FolderScan : public ScanFixture {
 protected:
  const Text dir = u"C:\\Scan\\";
};

TEST_F(FolderScan, MaskAndTheTwoSkippedNamesDecideWhatIsFound) {
  // The file system ignores case, so the other spellings live in a second folder.
  const Text upper = dir + u"upper\\";
  const Text lower = dir + u"lower\\";
  for (const char16_t* name : {u"README", u"SETUP.LOG", u"setup.log.old", u"desktop.ini", u"INFO2"})
    machine.AddFile(upper + name);
  for (const char16_t* name : {u"DESKTOP.INI", u"info2"}) machine.AddFile(lower + name);
  struct Case {
    Text folder;
    const char16_t* mask;
    int section;
    std::vector<Text> names;
  };
  const Case cases[] = {
      {upper, u"*.*", 1, {u"README", u"SETUP.LOG", u"setup.log.old", u"INFO2"}},
      {upper, u"*.*", 2, {u"README", u"SETUP.LOG", u"setup.log.old"}},
      {upper, u"*.log", 3, {u"SETUP.LOG"}},
      {upper, u"*.ini", 3, {}},
      {lower, u"*.*", 1, {u"info2"}},
      {lower, u"*.*", 2, {u"info2"}},
  };
  for (const auto& c : cases) {
    state.Results.Clear();
    ScanFolder(run, c.folder, c.mask, false, c.section);
    std::vector<Text> expected;
    for (const auto& name : c.names) expected.push_back(SectionCode(c.section) + u"#" + c.folder + name + u"#0.00 KB");
    EXPECT_EQ(Entries(), expected) << ToUtf8(c.folder) << ToUtf8(c.mask) << " in section " << c.section;
  }
}

TEST_F(FolderScan, SizesAreCountedInFullAndRoundedToWholeKilobytes) {
  machine.AddFile(dir + u"empty");
  machine.AddSizedFile(dir + u"half", 1536);
  machine.AddSizedFile(dir + u"huge", 6ull << 30);
  state.DecimalSeparator = u",";
  ScanFolder(run, dir, u"*.*", true, 7);
  EXPECT_EQ(Entries(), (std::vector<Text>{u"07#C:\\Scan\\empty#0,00 KB", u"07#C:\\Scan\\half#1,50 KB",
                                          u"07#C:\\Scan\\huge#6144,00 MB"}));
  EXPECT_EQ(state.SectionFindingCounts[7], 3);
  EXPECT_EQ(state.SectionKbTotals[7], 2 + 6291456);
}

TEST_F(FolderScan, SubfoldersAreWalkedDepthFirstInFileSystemOrder) {
  machine.AddFile(dir + u"a.txt");
  machine.AddFile(dir + u"x.log\\b.txt");
  machine.AddFile(dir + u"x.log\\deeper\\c.txt");
  machine.AddFile(dir + u"z.txt");
  machine.SetEnumerationOrder(dir, {u"z.txt", u"x.log", u"a.txt"});
  ScanFolder(run, dir, u"*.txt", true, 11);
  EXPECT_EQ(Entries(), (std::vector<Text>{u"11#C:\\Scan\\z.txt#0.00 KB", u"11#C:\\Scan\\x.log\\b.txt#0.00 KB",
                                          u"11#C:\\Scan\\x.log\\deeper\\c.txt#0.00 KB",
                                          u"11#C:\\Scan\\a.txt#0.00 KB"}));
  // One pump per file, none for folders.
  EXPECT_EQ(host.pumps, 4);

  state.Results.Clear();
  ScanFolder(run, dir, u"*.*", false, 11);
  EXPECT_EQ(Entries(), (std::vector<Text>{u"11#C:\\Scan\\z.txt#0.00 KB", u"11#C:\\Scan\\a.txt#0.00 KB"}));
}

TEST_F(FolderScan, SubfolderIsWalkedOnlyWhileFolderAndNameStayBelow256Characters) {
  // A folder path of exactly 250 characters, its trailing backslash included.
  Text deep = u"C:\\";
  while (deep.size() < 250 - 50) deep += Text(49, u'd') + u"\\";
  deep += Text(250 - deep.size() - 1, u'e') + u"\\";
  ASSERT_EQ(deep.size(), 250u);
  machine.AddFile(deep + u"sub06\\" + u"six.txt");
  machine.AddFile(deep + u"sub05" + u"\\five.txt");
  machine.AddFile(deep + u"sub06x\\" + u"skipped.txt");
  ScanFolder(run, deep, u"*.*", true, 1);
  EXPECT_EQ(Entries(), (std::vector<Text>{u"01#" + deep + u"sub06\\six.txt#0.00 KB",
                                          u"01#" + deep + u"sub05\\five.txt#0.00 KB"}));
}

TEST_F(FolderScan, AStopEndsTheWalkAtTheNextFileOnEveryLevel) {
  for (int i = 0; i < 5; ++i) machine.AddFile(dir + u"sub\\f" + NumberText(i));
  machine.AddFile(dir + u"sub2\\g");
  machine.AddFile(dir + u"last");
  machine.SetEnumerationOrder(dir, {u"sub", u"sub2", u"last"});
  host.onPump = [&](int pump) {
    if (pump == 3) state.StopRequested = true;  // Stop pressed while the third file is due
  };
  ScanFolder(run, dir, u"*.*", true, 1);
  EXPECT_EQ(Entries(), (std::vector<Text>{u"01#C:\\Scan\\sub\\f0#0.00 KB", u"01#C:\\Scan\\sub\\f1#0.00 KB"}));
  EXPECT_EQ(host.pumps, 4);  // sub2 is passed over; the parent stops at its next file
  EXPECT_EQ(state.SectionFindingCounts[1], 2);

  host.pumps = 0;
  ScanFolder(run, dir, u"*.*", true, 1);
  EXPECT_EQ(host.pumps, 0) << "nothing is scanned while the flag is clear";
}

TEST_F(FolderScan, LinksToFoldersAreNeverFollowed) {
  const Text temp = u"C:\\Users\\Tester\\AppData\\Local\\Temp\\";
  const Text documents = u"C:\\Users\\Tester\\Documents\\";
  machine.AddFile(documents + u"thesis.docx");
  machine.AddFile(documents + u"Pictures\\thumbs.db");
  machine.AddFile(temp + u"own.tmp");
  machine.AddFolderLink(temp + u"docs", documents);
  machine.AddFileLink(temp + u"note.lnk", documents + u"thesis.docx");
  ScanFolder(run, temp, u"*.*", true, 1);
  EXPECT_EQ(Entries(), (std::vector<Text>{u"01#" + temp + u"own.tmp#0.00 KB",
                                          u"01#" + temp + u"note.lnk#0.00 KB"}));
}

TEST_F(FolderScan, MissingOrUnreadableFolderYieldsNothing) {
  machine.AddFile(u"C:\\Locked\\a.txt").parent.lock()->denyListing = true;
  ScanFolder(run, u"C:\\Missing\\", u"*.*", true, 1);
  ScanFolder(run, u"C:\\Locked\\", u"*.*", true, 1);
  EXPECT_TRUE(state.Results.Empty());
  EXPECT_EQ(host.pumps, 0);
}

TEST_F(FolderScan, FindFileSizeOfTheFirstMatchingEntry) {
  machine.AddSizedFile(dir + u"History", 10240);
  machine.AddSizedFile(dir + u"big", 6ull << 30, winapi::kAttrHidden | winapi::kAttrSystem);
  EXPECT_EQ(FindFileSize(os, dir + u"History"), 10240u);
  EXPECT_EQ(FindFileSize(os, dir + u"big"), 6ull << 30);
  EXPECT_EQ(FindFileSize(os, dir + u"missing"), 0u);
}

}  // namespace
}  // namespace nb
