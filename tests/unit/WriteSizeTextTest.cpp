#include <gtest/gtest.h>

#include <vector>

#include "scan/SizeText.h"

namespace nb {
namespace {

// Where the number of digits changes, where rounding carries into one more
// digit, and the largest size, with separators of no, one and several
// characters: written in place, the text is the one AppendSizeText appends,
// and nothing is written beyond the room the caller gives.
TEST(SizeText, WrittenInPlaceAsAppended) {
  struct Case {
    uint64_t bytes;
    const char16_t* separator;
    const char16_t* text;
  };
  const Case cases[] = {
      {6, u".", u"0.01 KB"},
      {10235, u".", u"10.00 KB"},  // 9.995 KB carries into two digits
      {10234, u"", u"999 KB"},
      {102394, u"<sep>", u"99<sep>99 KB"},
      {102395, u".", u"100.00 KB"},
      {1023994, u"", u"99999 KB"},
      {1048570, u".", u"1023.99 KB"},
      {1048571, u".", u"1024.00 KB"},
      {1053818, u".", u"1.00 MB"},
      {1053819, u".", u"1.01 MB"},
      {10485759994ull, u".", u"10000.00 MB"},  // 9999.995 MB carries into five digits
      {10485760000ull, u"", u"1000000 MB"},
      {18446744073709551615ull, u"<sep>", u"17592186044416<sep>00 MB"},
  };
  for (const auto& c : cases) {
    const TextView separator = c.separator;
    const size_t room = kSizeTextMaxChars + separator.size();
    std::vector<char16_t> out(room + 4, u'~');
    const size_t written = WriteSizeText(out.data(), c.bytes, separator);
    EXPECT_EQ(Text(out.data(), written), c.text) << c.bytes << " bytes";
    EXPECT_EQ(FormatSizeText(c.bytes, separator), c.text) << c.bytes << " bytes";
    EXPECT_EQ(Text(out.data() + room, 4), u"~~~~") << c.bytes << " bytes";
    Text appended = u"x";
    AppendSizeText(appended, c.bytes, separator);
    EXPECT_EQ(appended, Text(u"x") + c.text) << c.bytes << " bytes";
  }
}

}  // namespace
}  // namespace nb
