// How sizes are written: the one rule for every size text of the results, and
// the kilobyte rounding of the per-section totals.
#pragma once

#include <cstddef>
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

// The most characters a size text has besides those of its decimal separator:
// 20 digits, two decimals and the unit.
inline constexpr size_t kSizeTextMaxChars = 25;
// Writes the text of AppendSizeText at `out`, which has room for
// kSizeTextMaxChars + decimalSeparator.size() characters; returns how many it
// wrote. For writers that put the text straight where it belongs.
size_t WriteSizeText(char16_t* out, uint64_t bytes, TextView decimalSeparator);

// "14 b": a count of characters, as registry findings give their size.
// `out` has room for kSizeTextMaxChars characters.
size_t WriteCountText(char16_t* out, uint64_t count);

// The hundredths of a unit of 2^shift bytes that a size text shows after the
// whole units of `bytes`, a half going up: 0 to 100, where 100 carries into
// the whole units.
constexpr uint64_t RoundedHundredths(uint64_t bytes, unsigned shift) {
  const uint64_t below = (uint64_t(1) << shift) - 1;
  const uint64_t rest = (bytes & below) * 100;
  return (rest >> shift) + uint64_t((rest & below) * 2 > below);
}

// Whether the size text of `bytes` reads zero ("0.00 KB"): at most five bytes.
constexpr bool SizeTextShowsZero(uint64_t bytes) { return bytes < 1024 && RoundedHundredths(bytes, 10) == 0; }

// bytes / 1024 to the nearest whole number, a half going to the even neighbour.
int64_t RoundedKilobytes(uint64_t bytes);

}  // namespace nb
