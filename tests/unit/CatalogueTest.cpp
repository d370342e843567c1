#include <gtest/gtest.h>

#include "catalogue/Catalogue.h"

namespace nb {
namespace {

TEST(Catalogue, PositionsAndCodesMapBothWays) {
  struct Case {
    int group, item;
    const char16_t* code;
  };
  const Case cases[] = {{0, 0, u"01"}, {0, 2, u"03"}, {1, 3, u"07"}, {2, 2, u"10"}, {3, 2, u"14"},
                        {4, 1, u"16"}, {4, 2, u""},   {0, 3, u""},   {5, 0, u""},   {-1, 0, u""}};
  for (const auto& c : cases) {
    EXPECT_EQ(SectionForPosition(c.group, c.item), c.code) << c.group << "/" << c.item;
    if (*c.code) {
      EXPECT_EQ(PositionOfSection(c.code), std::make_pair(c.group, c.item));
    }
  }
  EXPECT_EQ(PositionOfSection(u"17"), std::make_pair(-1, -1));
}

TEST(Catalogue, EveryPositionInCodeOrderIsTheSectionOfThatNumber) {
  int number = 0;
  for (const auto& section : Sections()) {
    ++number;
    EXPECT_EQ(Text(section.code), SectionCode(number));
    EXPECT_EQ(SectionForPosition(section.group, section.item), section.code);
  }
  EXPECT_EQ(Text(Sections()[0].caption), u"Folders \"Temp\"");
  EXPECT_EQ(Text(Sections()[0].caption).size(), 14u);
  EXPECT_EQ(Text(SectionGroups()[4]), u"Temporary registry values");
}

TEST(Catalogue, SectionCodesHaveTwoDigits) {
  EXPECT_EQ(SectionCode(7), u"07");
  EXPECT_EQ(SectionCode(10), u"10");
  EXPECT_EQ(SectionCode(1), u"01");
}

TEST(Catalogue, OnlyTheCharacterOneTicks) {
  const Text mask = u"1x2011111111111" u"0";
  EXPECT_TRUE(MaskTicks(mask, 1));
  EXPECT_FALSE(MaskTicks(mask, 2));
  EXPECT_FALSE(MaskTicks(mask, 3));
  EXPECT_FALSE(MaskTicks(mask, 4));
  EXPECT_TRUE(MaskTicks(mask, 15));
  EXPECT_FALSE(MaskTicks(mask, 16));
  EXPECT_FALSE(MaskTicks(mask, 17));
}

}  // namespace
}  // namespace nb
