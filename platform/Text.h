// UTF-16 text helpers shared by every layer. One string type in the core:
// std::u16string, so that lengths count the same code units as on Windows.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace nb {

using Text = std::u16string;
using TextView = std::u16string_view;

// Upper-cases the ASCII letters only; every other character stays. The one
// case mapping of the ASCII letters: comparisons that ignore their case
// compare upper-cased characters.
constexpr char16_t UpperAscii(char16_t c) { return (c >= u'a' && c <= u'z') ? char16_t(c - 32) : c; }
Text ToUpperAscii(TextView text);
bool EqualsIgnoreAsciiCase(TextView a, TextView b);

// Folds letters the way a case-insensitive file system or CompareStringW with
// NORM_IGNORECASE would, for the characters of the Basic Multilingual Plane we
// know how to fold (ASCII, Latin-1, Latin Extended-A, Greek, Cyrillic).
char16_t FoldCase(char16_t c);
bool EqualsIgnoreCase(TextView a, TextView b);
Text FoldCaseText(TextView text);

// Whether all of `name` matches `mask`: "*" is any run of characters, none
// included; "?" is exactly one character; any other character matches a
// character that `fold` maps to the same as it.
bool MatchesWildcards(TextView mask, TextView name, char16_t (*fold)(char16_t));

// Removes leading and trailing characters whose code is U+0020 or below.
Text Trim(TextView text);

bool StartsWith(TextView text, TextView prefix);
bool EndsWith(TextView text, TextView suffix);
bool Contains(TextView text, TextView part);

// Ends the folder text with one backslash unless it already ends with one.
Text WithTrailingBackslash(TextView folder);

Text NumberText(int64_t value);
Text NumberTextUnsigned(uint64_t value);

// Strict UTF-8: false, with `text` undefined, at the first byte that starts no
// well-formed sequence (overlong forms, surrogates, codes above U+10FFFF and cut
// sequences included).
bool DecodeUtf8(std::string_view bytes, Text& text);

// The text of a file's bytes that begin with a byte-order mark: UTF-8
// ("EF BB BF"), UTF-16LE ("FF FE") or UTF-16BE ("FE FF"). NoMark leaves the
// decoding to the caller (the bytes are in some code page); Malformed means the
// bytes after the mark are no text of that form (a cut or ill-formed
// sequence, or an odd number of bytes of UTF-16), and `text` holds what a
// lenient reader makes of them: U+FFFD for each byte of UTF-8 that starts no
// well-formed sequence, the whole units of UTF-16 without the odd last byte.
enum class MarkedText { NoMark, Decoded, Malformed };
MarkedText DecodeByteOrderMarked(std::string_view bytes, Text& text);

// Conversions for tests, messages and the Linux side; never for Win32 calls.
std::string ToUtf8(TextView text);
// Each byte that starts no well-formed sequence becomes U+FFFD.
Text FromUtf8(std::string_view utf8);
// Bytes taken as ISO 8859-1: each byte becomes the character of the same code.
Text FromLatin1(std::string_view bytes);

std::vector<Text> Split(TextView text, char16_t separator);

// A registry string value's data: the text as UTF-16LE, and back. Writing
// adds the terminating NUL; reading stops at the first NUL, and a trailing
// odd byte is not part of any character.
std::vector<uint8_t> ValueDataFromText(TextView text);
Text ValueTextFromData(const std::vector<uint8_t>& data);

}  // namespace nb
