// Reads a small text file into lines. A byte-order mark selects UTF-8,
// UTF-16 LE or UTF-16 BE; without one the bytes are in the ANSI code page.
#pragma once

#include <string>
#include <vector>

#include "platform/Platform.h"

namespace nb {

// Splits at CR LF, LF or CR; a break at the very end opens no further line.
std::vector<Text> SplitLines(TextView text);

// The bytes of a file as text; false when they cannot be decoded (malformed
// UTF-8 after a UTF-8 mark, an odd byte count after a UTF-16 mark).
bool DecodeTextFile(Platform& os, const std::string& bytes, Text& text);

// The lines of the file at `path`. A file that cannot be opened, read or
// decoded has no lines.
std::vector<Text> ReadTextLines(Platform& os, const Text& path);

}  // namespace nb
