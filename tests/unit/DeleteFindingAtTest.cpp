#include <gtest/gtest.h>

#include "delete/DeleteFinding.h"
#include "results/RowCaptions.h"
#include "support/SimRun.h"
#include "support/StoredFindings.h"

namespace nb {
namespace {

class DeleteFindingAtTest : public testing::Test, protected test::SimRun {
 protected:
  DeleteOutcome DeleteAt(size_t index) { return DeleteFindingAt(state, os, files, index); }
  FoundFileDeleter files{os, state.Roots};
};

TEST_F(DeleteFindingAtTest, AFileFindingIsDeletedByItsPlaceAndItsEntryStays) {
  const Text path = u"C:\\P\\AC\\#!001\\MicrosoftEdge\\Cache\\X1\\a=b.dat";
  machine.AddFile(path, "123456", winapi::kAttrReadOnly | winapi::kAttrHidden);
  test::AppendEntry(state.Results, u"05#" + path + u"#0.01 KB");

  EXPECT_EQ(DeleteAt(0), DeleteOutcome::Deleted);
  EXPECT_FALSE(machine.Exists(path));
  EXPECT_EQ(state.Results.Count(), 1u);
  EXPECT_EQ(DeleteAt(0), DeleteOutcome::Missing);
  EXPECT_EQ(DeleteAt(1), DeleteOutcome::Kept);  // beyond the store
}

TEST_F(DeleteFindingAtTest, AFileThatStaysKeepsItsAttributes) {
  machine.AddFile(u"C:\\T\\busy.tmp", "x", winapi::kAttrHidden).lock = sim::ForeignLock{winapi::kShareRead};
  test::AppendEntry(state.Results, u"01#C:\\T\\busy.tmp#1.00 KB");
  EXPECT_EQ(DeleteAt(0), DeleteOutcome::Kept);
  EXPECT_EQ(AttributesOf(os, u"C:\\T\\busy.tmp"), winapi::kAttrHidden);
}

// A record no writer makes (no section, or one beyond the table) deletes nothing.
TEST_F(DeleteFindingAtTest, AFindingOfNoSectionDeletesNothing) {
  machine.AddFile(u"C:\\T\\kept.tmp", "x");
  for (const int section : {0, kSectionCount + 1, 255}) {
    state.Results.Clear();
    state.Results.Append(section, u"C:\\T\\kept.tmp", 1);
    EXPECT_EQ(DeleteAt(0), DeleteOutcome::Kept) << section;
    EXPECT_TRUE(machine.Exists(u"C:\\T\\kept.tmp")) << section;
  }
}

TEST_F(DeleteFindingAtTest, RegistryFindingsDeleteTheNamedValueUnderTheirRoot) {
  struct Case {
    Text section, caption, key, name, relabel;
    uint32_t root;
  };
  const std::vector<Case> cases = {
      {u"15", u"HKCU\\SOFTWARE\\Vendor\\App=Updater", u"SOFTWARE\\Vendor\\App", u"Updater", u"Deleted value Updater",
       winapi::kHkeyCurrentUser},
      {u"15", u"HKCU\\SOFTWARE\\Vendor\\App=", u"SOFTWARE\\Vendor\\App", u"", u"Deleted value ",
       winapi::kHkeyCurrentUser},
      {u"16", u"HKLM\\SOFTWARE\\Vendor=Tool", u"SOFTWARE\\Vendor", u"Tool", u"Deleted value Tool",
       winapi::kHkeyLocalMachine},
  };
  machine.wow64Process = true;  // HKLM rows are found in the 64-bit view
  for (const auto& c : cases) {
    machine.SetString(c.root, c.key, c.name, u"C:\\gone.exe");
    machine.SetString(c.root, c.key, u"other", u"C:\\gone.exe");
    state.Results.Clear();
    test::StoreValueFinding(state, os, c.section + u"#" + c.caption + u"#11 b");

    EXPECT_EQ(DeleteAt(0), DeleteOutcome::Deleted) << ToUtf8(c.caption);
    EXPECT_EQ(DeletedCaption(state.Results, 0), c.relabel) << ToUtf8(c.caption);
    EXPECT_EQ(machine.FindValue(c.root, c.key, c.name), nullptr) << ToUtf8(c.caption);
    EXPECT_NE(machine.FindValue(c.root, c.key, u"other"), nullptr) << ToUtf8(c.caption);
    // Gone now: a second try deletes nothing.
    EXPECT_EQ(DeleteAt(0), DeleteOutcome::Missing) << ToUtf8(c.caption);
  }
}

}  // namespace
}  // namespace nb
