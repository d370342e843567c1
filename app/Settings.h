// The program's only setting: the ticked sections, kept in the user's part of
// the registry.
#pragma once

#include <array>

#include "catalogue/Catalogue.h"
#include "platform/Platform.h"

namespace nb {

inline constexpr char16_t kSettingsKey[] = u"SOFTWARE\\Quellmark\\Nightbroom";
inline constexpr char16_t kSettingsValue[] = u"Sections";

// The stored mask, or a "1" for every section when it is not exactly one character a section long.
Text LoadSectionMask(Platform& os);
// "1"/"0" for each section in code order; ticks[k - 1] is section k.
Text BuildSectionMask(const std::array<bool, kSectionCount>& ticks);
void SaveSectionMask(Platform& os, const Text& mask);

}  // namespace nb
