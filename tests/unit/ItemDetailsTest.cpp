#include "results/ItemDetails.h"
#include "support/FormFixture.h"

namespace nb::test {
namespace {

class ItemDetails : public FormFixture {
 protected:
  // The lines of a finding stored as the entry section#subject#size.
  std::vector<Text> Lines(const Text& section, const Text& subject, const Text& size = u"1.00 KB") {
    ResultStore store;
    AppendEntry(store, section + u"#" + subject + u"#" + size);
    return ItemDetailLines(os, store, 0);
  }
};

TEST_F(ItemDetails, FilePreviewNeedsASmallReadableFile) {
  const std::string hello = "Hello\r\nWorld";
  const std::string limit(size_t(kPreviewSizeLimit), 'x');
  machine.AddFile(u"C:\\F\\hello.txt", hello);
  machine.AddFile(u"C:\\F\\limit.bin", limit);
  machine.AddFile(u"C:\\F\\over.bin", limit + "x");
  machine.AddSizedFile(u"C:\\F\\huge.bin", 6ull << 30);
  machine.AddFile(u"C:\\F\\empty.txt", "");
  machine.AddFile(u"C:\\F\\exclusive.txt", hello).lock = sim::ForeignLock{0};
  machine.AddFile(u"C:\\F\\writeonly.txt", hello).lock = sim::ForeignLock{winapi::kShareWrite};
  machine.AddFile(u"C:\\F\\writer.log", hello).lock = sim::ForeignLock{winapi::kShareRead | winapi::kShareWrite};
  machine.AddFolder(u"C:\\F\\folder.txt");
  machine.AddFile(u"C:\\F\\#!001\\a=b.txt", hello);

  const std::vector<Text> helloLines = {u"HelloWorld"};
  struct Case {
    Text path;
    size_t lineCount;
    std::vector<Text> lines;  // checked when not empty
  };
  const std::vector<Case> cases = {
      {u"C:\\F\\hello.txt", 1, helloLines},
      {u"C:\\F\\limit.bin", 11, {}},
      {u"C:\\F\\over.bin", 0, {}},
      {u"C:\\F\\huge.bin", 0, {}},
      {u"C:\\F\\empty.txt", 0, {}},
      {u"C:\\F\\exclusive.txt", 0, {}},  // locked without read sharing
      {u"C:\\F\\writeonly.txt", 0, {}},   // open elsewhere for writing only, no read sharing
      {u"C:\\F\\writer.log", 1, helloLines},
      {u"C:\\F\\folder.txt", 0, {}},
      {u"C:\\F\\missing.txt", 0, {}},
      {u"C:\\F\\#!001\\a=b.txt", 1, helloLines},
  };
  for (const auto& c : cases) {
    const auto lines = Lines(u"01", c.path);
    EXPECT_EQ(lines.size(), c.lineCount) << ToUtf8(c.path);
    if (!c.lines.empty()) {
      EXPECT_EQ(lines, c.lines) << ToUtf8(c.path);
    }
  }
}

TEST_F(ItemDetails, FindingsOfZeroSizeTextShowNothing) {
  machine.AddFile(u"C:\\F\\grown.txt", "now it holds more than five bytes");
  for (const Text size : {u"0.00 KB", u"0,00 KB"}) EXPECT_TRUE(Lines(u"01", u"C:\\F\\grown.txt", size).empty());
  EXPECT_EQ(Lines(u"01", u"C:\\F\\grown.txt", u"0.01 KB").size(), 1u);
  // Five bytes read "0.00 KB", six "0.01 KB".
  ResultStore store;
  store.Append(sections::kTemp, u"C:\\F\\grown.txt", 5);
  store.Append(sections::kTemp, u"C:\\F\\grown.txt", 6);
  EXPECT_TRUE(ItemDetailLines(os, store, 0).empty());
  EXPECT_EQ(ItemDetailLines(os, store, 1).size(), 1u);
}

TEST_F(ItemDetails, RegistryRowsShowTheTrimmedTextOrOneEmptyLine) {
  machine.wow64Process = true;  // HKLM rows come from the 64-bit view the walk read
  machine.SetString(winapi::kHkeyCurrentUser, u"SOFTWARE\\Vendor\\App", u"Updater", u"  C:\\Old\\up.exe \t");
  machine.SetString(winapi::kHkeyCurrentUser, u"SOFTWARE\\Vendor\\App", u"", u"C:\\default.exe");
  machine.SetValue(winapi::kHkeyCurrentUser, u"SOFTWARE\\Vendor\\App", u"Bin", winapi::kRegBinary, {1, 2});
  machine.SetString(winapi::kHkeyLocalMachine, u"SOFTWARE\\Vendor", u"Tool", u"C:\\64.exe");
  machine.SetString(winapi::kHkeyLocalMachine, u"SOFTWARE\\Wow6432Node\\Vendor", u"Tool", u"C:\\32.exe");
  struct Case {
    Text section, caption, line;
  };
  const std::vector<Case> cases = {
      {u"15", u"HKCU\\SOFTWARE\\Vendor\\App=Updater", u"C:\\Old\\up.exe"},
      {u"15", u"HKCU\\SOFTWARE\\Vendor\\App=", u"C:\\default.exe"},
      {u"15", u"HKCU\\SOFTWARE\\Vendor\\App=Bin", u""},
      {u"15", u"HKCU\\SOFTWARE\\Vendor\\App=Gone", u""},
      {u"16", u"HKLM\\SOFTWARE\\Vendor=Tool", u"C:\\64.exe"},
      {u"15", u"HKLM\\SOFTWARE\\Vendor=Tool", u""},  // the section decides the root
  };
  for (const auto& c : cases)
    EXPECT_EQ(Lines(c.section, c.caption, u"14 b"), std::vector<Text>{c.line}) << ToUtf8(c.caption);
}

TEST_F(ItemDetails, RowClickFillsTheMemoUnlessBusy) {
  Start();
  machine.AddFile(u"C:\\F\\a.txt", std::string(200, 'a'));
  machine.AddFile(u"C:\\F\\b.txt", "Hello\r\nWorld");
  form.State.ShownSection = u"01";
  AppendEntry(form.State.Results, u"01#C:\\F\\a.txt#0.20 KB");
  AppendEntry(form.State.Results, u"01#C:\\F\\b.txt#0.01 KB");
  form.List2.AddRow(0, u"C:\\F\\a.txt", u"0.20 KB", true, 0);
  form.List2.AddRow(0, u"C:\\F\\b.txt", u"0.01 KB", true, 1);

  form.List2ItemClick(0);
  EXPECT_EQ(form.List3.Lines(), (std::vector<Text>{Text(79, u'a'), Text(79, u'a'), Text(42, u'a')}));

  form.State.Running = true;
  form.List2ItemClick(1);
  EXPECT_EQ(form.List3.Lines().size(), 3u);

  form.State.Running = false;
  form.List2ItemClick(1);
  EXPECT_EQ(form.List3.Lines(), std::vector<Text>{u"HelloWorld"});

  // Marked deleted, as Delete checked leaves a row whose finding it deleted.
  form.List2.SetRowCaption(0, 1, u"Deleted file b.txt");
  form.List2.SetRowItem(0, 1, ui::kNoRowItem);
  form.List2ItemClick(1);
  EXPECT_TRUE(form.List3.Lines().empty());
}

}  // namespace
}  // namespace nb::test
