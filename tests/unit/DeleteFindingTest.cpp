#include <algorithm>
#include <functional>

#include <gtest/gtest.h>

#include "delete/DeleteAll.h"
#include "delete/DeleteFinding.h"
#include "delete/FoundFileDeleter.h"
#include "support/SimRun.h"
#include "support/StoredFindings.h"

namespace nb {
namespace {

class DeleteFinding : public testing::Test, protected test::SimRun {
 protected:
  FoundFileDeleter files{os, state.Roots};
};

TEST_F(DeleteFinding, FilesGoWhateverTheirAttributesAndAFileThatStaysKeepsThem) {
  constexpr uint32_t ro = winapi::kAttrReadOnly, hidden = winapi::kAttrHidden, sys = winapi::kAttrSystem;
  struct Case {
    const char* what;
    uint32_t attributes;
    std::optional<uint32_t> lockShare;  // held open elsewhere with this share mode
    bool deleted;
  };
  const std::vector<Case> cases = {
      {"plain", winapi::kAttrArchive, std::nullopt, true},
      {"read-only", ro, std::nullopt, true},
      {"hidden system read-only", ro | hidden | sys, std::nullopt, true},
      {"open elsewhere sharing delete", winapi::kAttrArchive, winapi::kShareRead | winapi::kShareDelete, true},
      {"open elsewhere without delete sharing", ro | hidden, winapi::kShareRead | winapi::kShareWrite, false},
      {"no attributes at all, locked", 0, 0u, false},
  };
  for (const auto& c : cases) {
    const Text path = u"C:\\Temp\\" + FromUtf8(c.what) + u".tmp";
    auto& file = machine.AddFile(path, "data", c.attributes);
    if (c.lockShare) file.lock = sim::ForeignLock{*c.lockShare};
    const uint32_t before = AttributesOf(os, path);

    EXPECT_EQ(files.Delete(path, kNoScanRoot), c.deleted ? DeleteOutcome::Deleted : DeleteOutcome::Kept) << c.what;
    EXPECT_EQ(machine.Exists(path), !c.deleted) << c.what;
    if (!c.deleted) {
      EXPECT_EQ(AttributesOf(os, path), before) << c.what;
    }
  }
}

TEST_F(DeleteFinding, MissingFilesAndFoldersAreNotTouched) {
  EXPECT_EQ(files.Delete(u"C:\\Temp\\gone.tmp", kNoScanRoot), DeleteOutcome::Missing);
  EXPECT_EQ(files.Delete(u"C:\\Gone\\x.tmp", kNoScanRoot), DeleteOutcome::Missing);
  machine.AddFolder(u"C:\\Temp\\dir.tmp", winapi::kAttrDirectory | winapi::kAttrHidden);
  EXPECT_EQ(files.Delete(u"C:\\Temp\\dir.tmp", kNoScanRoot), DeleteOutcome::Kept);
  EXPECT_EQ(AttributesOf(os, u"C:\\Temp\\dir.tmp"), winapi::kAttrDirectory | winapi::kAttrHidden);
}

TEST_F(DeleteFinding, MachineValuesGoInThe64BitViewTheWalkRead) {
  machine.wow64Process = true;  // the shipped 32-bit program on 64-bit Windows
  machine.SetString(winapi::kHkeyLocalMachine, u"SOFTWARE\\Vendor", u"Tool", u"C:\\gone.exe");
  machine.SetString(winapi::kHkeyLocalMachine, u"SOFTWARE\\Wow6432Node\\Vendor", u"Tool", u"C:\\gone32.exe");
  machine.SetString(winapi::kHkeyCurrentUser, u"SOFTWARE\\Vendor", u"Tool", u"C:\\gone.exe");
  test::StoreValueFinding(state, os, u"16#HKLM\\SOFTWARE\\Vendor=Tool#11 b");
  test::StoreValueFinding(state, os, u"15#HKCU\\SOFTWARE\\Vendor=Tool#11 b");

  EXPECT_EQ(DeleteFoundValue(os, winapi::kHkeyLocalMachine, SplitRegistrySubject(u"HKLM\\SOFTWARE\\Vendor=Tool"),
                             FoundValueOf(state, 0)),
            DeleteOutcome::Deleted);
  EXPECT_EQ(machine.FindValue(winapi::kHkeyLocalMachine, u"SOFTWARE\\Vendor", u"Tool"), nullptr);
  EXPECT_NE(machine.FindValue(winapi::kHkeyLocalMachine, u"SOFTWARE\\Wow6432Node\\Vendor", u"Tool"), nullptr);

  const RegistrySubject user = SplitRegistrySubject(u"HKCU\\SOFTWARE\\Vendor=Tool");
  EXPECT_EQ(DeleteFoundValue(os, winapi::kHkeyCurrentUser, user, FoundValueOf(state, 1)), DeleteOutcome::Deleted);
  EXPECT_EQ(DeleteFoundValue(os, winapi::kHkeyCurrentUser, user, FoundValueOf(state, 1)), DeleteOutcome::Missing);
}

TEST_F(DeleteFinding, AValueIsDeletedOnlyWhileItHoldsWhatAnalyzeRead) {
  const Text key = u"SOFTWARE\\Vendor";
  struct Case {
    const char* what;
    std::function<void()> meddle;
    DeleteOutcome outcome;
  };
  const std::vector<Case> cases = {
      {"unchanged", [] {}, DeleteOutcome::Deleted},
      {"points at a live file again",
       [&] { machine.SetString(winapi::kHkeyCurrentUser, key, u"v", u"C:\\Windows\\notepad.exe"); },
       DeleteOutcome::Changed},
      {"same text, other type",
       [&] { machine.SetString(winapi::kHkeyCurrentUser, key, u"v", u"C:\\gone.exe", winapi::kRegExpandSz); },
       DeleteOutcome::Changed},
      {"one byte more", [&] { machine.SetValue(winapi::kHkeyCurrentUser, key, u"v", winapi::kRegSz, {'C', 0, 0, 0, 0}); },
       DeleteOutcome::Changed},
      {"gone already", [&] { machine.FindKey(winapi::kHkeyCurrentUser, key)->values.clear(); }, DeleteOutcome::Missing},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    machine.SetString(winapi::kHkeyCurrentUser, key, u"v", u"C:\\gone.exe");
    state.Results.Clear();
    state.FoundValues.clear();
    test::StoreValueFinding(state, os, u"15#HKCU\\SOFTWARE\\Vendor=v#11 b");
    c.meddle();
    const sim::RegValueData* before = machine.FindValue(winapi::kHkeyCurrentUser, key, u"v");
    const std::optional<sim::RegValueData> kept = before ? std::optional(*before) : std::nullopt;

    EXPECT_EQ(DeleteFoundValue(os, winapi::kHkeyCurrentUser, SplitRegistrySubject(u"HKCU\\SOFTWARE\\Vendor=v"),
                               FoundValueOf(state, 0)),
              c.outcome);
    const sim::RegValueData* after = machine.FindValue(winapi::kHkeyCurrentUser, key, u"v");
    if (c.outcome == DeleteOutcome::Changed) {
      ASSERT_NE(after, nullptr);
      EXPECT_EQ(after->type, kept->type);
      EXPECT_EQ(after->data, kept->data);
    } else {
      EXPECT_EQ(after, nullptr);
    }
  }
  // Without a record of what the walk read, nothing is deleted.
  machine.SetString(winapi::kHkeyCurrentUser, key, u"v", u"C:\\gone.exe");
  EXPECT_EQ(DeleteFoundValue(os, winapi::kHkeyCurrentUser, SplitRegistrySubject(u"HKCU\\SOFTWARE\\Vendor=v"), nullptr),
            DeleteOutcome::Changed);
  EXPECT_NE(machine.FindValue(winapi::kHkeyCurrentUser, key, u"v"), nullptr);
}

TEST_F(DeleteFinding, AFileGoesOnlyBelowTheRootWhoseWalkFoundIt) {
  machine.AddFile(u"C:\\X\\a.tmp", "a");
  machine.AddFile(u"C:\\Xy\\b.tmp", "b");
  machine.AddFile(u"C:\\X\\in\\c.tmp", "c");
  const uint32_t outer = state.Roots.Record(os, u"C:\\X\\");
  const uint32_t inner = state.Roots.Record(os, u"C:\\X\\in\\");

  // "C:\X\" does not hold "C:\Xy\": a root is matched name by name.
  EXPECT_EQ(files.Delete(u"C:\\Xy\\b.tmp", outer), DeleteOutcome::Redirected);
  EXPECT_TRUE(machine.Exists(u"C:\\Xy\\b.tmp"));
  // The inner root, swapped after the record, refuses its own findings; the
  // outer walk's findings below it are judged by the outer root.
  machine.Remove(u"C:\\X\\in");
  machine.AddFile(u"C:\\Bait\\c.tmp", "bait");
  machine.AddFolderLink(u"C:\\X\\in", u"C:\\Bait");
  EXPECT_EQ(files.Delete(u"C:\\X\\in\\c.tmp", inner), DeleteOutcome::Redirected);
  EXPECT_EQ(files.Delete(u"C:\\X\\in\\c.tmp", outer), DeleteOutcome::Redirected);
  EXPECT_EQ(files.Delete(u"C:\\X\\a.tmp", outer), DeleteOutcome::Deleted);
  EXPECT_TRUE(machine.Exists(u"C:\\Bait\\c.tmp"));
  // A root number never given is no root.
  EXPECT_EQ(files.Delete(u"C:\\Xy\\b.tmp", 77), DeleteOutcome::Redirected);
}

TEST_F(DeleteFinding, EntryPassDeletesTickedSectionsOnlyAndPumpsEveryHundredEntries) {
  // 250 findings: 01 (temp), 11 (Skype), 12 (Explorer) files, then 15 and 16 values.
  for (int i = 0; i < 246; ++i) {
    const char16_t* code = i % 3 == 0 ? u"01" : i % 3 == 1 ? u"11" : u"12";
    const Text path = u"C:\\S" + Text(code) + u"\\f" + NumberText(i) + u".dat";
    machine.AddFile(path, "12345678");
    test::AppendEntry(state.Results, Text(code) + u"#" + path + u"#0.01 KB");
  }
  machine.SetString(winapi::kHkeyCurrentUser, u"SOFTWARE\\V1", u"a", u"x");
  machine.SetString(winapi::kHkeyCurrentUser, u"SOFTWARE\\V1", u"", u"x");
  machine.SetString(winapi::kHkeyLocalMachine, u"SOFTWARE\\V", u"m", u"x");
  test::StoreValueFinding(state, os, u"15#HKCU\\SOFTWARE\\V1=a#3 b");
  test::StoreValueFinding(state, os, u"15#HKCU\\SOFTWARE\\V1=#3 b");
  test::StoreValueFinding(state, os, u"16#HKLM\\SOFTWARE\\V=m#3 b");
  test::AppendEntry(state.Results, u"99#junk");

  Text mask(16, u'0');
  mask[0] = mask[11] = mask[14] = u'1';  // 01, 12 and 15
  state.Running = true;  // as the window holds it for the run
  const DeleteAllReport report = DeleteStoredFindings(run, mask);

  EXPECT_EQ(host.pumps, 3);  // before entries 0, 100 and 200
  EXPECT_FALSE(machine.Exists(u"C:\\S01\\f0.dat"));
  EXPECT_TRUE(machine.Exists(u"C:\\S11\\f1.dat"));
  EXPECT_FALSE(machine.Exists(u"C:\\S12\\f2.dat"));
  EXPECT_FALSE(machine.Exists(u"C:\\S12\\f245.dat"));
  EXPECT_EQ(machine.FindValue(winapi::kHkeyCurrentUser, u"SOFTWARE\\V1", u"a"), nullptr);
  EXPECT_EQ(machine.FindValue(winapi::kHkeyCurrentUser, u"SOFTWARE\\V1", u""), nullptr);
  EXPECT_NE(machine.FindValue(winapi::kHkeyLocalMachine, u"SOFTWARE\\V", u"m"), nullptr);
  EXPECT_EQ(state.Results.Count(), 250u);  // the store is emptied by the window, not here
  EXPECT_EQ(report.deleted, 82u + 82u + 2u);
  EXPECT_EQ(report.Stayed(), 0u);
  EXPECT_EQ(std::count(report.stays.begin(), report.stays.end(), true), 0);
}

}  // namespace
}  // namespace nb
