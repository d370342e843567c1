#include "app/Settings.h"

#include "catalogue/Catalogue.h"
#include "platform/RegistryText.h"

namespace nb {

Text LoadSectionMask(Platform& os) {
  return NormalizeSectionMask(ReadRegText(os, winapi::kHkeyCurrentUser, kSettingsKey, kSettingsValue));
}

Text BuildSectionMask(const std::array<bool, kSectionCount>& ticks) {
  Text mask;
  for (bool ticked : ticks) mask += ticked ? u'1' : u'0';
  return mask;
}

void SaveSectionMask(Platform& os, const Text& mask) {
  WriteRegText(os, winapi::kHkeyCurrentUser, kSettingsKey, kSettingsValue, mask);
}

}  // namespace nb
