#include "state/SizeText.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <iterator>

namespace nb {

namespace {

// The most characters of a fixed-point text besides its separator: 20 digits
// and two decimals.
constexpr size_t kFixed2MaxChars = 22;

static_assert(std::endian::native == std::endian::little, "WriteDigits lays characters out in a word");

// Writes the decimal digits of `value` at `out`, which has room for at least
// four characters; returns the end.
char16_t* WriteDigits(char16_t* out, uint64_t value) {
  if (value < 10000) {
    // Sizes are mostly below 10,000 units, and their lengths vary at random:
    // the four digits side by side in one word, the leading zeros shifted out,
    // and the end moved past the significant ones, so that no branch depends
    // on the length.
    const auto v = uint64_t(value);
    const size_t count = 1 + size_t(v >= 10) + size_t(v >= 100) + size_t(v >= 1000);
    uint64_t four = (u'0' + v / 1000) | (u'0' + v / 100 % 10) << 16 | (u'0' + v / 10 % 10) << 32 | (u'0' + v % 10) << 48;
    four >>= 16 * (4 - count);
    std::memcpy(out, &four, sizeof four);
    return out + count;
  }
  char16_t digits[20];
  char16_t* first = std::end(digits);
  do {
    *--first = char16_t(u'0' + value % 10);
    value /= 10;
  } while (value != 0);
  return std::copy(first, std::end(digits), out);
}

// The separator, then the two decimals; returns the end.
char16_t* WriteDecimals(char16_t* out, TextView decimalSeparator, uint64_t hundredths) {
  if (decimalSeparator.size() == 1)
    *out++ = decimalSeparator[0];
  else
    out = std::copy(decimalSeparator.begin(), decimalSeparator.end(), out);
  *out++ = char16_t(u'0' + hundredths / 10);
  *out++ = char16_t(u'0' + hundredths % 10);
  return out;
}

// The rounding of AppendFixed2, written at `out`; returns the end.
char16_t* WriteFixed2(char16_t* out, uint64_t numerator, uint64_t denominator, TextView decimalSeparator) {
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
  return WriteDecimals(WriteDigits(out, whole), decimalSeparator, hundredths);
}

// Appends what `write` puts into room for `maxChars` characters.
template <typename Write>
void AppendWritten(Text& out, size_t maxChars, Write write) {
  const size_t start = out.size();
  out.resize(start + maxChars);
  out.resize(start + size_t(write(out.data() + start) - (out.data() + start)));
}

}  // namespace

void AppendFixed2(Text& out, uint64_t numerator, uint64_t denominator, TextView decimalSeparator) {
  AppendWritten(out, kFixed2MaxChars + decimalSeparator.size(),
                [&](char16_t* at) { return WriteFixed2(at, numerator, denominator, decimalSeparator); });
}

size_t WriteSizeText(char16_t* out, uint64_t bytes, TextView decimalSeparator) {
  // The rounding of AppendFixed2 with 1024 or 1024 * 1024 as the denominator:
  // one size text per finding, so the unit is a shift chosen without a branch.
  const bool megabytes = bytes >= 1024 * 1024;
  const unsigned shift = megabytes ? 20 : 10;
  uint64_t hundredths = RoundedHundredths(bytes, shift);
  const uint64_t carry = uint64_t(hundredths == 100);
  hundredths -= 100 * carry;
  char16_t* at = WriteDecimals(WriteDigits(out, (bytes >> shift) + carry), decimalSeparator, hundredths);
  at[0] = u' ';
  at[1] = megabytes ? u'M' : u'K';
  at[2] = u'B';
  return size_t(at + 3 - out);
}

size_t WriteCountText(char16_t* out, uint64_t count) {
  char16_t* at = WriteDigits(out, count);
  at[0] = u' ';
  at[1] = u'b';
  return size_t(at + 2 - out);
}

void AppendSizeText(Text& out, uint64_t bytes, TextView decimalSeparator) {
  AppendWritten(out, kSizeTextMaxChars + decimalSeparator.size(),
                [&](char16_t* at) { return at + WriteSizeText(at, bytes, decimalSeparator); });
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
