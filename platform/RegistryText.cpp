#include "platform/RegistryText.h"

namespace nb {

namespace {

// One leading backslash names the same key as none.
Text WithoutLeadingBackslash(const Text& keyPath) {
  return StartsWith(keyPath, u"\\") ? keyPath.substr(1) : keyPath;
}

std::unique_ptr<RegistryKey> OpenFullAccess(Platform& os, uint32_t root, const Text& keyPath, uint32_t viewFlags) {
  std::unique_ptr<RegistryKey> key;
  if (os.OpenKey(root, WithoutLeadingBackslash(keyPath), winapi::kKeyAllAccess | viewFlags, key) != winapi::kErrorSuccess)
    return nullptr;
  return key;
}

}  // namespace

Text ReadRegText(Platform& os, uint32_t root, const Text& keyPath, const Text& valueName, uint32_t viewFlags) {
  auto key = OpenFullAccess(os, root, keyPath, viewFlags);
  if (!key) return {};
  RegValue value;
  if (key->QueryValue(valueName, value) != winapi::kErrorSuccess) return {};
  if (value.type != winapi::kRegSz && value.type != winapi::kRegExpandSz) return {};
  return Trim(ValueTextFromData(value.data));
}

void WriteRegText(Platform& os, uint32_t root, const Text& keyPath, const Text& valueName, const Text& text,
                  uint32_t viewFlags) {
  std::unique_ptr<RegistryKey> key;
  if (os.CreateKey(root, WithoutLeadingBackslash(keyPath), winapi::kKeyAllAccess | viewFlags, key) != winapi::kErrorSuccess)
    return;
  key->SetValue(valueName, winapi::kRegSz, ValueDataFromText(text));
}

bool DeleteRegValue(Platform& os, uint32_t root, const Text& keyPath, const Text& valueName, uint32_t viewFlags) {
  auto key = OpenFullAccess(os, root, keyPath, viewFlags);
  if (!key) return false;
  RegValue value;
  if (key->QueryValue(valueName, value) != winapi::kErrorSuccess) return false;
  return key->DeleteValue(valueName) == winapi::kErrorSuccess;
}

}  // namespace nb
