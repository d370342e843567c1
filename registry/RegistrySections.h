// The two registry sections: which root each walks, how its findings begin,
// and the view its rows are found, shown and deleted in.
#pragma once

#include <array>
#include <cstdint>

#include "platform/Platform.h"

namespace nb {

struct RegistrySection {
  int section;           // 15 or 16
  uint32_t root;         // HKEY_CURRENT_USER or HKEY_LOCAL_MACHINE
  TextView entryPrefix;  // what a finding's entry begins with: its code, "#", the root's short name
};

inline constexpr std::array<RegistrySection, 2> kRegistrySections{{
    {15, win::kHkeyCurrentUser, u"15#HKCU"},
    {16, win::kHkeyLocalMachine, u"16#HKLM"},
}};

// The registry section numbered `section`; null for a file section or no section.
constexpr const RegistrySection* RegistrySectionNumbered(int section) {
  for (const auto& known : kRegistrySections)
    if (known.section == section) return &known;
  return nullptr;
}

// The registry section that walks `root`; null for any other root.
constexpr const RegistrySection* RegistrySectionOfRoot(uint32_t root) {
  for (const auto& known : kRegistrySections)
    if (known.root == root) return &known;
  return nullptr;
}

// The view a finding of `root` is found, shown and deleted in: the walk reads
// HKEY_LOCAL_MACHINE in its 64-bit view, so that a 32-bit program sees the
// native keys and the 32-bit ones below Wow6432Node; HKEY_CURRENT_USER in the
// default one (its SOFTWARE is shared by both views).
constexpr uint32_t FindingRegistryView(uint32_t root) {
  return root == win::kHkeyLocalMachine ? win::kKeyWow64_64Key : 0;
}

// The walk's access: KEY_ALL_ACCESS in the 64-bit view. A key that refuses
// full access is passed over with everything below it.
inline constexpr uint32_t kWalkKeyAccess = win::kKeyAllAccess | win::kKeyWow64_64Key;

}  // namespace nb
