// The three small registry operations the program shares: read a string
// value, write one, delete one.
#pragma once

#include "platform/Platform.h"

namespace nb {

// Every operation opens its key with full access in the given view flags
// (0 = the process's default view) and closes it before returning.
Text ReadRegText(Platform& os, uint32_t root, const Text& keyPath, const Text& valueName, uint32_t viewFlags = 0);
void WriteRegText(Platform& os, uint32_t root, const Text& keyPath, const Text& valueName, const Text& text,
                  uint32_t viewFlags = 0);
bool DeleteRegValue(Platform& os, uint32_t root, const Text& keyPath, const Text& valueName, uint32_t viewFlags = 0);

}  // namespace nb
