#include <gtest/gtest.h>

#include "results/ItemDetails.h"

namespace nb {
namespace {

std::string Printable(size_t count) {
  std::string bytes;
  for (size_t i = 0; i < count; ++i) bytes += char('A' + i % 26);
  return bytes;
}

std::vector<size_t> Lengths(const std::vector<Text>& lines) {
  std::vector<size_t> lengths;
  for (const auto& line : lines) lengths.push_back(line.size());
  return lengths;
}

TEST(Preview, LinesHold79CharactersAndStopAfterTen) {
  const std::vector<size_t> tenFull(10, 79);
  auto tenAndEmpty = tenFull;
  tenAndEmpty.push_back(0);
  struct Case {
    size_t bytes;
    std::vector<size_t> lengths;
  };
  const std::vector<Case> cases = {
      {1, {1}}, {78, {78}}, {79, {79, 0}}, {200, {79, 79, 42}}, {790, tenAndEmpty}, {2000, tenAndEmpty},
  };
  for (const auto& c : cases) EXPECT_EQ(Lengths(PreviewLines(Printable(c.bytes))), c.lengths) << c.bytes << " bytes";

  // Ten lines reach exactly the 790th printable character, nothing of the rest.
  const auto lines = PreviewLines(Printable(2000));
  EXPECT_EQ(lines[9], FromLatin1(Printable(790).substr(711)));
}

TEST(Preview, ControlBytesAreDroppedAndOthersReadAsLatin1) {
  struct Case {
    std::string bytes;
    Text line;
  };
  const std::vector<Case> cases = {
      {"Hello\r\nWorld", u"HelloWorld"},
      {"\t\x01\x1F" " \x7F", u" \x7F"},
      {"caf\xE9 \xFC", u"caf\u00E9 \u00FC"},
      {"\xC3\xA9", u"\u00C3\u00A9"},                                 // UTF-8 é shows as two characters
      {std::string("\xFF\xFEH\0i\0!\0", 8), u"\u00FF\u00FEHi!"},  // UTF-16 with its byte-order mark
      {std::string(5, '\0'), u""},
  };
  for (const auto& c : cases) EXPECT_EQ(PreviewLines(c.bytes), std::vector<Text>{c.line}) << ToUtf8(c.line);
}

}  // namespace
}  // namespace nb
