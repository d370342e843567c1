#include "scan/FileMask.h"

namespace nb {

bool MatchesFileMask(TextView mask, TextView name) { return MatchesWildcards(mask, name, UpperAscii); }

}  // namespace nb
