// The captions a results-list row takes once its finding is deleted.
#pragma once

#include "platform/Text.h"
#include "state/ResultStore.h"

namespace nb {

// "Deleted file " + the part of the path after its last "\" or ":".
inline Text DeletedFileCaption(TextView path) {
  const size_t cut = path.find_last_of(u"\\:");
  return u"Deleted file " + Text(cut == TextView::npos ? path : path.substr(cut + 1));
}

inline Text DeletedValueCaption(TextView valueName) { return u"Deleted value " + Text(valueName); }

// The caption of the row of a deleted finding of the store: its file's or its value's.
Text DeletedCaption(const ResultStore& store, size_t index);

}  // namespace nb
