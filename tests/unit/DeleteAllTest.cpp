#include "app/Settings.h"
#include "catalogue/Catalogue.h"
#include "support/FormFixture.h"
#include "support/StoredFindings.h"

namespace nb::test {
namespace {

constexpr uint32_t kQuestion = winapi::kMbYesNo | winapi::kMbIconQuestion;
const Text kDone = u"Files from selected categories have been deleted";
const Text kBrowserWarning =
    u"We recommend you close all browsers before cleaning. Are you sure you want to continue?";
const Text kSkypeWarning = u"We recommend you close Skype before cleaning. Are you sure you want to continue?";
const Text kCancel = u"Are you sure you want to cancel deleting?";

class DeleteAll : public FormFixture {
 protected:
  // The window as an Analyze run leaves it: findings stored and shown, Delete all enabled.
  void Analyzed() {
    Start();
    form.Button3.SetEnabled(true);
    form.ActionPanel.SetCaption(u"Total:2 items found, 0.01 MB");
    form.Label4.SetVisible(true);
    form.List2.AddRow(0, u"C:\\x", u"1.00 KB", true);
    form.List3.AddLine(u"preview");
  }
  // A file on disk and its finding in the store.
  Text Finding(const char16_t* code, const Text& path, uint32_t attributes = winapi::kAttrArchive) {
    machine.AddFile(path, "contents", attributes);
    AppendEntry(form.State.Results, Text(code) + u"#" + path + u"#0.01 KB");
    return path;
  }
  void Tick(int section, bool ticked) {
    const auto [group, item] = PositionOfSection(SectionCode(section));
    form.List1.SetChecked(group, item, ticked);
  }
  std::vector<Text> BoxTexts() const {
    std::vector<Text> texts;
    for (const auto& box : ui.boxes) texts.push_back(box.text);
    return texts;
  }
  // The window after a run that left `stayed` findings in the store, saying so in `status`.
  void ExpectFinishedWithStayed(size_t stayed, const Text& status) {
    EXPECT_FALSE(form.State.Busy());
    EXPECT_EQ(form.State.Results.Count(), stayed);
    EXPECT_EQ(form.List2.RowCount(0), 0);
    EXPECT_TRUE(form.List2.Visible());
    EXPECT_EQ(form.ActionPanel.Caption(), status);
    // The status line has the strip to itself: the action labels stay hidden.
    for (ui::Label* l : {&form.Label1, &form.Label2, &form.Label3, &form.Label4}) EXPECT_FALSE(l->Visible());
    EXPECT_EQ(form.Button3.Caption(), u"Delete");
    for (ui::Button* b : {&form.Button2, &form.Button3, &form.Button4}) EXPECT_TRUE(b->Enabled());
  }
  void ExpectFinished() {
    EXPECT_FALSE(form.State.Busy());
    EXPECT_TRUE(form.State.Results.Empty());
    EXPECT_EQ(form.List2.RowCount(0), 0);
    EXPECT_EQ(form.List2.GroupCount(), 1);
    EXPECT_FALSE(form.List2.Visible());
    EXPECT_TRUE(form.List3.Lines().empty());
    EXPECT_EQ(form.ActionPanel.Caption(), kDone);
    for (ui::Label* l : {&form.Label1, &form.Label2, &form.Label3, &form.Label4}) EXPECT_FALSE(l->Visible());
    EXPECT_EQ(form.Button3.Caption(), u"Delete");
    for (ui::Button* b : {&form.Button2, &form.Button3, &form.Button4}) EXPECT_TRUE(b->Enabled());
    EXPECT_EQ(form.FocusedControl(), &form.Button4);
  }
};

TEST_F(DeleteAll, RunningBrowsersAndSkypeAreWarnedAboutBrowserFirst) {
  struct Case {
    const char* what;
    std::vector<Text> processes;
    std::deque<int> answers;
    std::vector<Text> boxes;
    bool runs;
  };
  const std::vector<Case> cases = {
      {"browser only, No", {u"explorer.exe", u"chrome.exe"}, {winapi::kIdNo}, {kBrowserWarning}, false},
      {"Skype only, No", {u"Skype.exe"}, {winapi::kIdNo}, {kSkypeWarning}, false},
      {"both, No to the first", {u"SKYPE.EXE", u"firefox.exe"}, {winapi::kIdNo}, {kBrowserWarning}, false},
      {"both, Yes then No", {u"iexplore.exe", u"skype.exe"}, {winapi::kIdYes, winapi::kIdNo},
       {kBrowserWarning, kSkypeWarning}, false},
      {"both, Yes to each", {u"chrome.exe", u"skype.exe"}, {winapi::kIdYes, winapi::kIdYes},
       {kBrowserWarning, kSkypeWarning}, true},
      {"neither", {u"SkypeApp.exe", u"opera.exe"}, {}, {}, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    SimForm w;
    w.machine.SetUpStandardUser();
    w.Start();
    w.form.Button3.SetEnabled(true);
    w.machine.AddFile(u"C:\\T\\a.tmp", "x");
    AppendEntry(w.form.State.Results, u"01#C:\\T\\a.tmp#0.00 KB");
    w.machine.processes = c.processes;
    w.ui.answers = c.answers;
    const Text statusBefore = w.form.ActionPanel.Caption();

    w.form.Button3.Click();

    std::vector<Text> texts;
    for (const auto& box : w.ui.boxes) {
      texts.push_back(box.text);
      EXPECT_EQ(box.caption, u"Confirmation");
      EXPECT_EQ(box.flags, kQuestion);
    }
    EXPECT_EQ(texts, c.boxes);
    EXPECT_EQ(w.machine.Exists(u"C:\\T\\a.tmp"), !c.runs);
    EXPECT_EQ(w.form.State.Results.Empty(), c.runs);
    EXPECT_EQ(w.form.ActionPanel.Caption(), c.runs ? kDone : statusBefore);
    EXPECT_EQ(w.form.Button3.Caption(), c.runs ? u"Delete" : u"Delete all");
    EXPECT_FALSE(w.form.State.Busy());
  }
}

TEST_F(DeleteAll, DeletesTheSectionsTickedNowAndKeepsListingWhatStayed) {
  Analyzed();
  const Text temp = Finding(u"01", u"C:\\Users\\Tester\\AppData\\Local\\Temp\\ro.tmp",
                            winapi::kAttrReadOnly | winapi::kAttrHidden | winapi::kAttrSystem);
  const Text edge = Finding(u"05", u"C:\\P\\AC\\#!001\\MicrosoftEdge\\Cache\\X1\\a=b.dat");
  const Text skype = Finding(u"11", u"C:\\Users\\Tester\\AppData\\Roaming\\Skype\\me\\chatsync\\c.dat");
  const Text explorer = Finding(u"12", u"C:\\Users\\Tester\\AppData\\Local\\Microsoft\\Windows\\Explorer\\t.db");
  const Text locked = Finding(u"01", u"C:\\Users\\Tester\\AppData\\Local\\Temp\\busy.log", winapi::kAttrHidden);
  machine.Find(locked)->lock = sim::ForeignLock{winapi::kShareRead | winapi::kShareWrite};
  machine.SetString(winapi::kHkeyCurrentUser, u"SOFTWARE\\V#x", u"name=with#hash", u"C:\\gone.exe");
  machine.SetString(winapi::kHkeyCurrentUser, u"SOFTWARE\\V#x", u"", u"C:\\gone.exe");
  StoreValueFinding(form.State, os, u"15#HKCU\\SOFTWARE\\V#x=name=with#hash#11 b");
  StoreValueFinding(form.State, os, u"15#HKCU\\SOFTWARE\\V#x=#11 b");
  Tick(11, false);  // unticked after the analysis: Skype's findings stay, and leave the list

  form.Button3.Click();

  EXPECT_FALSE(machine.Exists(temp));
  EXPECT_FALSE(machine.Exists(edge));
  EXPECT_FALSE(machine.Exists(explorer));
  EXPECT_TRUE(machine.Exists(skype));
  EXPECT_TRUE(machine.Exists(locked));
  EXPECT_EQ(AttributesOf(os, locked), winapi::kAttrHidden);  // left as the user had it
  EXPECT_EQ(machine.FindValue(winapi::kHkeyCurrentUser, u"SOFTWARE\\V#x", u"name=with#hash"), nullptr);
  EXPECT_EQ(machine.FindValue(winapi::kHkeyCurrentUser, u"SOFTWARE\\V#x", u""), nullptr);
  EXPECT_TRUE(ui.boxes.empty());
  ExpectFinishedWithStayed(1, u"1 items could not be deleted and are still listed (1 in use or access denied)");
  EXPECT_EQ(EntryAt(form.State.Results, 0), u"01#" + locked + u"#0.01 KB");

  // A section click shows what stayed; once the other program lets go, "Delete" takes it.
  form.List1ItemClick(PositionOfSection(u"01").first, PositionOfSection(u"01").second);
  ASSERT_EQ(form.List2.RowCount(0), 1);
  EXPECT_EQ(form.List2.RowCaption(0, 0), locked);
  machine.Find(locked)->lock.reset();
  form.Button3.Click();
  EXPECT_FALSE(machine.Exists(locked));
  ExpectFinished();
}

TEST_F(DeleteAll, ValuesChangedSinceAnalyzeStayAndTheStatusSaysWhy) {
  Analyzed();
  machine.SetString(winapi::kHkeyCurrentUser, u"SOFTWARE\\V", u"revived", u"C:\\gone.exe");
  machine.SetString(winapi::kHkeyCurrentUser, u"SOFTWARE\\V", u"retyped", u"C:\\gone.exe");
  machine.SetString(winapi::kHkeyCurrentUser, u"SOFTWARE\\V", u"stale", u"C:\\gone.exe");
  StoreValueFinding(form.State, os, u"15#HKCU\\SOFTWARE\\V=revived#11 b");
  StoreValueFinding(form.State, os, u"15#HKCU\\SOFTWARE\\V=retyped#11 b");
  StoreValueFinding(form.State, os, u"15#HKCU\\SOFTWARE\\V=stale#11 b");
  AppendEntry(form.State.Results, u"15#HKCU\\SOFTWARE\\V=unread#11 b");  // nothing on record: never deleted
  machine.SetString(winapi::kHkeyCurrentUser, u"SOFTWARE\\V", u"unread", u"C:\\gone.exe");
  // A program reinstalled meanwhile points the value at a live file again.
  machine.SetString(winapi::kHkeyCurrentUser, u"SOFTWARE\\V", u"revived", u"C:\\Windows\\notepad.exe");
  machine.SetString(winapi::kHkeyCurrentUser, u"SOFTWARE\\V", u"retyped", u"C:\\gone.exe", winapi::kRegExpandSz);

  form.Button3.Click();

  for (const char16_t* name : {u"revived", u"retyped", u"unread"})
    EXPECT_NE(machine.FindValue(winapi::kHkeyCurrentUser, u"SOFTWARE\\V", name), nullptr) << ToUtf8(name);
  EXPECT_EQ(machine.FindValue(winapi::kHkeyCurrentUser, u"SOFTWARE\\V", u"stale"), nullptr);
  ExpectFinishedWithStayed(3, u"3 items could not be deleted and are still listed (3 changed since Analyze)");
}

TEST_F(DeleteAll, ANameThatOutlivesItsGrantedDeletionStaysListed) {
  Analyzed();
  const Text temp = u"C:\\Temp\\";
  form.State.Loc.TempFolders = {temp};
  // Each folder is looked at once: a cache's as it is left, a temp folder's
  // in the purge's listing, one too deep for the purge by path at the end.
  const struct {
    const char16_t* code;
    Text folder;
  } cases[] = {
      {u"06", u"C:\\Cache\\"},
      {u"01", temp},
      {u"01", temp + u"sub\\deeper\\"},
      {u"01", temp + Text(250, u'L') + u"\\"},
  };
  std::vector<Text> stuck, gone;
  for (const auto& c : cases) {
    stuck.push_back(Finding(c.code, c.folder + u"Stuck.tmp"));
    gone.push_back(Finding(c.code, c.folder + u"gone.tmp"));
    machine.Find(stuck.back())->nameOutlivesDeletion = true;
  }

  form.Button3.Click();

  for (size_t i = 0; i < stuck.size(); ++i) {
    EXPECT_TRUE(machine.Exists(stuck[i])) << ToUtf8(stuck[i]);
    EXPECT_FALSE(machine.Exists(gone[i])) << ToUtf8(gone[i]);
  }
  ExpectFinishedWithStayed(4, u"4 items could not be deleted and are still listed (4 in use or access denied)");
  EXPECT_EQ(EntryAt(form.State.Results, 0), u"06#C:\\Cache\\Stuck.tmp#0.01 KB");
  EXPECT_EQ(EntryAt(form.State.Results, 2), u"01#C:\\Temp\\sub\\deeper\\Stuck.tmp#0.01 KB");
}

TEST_F(DeleteAll, ButtonsAndStatusWhileRunning) {
  Analyzed();
  Finding(u"01", u"C:\\T\\a.tmp");
  bool checked = false;
  ui.onPump = [&](int) {
    if (checked) return;
    checked = true;
    EXPECT_TRUE(form.State.Busy());
    EXPECT_EQ(form.ActionPanel.Caption(), u"Deleting. Please wait...");
    EXPECT_FALSE(form.Button2.Enabled());
    EXPECT_TRUE(form.Button3.Enabled());
    EXPECT_EQ(form.Button3.Caption(), u"Stop");
    EXPECT_FALSE(form.Button4.Enabled());
    form.Button4.Click();  // refused: disabled
    Tick(1, false);        // saved, but the run keeps its own mask
  };
  form.Button3.Click();
  EXPECT_TRUE(checked);
  EXPECT_FALSE(machine.Exists(u"C:\\T\\a.tmp"));
  EXPECT_EQ(LoadSectionMask(os)[0], u'0');
  ExpectFinished();
}

TEST_F(DeleteAll, StopWithYesDuringTheEntryPassLeavesTheRemainingFindingsAndSkipsTheFolders) {
  Analyzed();
  form.State.Loc.TempFolders = {u"C:\\T\\"};
  machine.AddFolder(u"C:\\T\\empty");
  for (int i = 0; i < 250; ++i) Finding(u"01", u"C:\\T\\f" + NumberText(i) + u".tmp");
  ui.onPump = [&](int pump) {
    if (pump == 2) {  // before entry 100
      ui.answers = {winapi::kIdYes};
      form.Button3.Click();
    }
  };

  form.Button3.Click();

  EXPECT_EQ(BoxTexts(), std::vector<Text>{kCancel});
  EXPECT_EQ(ui.boxes[0].caption, u"Confirmation");
  EXPECT_EQ(ui.boxes[0].flags, kQuestion);
  // The stop was confirmed before entry 100: that one and every later one stay, and stay listed.
  for (int i = 0; i < 250; ++i) EXPECT_EQ(machine.Exists(u"C:\\T\\f" + NumberText(i) + u".tmp"), i >= 100) << i;
  EXPECT_TRUE(machine.Exists(u"C:\\T\\empty"));
  EXPECT_EQ(ui.pumps, 3);  // entries 0 and 100, then the check before the folder steps
  ExpectFinishedWithStayed(150, u"150 items could not be deleted and are still listed (150 not reached before the run stopped)");
  EXPECT_EQ(EntryAt(form.State.Results, 0), u"01#C:\\T\\f100.tmp#0.01 KB");
}

TEST_F(DeleteAll, NoToTheCancelQuestionLetsTheRunGoOn) {
  Analyzed();
  form.State.Loc.TempFolders = {u"C:\\T\\"};
  machine.AddFolder(u"C:\\T\\empty");
  Finding(u"01", u"C:\\T\\a.tmp");
  ui.onPump = [&](int pump) {
    if (pump == 1) form.Button3.Click();  // answered No by default
  };
  form.Button3.Click();
  EXPECT_EQ(BoxTexts(), std::vector<Text>{kCancel});
  EXPECT_FALSE(machine.Exists(u"C:\\T\\empty"));
  ExpectFinished();
}

TEST_F(DeleteAll, FolderStepsPruneTempFoldersFixedRecycleBinsAndSkype) {
  struct Case {
    const char* what;
    uint32_t osMajor;
    Text mask;
    Text skypeFolder;
    std::vector<Text> gone, kept;
  };
  const Text all(16, u'1');
  const Text none(16, u'0');
  const std::vector<Case> cases = {
      {"all ticked", 10, all, u"C:\\Sky\\",
       {u"C:\\T1\\e", u"C:\\T2\\e", u"C:\\$RECYCLE.BIN\\S-1\\e", u"E:\\$RECYCLE.BIN\\e", u"C:\\Sky\\e"},
       {u"A:\\$RECYCLE.BIN\\e", u"D:\\$RECYCLE.BIN\\e", u"C:\\RECYCLER\\e", u"C:\\T1", u"C:\\Sky"}},
      {"version 5 bins", 5, all, u"",
       {u"C:\\RECYCLER\\e"},
       {u"C:\\$RECYCLE.BIN\\S-1\\e", u"C:\\Sky\\e"}},
      {"nothing ticked", 10, none, u"C:\\Sky\\",
       {},
       {u"C:\\T1\\e", u"C:\\$RECYCLE.BIN\\S-1\\e", u"C:\\Sky\\e"}},
      {"only the recycle bin", 10, u"0100000000000000", u"C:\\Sky\\",
       {u"C:\\$RECYCLE.BIN\\S-1\\e"},
       {u"C:\\T1\\e", u"C:\\Sky\\e"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    SimForm w;
    w.machine.SetUpStandardUser();
    w.machine.AddDrive(u'A', winapi::kDriveFixed);
    w.machine.AddDrive(u'D', winapi::kDriveRemovable);
    w.machine.AddDrive(u'E', winapi::kDriveFixed);
    for (const char16_t* folder : {u"C:\\T1\\e", u"C:\\T2\\e", u"C:\\$RECYCLE.BIN\\S-1\\e", u"C:\\RECYCLER\\e",
                               u"A:\\$RECYCLE.BIN\\e", u"D:\\$RECYCLE.BIN\\e", u"E:\\$RECYCLE.BIN\\e", u"C:\\Sky\\e"})
      w.machine.AddFolder(folder);
    w.Start();
    SaveSectionMask(w.os, c.mask);
    w.form.State.Loc.OsMajorVersion = c.osMajor;
    w.form.State.Loc.TempFolders = {u"C:\\T1\\", u"C:\\T2\\"};
    w.form.State.Loc.SkypeChatsyncFolder = c.skypeFolder;

    w.form.Button3.SetEnabled(true);
    w.form.Button3.Click();

    for (const Text& path : c.gone) EXPECT_FALSE(w.machine.Exists(path)) << ToUtf8(path);
    for (const Text& path : c.kept) EXPECT_TRUE(w.machine.Exists(path)) << ToUtf8(path);
    EXPECT_EQ(w.form.ActionPanel.Caption(), kDone);
  }
}

TEST_F(DeleteAll, ASecondPressWithAnEmptyStoreOnlyRunsTheFolderSteps) {
  Analyzed();
  form.State.Loc.TempFolders = {u"C:\\T\\"};
  Finding(u"01", u"C:\\T\\a.tmp");
  form.Button3.Click();
  ExpectFinished();

  machine.AddFolder(u"C:\\T\\new\\empty");
  machine.AddFile(u"C:\\T\\b.tmp", "not a finding");
  form.Button3.Click();
  EXPECT_FALSE(machine.Exists(u"C:\\T\\new"));
  EXPECT_TRUE(machine.Exists(u"C:\\T\\b.tmp"));
  ExpectFinished();
}

}  // namespace
}  // namespace nb::test
