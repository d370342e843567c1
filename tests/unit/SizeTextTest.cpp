#include <gtest/gtest.h>

#include <vector>

#include "state/SizeText.h"

namespace nb {
namespace {

constexpr uint64_t kGiga = 1024ull * 1024 * 1024;

struct SizeCase {
  uint64_t bytes;
  const char16_t* separator;
  const char16_t* text;
};

TEST(SizeText, KilobytesBelowOneMegabyteThenMegabytesWithTwoDecimals) {
  const SizeCase cases[] = {
      {0, u".", u"0.00 KB"},
      {128, u".", u"0.13 KB"},  // 0.125: a half rounds away from zero
      {512, u".", u"0.50 KB"},
      {1023, u".", u"1.00 KB"},
      {1024, u".", u"1.00 KB"},
      {10240, u".", u"10.00 KB"},
      {12800, u".", u"12.50 KB"},
      {1048575, u".", u"1024.00 KB"},  // just below the unit boundary, and two decimals give 1024.00
      {1048576, u".", u"1.00 MB"},
      {1179648, u".", u"1.13 MB"},  // 1.125 MB
      {5 * kGiga, u".", u"5120.00 MB"},
      {6 * kGiga, u".", u"6144.00 MB"},
      {512, u",", u"0,50 KB"},
      {0, u",", u"0,00 KB"},
      {6 * kGiga + 1048576 / 2, u",", u"6144,50 MB"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(FormatSizeText(c.bytes, c.separator), c.text) << c.bytes << " bytes";
}

// Where the number of digits changes, where rounding carries into one more
// digit, and the largest size, with separators of no, one and several
// characters: written in place, the text is the one AppendSizeText appends,
// and nothing is written beyond the room the caller gives.
TEST(SizeText, WrittenInPlaceAsAppended) {
  const SizeCase cases[] = {
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

TEST(SizeText, KilobyteTotalsRoundHalfToEven) {
  const std::pair<uint64_t, int64_t> cases[] = {
      {0, 0}, {1, 0}, {511, 0}, {512, 0}, {513, 1}, {1536, 2}, {2560, 2}, {3584, 4}, {1024, 1}, {6 * kGiga, 6291456},
  };
  for (const auto& [bytes, kilobytes] : cases) EXPECT_EQ(RoundedKilobytes(bytes), kilobytes) << bytes << " bytes";
}

TEST(SizeText, SummaryMegabytesOfAKilobyteTotal) {
  Text text;
  AppendFixed2(text, 3584, 1024, u".");
  EXPECT_EQ(text, u"3.50");
  text.clear();
  AppendFixed2(text, 0, 1024, u",");
  EXPECT_EQ(text, u"0,00");
}

}  // namespace
}  // namespace nb
