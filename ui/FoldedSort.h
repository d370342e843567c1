// Sorting texts alphabetically without regard to case, fast for many texts
// that share long beginnings (a million paths below one folder).
#pragma once

#include <cstdint>
#include <vector>

#include "platform/Text.h"

namespace nb::ui {

// Orders `order` (indices into `texts`) by the texts, letters folded as
// FoldCase folds them, shorter before longer on a common beginning; equal
// texts keep their order in `order`: the same result as a stable sort with
// that comparison. Each character is looked at about once per level of the
// sort instead of once per comparison.
void SortFolded(std::vector<uint32_t>& order, const std::vector<TextView>& texts);

}  // namespace nb::ui
