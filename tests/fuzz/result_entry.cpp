// Fuzzes the results' findings: the packed store that keeps their fields, the
// entry text derived from them, and splitting a registry subject.
//
// Input: one flag byte, then the text; each line of it is one finding's
// subject, its first character choosing the section and its characters the size.
//   bit 1: text as raw UTF-16LE bytes, else UTF-8
//   bit 2: the first line is repeated past the size of one store block
//   bit 3: "," as the decimal separator, else "."
//   bits 4-7: which finding is removed from the store
//
// fuzz-sources: state/ResultEntry.cpp state/ResultStore.cpp state/PackedTexts.cpp state/SizeText.cpp platform/Text.cpp
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "state/ResultEntry.h"
#include "state/Sections.h"
#include "tests/fuzz/FuzzCheck.h"

namespace {

using nb::Text;
using nb::TextView;
using nb::fuzz::Check;

struct Finding {
  int section;
  Text subject;
  uint64_t size;
};

Finding FindingOf(const Text& line) {
  Finding f{1 + (line.empty() ? 0 : int(line[0] % nb::kSectionCount)), line, 0};
  for (const char16_t c : line) f.size = f.size * 977 + c;
  return f;
}

// What every reader of an entry relies on: the code and "#" come first, the
// subject runs from the fourth character up to the last "#", and the size
// text after it holds no "#".
void CheckEntry(const nb::ResultStore& store, size_t i, const Finding& f, TextView separator) {
  const Text entry = nb::EntryText(store, i, separator);
  Check(TextView(entry).substr(0, 3) == Text(nb::SectionNumbered(f.section)->code) + u"#");
  const size_t lastHash = entry.rfind(u'#');
  Check(lastHash == 3 + f.subject.size());
  Check(TextView(entry).substr(3, f.subject.size()) == f.subject);
  Check(TextView(entry).substr(lastHash + 1) == nb::FindingSizeText(f.section, f.size, separator));
}

void CheckRegistrySplit(const Text& subject) {
  const nb::RegistrySubject reg = nb::SplitRegistrySubject(subject);
  Check(reg.rootName == subject.substr(0, 4) && reg.keyPath.find(u'=') == Text::npos);
  const size_t eq = subject.find(u'=');
  if (subject.size() >= 5 && subject[4] == u'\\' && (eq == Text::npos || eq >= 5)) {
    const bool hasValue = eq != Text::npos;
    Check(reg.rootName + u"\\" + reg.keyPath + (hasValue ? u"=" + reg.valueName : Text()) == subject);
  }
  // A key without "=" and any value name come back as they were joined.
  const Text key = subject.substr(0, eq);
  const Text value = eq == Text::npos ? Text(u"v") : subject.substr(eq + 1);
  const nb::RegistrySubject joined = nb::SplitRegistrySubject(u"HKCU\\" + key + u"=" + value);
  Check(joined.rootName == u"HKCU" && joined.keyPath == key && joined.valueName == value);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const uint8_t flags = data[0];
  Text text;
  if (flags & 2) {
    for (size_t i = 1; i + 1 < size; i += 2) text += char16_t(data[i] | (data[i + 1] << 8));
  } else {
    text = nb::FromUtf8(std::string_view(reinterpret_cast<const char*>(data + 1), size - 1));
  }
  std::vector<Text> lines = nb::Split(text, u'\n');
  if ((flags & 4) && !lines[0].empty()) {
    const Text once = lines[0];
    while (lines[0].size() < 40000) lines[0] += once;
  }
  const TextView separator = (flags & 8) ? u"," : u".";

  nb::ResultStore store;
  std::vector<Finding> findings;
  for (const Text& line : lines) {
    CheckRegistrySplit(line);
    findings.push_back(FindingOf(line));
    store.Append(findings.back().section, line, findings.back().size, uint32_t(findings.size()));
  }
  // The store gives back every finding as it was given, also after one is removed.
  const size_t removed = (flags >> 4) % lines.size();
  std::vector<bool> keep(lines.size(), true);
  keep[removed] = false;
  store.KeepOnly(keep);
  std::vector<uint32_t> origins;
  for (uint32_t i = 1; i <= findings.size(); ++i)
    if (i - 1 != removed) origins.push_back(i);
  findings.erase(findings.begin() + static_cast<std::ptrdiff_t>(removed));
  Check(store.Count() == findings.size());
  for (size_t i = 0; i < findings.size(); ++i) {
    Check(store.Section(i) == findings[i].section && store.Subject(i) == findings[i].subject &&
          store.Size(i) == findings[i].size && store.Origin(i) == origins[i]);
    CheckEntry(store, i, findings[i], separator);
  }
  store.Clear();
  Check(store.Empty());
  return 0;
}
