// Fuzzes the saved section ticks: whatever the registry holds under the
// settings value (any type, any bytes, a key that refuses writing), loading
// gives a usable mask, and what is saved loads back the same.
//
// Input: two bytes of ticks (bit k - 1 ticks section k), one byte of set-up,
// then the value's raw data.
//   set-up bits 0-2: the value's type (REG_SZ, REG_EXPAND_SZ, REG_BINARY,
//                    REG_DWORD, REG_MULTI_SZ, REG_NONE), 6 and 7: no value at all
//   set-up bit 3: the key refuses full access
//
// fuzz-sources: app/Settings.cpp platform/RegistryText.cpp catalogue/Catalogue.cpp
// fuzz-sources: platform/Text.cpp platform/Platform.cpp platform/sim/SimMachine.cpp platform/sim/SimPlatform.cpp
#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "app/Settings.h"
#include "catalogue/Catalogue.h"
#include "platform/sim/SimPlatform.h"
#include "tests/fuzz/FuzzCheck.h"
#include "tests/support/ValueData.h"

namespace {

using nb::Text;
using nb::fuzz::Check;

const Text kAllTicked(16, u'1');

// A mask that works as one: sixteen characters, and the sections it ticks are
// exactly those whose character is "1".
void CheckUsable(const Text& mask) {
  Check(mask.size() == 16);
  Check(!nb::MaskTicks(mask, 0) && !nb::MaskTicks(mask, 17) && !nb::MaskTicks(mask, -1));
  for (int k = 1; k <= 16; ++k) Check(nb::MaskTicks(mask, k) == (mask[size_t(k) - 1] == u'1'));
}

// The mask's characters as they lie in a REG_SZ value, at an even offset.
bool StoredIn(const std::vector<uint8_t>& data, const Text& mask) {
  const std::vector<uint8_t> bytes = nb::test::UnterminatedValueData(mask);
  for (size_t at = 0; at + bytes.size() <= data.size(); at += 2)
    if (std::equal(bytes.begin(), bytes.end(), data.begin() + static_cast<std::ptrdiff_t>(at))) return true;
  return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 3) return 0;
  std::array<bool, nb::kSectionCount> ticks{};
  for (size_t k = 0; k < 16; ++k) ticks[k] = ((data[k / 8] >> (k % 8)) & 1) != 0;
  const uint8_t setUp = data[2];
  const std::vector<uint8_t> stored(data + 3, data + size);
  constexpr std::array<uint32_t, 8> kTypes = {nb::winapi::kRegSz,       nb::winapi::kRegExpandSz, nb::winapi::kRegBinary,
                                             nb::winapi::kRegDword,    nb::winapi::kRegMultiSz,  nb::winapi::kRegNone,
                                             nb::winapi::kRegNone,     nb::winapi::kRegNone};
  const uint32_t type = kTypes[setUp & 7];
  const bool refuses = (setUp & 8) != 0;

  nb::sim::SimMachine machine;
  nb::sim::SimPlatform os(machine);
  machine.AddKey(nb::winapi::kHkeyCurrentUser, nb::kSettingsKey).refuseFullAccess = refuses;
  if ((setUp & 7) < 6) machine.SetValue(nb::winapi::kHkeyCurrentUser, nb::kSettingsKey, nb::kSettingsValue, type, stored);

  // Any stored value loads as a usable mask: the stored text, or every section ticked.
  const Text loaded = nb::LoadSectionMask(os);
  CheckUsable(loaded);
  if (loaded != kAllTicked) {
    Check(!refuses && (type == nb::winapi::kRegSz || type == nb::winapi::kRegExpandSz) && StoredIn(stored, loaded));
  }
  if (refuses) Check(loaded == kAllTicked);

  // Saving what was loaded changes nothing.
  nb::SaveSectionMask(os, loaded);
  Check(nb::LoadSectionMask(os) == loaded);

  // Saving the ticks loads them back; a key that cannot be written keeps every section ticked.
  const Text built = nb::BuildSectionMask(ticks);
  CheckUsable(built);
  for (int k = 1; k <= 16; ++k) Check(nb::MaskTicks(built, k) == ticks[size_t(k) - 1]);
  nb::SaveSectionMask(os, built);
  Check(nb::LoadSectionMask(os) == (refuses ? kAllTicked : built));

  // An arbitrary text saved loads back as itself exactly when it has sixteen
  // characters, no NUL and no blank at either end.
  // Decoded by hand, every pair of bytes: unlike a value's reader this keeps
  // what follows a NUL.
  Text any;
  for (size_t i = 0; i + 1 < stored.size(); i += 2) any += char16_t(stored[i] | (stored[i + 1] << 8));
  nb::SaveSectionMask(os, any);
  const Text back = nb::LoadSectionMask(os);
  CheckUsable(back);
  const bool keepsAsIs = any.size() == 16 && any.find(u'\0') == Text::npos && any.front() > u' ' && any.back() > u' ';
  if (!refuses) Check((back == any) == keepsAsIs);
  return 0;
}
