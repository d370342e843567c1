#include "scan/SizeText.h"

#include <iterator>

namespace nb {

namespace {

void AppendDigits(Text& out, uint64_t value) {
  char16_t digits[20];
  size_t first = std::size(digits);
  do {
    digits[--first] = char16_t(u'0' + value % 10);
    value /= 10;
  } while (value != 0);
  out.append(digits + first, std::size(digits) - first);
}

// The rounding of AppendFixed2; with the denominator known at compile time the
// divisions become multiplications and shifts (one size text per finding).
template <typename Denominator>
void AppendFixed2Of(Text& out, uint64_t numerator, Denominator denominator, TextView decimalSeparator) {
  uint64_t whole = numerator / denominator;
  const uint64_t rest = numerator % denominator;
  // rest < denominator < 2^57, so rest * 100 cannot overflow; a half of a
  // hundredth and more rounds up.
  uint64_t hundredths = rest * 100 / denominator;
  const uint64_t left = rest * 100 % denominator;
  if (left * 2 >= denominator) ++hundredths;
  if (hundredths == 100) {
    ++whole;
    hundredths = 0;
  }
  AppendDigits(out, whole);
  out.append(decimalSeparator);
  const char16_t decimals[2] = {char16_t(u'0' + hundredths / 10), char16_t(u'0' + hundredths % 10)};
  out.append(decimals, 2);
}

template <uint64_t kValue>
struct Constant {
  constexpr operator uint64_t() const { return kValue; }
};

}  // namespace

void AppendFixed2(Text& out, uint64_t numerator, uint64_t denominator, TextView decimalSeparator) {
  AppendFixed2Of(out, numerator, denominator, decimalSeparator);
}

void AppendSizeText(Text& out, uint64_t bytes, TextView decimalSeparator) {
  constexpr uint64_t kMega = 1024 * 1024;
  if (bytes < kMega) {
    AppendFixed2Of(out, bytes, Constant<1024>(), decimalSeparator);
    out.append(u" KB");
  } else {
    AppendFixed2Of(out, bytes, Constant<kMega>(), decimalSeparator);
    out.append(u" MB");
  }
}

Text FormatSizeText(uint64_t bytes, TextView decimalSeparator) {
  Text text;
  AppendSizeText(text, bytes, decimalSeparator);
  return text;
}

int64_t RoundedKilobytes(uint64_t bytes) {
  uint64_t kilobytes = bytes / 1024;
  const uint64_t rest = bytes % 1024;
  if (rest > 512 || (rest == 512 && kilobytes % 2 == 1)) ++kilobytes;
  return int64_t(kilobytes);
}

}  // namespace nb
