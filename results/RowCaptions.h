// The captions a results-list row takes once its finding is deleted.
#pragma once

#include "platform/Text.h"

namespace nb {

// A row marked deleted by an earlier run: its caption begins with "Deleted".
inline bool IsDeletedRow(TextView caption) { return StartsWith(caption, u"Deleted"); }

// "Deleted file " + the part of the path after its last "\" or ":".
inline Text DeletedFileCaption(TextView path) {
  const size_t cut = path.find_last_of(u"\\:");
  return u"Deleted file " + Text(cut == TextView::npos ? path : path.substr(cut + 1));
}

inline Text DeletedValueCaption(TextView valueName) { return u"Deleted value " + Text(valueName); }

// The caption of the row of a deleted store entry: its file's or its value's.
Text DeletedCaption(TextView entry);

}  // namespace nb
