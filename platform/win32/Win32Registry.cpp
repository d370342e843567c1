// The real API behind the Windows layer: the registry.
#include "platform/win32/Handles.h"

#include <optional>

#include "platform/win32/Wide.h"
#include "platform/win32/Win32Platform.h"

namespace nb {

namespace {

using win32::FromWide;
using win32::ToWide;

constexpr DWORD kMaxKeyNameChars = 255;
constexpr DWORD kMaxValueNameChars = 16383;

// The predefined root keys are sign-extended 32-bit values.
HKEY RootKey(uint32_t root) { return reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(static_cast<LONG>(root))); }

class Win32Key : public RegistryKey {
 public:
  explicit Win32Key(win32::UniqueKey key) : key_(std::move(key)) {}

  uint32_t QueryValue(const Text& name, RegValue& value) override {
    const std::wstring wideName = ToWide(name);
    DWORD type = REG_NONE;
    DWORD size = 0;
    LSTATUS status = ::RegQueryValueExW(key_.get(), wideName.c_str(), nullptr, &type, nullptr, &size);
    // The value may grow between the size query and the read: ask again until it fits.
    while (status == ERROR_SUCCESS || status == ERROR_MORE_DATA) {
      value.data.assign(size, 0);
      DWORD got = size;
      status = ::RegQueryValueExW(key_.get(), wideName.c_str(), nullptr, &type, size ? value.data.data() : nullptr, &got);
      if (status == ERROR_SUCCESS) {
        value.type = type;
        value.data.resize(got);
        return ERROR_SUCCESS;
      }
      size = got;
    }
    value.data.clear();
    return uint32_t(status);
  }

  uint32_t SetValue(const Text& name, uint32_t type, const std::vector<uint8_t>& data) override {
    // The registry adds a terminator to a string value whose last character is not
    // NUL when the character after the data is; two non-NUL bytes after the data keep
    // the stored bytes exactly the ones given.
    std::vector<uint8_t> padded(data);
    padded.push_back(0xFF);
    padded.push_back(0xFF);
    padded.push_back(0xFF);
    return uint32_t(::RegSetValueExW(key_.get(), ToWide(name).c_str(), 0, type, padded.data(), DWORD(data.size())));
  }

  uint32_t DeleteValue(const Text& name) override {
    return uint32_t(::RegDeleteValueW(key_.get(), ToWide(name).c_str()));
  }

  uint32_t QueryInfo(RegKeyInfo& info) override {
    DWORD subKeys = 0, maxSubKey = 0, values = 0, maxValueName = 0;
    const LSTATUS status = ::RegQueryInfoKeyW(key_.get(), nullptr, nullptr, nullptr, &subKeys, &maxSubKey, nullptr,
                                              &values, &maxValueName, nullptr, nullptr, nullptr);
    info = {};
    if (status != ERROR_SUCCESS) return uint32_t(status);
    info.subKeyCount = subKeys;
    info.maxSubKeyLength = maxSubKey;
    info.valueCount = values;
    info.maxValueNameLength = maxValueName;
    return ERROR_SUCCESS;
  }

  uint32_t EnumKey(uint32_t index, Text& name) override {
    return EnumName(name, maxSubKey_, kMaxKeyNameChars, [&](wchar_t* buffer, DWORD* length) {
      return ::RegEnumKeyExW(key_.get(), index, buffer, length, nullptr, nullptr, nullptr, nullptr);
    });
  }

  uint32_t EnumValue(uint32_t index, Text& name) override {
    return EnumName(name, maxValueName_, kMaxValueNameChars, [&](wchar_t* buffer, DWORD* length) {
      return ::RegEnumValueW(key_.get(), index, buffer, length, nullptr, nullptr, nullptr, nullptr);
    });
  }

 private:
  // Names are read into a buffer sized from the key's longest name (+1 for the NUL).
  // The longest name is asked once and again whenever a name outgrows it.
  template <typename Call>
  uint32_t EnumName(Text& name, std::optional<DWORD>& longest, DWORD limit, Call call) {
    for (int attempt = 0; attempt < 3; ++attempt) {
      if (!longest || attempt > 0) RefreshLongest();
      const DWORD chars = (attempt == 2 ? limit : std::min(*longest, limit)) + 1;
      std::wstring buffer(chars, L'\0');
      DWORD length = chars;
      const LSTATUS status = call(buffer.data(), &length);
      if (status == ERROR_SUCCESS) {
        name = FromWide(buffer.data(), length);
        return ERROR_SUCCESS;
      }
      if (status != ERROR_MORE_DATA) return uint32_t(status);
    }
    return ERROR_MORE_DATA;
  }

  void RefreshLongest() {
    DWORD maxSubKey = 0, maxValueName = 0;
    if (::RegQueryInfoKeyW(key_.get(), nullptr, nullptr, nullptr, nullptr, &maxSubKey, nullptr, nullptr,
                           &maxValueName, nullptr, nullptr, nullptr) != ERROR_SUCCESS) {
      maxSubKey = kMaxKeyNameChars;
      maxValueName = kMaxValueNameChars;
    }
    maxSubKey_ = maxSubKey;
    maxValueName_ = maxValueName;
  }

  win32::UniqueKey key_;
  std::optional<DWORD> maxSubKey_;
  std::optional<DWORD> maxValueName_;
};

}  // namespace

// --- Registry ---

uint32_t Win32Platform::OpenKey(uint32_t root, const Text& path, uint32_t access, std::unique_ptr<RegistryKey>& key) {
  win32::UniqueKey opened;
  const LSTATUS status = ::RegOpenKeyExW(RootKey(root), ToWide(path).c_str(), 0, access, opened.put());
  if (status != ERROR_SUCCESS) return uint32_t(status);
  key = std::make_unique<Win32Key>(std::move(opened));
  return ERROR_SUCCESS;
}

uint32_t Win32Platform::CreateKey(uint32_t root, const Text& path, uint32_t access,
                                  std::unique_ptr<RegistryKey>& key) {
  win32::UniqueKey created;
  const LSTATUS status = ::RegCreateKeyExW(RootKey(root), ToWide(path).c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                           access, nullptr, created.put(), nullptr);
  if (status != ERROR_SUCCESS) return uint32_t(status);
  key = std::make_unique<Win32Key>(std::move(created));
  return ERROR_SUCCESS;
}

}  // namespace nb
