// Shared pieces of the fuzz targets: the failure check, how a target's input
// becomes a file's bytes, and the test that a built path stays inside a folder.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/Text.h"

namespace nb::fuzz {

inline void Check(bool condition) {
  if (!condition) std::abort();
}

// A file's bytes from the input after the flag byte. Flag bits 0-1: 0 the bytes
// as they are (ANSI), 1 a UTF-8 mark before them, 2 the bytes as they are
// (tools/fuzz writes such seeds as UTF-16LE without a mark), 3 a UTF-16 mark
// before them; bit 2 with 3 writes the mark and every byte pair big-endian.
inline std::string FileBytes(uint8_t flags, const uint8_t* data, size_t size) {
  std::string body(reinterpret_cast<const char*>(data), size);
  switch (flags & 3) {
    case 1:
      return "\xEF\xBB\xBF" + body;
    case 3:
      if (flags & 4) {
        for (size_t i = 0; i + 1 < body.size(); i += 2) std::swap(body[i], body[i + 1]);
        return "\xFE\xFF" + body;
      }
      return "\xFF\xFE" + body;
    default:
      return body;
  }
}

// True when `path` starts with `folder` (which ends with "\") and no step after
// it leaves the folder as Windows reads a path: "/" separates like "\", a step
// of only dots and blanks with two or more dots climbs one folder (Windows drops
// trailing dots and blanks), and a ":" (drive or stream) is never inside.
inline bool StaysBelow(const Text& folder, const Text& path) {
  if (path.substr(0, folder.size()) != folder) return false;
  const Text rest = path.substr(folder.size());
  if (rest.find(u':') != Text::npos) return false;
  int64_t depth = 0;
  size_t start = 0;
  while (start <= rest.size()) {
    size_t end = rest.find_first_of(u"\\/", start);
    if (end == Text::npos) end = rest.size();
    const TextView step = TextView(rest).substr(start, end - start);
    size_t dots = 0;
    bool onlyDotsAndBlanks = true;
    for (const char16_t c : step) {
      if (c == u'.') ++dots;
      else if (c != u' ') onlyDotsAndBlanks = false;
    }
    if (onlyDotsAndBlanks && dots >= 2) {
      if (--depth < 0) return false;
    } else if (!onlyDotsAndBlanks) {
      ++depth;
    }
    start = end + 1;
  }
  return true;
}

}  // namespace nb::fuzz
