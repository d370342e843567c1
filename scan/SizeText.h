// How sizes are written: the one rule for every size text of the results, and
// the kilobyte rounding of the per-section totals.
#pragma once

#include <cstdint>

#include "platform/Text.h"

namespace nb {

// numerator / denominator written as "%3.2f" would, with the given decimal
// separator, except that an exact half of a hundredth rounds away from zero
// (0.125 -> "0.13"). Computed exactly in integers, so no value near a unit
// boundary is pushed across it. `denominator` is at least 1 and below 2^57.
void AppendFixed2(Text& out, uint64_t numerator, uint64_t denominator, TextView decimalSeparator);

// Kilobytes below 1,048,576 bytes, megabytes from there on; no larger unit.
void AppendSizeText(Text& out, uint64_t bytes, TextView decimalSeparator);
Text FormatSizeText(uint64_t bytes, TextView decimalSeparator);

// bytes / 1024 to the nearest whole number, a half going to the even neighbour.
int64_t RoundedKilobytes(uint64_t bytes);

}  // namespace nb
