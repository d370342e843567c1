#include "catalogue/Catalogue.h"

namespace nb {

const std::array<const char16_t*, kGroupCount>& SectionGroups() {
  static const std::array<const char16_t*, kGroupCount> groups = {
      u"Temporary Files", u"Internet Files", u"Messengers", u"Files of applications", u"Temporary registry values"};
  return groups;
}

Text SectionCode(int number) {
  Text digits = NumberText(number);
  return number <= 9 ? u"0" + digits : digits;
}

int SectionNumberOf(TextView text) {
  if (text.size() < 2) return 0;
  const char16_t tens = text[0], ones = text[1];
  if (tens < u'0' || tens > u'9' || ones < u'0' || ones > u'9') return 0;
  const int number = (tens - u'0') * 10 + (ones - u'0');
  return number <= kSectionCount ? number : 0;
}

Text SectionForPosition(int group, int item) {
  for (const auto& section : Sections())
    if (section.group == group && section.item == item) return section.code;
  return {};
}

std::pair<int, int> PositionOfSection(const Text& code) {
  for (const auto& section : Sections())
    if (code == section.code) return {section.group, section.item};
  return {-1, -1};
}

Text NormalizeSectionMask(const Text& stored) {
  return stored.size() == kSectionCount ? stored : Text(kSectionCount, u'1');
}

bool MaskTicks(const Text& mask, int sectionNumber) {
  return sectionNumber >= 1 && size_t(sectionNumber) <= mask.size() && mask[size_t(sectionNumber) - 1] == u'1';
}

}  // namespace nb
