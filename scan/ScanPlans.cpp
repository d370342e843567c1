#include "scan/ScanPlans.h"

#include <algorithm>
#include <array>
#include <vector>

#include "catalogue/RecycleBins.h"
#include "registry/RegistryWalk.h"
#include "scan/FolderScanner.h"
#include "scan/RootTrust.h"

namespace nb {

namespace {

constexpr PlanStep Folder(int section, PlanBase base, const char16_t* below, const char16_t* mask, bool subfolders) {
  return {.section = section, .kind = StepKind::Folder, .base = base, .below = below, .mask = mask,
          .subfolders = subfolders};
}

constexpr PlanStep List(int section, PlanList list, uint32_t minOsMajor = 0) {
  return {.section = section, .kind = StepKind::List, .list = list, .minOsMajor = minOsMajor};
}

constexpr PlanStep Procedure(int section, StepKind kind) { return {.section = section, .kind = kind}; }

using enum PlanBase;
constexpr bool kTree = true;
constexpr bool kFlat = false;

using namespace sections;

constexpr std::array kSteps = {
    List(kTemp, PlanList::Temp),
    Procedure(kRecycleBin, StepKind::RecycleBins),
    Folder(kWindowsLogs, Windows, u"", u"*.log", kFlat),
    Folder(kWindowsLogs, Windows, u"Logs\\", u"*.log", kFlat),
    Folder(kWindowsLogs, Windows, u"Debug\\", u"*.log", kFlat),
    Folder(kWindowsLogs, Windows, u"Debug\\UserMode\\", u"*.log", kFlat),
    Folder(kWindowsLogs, Windows, u"security\\Logs\\", u"*.log", kFlat),
    Folder(kWindowsLogs, Windows, u"Microsoft.NET\\", u"*.log", kTree),
    Folder(kWindowsLogs, System, u"wbem\\Logs\\", u"*.log", kFlat),
    Folder(kWindowsLogs, LocalAppData, u"Microsoft\\Windows\\", u"*.log", kTree),
    Folder(kWindowsLogs, AppData, u"Microsoft\\Windows\\", u"*.log", kTree),
    List(kIeCache, PlanList::IeCache),
    List(kEdgeCache, PlanList::EdgeCache, 10),  // the Edge of older Windows versions keeps no such cache
    List(kChromeCache, PlanList::ChromeTargets),
    Procedure(kChromeCache, StepKind::ChromeFiles),
    List(kFirefoxCache, PlanList::FirefoxCache),
    Folder(kYahooMessenger, ProgramFiles, u"Yahoo!\\Messenger\\Cache\\", u"*.*", kTree),
    Folder(kYahooMessenger, LocalAppData, u"VirtualStore\\Program Files\\Yahoo!\\Messenger\\Cache\\", u"*.*", kTree),
    Folder(kYahooMessenger, LocalAppData, u"VirtualStore\\Program Files (x86)\\Yahoo!\\Messenger\\Cache\\", u"*.*", kTree),
    Folder(kAimMessenger, Documents, u"AIMLogger\\", u"*.*", kTree),
    Folder(kAimMessenger, AppData, u"acccore\\caches\\bart\\", u"*.*", kTree),
    Folder(kAimMessenger, LocalAppData, u"AIM\\Settings\\aolbartcache\\", u"*.*", kTree),
    Folder(kMsnMessenger, AppData, u"Microsoft\\MSN Messenger\\", u"*.*", kTree),
    Folder(kSkype, SkypeChatsync, u"", u"*.*", kTree),
    Folder(kExplorer, LocalAppData, u"Microsoft\\Windows\\Explorer\\", u"thumbcache_*.db", kFlat),
    Folder(kExplorer, LocalAppData, u"Microsoft\\Windows\\Explorer\\ThumbCacheToDelete\\", u"thm*.tmp", kFlat),
    Folder(kExplorer, Windows, u"ServiceProfiles\\LocalService\\AppData\\Local\\", u"FontCache*.dat", kFlat),
    Folder(kExplorer, Documents, u"", u"thumbs.db", kTree),
    Folder(kExplorer, Recent, u"", u"*.lnk", kFlat),
    Folder(kExplorer, OfficeRecent, u"", u"*.lnk", kFlat),
    Folder(kSteam, ProgramFiles, u"Steam\\html5app\\htmlcache\\", u"*.*", kTree),
    Folder(kSteam, ProgramFiles, u"Steam\\Dumps\\", u"*.*", kTree),
    Folder(kSteam, ProgramFiles, u"Steam\\Logs\\", u"*.*", kTree),
    Folder(kSnagIt, LocalAppData, u"TechSmith\\SnagIt\\CrashDumps\\", u"*.*", kTree),
    Folder(kSnagIt, LocalAppData, u"TechSmith\\SnagIt\\Thumbnails\\", u"*.*", kTree),
    Procedure(kCurrentUserRegistry, StepKind::Registry),
    Procedure(kLocalMachineRegistry, StepKind::Registry),
};

const Text& BaseFolder(const Locations& loc, PlanBase base) {
  switch (base) {
    case Windows: return loc.WindowsFolder;
    case System: return loc.SystemFolder;
    case AppData: return loc.AppDataFolder;
    case LocalAppData: return loc.LocalAppDataFolder;
    case ProgramFiles: return loc.ProgramFilesFolder;
    case Documents: return loc.DocumentsFolder;
    case Recent: return loc.RecentFolder;
    case OfficeRecent: return loc.OfficeRecentFolder;
    case SkypeChatsync: return loc.SkypeChatsyncFolder;
  }
  return loc.WindowsFolder;
}

// Entries of a location list that name a folder; the Chrome list also holds
// "#" + the path of single files, which its own procedure handles.
bool IsFolderEntry(const Text& entry) { return !entry.empty() && entry[0] != u'#'; }

// The steps below run in the Analyze run's order of checks: once a check finds
// a Stop asked for the run is over, and any remaining entries of a list or
// drives are passed over, each still pumped once.
class PlanRunner {
 public:
  explicit PlanRunner(RunContext& run) : run_(run) {}

  bool Run(const PlanStep& step) {
    switch (step.kind) {
      case StepKind::Folder: FolderStep(step); break;
      case StepKind::List: ListStep(step); break;
      case StepKind::RecycleBins: RecycleBins(); break;
      case StepKind::ChromeFiles: ChromeFiles(); break;
      case StepKind::Registry: RegistryStep(step); break;
    }
    return going_;
  }

 private:
  // Pumps, and remembers for good when a check found a Stop asked for.
  bool Check() {
    if (!PumpAndCheck(run_)) going_ = false;
    return going_;
  }

  void Scan(const Text& folder, const Text& mask, bool subfolders, int section) {
    ScanFolder(run_, folder, mask, subfolders, section);
    Check();
  }

  void FolderStep(const PlanStep& step) {
    const Text folder = StepFolder(run_.state.Loc, step);
    if (!folder.empty()) Scan(folder, step.mask, step.subfolders, step.section);
  }

  void ListStep(const PlanStep& step) {
    // A list may name one folder twice (the shell's cache folder is also the
    // one the list adds by name): its files are found once.
    std::vector<Text> scanned;
    for (const Text& entry : StepList(run_.state.Loc, step.list)) {
      if (!Check() || !IsFolderEntry(entry)) continue;
      Text folded = FoldCaseText(entry);
      if (std::find(scanned.begin(), scanned.end(), folded) != scanned.end()) continue;
      scanned.push_back(std::move(folded));
      Scan(entry, step.mask, step.subfolders, step.section);
    }
  }

  void RecycleBins() {
    const uint32_t drives = run_.os.GetLogicalDrives();
    for (int i = 0; i < 26; ++i) {
      if ((drives & (1u << i)) == 0 || !Check()) continue;
      const std::optional<Text> bin = RecycleBinOfDrive(run_.os, run_.state.Loc, i);
      if (bin && FolderExists(run_.os, *bin)) Scan(*bin, u"*.*", kTree, sections::kRecycleBin);
    }
  }

  void ChromeFiles() {
    FileFindingWriter writer(run_, sections::kChromeCache);
    for (const Text& entry : run_.state.Loc.ChromeTargets) {
      if (!Check() || entry.empty() || entry[0] != u'#') continue;
      const Text path = entry.substr(1);
      if (!FileExists(run_.os, path)) continue;
      const uint32_t root = TrustedScanRoot(run_, path.substr(0, path.find_last_of(u'\\') + 1));
      if (root == kNoScanRoot) continue;
      writer.Add(path, u"", FindFileSize(run_.os, path), root);
    }
  }

  void RegistryStep(const PlanStep& step) {
    if (const SectionInfo* section = SectionNumbered(step.section))
      WalkRegistryKey(run_, section->registryRoot, u"\\SOFTWARE");
    Check();
  }

  RunContext& run_;
  bool going_ = true;
};

}  // namespace

Text StepFolder(const Locations& loc, const PlanStep& step) {
  const Text& base = BaseFolder(loc, step.base);
  return base.empty() ? Text() : base + step.below;
}

const std::vector<Text>& StepList(const Locations& loc, PlanList list) {
  switch (list) {
    case PlanList::Temp: return loc.TempFolders;
    case PlanList::IeCache: return loc.IeCacheFolders;
    case PlanList::EdgeCache: return loc.EdgeCacheFolders;
    case PlanList::ChromeTargets: return loc.ChromeTargets;
    case PlanList::FirefoxCache: return loc.FirefoxCacheFolders;
  }
  return loc.TempFolders;
}

bool RunSectionPlan(RunContext& run, int section) {
  PlanRunner runner(run);
  for (const PlanStep& step : kSteps) {
    if (step.section != section || run.state.Loc.OsMajorVersion < step.minOsMajor) continue;
    if (!runner.Run(step)) return false;
  }
  return true;
}

}  // namespace nb
