#include "state/ResultEntry.h"

#include <algorithm>

#include "state/Sections.h"

namespace nb {

size_t WriteFindingSizeText(char16_t* out, int section, uint64_t size, TextView decimalSeparator) {
  return IsFileSection(section) ? WriteSizeText(out, size, decimalSeparator) : WriteCountText(out, size);
}

Text FindingSizeText(int section, uint64_t size, TextView decimalSeparator) {
  Text text(kFindingSizeTextMaxChars + decimalSeparator.size(), u'\0');
  text.resize(WriteFindingSizeText(text.data(), section, size, decimalSeparator));
  return text;
}

Text EntryText(const ResultStore& store, size_t index, TextView decimalSeparator) {
  const int section = store.Section(index);
  const SectionInfo* info = SectionNumbered(section);
  Text entry(info ? info->code : u"00");
  entry += u'#';
  entry += store.Subject(index);
  entry += u'#';
  entry += FindingSizeText(section, store.Size(index), decimalSeparator);
  return entry;
}

RegistrySubject SplitRegistrySubject(const Text& subject) {
  RegistrySubject parts;
  parts.rootName = subject.substr(0, 4);
  const size_t eq = subject.find(u'=');
  const size_t keyStart = std::min<size_t>(5, subject.size());
  const size_t keyEnd = eq == Text::npos ? subject.size() : std::max(eq, keyStart);
  parts.keyPath = subject.substr(keyStart, keyEnd - keyStart);
  if (eq != Text::npos) parts.valueName = subject.substr(eq + 1);
  return parts;
}

}  // namespace nb
