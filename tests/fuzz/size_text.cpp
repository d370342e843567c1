// Fuzzes how sizes are written ("0.90 MB", "12,50 KB"): the size text of any
// 64-bit byte count, the two-decimal rounding under it with any denominator,
// and the kilobyte rounding of the section totals.
//
// Input: one byte choosing the decimal separator, eight bytes of size (little
// endian), and optionally eight bytes of a denominator.
//
// fuzz-sources: state/SizeText.cpp platform/Text.cpp
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "state/SizeText.h"
#include "tests/fuzz/FuzzCheck.h"

namespace {

using nb::Text;
using nb::TextView;
using nb::fuzz::Check;
using Wide = unsigned __int128;

uint64_t Read64(const uint8_t* bytes) {
  uint64_t value = 0;
  for (int i = 7; i >= 0; --i) value = value << 8 | bytes[i];
  return value;
}

// "<whole><separator><two digits>", the whole part without leading zeros;
// returns the value in hundredths.
Wide ParseFixed2(TextView text, TextView separator) {
  Check(text.size() >= separator.size() + 3);
  const TextView decimals = text.substr(text.size() - 2);
  Check(text.substr(text.size() - 2 - separator.size(), separator.size()) == separator);
  const TextView whole = text.substr(0, text.size() - 2 - separator.size());
  Check(!whole.empty() && whole.size() <= 20 && (whole.size() == 1 || whole[0] != u'0'));
  Wide value = 0;
  for (char16_t c : whole) {
    Check(c >= u'0' && c <= u'9');
    value = value * 10 + (c - u'0');
  }
  for (char16_t c : decimals) {
    Check(c >= u'0' && c <= u'9');
    value = value * 10 + (c - u'0');
  }
  return value;
}

// hundredths is numerator * 100 / denominator to the nearest whole number, a
// half going up: hundredths - 1/2 <= exact < hundredths + 1/2.
void CheckRounded(Wide hundredths, uint64_t numerator, uint64_t denominator) {
  const Wide twice = Wide(200) * numerator + denominator;
  Check(2 * hundredths * denominator <= twice && twice < 2 * (hundredths + 1) * denominator);
}

const std::array<TextView, 5> kSeparators = {u".", u",", u"", u" and ", u"\u066B"};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 9) return 0;
  const TextView separator = kSeparators[data[0] % kSeparators.size()];
  const uint64_t bytes = Read64(data + 1);

  // Kilobytes below one megabyte, megabytes from there on, rounded correctly.
  const Text text = nb::FormatSizeText(bytes, separator);
  const bool kilo = bytes < 1024 * 1024;
  Check(nb::EndsWith(text, kilo ? u" KB" : u" MB"));
  const uint64_t unit = kilo ? 1024 : 1024 * 1024;
  const Wide hundredths = ParseFixed2(TextView(text).substr(0, text.size() - 3), separator);
  CheckRounded(hundredths, bytes, unit);
  // Appending adds the same text after what is there.
  Text appended = u"Total: ";
  nb::AppendSizeText(appended, bytes, separator);
  Check(appended == u"Total: " + text);
  // One byte more never writes a smaller number of the same unit.
  if (bytes + 1 != 1024 * 1024 && bytes != UINT64_MAX) {
    const Text next = nb::FormatSizeText(bytes + 1, separator);
    Check(ParseFixed2(TextView(next).substr(0, next.size() - 3), separator) >= hundredths);
  }

  // Whole kilobytes: the nearest, a half going to the even one.
  const int64_t kilobytes = nb::RoundedKilobytes(bytes);
  Check(kilobytes >= 0);
  const Wide scaled = Wide(uint64_t(kilobytes)) * 1024;
  const Wide distance = scaled > bytes ? scaled - bytes : bytes - scaled;
  Check(distance <= 512 && (distance < 512 || kilobytes % 2 == 0));

  // The rounding under it, for any denominator the callers may pass.
  if (size >= 17) {
    const uint64_t denominator = Read64(data + 9) % ((uint64_t(1) << 57) - 1) + 1;
    Text fixed;
    nb::AppendFixed2(fixed, bytes, denominator, separator);
    CheckRounded(ParseFixed2(fixed, separator), bytes, denominator);
  }
  return 0;
}
