#include "catalogue/Catalogue.h"

namespace nb {

const std::array<SectionInfo, kSectionCount>& Sections() {
  static const std::array<SectionInfo, kSectionCount> sections = {{
      {u"01", 0, 0, u"Folders \"Temp\""},
      {u"02", 0, 1, u"Recycle Bin"},
      {u"03", 0, 2, u"Windows log files"},
      {u"04", 1, 0, u"IE cache"},
      {u"05", 1, 1, u"Edge cache"},
      {u"06", 1, 2, u"Chrome cache"},
      {u"07", 1, 3, u"Firefox cache"},
      {u"08", 2, 0, u"Yahoo! Messenger"},
      {u"09", 2, 1, u"AIM Messenger"},
      {u"10", 2, 2, u"MSN Messenger"},
      {u"11", 2, 3, u"Skype"},
      {u"12", 3, 0, u"Explorer"},
      {u"13", 3, 1, u"Steam"},
      {u"14", 3, 2, u"SnagIt"},
      {u"15", 4, 0, u"HKEY_CURRENT_USER"},
      {u"16", 4, 1, u"HKEY_LOCAL_MACHINE"},
  }};
  return sections;
}

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
