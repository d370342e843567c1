// The one crossing between the program's text and the API's: wchar_t is a
// UTF-16 code unit on Windows, so the conversion is a copy of the same units.
#pragma once

#include <string>

#include "platform/Text.h"

namespace nb::win32 {

static_assert(sizeof(wchar_t) == sizeof(char16_t), "the Win32 layer needs a 16-bit wchar_t");

inline std::wstring ToWide(TextView text) { return std::wstring(text.begin(), text.end()); }

inline Text FromWide(const wchar_t* text, size_t length) { return Text(text, text + length); }

// A NUL-terminated API string.
inline Text FromWide(const wchar_t* text) { return FromWide(text, std::char_traits<wchar_t>::length(text)); }

}  // namespace nb::win32
