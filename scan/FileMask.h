// File-name masks as the section plans write them ("*.log", "thumbs.db",
// "thumbcache_*.db"): the whole name must match; "*" is any run of characters,
// none included; "?" is exactly one character; a letter A to Z matches both its
// cases; every other character matches only itself.
#pragma once

#include "platform/Text.h"

namespace nb {

bool MatchesFileMask(TextView mask, TextView name);

}  // namespace nb
