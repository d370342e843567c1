// The registry sections: which root each walks, and the view its rows are
// found, shown and deleted in.
#pragma once

#include <cstdint>

#include "catalogue/Catalogue.h"
#include "platform/Platform.h"

namespace nb {

// The registry section numbered `section`; null for a file section or no section.
constexpr const SectionInfo* RegistrySectionNumbered(int section) {
  const SectionInfo* known = SectionNumbered(section);
  return known && known->kind == SectionKind::Registry ? known : nullptr;
}

// The registry section that walks `root`; null for any other root.
constexpr const SectionInfo* RegistrySectionOfRoot(uint32_t root) {
  for (const SectionInfo& known : kSections)
    if (known.kind == SectionKind::Registry && known.registryRoot == root) return &known;
  return nullptr;
}

// The view a finding of `root` is found, shown and deleted in: the walk reads
// HKEY_LOCAL_MACHINE in its 64-bit view, so that a 32-bit program sees the
// native keys and the 32-bit ones below Wow6432Node; HKEY_CURRENT_USER in the
// default one (its SOFTWARE is shared by both views).
constexpr uint32_t FindingRegistryView(uint32_t root) {
  return root == winapi::kHkeyLocalMachine ? winapi::kKeyWow64_64Key : 0;
}

// The walk's access: KEY_ALL_ACCESS in the 64-bit view. A key that refuses
// full access is passed over with everything below it.
inline constexpr uint32_t kWalkKeyAccess = winapi::kKeyAllAccess | winapi::kKeyWow64_64Key;

}  // namespace nb
