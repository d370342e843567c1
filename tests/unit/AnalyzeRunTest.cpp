#include "app/Settings.h"
#include "catalogue/Catalogue.h"
#include "support/FormFixture.h"

namespace nb::test {
namespace {

const Text kRoaming = u"C:\\Users\\Tester\\AppData\\Roaming\\";
const Text kLocal = u"C:\\Users\\Tester\\AppData\\Local\\";
const Text kEdge = kLocal + u"Packages\\Microsoft.MicrosoftEdge_8wekyb3d8bbwe\\AC\\";
const Text kChrome = kLocal + u"Google\\Chrome\\User Data\\Default\\";
constexpr uint64_t kSixGigabytes = 6ull << 30;

// The main window on a machine with findings in every section, found by the
// program's own location discovery at start-up.
class AnalyzeRun : public FormFixture {
 protected:
  AnalyzeRun() {
    machine.AddSizedFile(kLocal + u"Temp\\a.tmp", 1536);
    machine.AddFile(u"C:\\$RECYCLE.BIN\\S-1-5-21\\$R1.txt");
    machine.AddSizedFile(u"C:\\Windows\\Logs\\cbs.log", 1048576);
    machine.AddFile(kLocal + u"Microsoft\\Windows\\History\\h.dat");
    machine.AddFile(kEdge + u"#!001\\MicrosoftEdge\\Cache\\X1\\e.dat");
    machine.AddFile(kChrome + u"Cache\\c0");
    machine.AddSizedFile(kChrome + u"History", 10240);
    machine.AddFile(kRoaming + u"Mozilla\\Firefox\\profiles.ini", "[Profile0]\nPath=Profiles/abc.default\n");
    machine.AddFile(kLocal + u"Mozilla\\Firefox\\Profiles\\abc.default\\cache2\\entries\\E1");
    machine.AddFile(u"C:\\Program Files\\Yahoo!\\Messenger\\Cache\\y.dat");
    machine.AddFile(u"C:\\Users\\Tester\\Documents\\AIMLogger\\a.txt");
    machine.AddFile(kRoaming + u"Microsoft\\MSN Messenger\\m.dat");
    machine.AddFile(kRoaming + u"Skype\\shared.xml", "<?xml version=\"1.0\"?>\n<config>\n  <Default>alice</Default>\n");
    machine.AddFile(kRoaming + u"Skype\\alice\\chatsync\\x\\c.dat");
    machine.AddFile(kLocal + u"Microsoft\\Windows\\Explorer\\thumbcache_32.db");
    machine.AddSizedFile(u"C:\\Program Files\\Steam\\Logs\\huge.dmp", kSixGigabytes);
    machine.AddFile(kLocal + u"TechSmith\\SnagIt\\Thumbnails\\t.png");
    machine.SetString(winapi::kHkeyCurrentUser, u"SOFTWARE\\Vendor\\App", u"Updater", u"C:\\Old\\app.exe");
    machine.SetString(winapi::kHkeyLocalMachine, u"SOFTWARE\\Vendor", u"", u"C:\\Old\\b.dll");
  }

  const std::vector<Text> kEveryFinding = {
      u"01#" + kLocal + u"Temp\\a.tmp#1.50 KB",
      u"02#C:\\$RECYCLE.BIN\\S-1-5-21\\$R1.txt#0.00 KB",
      u"03#C:\\Windows\\Logs\\cbs.log#1.00 MB",
      u"04#" + kLocal + u"Microsoft\\Windows\\History\\h.dat#0.00 KB",
      u"05#" + kEdge + u"#!001\\MicrosoftEdge\\Cache\\X1\\e.dat#0.00 KB",
      u"06#" + kChrome + u"Cache\\c0#0.00 KB",
      u"06#" + kChrome + u"History#10.00 KB",
      u"07#" + kLocal + u"Mozilla\\Firefox\\Profiles\\abc.default\\Cache2\\entries\\E1#0.00 KB",
      u"08#C:\\Program Files\\Yahoo!\\Messenger\\Cache\\y.dat#0.00 KB",
      u"09#C:\\Users\\Tester\\Documents\\AIMLogger\\a.txt#0.00 KB",
      u"10#" + kRoaming + u"Microsoft\\MSN Messenger\\m.dat#0.00 KB",
      u"11#" + kRoaming + u"Skype\\alice\\chatsync\\x\\c.dat#0.00 KB",
      u"12#" + kLocal + u"Microsoft\\Windows\\Explorer\\thumbcache_32.db#0.00 KB",
      u"13#C:\\Program Files\\Steam\\Logs\\huge.dmp#6144.00 MB",
      u"14#" + kLocal + u"TechSmith\\SnagIt\\Thumbnails\\t.png#0.00 KB",
      u"15#HKCU\\SOFTWARE\\Vendor\\App=Updater#14 b",
      u"16#HKLM\\SOFTWARE\\Vendor=#12 b",
  };
  // 2 + 1024 + 10 + 6291456 KB
  const Text kEverySummary = u"Total:17 items found, 6145.01 MB";

  void StoreMask(const Text& mask) {
    machine.SetString(winapi::kHkeyCurrentUser, kSettingsKey, kSettingsValue, mask);
  }

  // Answers the cancel question once `pump` is reached.
  void PressStopAt(int pump, int answer) {
    ui.onPump = [this, pump, answer](int number) {
      if (number != pump) return;
      ui.answers.push_back(answer);
      form.Button2.Click();
    };
  }

  void ExpectIdleWithSummary(const Text& summary) {
    EXPECT_FALSE(form.State.Busy());
    EXPECT_EQ(form.Button2.Caption(), u"Analyze");
    EXPECT_TRUE(form.Button4.Enabled());
    EXPECT_EQ(form.Label4.Caption(), summary);
    EXPECT_EQ(form.ActionPanel.Caption(), u"");
    for (auto* label : {&form.Label1, &form.Label2, &form.Label3, &form.Label4}) EXPECT_TRUE(label->Visible());
    EXPECT_EQ(form.List2.RowCount(0), 0);
  }
};

TEST_F(AnalyzeRun, FindsEverySectionInCodeOrderAndSumsUp) {
  Start();
  bool sawRunning = false;
  ui.onPump = [&](int number) {
    if (number != 1) return;
    sawRunning = true;
    EXPECT_TRUE(form.State.Busy());
    EXPECT_EQ(form.Button2.Caption(), u"Stop");
    EXPECT_TRUE(form.Button2.Enabled());
    EXPECT_FALSE(form.Button4.Enabled());
    EXPECT_FALSE(form.Button3.Enabled());
    EXPECT_EQ(form.ActionPanel.Caption(), u"Analyzing. Please wait...");
    for (auto* label : {&form.Label1, &form.Label2, &form.Label3, &form.Label4}) EXPECT_FALSE(label->Visible());
  };
  form.Button2.Click();
  EXPECT_TRUE(sawRunning);
  EXPECT_EQ(Entries(), kEveryFinding);
  ExpectIdleWithSummary(kEverySummary);
  EXPECT_TRUE(form.Button3.Enabled());
  EXPECT_TRUE(form.Button3.Focused());
  EXPECT_EQ(form.State.SectionFindingCounts[6], 2);
  EXPECT_EQ(form.State.SectionKbTotals[6], 10);
}

TEST_F(AnalyzeRun, StoredMaskDecidesTheSectionsAndTheRunKeepsItsOwnCopy) {
  struct Case {
    const char* what;
    Text stored;
    std::vector<Text> codes;  // the sections whose findings are expected
    Text summary;
  };
  const Case cases[] = {
      {"fifteen characters tick everything", Text(15, u'0'), {}, kEverySummary},
      {"Chrome but not Firefox", u"0000010000000000", {u"06"}, u"Total:2 items found, 0.01 MB"},
      {"Firefox but not Chrome", u"0000001000000000", {u"07"}, u"Total:1 items found, 0.00 MB"},
      {"only the registry", u"0000000000000011", {u"15", u"16"}, u"Total:2 items found, 0.00 MB"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    StoreMask(c.stored);
    ui.pumps = 0;
    ui.Realize(form);
    ui.Show(form);
    // Unticking everything during the run is saved but changes nothing for this run.
    ui.onPump = [&](int number) {
      if (number != 1) return;
      for (int group = 0; group < kGroupCount; ++group)
        for (int row = 0; row < form.List1.RowCount(group); ++row) form.List1.SetChecked(group, row, false);
    };
    form.Button2.Click();
    std::vector<Text> expected;
    for (const Text& entry : kEveryFinding)
      if (c.codes.empty() || std::find(c.codes.begin(), c.codes.end(), entry.substr(0, 2)) != c.codes.end())
        expected.push_back(entry);
    EXPECT_EQ(Entries(), expected);
    EXPECT_EQ(form.Label4.Caption(), c.summary);
    EXPECT_EQ(LoadSectionMask(os), Text(16, u'0'));
    ui.onPump = nullptr;
  }
}

TEST_F(AnalyzeRun, NothingTickedFinishesAtOnceInTheUsersDecimalSeparator) {
  machine.decimalSeparator = u",";
  StoreMask(Text(16, u'0'));
  Start();
  form.Button2.Click();
  EXPECT_TRUE(form.State.Results.Empty());
  ExpectIdleWithSummary(u"Total:0 items found, 0,00 MB");
  EXPECT_FALSE(form.Button3.Enabled()) << "Delete all keeps its state";
}

class AnalyzeStop : public AnalyzeRun {
 protected:
  AnalyzeStop() {
    for (int i = 0; i < 1000; ++i) machine.AddSizedFile(kLocal + u"Temp\\big\\f" + NumberText(i), 1024);
  }
};

TEST_F(AnalyzeStop, YesInTheMiddleOfALargeFolderEndsWithinOneFile) {
  StoreMask(u"1000000000000000");
  Start();
  // Pump 1 comes before the Temp folder, pump 2 before its first file a.tmp,
  // pumps 3... before the files of "big": Stop is pressed while the 400th is due.
  PressStopAt(401, winapi::kIdYes);
  form.Button2.Click();
  ASSERT_EQ(ui.boxes.size(), 1u);
  EXPECT_EQ(ui.boxes[0].text, u"Are you sure you want to cancel scan?");
  EXPECT_EQ(ui.boxes[0].caption, u"Confirmation");
  EXPECT_EQ(ui.boxes[0].flags, winapi::kMbYesNo | winapi::kMbIconQuestion);
  EXPECT_EQ(form.State.Results.Count(), 399u);  // a.tmp and 398 files of "big"
  EXPECT_LE(ui.pumps, 401 + 1) << "one pump after the folder's scan, then the finish";
  ExpectIdleWithSummary(u"Total:399 items found, 0.39 MB");
  EXPECT_TRUE(form.Button3.Enabled());
}

TEST_F(AnalyzeStop, NoChangesNothing) {
  StoreMask(u"1000000000000000");
  Start();
  form.Button2.Click();
  const std::vector<Text> undisturbed = Entries();
  const Text summary = form.Label4.Caption();
  ASSERT_EQ(undisturbed.size(), 1001u);

  ui.pumps = 0;
  PressStopAt(401, winapi::kIdNo);
  form.Button2.Click();
  EXPECT_EQ(ui.boxes.size(), 1u);
  EXPECT_EQ(Entries(), undisturbed);
  ExpectIdleWithSummary(summary);
}

TEST_F(AnalyzeRun, ASecondRunStartsFromNothing) {
  Start();
  form.Button2.Click();
  ASSERT_EQ(Entries(), kEveryFinding);
  form.List1ItemClick(0, 0);
  form.List3.AddLine(u"details of the first run");
  ASSERT_EQ(form.List2.RowCount(0), 1);
  for (int group = 0; group < kGroupCount; ++group)
    for (int row = 0; row < form.List1.RowCount(group); ++row) form.List1.SetChecked(group, row, false);
  form.List1.SetChecked(0, 2, true);  // Windows log files

  ui.onPump = [&](int number) {
    if (number != 1) return;
    EXPECT_TRUE(form.State.Results.Empty());
    EXPECT_FALSE(form.Label4.Visible());
    EXPECT_EQ(form.List2.RowCount(0), 0);
    EXPECT_TRUE(form.List3.Lines().empty());
    EXPECT_EQ(form.State.SectionFindingCounts, (PerSection<int32_t>{}));
  };
  form.Button2.Click();
  EXPECT_EQ(Entries(), (std::vector<Text>{u"03#C:\\Windows\\Logs\\cbs.log#1.00 MB"}));
  ExpectIdleWithSummary(u"Total:1 items found, 1.00 MB");
}

TEST_F(AnalyzeRun, ClicksOnTheListsAndLabelsAreIgnoredWhileItRuns) {
  Start();
  form.Button2.Click();  // a first run, so that there is something to show
  form.List1ItemClick(0, 0);
  form.List2.SetChecked(0, 0, false);
  const Text shown = form.State.ShownSection;
  ui.onPump = [&](int number) {
    if (number != 3) return;
    form.List1ItemClick(0, 2);
    form.Label1Click();
    form.List2ColumnClick(1);
  };
  form.Button2.Click();
  EXPECT_EQ(form.State.ShownSection, shown);
  EXPECT_EQ(form.List2.RowCount(0), 0) << "the run emptied the list and no click refilled it";
  EXPECT_EQ(form.List2.SortColumn(), -1);
}

}  // namespace
}  // namespace nb::test
