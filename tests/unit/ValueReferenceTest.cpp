// Cutting the referenced file out of registry value texts.
#include <gtest/gtest.h>

#include "registry/ValueReference.h"
#include "support/SimRun.h"

namespace nb {
namespace {

struct Case {
  bool programFilesX86;
  const char16_t* text;
  const char16_t* expected;
};

class ValueReference : public testing::Test, protected test::SimMachineFixture {
 protected:
  ValueReference() {
    machine.SetUpStandardUser();
    // Distinct from the fixed folders, so that the test sees which one was used.
    machine.environment[u"ProgramFiles"] = u"D:\\Programs";
    machine.environment[u"SystemRoot"] = u"E:\\Win";
    machine.environment[u"AppName"] = u"Tool";
  }

  Text Extract(bool programFilesX86, const Text& text) {
    loc.Wow64Process = programFilesX86;
    return ExtractReferencedFile(os, loc, text);
  }
  Text Expand(bool programFilesX86, const Text& text) {
    loc.Wow64Process = programFilesX86;
    return ExpandProgramFolders(os, loc, text);
  }

  Locations loc;
};

TEST_F(ValueReference, CutsTheFilePathOutOfValueTexts) {
  const Case cases[] = {
      // Quoted program with arguments.
      {true, u"\"C:\\Program Files\\App\\app.exe\" -silent", u"C:\\Program Files\\App\\app.exe"},
      // A loader in front of the path and an entry point after it.
      {true, u"rundll32.exe C:\\Tools\\plugin.dll,Run", u"C:\\Tools\\plugin.dll"},
      {true, u"%ProgramFiles%\\Vendor\\tool.exe", u"C:\\Program Files\\Vendor\\tool.exe"},
      {true, u"%ProgramW6432%\\Vendor\\tool.exe", u"C:\\Program Files\\Vendor\\tool.exe"},
      {true, u"%SystemRoot%\\system32\\tool.exe -s", u"E:\\Win\\system32\\tool.exe"},
      {true, u"C:\\Icons\\app.ico,0", u"C:\\Icons\\app.ico"},
      {true, u"C:\\Data\\report,1", u"C:\\"},
      {true, u"C:\\App\\run.exe D:\\Other\\x.txt", u"C:\\App\\run.exe"},
      {true, u"C:\\a\\b.dll;C:\\a\\c.exe", u"C:\\a\\b.dll"},
      {true, u"C:\\Games\\play.exe.bak", u"C:\\Games\\play.exe"},
      {true, u"C:\\My.Exec\\a.exe", u"C:\\My.Exe"},
      {true, u"C:\\App\\data.xml", u"C:\\App\\data.xml"},
      // Empty and blank texts.
      {true, u"", u""},
      {false, u" \t\r\n ", u""},
      // Letter case of the value text is kept.
      {true, u"C:\\Games\\Play.Exe", u"C:\\Games\\Play.Exe"},
      {true, u"  c:\\games\\PLAY.EXE  ", u"c:\\games\\PLAY.EXE"},
      // Without 64-bit Windows every variable comes from the environment.
      {false, u"%ProgramFiles%\\Vendor\\tool.exe", u"D:\\Programs\\Vendor\\tool.exe"},
      // Mixed-case variables.
      {true, u"%programfiles%\\a.exe", u"C:\\Program Files\\a.exe"},
      {true, u"%ProgramFILES(x86)%\\a.exe", u"C:\\Program Files (x86)\\a.exe"},
      {true, u"%commonProgramFiles%\\x\\b.dll", u"C:\\Program Files\\Common Files\\x\\b.dll"},
      {true, u"%CommonProgramFiles(X86)%\\x\\b.dll", u"C:\\Program Files (x86)\\Common Files\\x\\b.dll"},
      {true, u"%CommonProgramW6432%\\x\\b.dll", u"C:\\Program Files\\Common Files\\x\\b.dll"},
      // The variable not followed by "\" is not in the table: the environment expands it.
      {true, u"\"%ProgramFiles%\"\\App\\a.exe", u"D:\\Programs\\App\\a.exe"},
      // Other variables stay as written next to a program-files variable.
      {true, u"%ProgramFiles%\\%AppName%\\a.exe", u"C:\\Program Files\\%AppName%\\a.exe"},
      {false, u"%ProgramFiles%\\%AppName%\\a.exe", u"D:\\Programs\\Tool\\a.exe"},
      // No "%": nothing is expanded.
      {true, u"C:\\$SystemRoot\\!AppName!\\a.exe", u"C:\\$SystemRoot\\!AppName!\\a.exe"},
      // "START " only at the very start, only with its blank.
      {true, u"start \\\\srv\\share\\tool.exe /q", u"\\\\srv\\share\\tool.exe"},
      {true, u"  START \\\\srv\\tool.exe", u"\\\\srv\\tool.exe"},
      {true, u"STARTUP\\\\srv\\tool.exe", u"STARTUP\\\\srv\\tool.exe"},
      {true, u"x start \\\\srv\\tool.exe", u"x start \\\\srv\\tool.exe"},
      // "|," ends the path.
      {true, u"C:\\App\\a.txt|,x,y", u"C:\\App\\a.txt"},
      // A comma before the first colon: what precedes it goes.
      {true, u"res,D:file.dll", u"D:file.dll"},
      // A period after the comma keeps the text.
      {true, u"C:\\App,v1.2", u"C:\\App,v1.2"},
      // A second drive: the separator stays when no listed extension ends the first path.
      {true, u"C:\\a\\b.txt;D:\\c.txt", u"C:\\a\\b.txt;"},
      // An extension inside a folder name ends the path; the earliest one wins.
      {true, u"C:\\Tools.bat\\run.cmd", u"C:\\Tools.bat"},
      {true, u"C:\\a.dll\\b.exe", u"C:\\a.dll"},
      {true, u"C:\\a\\b.OCX \"x\"", u"C:\\a\\b.OCX"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(ToUtf8(Extract(c.programFilesX86, c.text)), ToUtf8(c.expected))
        << "text: " << ToUtf8(c.text) << ", Wow64Process " << c.programFilesX86;
}

TEST_F(ValueReference, ExpandsOnlyTheFirstProgramFilesVariableOfTheTable) {
  const Case cases[] = {
      // Two program-files variables: only the first in table order is resolved.
      {true, u"%CommonProgramFiles%\\x.dll;%ProgramFiles(x86)%\\y.exe",
       u"%CommonProgramFiles%\\x.dll;C:\\Program Files (x86)\\y.exe"},
      {true, u"%PROGRAMW6432%\\a;%PROGRAMFILES%\\b", u"%PROGRAMW6432%\\a;C:\\Program Files\\b"},
      // Every occurrence of that variable, in any letter case.
      {true, u"%ProgramFiles%\\a;%PROGRAMFILES%\\b;%programfiles%\\c",
       u"C:\\Program Files\\a;C:\\Program Files\\b;C:\\Program Files\\c"},
      {true, u"%ProgramFiles%\\a %SystemRoot%\\b", u"C:\\Program Files\\a %SystemRoot%\\b"},
      // No program-files variable: the environment resolves the rest.
      {true, u"%SystemRoot%\\b;%Undefined%\\c", u"E:\\Win\\b;%Undefined%\\c"},
      {false, u"%CommonProgramFiles%\\x.dll", u"C:\\Program Files\\Common Files\\x.dll"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(ToUtf8(Expand(c.programFilesX86, c.text)), ToUtf8(c.expected)) << "text: " << ToUtf8(c.text);
}

TEST_F(ValueReference, AnExpansionThatDoesNotFitTheBufferLeavesTheTextAsWritten) {
  // "%V%\a.exe" expands to the value + 6 characters; the buffer holds 259 and the NUL.
  machine.environment[u"V"] = Text(253, u'v');
  EXPECT_EQ(Expand(false, u"%V%\\a.exe").size(), 259u);
  machine.environment[u"V"] = Text(254, u'v');
  EXPECT_EQ(ToUtf8(Expand(false, u"%V%\\a.exe")), "%V%\\a.exe");
  EXPECT_EQ(ToUtf8(Expand(true, u"%V%\\a.exe")), "%V%\\a.exe");
  EXPECT_EQ(ToUtf8(Extract(false, u"\"%V%\\a.exe\" -x")), "%V%\\a.exe");
  // The fixed folders take no buffer: a long text is still resolved.
  const Text longTail = Text(300, u'x') + u"\\a.exe";
  EXPECT_EQ(Expand(true, u"%ProgramFiles%\\" + longTail), u"C:\\Program Files\\" + longTail);
}

}  // namespace
}  // namespace nb
