#include "registry/RegistryWalk.h"

#include <array>
#include <memory>

#include "registry/FileExistence.h"
#include "registry/ValueReference.h"
#include "registry/ValueText.h"

namespace nb {

namespace {

// Vendors and system areas whose values are not ours to judge.
constexpr std::array<TextView, 10> kExcludedWords{u"MICROSOFT", u"CLASSES", u"POLICIES", u"SYNC",    u"AUTO",
                                                  u"KASPERSKY", u"MCAFEE",  u"HEWLETT",  u"DELL", u"ATI"};

// Both name lists of a key, taken before any value is examined. Every list is
// bounded by the counts the key reports, and any failure ends it: some keys
// fail at every index with an error other than "no more items".
struct KeyNames {
  std::vector<Text> values;
  std::vector<Text> subkeys;
};

KeyNames ListNames(RegistryKey& key) {
  KeyNames names;
  RegKeyInfo info;
  if (key.QueryInfo(info) != winapi::kErrorSuccess) return names;
  names.subkeys.reserve(info.subKeyCount);
  names.values.reserve(info.valueCount);
  Text name;
  for (uint32_t i = 0; i < info.subKeyCount && key.EnumKey(i, name) == winapi::kErrorSuccess; ++i)
    names.subkeys.push_back(name);
  for (uint32_t i = 0; i < info.valueCount && key.EnumValue(i, name) == winapi::kErrorSuccess; ++i)
    names.values.push_back(name);
  return names;
}

// The referenced file of a string value when that file exists nowhere; empty
// when the value is fine or not worth a look. `value` is what was read.
Text StaleFileOf(RunContext& run, RegistryKey& key, const Text& valueName, RegValue& value) {
  if (key.QueryValue(valueName, value) != winapi::kErrorSuccess) return {};
  if (value.type != winapi::kRegSz && value.type != winapi::kRegExpandSz) return {};
  const Text text = ValueTextFromData(value.data);
  if (!IsCandidateValueText(text)) return {};
  if (IsExistingFile(run.os, text)) return {};

  const Locations& loc = run.state.Loc;
  Text path = ExtractReferencedFile(run.os, loc, text);
  if (!HasThreeLetterExtension(path)) return {};
  // Files of the Windows folder belong to the system, missing or not.
  if (!loc.WindowsFolder.empty() && Contains(ToUpperAscii(path), ToUpperAscii(loc.WindowsFolder))) return {};
  // A plain path was tested as it stands already.
  if (path != text && IsExistingFile(run.os, path)) return {};
  if (ExistsNativelyOrOnSearchPath(run.os, loc, path)) return {};
  return path;
}

// Appends the finding with what its value held: the deletion later takes the
// value only while it still holds exactly that.
void Record(RunContext& run, const SectionInfo& walkRoot, const Text& keyPath, const Text& valueName,
            const Text& path, RegValue&& read) {
  Text subject(walkRoot.rootName);
  subject += keyPath;
  subject += u'=';
  subject += valueName;
  run.state.FoundValues.push_back(std::move(read));
  run.state.Results.Append(walkRoot.number, subject, path.size(), uint32_t(run.state.FoundValues.size() - 1));
  ++run.state.SectionFindingCounts[size_t(walkRoot.number)];
}

}  // namespace

bool IsExcludedKeyPath(TextView keyPath) {
  const Text upper = ToUpperAscii(keyPath);
  for (const auto word : kExcludedWords)
    if (Contains(upper, word)) return true;
  return false;
}

void WalkRegistryKey(RunContext& run, uint32_t root, const Text& keyPath) {
  if (!run.state.Busy()) return;
  const SectionInfo* walkRoot = RegistrySectionOfRoot(root);
  if (!walkRoot || IsExcludedKeyPath(keyPath)) return;

  // The walk and its entries hold the path with its leading "\"; RegOpenKeyExW takes it without.
  const Text path = StartsWith(keyPath, u"\\") ? keyPath : u"\\" + keyPath;
  std::unique_ptr<RegistryKey> key;
  if (run.os.OpenKey(root, path.substr(1), kWalkKeyAccess, key) != winapi::kErrorSuccess || !key) return;

  const KeyNames names = ListNames(*key);
  for (const auto& valueName : names.values) {
    if (!PumpAndCheck(run)) continue;
    RegValue read;
    const Text stale = StaleFileOf(run, *key, valueName, read);
    if (stale.empty()) continue;
    if (Contains(stale, u"Embarcadero")) run.host.ShowMessage(stale, u"", winapi::kMbOk);
    Record(run, *walkRoot, path, valueName, stale, std::move(read));
  }
  for (const auto& subkeyName : names.subkeys) {
    run.host.PumpMessages();
    if (!subkeyName.empty()) WalkRegistryKey(run, root, path + u"\\" + subkeyName);
  }
}

}  // namespace nb
