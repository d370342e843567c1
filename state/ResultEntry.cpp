#include "state/ResultEntry.h"

#include <algorithm>

namespace nb {

EntryViews SplitEntryView(TextView entry) {
  EntryViews parts;
  parts.sectionCode = entry.substr(0, 2);
  const size_t lastHash = entry.rfind(u'#');
  if (lastHash == TextView::npos) return parts;
  parts.sizeText = entry.substr(lastHash + 1);
  if (lastHash > 3) parts.subject = entry.substr(3, lastHash - 3);
  return parts;
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
