// The text tests the registry walk applies to a value before it looks at the
// disk: cheap filters that let most values go without a single file access.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/Text.h"

namespace nb {

// A text worth testing: at least five characters, holds ":" and "\", none of
// "~" (short 8.3 names), "$", "/", "^", "|", does not end with "\" and holds at
// most one ",".
bool IsCandidateValueText(TextView text);

// The extracted path ends with a period and three more characters.
bool HasThreeLetterExtension(TextView path);

}  // namespace nb
