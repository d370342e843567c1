// The findings of the last Analyze run, one text per finding, in the order they
// were made: section code + "#" + subject + "#" + size text.
#pragma once

#include <functional>
#include <vector>

#include "platform/Text.h"

namespace nb {

class ResultStore {
 public:
  void Clear() { entries_.clear(); }
  void Append(Text entry) { entries_.push_back(std::move(entry)); }
  size_t Count() const { return entries_.size(); }
  bool Empty() const { return entries_.empty(); }
  const Text& At(size_t index) const { return entries_[index]; }
  void RemoveAt(size_t index) { entries_.erase(entries_.begin() + static_cast<std::ptrdiff_t>(index)); }
  // Index of the first entry equal to `text` under `equal`, or -1.
  int64_t IndexOf(const Text& text, const std::function<bool(const Text&, const Text&)>& equal) const {
    for (size_t i = 0; i < entries_.size(); ++i)
      if (equal(entries_[i], text)) return int64_t(i);
    return -1;
  }

 private:
  std::vector<Text> entries_;
};

// Reading one entry; every reader uses these rules.
struct EntryParts {
  Text sectionCode;  // the first two characters
  Text subject;      // from the fourth character up to the last "#"
  Text sizeText;     // after the last "#"
};
EntryParts SplitEntry(const Text& entry);

// A registry subject "HKCU\SOFTWARE\Vendor=Name" splits into root name,
// key path (without its leading "\") and value name.
struct RegistrySubject {
  Text rootName;
  Text keyPath;
  Text valueName;
};
RegistrySubject SplitRegistrySubject(const Text& subject);

}  // namespace nb
