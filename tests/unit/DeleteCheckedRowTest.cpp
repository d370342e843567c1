#include <gtest/gtest.h>

#include "delete/DeleteCheckedRow.h"
#include "support/SimRun.h"
#include "support/StoredFindings.h"

namespace nb {
namespace {

class DeleteCheckedRowTest : public testing::Test, protected test::SimRun {
 protected:
  FoundFileDeleter files{os, state.Folders};
};

TEST_F(DeleteCheckedRowTest, FileRowIsRelabelledAndItsCaseDifferentStoreEntryRemoved) {
  state.ShownSection = u"05";
  const Text path = u"C:\\P\\AC\\#!001\\MicrosoftEdge\\Cache\\X1\\a=b.dat";
  machine.AddFile(path, "123456", win::kAttrReadOnly | win::kAttrHidden);
  state.Results.Append(u"05#c:\\p\\ac\\#!001\\microsoftedge\\cache\\x1\\A=B.DAT#0.01 KB");
  state.Results.Append(u"05#" + path + u"#0.01 KB");  // a second, later copy stays

  EXPECT_EQ(DeleteCheckedRow(run, files, path, u"0.01 KB"), Text(u"Deleted file a=b.dat"));
  EXPECT_FALSE(machine.Exists(path));
  ASSERT_EQ(state.Results.Count(), 1u);
  EXPECT_EQ(state.Results.At(0), u"05#" + path + u"#0.01 KB");
}

TEST_F(DeleteCheckedRowTest, FileThatIsGoneOrStaysChangesNothing) {
  state.ShownSection = u"01";
  state.Results.Append(u"01#C:\\T\\gone.tmp#1.00 KB");
  EXPECT_EQ(DeleteCheckedRow(run, files, u"C:\\T\\gone.tmp", u"1.00 KB"), std::nullopt);

  machine.AddFile(u"C:\\T\\busy.tmp", "x", win::kAttrHidden).lock = sim::ForeignLock{win::kShareRead};
  state.Results.Append(u"01#C:\\T\\busy.tmp#1.00 KB");
  EXPECT_EQ(DeleteCheckedRow(run, files, u"C:\\T\\busy.tmp", u"1.00 KB"), std::nullopt);
  EXPECT_EQ(os.GetFileAttributes(u"C:\\T\\busy.tmp").attributes, win::kAttrHidden);
  EXPECT_EQ(state.Results.Count(), 2u);
}

TEST_F(DeleteCheckedRowTest, RegistryRowsDeleteTheNamedValueUnderTheirRoot) {
  struct Case {
    Text section, caption, key, name, relabel;
    uint32_t root;
  };
  const std::vector<Case> cases = {
      {u"15", u"HKCU\\SOFTWARE\\Vendor\\App=Updater", u"SOFTWARE\\Vendor\\App", u"Updater", u"Deleted value Updater",
       win::kHkeyCurrentUser},
      {u"15", u"HKCU\\SOFTWARE\\Vendor\\App=", u"SOFTWARE\\Vendor\\App", u"", u"Deleted value ",
       win::kHkeyCurrentUser},
      {u"16", u"HKLM\\SOFTWARE\\Vendor=Tool", u"SOFTWARE\\Vendor", u"Tool", u"Deleted value Tool",
       win::kHkeyLocalMachine},
  };
  machine.wow64Process = true;  // HKLM rows are found in the 64-bit view
  for (const auto& c : cases) {
    machine.SetString(c.root, c.key, c.name, u"C:\\gone.exe");
    machine.SetString(c.root, c.key, u"other", u"C:\\gone.exe");
    state.ShownSection = c.section;
    state.Results.Clear();
    test::StoreValueFinding(state, os, c.section + u"#" + c.caption + u"#11 b");

    EXPECT_EQ(DeleteCheckedRow(run, files, c.caption, u"11 b"), c.relabel) << ToUtf8(c.caption);
    EXPECT_EQ(machine.FindValue(c.root, c.key, c.name), nullptr) << ToUtf8(c.caption);
    EXPECT_NE(machine.FindValue(c.root, c.key, u"other"), nullptr) << ToUtf8(c.caption);
    EXPECT_TRUE(state.Results.Empty()) << ToUtf8(c.caption);
    // Gone now: a second try deletes nothing.
    EXPECT_EQ(DeleteCheckedRow(run, files, c.caption, u"11 b"), std::nullopt) << ToUtf8(c.caption);
  }
}

}  // namespace
}  // namespace nb
