// Fuzzes the results' entry format: splitting an entry into section code,
// subject and size text, splitting a registry subject, and the packed store
// that keeps the entries.
//
// Input: one flag byte, then the text; each line of it is one entry.
//   bit 1: text as raw UTF-16LE bytes, else UTF-8
//   bit 2: the first line is repeated past the size of one store block
//   bits 3-7: which entry is removed from the store
//
// fuzz-sources: state/ResultEntry.cpp state/ResultStore.cpp platform/Text.cpp
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "state/ResultStore.h"
#include "tests/fuzz/FuzzCheck.h"

namespace {

using nb::Text;
using nb::TextView;
using nb::fuzz::Check;

bool Inside(TextView whole, TextView part) {
  return part.empty() || (part.data() >= whole.data() && part.data() + part.size() <= whole.data() + whole.size());
}

// What every reader relies on, for any text at all.
void CheckSplit(const Text& entry) {
  const nb::EntryViews views = nb::SplitEntryView(entry);
  Check(Inside(entry, views.sectionCode) && Inside(entry, views.subject) && Inside(entry, views.sizeText));
  Check(views.sectionCode == TextView(entry).substr(0, 2));
  Check(views.sizeText.find(u'#') == TextView::npos);
  const size_t lastHash = entry.rfind(u'#');
  if (lastHash == Text::npos) {
    Check(views.subject.empty() && views.sizeText.empty());
    return;
  }
  // The size text is all after the last "#"; the subject runs from the fourth
  // character up to that "#".
  Check(TextView(entry).substr(lastHash + 1) == views.sizeText);
  if (!views.subject.empty()) Check(TextView(entry).substr(3, lastHash - 3) == views.subject);
  else Check(lastHash <= 3);

  const Text subject(views.subject);
  const nb::RegistrySubject reg = nb::SplitRegistrySubject(subject);
  Check(reg.rootName == subject.substr(0, 4) && reg.keyPath.find(u'=') == Text::npos);
  const size_t eq = subject.find(u'=');
  if (subject.size() >= 5 && subject[4] == u'\\' && (eq == Text::npos || eq >= 5)) {
    const bool hasValue = eq != Text::npos;
    Check(reg.rootName + u"\\" + reg.keyPath + (hasValue ? u"=" + reg.valueName : Text()) == subject);
  }
}

// An entry written as code "#" subject "#" size reads back as those pieces,
// whatever the subject holds, when the code has two characters and the size no "#".
void CheckRoundTrip(const Text& line) {
  Text code = line.substr(0, 2);
  code.resize(2, u'0');
  const Text rest = line.size() > 2 ? line.substr(2) : Text();
  const size_t cut = rest.find(u'\x01');
  const Text subject = rest.substr(0, cut);
  Text size = cut == Text::npos ? Text() : rest.substr(cut + 1);
  std::erase(size, u'#');
  const Text entry = code + u"#" + subject + u"#" + size;
  const nb::EntryViews parts = nb::SplitEntryView(entry);
  Check(parts.sectionCode == code && parts.subject == subject && parts.sizeText == size);

  const size_t eq = subject.find(u'=');
  const Text key = subject.substr(0, eq);
  const Text value = eq == Text::npos ? Text(u"v") : subject.substr(eq + 1);
  const nb::RegistrySubject reg = nb::SplitRegistrySubject(u"HKCU\\" + key + u"=" + value);
  Check(reg.rootName == u"HKCU" && reg.keyPath == key && reg.valueName == value);
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

  nb::ResultStore store;
  for (size_t i = 0; i < lines.size(); ++i) {
    CheckSplit(lines[i]);
    CheckRoundTrip(lines[i]);
    if (i % 2 == 0) {
      store.Append(lines[i]);
    } else {
      const TextView line = lines[i];
      const size_t a = std::min<size_t>(3, line.size());
      const size_t b = std::min<size_t>(8, line.size());
      store.AppendJoined({line.substr(0, a), line.substr(a, b - a), line.substr(b)});
    }
  }
  // The store gives back every entry as it was given, also after one is removed.
  Check(store.Count() == lines.size());
  for (size_t i = 0; i < lines.size(); ++i) Check(store.View(i) == lines[i]);
  const size_t removed = (flags >> 3) % lines.size();
  store.RemoveAt(removed);
  lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(removed));
  Check(store.Count() == lines.size());
  for (size_t i = 0; i < lines.size(); ++i) {
    Check(store.View(i) == lines[i] && store.EntryStartsWith(i, TextView(lines[i]).substr(0, 2)));
    const int64_t found = store.IndexOf(lines[i], [](const Text& a, const Text& b) { return a == b; });
    Check(found >= 0 && found <= int64_t(i) && store.View(size_t(found)) == lines[i]);
  }
  store.Clear();
  Check(store.Empty());
  return 0;
}
