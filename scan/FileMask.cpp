#include "scan/FileMask.h"

namespace nb {

namespace {

char16_t LowerAscii(char16_t c) { return c >= u'A' && c <= u'Z' ? char16_t(c + (u'a' - u'A')) : c; }

}  // namespace

bool MatchesFileMask(TextView mask, TextView name) {
  // Greedy match with one back-tracking point: the last "*" seen takes one more
  // character whenever the rest fails to match.
  size_t m = 0;
  size_t n = 0;
  size_t star = TextView::npos;
  size_t starName = 0;
  while (n < name.size()) {
    if (m < mask.size() && mask[m] == u'*') {
      star = m++;
      starName = n;
    } else if (m < mask.size() && (mask[m] == u'?' || LowerAscii(mask[m]) == LowerAscii(name[n]))) {
      ++m;
      ++n;
    } else if (star != TextView::npos) {
      m = star + 1;
      n = ++starName;
    } else {
      return false;
    }
  }
  while (m < mask.size() && mask[m] == u'*') ++m;
  return m == mask.size();
}

}  // namespace nb
