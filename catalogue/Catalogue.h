// The sections as the window and the settings know them: codes, places in
// the section list, group captions, and the mask of ticked sections. The
// table itself is state/Sections.h.
#pragma once

#include <array>
#include <utility>

#include "state/Sections.h"

namespace nb {

// In code order: index 0 is section "01".
inline constexpr const std::array<SectionInfo, kSectionCount>& Sections() { return kSections; }
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

// A stored text that is not exactly one character a section long means every section ticked.
Text NormalizeSectionMask(const Text& stored);
// Character k of the mask ticks section k exactly when it is "1".
bool MaskTicks(const Text& mask, int sectionNumber);

}  // namespace nb
