// What the memo under the results list shows for one clicked row: the text of
// a registry value, or a printable preview of a file's first bytes.
#pragma once

#include <string_view>
#include <vector>

#include "platform/Platform.h"
#include "state/ResultStore.h"

namespace nb {

// Larger files are not previewed; a file of exactly this size is.
constexpr uint64_t kPreviewSizeLimit = 1048576;

// The preview of a file's bytes: bytes above 31 read as ISO 8859-1, all
// others dropped; a line ends once it holds 79 characters; after ten lines
// the rest is not looked at. The last, possibly empty, line always follows.
std::vector<Text> PreviewLines(std::string_view bytes);

// The memo lines for the store's finding at `index`; no lines when there is
// nothing to show (a file whose size text reads zero, missing, too large,
// unreadable or empty). A registry finding gives exactly one line, empty when
// its value cannot be read as text.
std::vector<Text> ItemDetailLines(Platform& os, const ResultStore& store, size_t index);

}  // namespace nb
