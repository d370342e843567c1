// String data of registry values as the tests lay it out. Well-formed data
// comes from the program's own encoder, ValueDataFromText; this is the one
// shape it never writes but other programs leave behind.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/Text.h"

namespace nb::test {

// The text as UTF-16LE without the terminating NUL.
inline std::vector<uint8_t> UnterminatedValueData(TextView text) {
  std::vector<uint8_t> data = ValueDataFromText(text);
  data.resize(data.size() - 2);
  return data;
}

}  // namespace nb::test
