#include <gtest/gtest.h>

#include <optional>

#include "catalogue/TextFile.h"
#include "support/SimRun.h"

namespace nb {
namespace {

using Lines = std::vector<Text>;

class TextFile : public testing::Test, protected test::SimMachineFixture {
 protected:
  const Text path = u"C:\\Data\\file.txt";

  Lines ReadBytes(const std::string& bytes) {
    machine.AddFile(path, bytes);
    return ReadTextLines(os, path);
  }
};

TEST_F(TextFile, ByteOrderMarkSelectsTheEncoding) {
  struct Case {
    const char* what;
    std::string bytes;
    Lines lines;
  };
  const Case cases[] = {
      {"UTF-8 mark", "\xEF\xBB\xBF" "caf\xC3\xA9\r\n\xF0\x9F\x98\x80", {u"caf\u00E9", u"\U0001F600"}},
      {"UTF-16 LE mark", std::string("\xFF\xFE" "a\0\xE9\0\n\0" "b\0=\xD8\0\xDE", 14), {u"a\u00E9", u"b\U0001F600"}},
      {"UTF-16 BE mark", std::string("\xFE\xFF\0a\0\xE9\0\r\0b", 10), {u"a\u00E9", u"b"}},
      // Without a mark the ANSI code page applies (the simulated machine's is Latin-1).
      {"no mark", "caf\xE9\nend", {u"caf\u00E9", u"end"}},
      {"no mark, UTF-8 bytes taken as ANSI", "\xC3\xA9", {u"\u00C3\u00A9"}},
  };
  for (const auto& c : cases) EXPECT_EQ(ReadBytes(c.bytes), c.lines) << c.what;
}

TEST(TextLines, SplitAtCrLfLfOrCr) {
  struct Case {
    Text text;
    Lines lines;
  };
  const Case cases[] = {
      {u"a\r\nb\nc\rd", {u"a", u"b", u"c", u"d"}},
      {u"a\r\n", {u"a"}},
      {u"a\n\nb", {u"a", u"", u"b"}},
      {u"a\r\r\nb", {u"a", u"", u"b"}},
      {u"a\n\rb", {u"a", u"", u"b"}},
      {u"\r\n", {u""}},
      {u"", {}},
      {u"  tail without break", {u"  tail without break"}},
  };
  for (const auto& c : cases) EXPECT_EQ(SplitLines(c.text), c.lines) << ToUtf8(c.text);
}

TEST_F(TextFile, UndecodableBytesGiveNoLines) {
  const std::string cases[] = {
      "\xEF\xBB\xBF" "ok\n\xFF",              // a byte that never occurs in UTF-8
      "\xEF\xBB\xBF" "\xC0\xAF",              // overlong "/"
      "\xEF\xBB\xBF" "\xED\xA0\x80",          // an encoded surrogate
      "\xEF\xBB\xBF" "ab\xE2\x82",            // cut short
      "\xEF\xBB\xBF" "\xF4\x90\x80\x80",      // above U+10FFFF
      std::string("\xFF\xFE" "a\0b", 5),      // odd length after a UTF-16 mark
  };
  for (const auto& bytes : cases) EXPECT_EQ(ReadBytes(bytes), Lines{}) << testing::PrintToString(bytes);
}

TEST_F(TextFile, UnreadableFilesGiveNoLines) {
  EXPECT_EQ(ReadTextLines(os, u"C:\\Data\\missing.txt"), Lines{});
  machine.AddFolder(u"C:\\Data\\folder.txt");
  EXPECT_EQ(ReadTextLines(os, u"C:\\Data\\folder.txt"), Lines{});

  machine.AddFile(path, "line\n").lock = sim::ForeignLock{0};
  EXPECT_EQ(ReadTextLines(os, path), Lines{}) << "held open by another program that shares nothing";
}

TEST_F(TextFile, AFileTheOwnerKeepsOpenForWritingIsStillRead) {
  machine.AddFile(path, "line\n").lock = sim::ForeignLock{winapi::kShareRead | winapi::kShareWrite};
  EXPECT_EQ(ReadTextLines(os, path), Lines{u"line"});
}

TEST_F(TextFile, LargeFileIsReadWhole) {
  std::string bytes;
  for (int i = 0; i < 20000; ++i) bytes += "line " + std::to_string(i) + "\r\n";
  const auto lines = ReadBytes(bytes);
  ASSERT_EQ(lines.size(), 20000u);
  EXPECT_EQ(lines.back(), u"line 19999");
}

// One decoder reads UTF-8 for the files (strict) and for the Linux side
// (each byte that starts no well-formed sequence becomes U+FFFD).
TEST(Utf8, StrictDecodingFailsWhereTheLenientOneReplaces) {
  struct Case {
    std::string bytes;
    std::optional<Text> strict;
    Text lenient;
  };
  const std::vector<Case> cases = {
      {"plain", u"plain", u"plain"},
      {"\xC3\xA9t\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x98\x80", u"\u00E9t\u00E9 \u20AC \U0001F600",
       u"\u00E9t\u00E9 \u20AC \U0001F600"},
      {"a\xC0\xAF" "b", std::nullopt, u"a\uFFFD\uFFFDb"},          // overlong "/"
      {"\xED\xA0\x80", std::nullopt, u"\uFFFD\uFFFD\uFFFD"},     // a surrogate
      {"\xF4\x90\x80\x80", std::nullopt, u"\uFFFD\uFFFD\uFFFD\uFFFD"},  // above U+10FFFF
      {"cut \xE2\x82", std::nullopt, u"cut \uFFFD\uFFFD"},
      {"\xFFx", std::nullopt, u"\uFFFDx"},
  };
  for (const auto& c : cases) {
    Text strict;
    const bool ok = DecodeUtf8(c.bytes, strict);
    EXPECT_EQ(ok, c.strict.has_value()) << c.bytes;
    if (ok && c.strict) {
      EXPECT_EQ(strict, *c.strict) << c.bytes;
    }
    EXPECT_EQ(FromUtf8(c.bytes), c.lenient) << c.bytes;
  }
}

}  // namespace
}  // namespace nb
