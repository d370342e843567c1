// The sixteen sections: codes, captions, groups and their place in the section
// list, and the 16-character mask of ticked sections.
#pragma once

#include <array>
#include <utility>

#include "platform/Text.h"

namespace nb {

constexpr int kSectionCount = 16;
constexpr int kGroupCount = 5;

struct SectionInfo {
  const char16_t* code;
  int group;
  int item;
  const char16_t* caption;
};

// In code order: index 0 is section "01".
const std::array<SectionInfo, kSectionCount>& Sections();
// Group captions in list order.
const std::array<const char16_t*, kGroupCount>& SectionGroups();

// "07" for 7, "10" for 10.
Text SectionCode(int number);
// The number of the section whose code `text` begins with ("07#..." is 7);
// 0 when it begins with no section's code.
int SectionNumberOf(TextView text);
// The section code at a (group, item) position of the section list; empty for any other pair.
Text SectionForPosition(int group, int item);
// The (group, item) of a section code; (-1, -1) for an unknown code.
std::pair<int, int> PositionOfSection(const Text& code);

// A stored text that is not exactly 16 characters long means every section ticked.
Text NormalizeSectionMask(const Text& stored);
// Character k of the mask ticks section k exactly when it is "1".
bool MaskTicks(const Text& mask, int sectionNumber);

}  // namespace nb
