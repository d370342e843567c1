// Tests write findings as the entry texts the results show
// ("01#C:\Temp\a.tmp#1.00 KB", "15#HKCU\SOFTWARE\Vendor=Name#14 b") and read
// them back the same way. A size text is read back to the bytes nearest to
// it, which give that same text again.
#pragma once

#include <cmath>
#include <vector>

#include "state/ResultEntry.h"

namespace nb::test {

// The size a size text stands for: "12.50 KB" -> 12800, "1,00 MB" -> 1048576, "14 b" -> 14.
inline uint64_t SizeOfText(TextView text) {
  double value = 0, scale = 0;
  size_t i = 0;
  for (; i < text.size() && text[i] != u' '; ++i) {
    if (text[i] == u'.' || text[i] == u',') {
      scale = 1;
      continue;
    }
    value = value * 10 + (text[i] - u'0');
    scale *= 10;
  }
  if (scale > 0) value /= scale;
  const TextView unit = i < text.size() ? text.substr(i + 1) : TextView();
  const double unitBytes = unit == u"KB" ? 1024.0 : unit == u"MB" ? 1048576.0 : 1.0;
  return uint64_t(std::llround(value * unitBytes));
}

// Appends the finding an entry text shows: its section code, subject (up to
// the last "#") and size text.
inline void AppendEntry(ResultStore& store, TextView entry, uint32_t origin = kNoOrigin) {
  const size_t lastHash = entry.rfind(u'#');
  const int section = (entry[0] - u'0') * 10 + (entry[1] - u'0');
  store.Append(section, entry.substr(3, lastHash - 3), SizeOfText(entry.substr(lastHash + 1)), origin);
}

inline Text EntryAt(const ResultStore& store, size_t index, TextView decimalSeparator = u".") {
  return EntryText(store, index, decimalSeparator);
}

// The entries of a results store, in order.
inline std::vector<Text> EntriesOf(const ResultStore& store, TextView decimalSeparator = u".") {
  std::vector<Text> entries;
  for (size_t i = 0; i < store.Count(); ++i) entries.push_back(EntryAt(store, i, decimalSeparator));
  return entries;
}

}  // namespace nb::test
