// The text of one finding, "code#subject#size text", as the results show it,
// and the parts of a registry subject.
#pragma once

#include "platform/Text.h"
#include "state/ResultStore.h"
#include "state/SizeText.h"

namespace nb {

// The most characters of a finding's size text besides those of its decimal separator.
inline constexpr size_t kFindingSizeTextMaxChars = kSizeTextMaxChars;

// A file finding's size text ("12.50 KB"), or a registry finding's ("14 b"),
// written at `out`, which has room for kFindingSizeTextMaxChars +
// decimalSeparator.size() characters; returns how many it wrote.
size_t WriteFindingSizeText(char16_t* out, int section, uint64_t size, TextView decimalSeparator);
Text FindingSizeText(int section, uint64_t size, TextView decimalSeparator);

// The finding's entry: section code + "#" + subject + "#" + size text.
Text EntryText(const ResultStore& store, size_t index, TextView decimalSeparator);

// A registry subject "HKCU\SOFTWARE\Vendor=Name" splits into root name,
// key path (without its leading "\") and value name.
struct RegistrySubject {
  Text rootName;
  Text keyPath;
  Text valueName;
};
RegistrySubject SplitRegistrySubject(const Text& subject);

}  // namespace nb
