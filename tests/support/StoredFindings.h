// Registry findings put into the store the way the walk puts them there: with
// what their value holds now, so that deletion finds it unchanged.
#pragma once

#include "catalogue/Catalogue.h"
#include "registry/RegistrySections.h"
#include "state/AppState.h"
#include "support/EntryTexts.h"

namespace nb::test {

// `entry` is "15#HKCU\\SOFTWARE\\...=name#size" or the same for 16.
inline void StoreValueFinding(AppState& state, Platform& os, const Text& entry) {
  const SectionInfo* section = RegistrySectionNumbered(SectionNumberOf(entry));
  const RegistrySubject subject = SplitRegistrySubject(Text(entry.substr(3, entry.rfind(u'#') - 3)));
  RegValue value;
  std::unique_ptr<RegistryKey> key;
  if (section && os.OpenKey(section->registryRoot, subject.keyPath, winapi::kKeyRead | FindingRegistryView(section->registryRoot),
                            key) == winapi::kErrorSuccess)
    key->QueryValue(subject.valueName, value);
  state.FoundValues.push_back(std::move(value));
  AppendEntry(state.Results, entry, uint32_t(state.FoundValues.size() - 1));
}

}  // namespace nb::test
