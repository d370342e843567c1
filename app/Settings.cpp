#include "app/Settings.h"

#include "catalogue/Catalogue.h"

namespace nb {

namespace {

// One leading backslash names the same key as none.
Text WithoutLeadingBackslash(const Text& keyPath) {
  return StartsWith(keyPath, u"\\") ? keyPath.substr(1) : keyPath;
}

std::unique_ptr<RegistryKey> OpenFullAccess(Platform& os, uint32_t root, const Text& keyPath, uint32_t viewFlags) {
  std::unique_ptr<RegistryKey> key;
  if (os.OpenKey(root, WithoutLeadingBackslash(keyPath), win::kKeyAllAccess | viewFlags, key) != win::kErrorSuccess)
    return nullptr;
  return key;
}

}  // namespace

Text ReadRegText(Platform& os, uint32_t root, const Text& keyPath, const Text& valueName, uint32_t viewFlags) {
  auto key = OpenFullAccess(os, root, keyPath, viewFlags);
  if (!key) return {};
  RegValue value;
  if (key->QueryValue(valueName, value) != win::kErrorSuccess) return {};
  if (value.type != win::kRegSz && value.type != win::kRegExpandSz) return {};
  Text text;
  for (size_t i = 0; i + 1 < value.data.size(); i += 2) {
    const char16_t c = char16_t(value.data[i] | (value.data[i + 1] << 8));
    if (c == 0) break;
    text += c;
  }
  return Trim(text);
}

void WriteRegText(Platform& os, uint32_t root, const Text& keyPath, const Text& valueName, const Text& text,
                  uint32_t viewFlags) {
  std::unique_ptr<RegistryKey> key;
  if (os.CreateKey(root, WithoutLeadingBackslash(keyPath), win::kKeyAllAccess | viewFlags, key) != win::kErrorSuccess)
    return;
  key->SetValue(valueName, win::kRegSz, ValueDataFromText(text));
}

bool DeleteRegValue(Platform& os, uint32_t root, const Text& keyPath, const Text& valueName, uint32_t viewFlags) {
  auto key = OpenFullAccess(os, root, keyPath, viewFlags);
  if (!key) return false;
  RegValue value;
  if (key->QueryValue(valueName, value) != win::kErrorSuccess) return false;
  return key->DeleteValue(valueName) == win::kErrorSuccess;
}

Text LoadSectionMask(Platform& os) {
  return NormalizeSectionMask(ReadRegText(os, win::kHkeyCurrentUser, kSettingsKey, kSettingsValue));
}

Text BuildSectionMask(const std::array<bool, 16>& ticks) {
  Text mask;
  for (bool ticked : ticks) mask += ticked ? u'1' : u'0';
  return mask;
}

void SaveSectionMask(Platform& os, const Text& mask) {
  WriteRegText(os, win::kHkeyCurrentUser, kSettingsKey, kSettingsValue, mask);
}

}  // namespace nb
