// What each section examines when it is ticked: folder steps (one folder, one
// mask, with or without subfolders), list steps (the same for every folder of
// a location list) and three procedures of their own (the recycle bins, the
// single files of the Chrome list, the registry). The steps are data; one
// runner carries them out, pumping messages and checking for a Stop
// between them.
#pragma once

#include <cstdint>

#include "state/RunContext.h"

namespace nb {

// The location value a folder step is built on.
enum class PlanBase {
  Windows,
  System,
  AppData,
  LocalAppData,
  ProgramFiles,
  Documents,
  Recent,
  OfficeRecent,
  SkypeChatsync,
};

// The location list a list step walks.
enum class PlanList { Temp, IeCache, EdgeCache, ChromeTargets, FirefoxCache };

enum class StepKind {
  Folder,       // ScanFolder(base + below, mask, subfolders)
  List,         // ScanFolder(entry, mask, subfolders) for each folder entry of the list
  RecycleBins,  // the recycle-bin folder of every fixed drive but A
  ChromeFiles,  // the single-file entries ("#" + path) of the Chrome list
  Registry,     // WalkRegistryKey(root, "\SOFTWARE")
};

struct PlanStep {
  int section;
  StepKind kind;
  PlanBase base = PlanBase::Windows;
  const char16_t* below = u"";
  PlanList list = PlanList::Temp;
  const char16_t* mask = u"*.*";
  bool subfolders = true;
  uint32_t minOsMajor = 0;  // the step examines nothing on older Windows versions
};

// The folder a folder step starts from; empty when its location value is empty
// (a failed lookup, no Skype account): nothing is built on an empty value.
Text StepFolder(const Locations& loc, const PlanStep& step);
const std::vector<Text>& StepList(const Locations& loc, PlanList list);

// Carries out the plan of one section (1 to 16). False as soon as a check
// finds a Stop asked for: the run then goes straight to its finish.
bool RunSectionPlan(RunContext& run, int section);

}  // namespace nb
