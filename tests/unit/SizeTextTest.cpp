#include <gtest/gtest.h>

#include "scan/SizeText.h"

namespace nb {
namespace {

constexpr uint64_t kGiga = 1024ull * 1024 * 1024;

TEST(SizeText, KilobytesBelowOneMegabyteThenMegabytesWithTwoDecimals) {
  struct Case {
    uint64_t bytes;
    const char16_t* separator;
    const char16_t* text;
  };
  const Case cases[] = {
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
