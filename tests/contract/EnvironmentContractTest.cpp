// Environment variables, their expansion and settings files, on the simulated machine and on the real API.
#include <gtest/gtest.h>

#include "contract/ContractTest.h"

namespace nb::contract {
namespace {

using EnvironmentContract = ContractTest;

TEST_F(EnvironmentContract, PathIsSetAndVariableNamesIgnoreCase) {
  const auto path = os.GetEnvironmentVariable(u"PATH");
  ASSERT_TRUE(path.has_value());
  EXPECT_FALSE(path->empty());
  EXPECT_EQ(os.GetEnvironmentVariable(u"path"), path);
  EXPECT_FALSE(os.GetEnvironmentVariable(u"NB_NEVER_DEFINED").has_value());
}

TEST_F(EnvironmentContract, ExpansionReplacesDefinedVariablesAndLeavesUndefinedOnesAsWritten) {
  const auto systemRoot = os.GetEnvironmentVariable(u"SystemRoot");
  ASSERT_TRUE(systemRoot.has_value());
  const Text& sr = *systemRoot;
  const struct {
    Text text;
    Text expanded;
  } cases[] = {
      {u"%SystemRoot%\\Temp", sr + u"\\Temp"},
      {u"%systemroot%", sr},
      {u"%NB_NEVER_DEFINED%\\x.exe", u"%NB_NEVER_DEFINED%\\x.exe"},
      {u"a%NB_NEVER_DEFINED%b%SystemRoot%c", u"a%NB_NEVER_DEFINED%b" + sr + u"c"},
      {u"%SystemRoot%%SystemRoot%", sr + sr},
      // An undefined name stays with both its "%": the second one opens nothing.
      {u"%NB_NEVER_DEFINED%SystemRoot%", u"%NB_NEVER_DEFINED%SystemRoot%"},
      {u"%NB_NEVER_DEFINED%%SystemRoot%", u"%NB_NEVER_DEFINED%" + sr},
      {u"%%SystemRoot%", u"%%SystemRoot%"},
      {u"100% sure", u"100% sure"},
      {u"%%", u"%%"},
      {u"%SystemRoot", u"%SystemRoot"},
      {u"no variables", u"no variables"},
      {u"", u""},
  };
  for (const auto& c : cases) EXPECT_EQ(os.ExpandEnvironmentStrings(c.text, 32767), c.expanded) << ToUtf8(c.text);
}

TEST_F(EnvironmentContract, ExpansionThatDoesNotFitTheBufferGivesNoValue) {
  const auto systemRoot = os.GetEnvironmentVariable(u"SystemRoot");
  ASSERT_TRUE(systemRoot.has_value());
  const Text expanded = *systemRoot + u"\\x";
  const auto size = uint32_t(expanded.size());
  EXPECT_EQ(os.ExpandEnvironmentStrings(u"%SystemRoot%\\x", size + 1), expanded) << "room for the NUL is enough";
  EXPECT_FALSE(os.ExpandEnvironmentStrings(u"%SystemRoot%\\x", size).has_value());
  EXPECT_FALSE(os.ExpandEnvironmentStrings(u"%SystemRoot%\\x", 1).has_value());
  EXPECT_FALSE(os.ExpandEnvironmentStrings(u"plain", 5).has_value());
  EXPECT_EQ(os.ExpandEnvironmentStrings(u"plain", 6), u"plain");
}

TEST_F(EnvironmentContract, SettingsFileGivesTheValueOrTheFallback) {
  const Text ini = stage->Folder() + u"profiles.ini";
  stage->MakeFile(ini,
                  "[General]\r\nStartWithLastProfile=1\r\n\r\n"
                  "[Profile0]\r\nName=default\r\nPath=Profiles/abc.default\r\n"
                  "  Spaced  =   padded value   \r\nQuoted=\"in quotes\"\r\nEmpty=\r\n");
  const struct {
    Text section, key, file, expected;
  } cases[] = {
      {u"Profile0", u"Path", ini, u"Profiles/abc.default"},
      {u"PROFILE0", u"path", ini, u"Profiles/abc.default"},
      {u"Profile0", u"Spaced", ini, u"padded value"},
      {u"Profile0", u"Quoted", ini, u"in quotes"},
      {u"Profile0", u"Empty", ini, u""},
      {u"Profile0", u"Missing", ini, u"fallback"},
      {u"Profile1", u"Path", ini, u"fallback"},
      {u"General", u"Path", ini, u"fallback"},
      {u"Profile0", u"Path", stage->Folder() + u"absent.ini", u"fallback"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(os.GetPrivateProfileString(c.section, c.key, u"fallback", c.file), c.expected)
        << ToUtf8(c.section) << "/" << ToUtf8(c.key);
  EXPECT_EQ(os.GetPrivateProfileString(u"Profile1", u"Path", u"", ini), u"");
}

TEST_F(EnvironmentContract, SettingsFileLinesAreReadAsWindowsReadsThem) {
  const Text ini = stage->Folder() + u"rules.ini";
  stage->MakeFile(ini,
                  "[A]\nK=first\nK=second\n;C=semicolon\n'Q'='single'\nM=\"a\" b\"\nO=\"open\n"
                  "  Indented  =  yes \t\n=unnamed\n[B]\nK=b\n[A]\nL=second section\n[ C ]\nK=c\n[D\nK=d\n");
  const struct {
    Text section, key, expected;
  } cases[] = {
      {u"A", u"K", u"first"},              // the first of two keys
      {u"A", u"L", u"fallback"},           // only the first section of a name is read
      {u"A", u";C", u"semicolon"},         // no comments: just a key nobody asks for
      {u"A", u"C", u"fallback"},
      {u"A", u"'Q'", u"single"},
      {u"A", u"M", u"a\" b"},             // outer quotes go when they pair
      {u"A", u"O", u"\"open"},
      {u"A", u"Indented", u"yes"},
      {u" A ", u" K ", u"first"},          // the names asked for lose their blanks too
      {u"A", u"", u"unnamed"},
      {u"B", u"K", u"b"},
      {u"C", u"K", u"c"},
      {u"D", u"K", u"fallback"},           // no "]", no section
  };
  for (const auto& c : cases)
    EXPECT_EQ(os.GetPrivateProfileString(c.section, c.key, u"fallback", ini), c.expected)
        << ToUtf8(c.section) << "/" << ToUtf8(c.key);
  EXPECT_EQ(os.GetPrivateProfileString(u"A", u"Z", u"  padded  ", ini), u"  padded") << "trailing blanks go";
  EXPECT_EQ(os.GetPrivateProfileString(u"A", u"Z", u"tab\t", ini), u"tab\t") << "but only blanks";
}

TEST_F(EnvironmentContract, SettingsFileInUtf16IsRead) {
  const Text ini = stage->Folder() + u"wide.ini";
  std::string bytes = "\xFF\xFE";
  for (char16_t c : Text(u"[S]\r\nK=v\u00E4lue\r\n")) {
    bytes += char(c & 0xFF);
    bytes += char(c >> 8);
  }
  stage->MakeFile(ini, bytes);
  EXPECT_EQ(os.GetPrivateProfileString(u"S", u"K", u"", ini), u"v\u00E4lue");
}

}  // namespace
}  // namespace nb::contract
