#include "registry/ValueText.h"

#include <algorithm>

namespace nb {

bool IsCandidateValueText(TextView text) {
  if (text.size() < 5 || text.back() == u'\\') return false;
  if (text.find(u':') == TextView::npos || text.find(u'\\') == TextView::npos) return false;
  if (text.find_first_of(u"~$/^|") != TextView::npos) return false;
  return std::count(text.begin(), text.end(), u',') <= 1;
}

bool HasThreeLetterExtension(TextView path) { return path.size() >= 4 && path[path.size() - 4] == u'.'; }

}  // namespace nb
