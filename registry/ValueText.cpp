#include "registry/ValueText.h"

#include <algorithm>

namespace nb {

Text ValueTextFromData(const std::vector<uint8_t>& data) {
  Text text;
  text.reserve(data.size() / 2);
  for (size_t i = 0; i + 1 < data.size(); i += 2) {
    const auto c = char16_t(data[i] | (data[i + 1] << 8));
    if (c == u'\0') break;
    text += c;
  }
  return text;
}

bool IsCandidateValueText(TextView text) {
  if (text.size() < 5 || text.back() == u'\\') return false;
  if (text.find(u':') == TextView::npos || text.find(u'\\') == TextView::npos) return false;
  if (text.find_first_of(u"~$/^|") != TextView::npos) return false;
  return std::count(text.begin(), text.end(), u',') <= 1;
}

bool HasThreeLetterExtension(TextView path) { return path.size() >= 4 && path[path.size() - 4] == u'.'; }

}  // namespace nb
