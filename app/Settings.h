// The program's only setting, the ticked sections, and the three small
// registry operations the rest of the program shares.
#pragma once

#include <array>

#include "platform/Platform.h"

namespace nb {

inline constexpr char16_t kSettingsKey[] = u"SOFTWARE\\Quellmark\\Nightbroom";
inline constexpr char16_t kSettingsValue[] = u"Sections";

// Every operation opens its key with full access in the given view flags
// (0 = the process's default view) and closes it before returning.
Text ReadRegText(Platform& os, uint32_t root, const Text& keyPath, const Text& valueName, uint32_t viewFlags = 0);
void WriteRegText(Platform& os, uint32_t root, const Text& keyPath, const Text& valueName, const Text& text,
                  uint32_t viewFlags = 0);
bool DeleteRegValue(Platform& os, uint32_t root, const Text& keyPath, const Text& valueName, uint32_t viewFlags = 0);

// The stored mask, or sixteen "1" when it is not exactly 16 characters long.
Text LoadSectionMask(Platform& os);
// "1"/"0" for each section in code order; ticks[k - 1] is section k.
Text BuildSectionMask(const std::array<bool, 16>& ticks);
void SaveSectionMask(Platform& os, const Text& mask);

}  // namespace nb
