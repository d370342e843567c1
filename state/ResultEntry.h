// The parts of one results store entry: section code + "#" + subject + "#"
// + size text, and the parts of a registry subject.
#pragma once

#include "platform/Text.h"

namespace nb {

// Reading one entry; every reader uses these rules. The pieces are views into
// the entry.
struct EntryViews {
  TextView sectionCode;  // the first two characters
  TextView subject;      // from the fourth character up to the last "#"
  TextView sizeText;     // after the last "#"
};
EntryViews SplitEntryView(TextView entry);

// A registry subject "HKCU\SOFTWARE\Vendor=Name" splits into root name,
// key path (without its leading "\") and value name.
struct RegistrySubject {
  Text rootName;
  Text keyPath;
  Text valueName;
};
RegistrySubject SplitRegistrySubject(const Text& subject);

}  // namespace nb
