// The sixteen sections, one row each: number, code, place in the section list,
// caption, what kind of findings it gives, and what Delete all does besides
// deleting them. Everything else that depends on the sections derives from
// this table: the counters' sizes, the mask's length, the registry sections.
// Adding a section means a row here and the steps of its scan plan.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>

#include "platform/Platform.h"

namespace nb {

// The sections code treats on their own, by number.
namespace sections {
enum : int {
  kTemp = 1,
  kRecycleBin,
  kWindowsLogs,
  kIeCache,
  kEdgeCache,
  kChromeCache,
  kFirefoxCache,
  kYahooMessenger,
  kAimMessenger,
  kMsnMessenger,
  kSkype,
  kExplorer,
  kSteam,
  kSnagIt,
  kCurrentUserRegistry,
  kLocalMachineRegistry,
};
}  // namespace sections

enum class SectionKind { Files, Registry };

struct SectionInfo {
  int number;
  const char16_t* code;
  int group;  // place in the section list
  int item;
  const char16_t* caption;
  SectionKind kind;
  uint32_t registryRoot = 0;         // a registry section's root
  const char16_t* rootName = u"";    // and how its findings name that root
  bool prunedByDeleteAll = false;    // Delete all removes the folders its deletions leave empty
};

inline constexpr std::array<SectionInfo, 16> kSections = {{
    {sections::kTemp, u"01", 0, 0, u"Folders \"Temp\"", SectionKind::Files, 0, u"", true},
    {sections::kRecycleBin, u"02", 0, 1, u"Recycle Bin", SectionKind::Files, 0, u"", true},
    {sections::kWindowsLogs, u"03", 0, 2, u"Windows log files", SectionKind::Files},
    {sections::kIeCache, u"04", 1, 0, u"IE cache", SectionKind::Files},
    {sections::kEdgeCache, u"05", 1, 1, u"Edge cache", SectionKind::Files},
    {sections::kChromeCache, u"06", 1, 2, u"Chrome cache", SectionKind::Files},
    {sections::kFirefoxCache, u"07", 1, 3, u"Firefox cache", SectionKind::Files},
    {sections::kYahooMessenger, u"08", 2, 0, u"Yahoo! Messenger", SectionKind::Files},
    {sections::kAimMessenger, u"09", 2, 1, u"AIM Messenger", SectionKind::Files},
    {sections::kMsnMessenger, u"10", 2, 2, u"MSN Messenger", SectionKind::Files},
    {sections::kSkype, u"11", 2, 3, u"Skype", SectionKind::Files, 0, u"", true},
    {sections::kExplorer, u"12", 3, 0, u"Explorer", SectionKind::Files},
    {sections::kSteam, u"13", 3, 1, u"Steam", SectionKind::Files},
    {sections::kSnagIt, u"14", 3, 2, u"SnagIt", SectionKind::Files},
    {sections::kCurrentUserRegistry, u"15", 4, 0, u"HKEY_CURRENT_USER", SectionKind::Registry, winapi::kHkeyCurrentUser,
     u"HKCU"},
    {sections::kLocalMachineRegistry, u"16", 4, 1, u"HKEY_LOCAL_MACHINE", SectionKind::Registry,
     winapi::kHkeyLocalMachine, u"HKLM"},
}};

inline constexpr int kSectionCount = int(kSections.size());
inline constexpr int kGroupCount =
    std::max_element(kSections.begin(), kSections.end(), [](const SectionInfo& a, const SectionInfo& b) {
      return a.group < b.group;
    })->group + 1;

// The row of section `number`; null for no section.
constexpr const SectionInfo* SectionNumbered(int number) {
  return number >= 1 && number <= kSectionCount ? &kSections[size_t(number) - 1] : nullptr;
}
constexpr bool IsFileSection(int number) {
  const SectionInfo* section = SectionNumbered(number);
  return section && section->kind == SectionKind::Files;
}

static_assert(std::all_of(kSections.begin(), kSections.end(),
                          [](const SectionInfo& s) { return SectionNumbered(s.number) == &s; }),
              "the rows are in number order, from 1");

// A count or total for each section, indexed by section number (index 0 unused).
template <typename T>
using PerSection = std::array<T, kSectionCount + 1>;

}  // namespace nb
