// Randomized machines, each analyzed and then cleaned by the real handlers, with
// the folders meddled with between Analyze and Delete, and from inside the
// deleters' own pumps, as a less privileged process could: folders and scan
// roots swapped for links or other folders holding bait files of the same
// names, findings removed, swapped for file links or locked, new files added.
// Some temp and cache folders were moved and left as links before Analyze.
// What must be deleted and what must stay is decided from the machine's
// history (what was planted where, what was meddled with), never from the
// simulator's own rules: every finding of a ticked section that nothing
// meddled with is gone, and nothing else is deleted or changed.
//
// The fixed seeds make 1,000 machines; NB_SAFETY_SEED (first seed) and
// NB_SAFETY_SEEDS (how many) run others, for longer searches.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <map>
#include <random>
#include <set>

#include "app/Form1.h"
#include "catalogue/Catalogue.h"
#include "support/EntryTexts.h"
#include "platform/sim/SimPlatform.h"
#include "ui/headless/HeadlessToolkit.h"

namespace nb::test {
namespace {

constexpr uint32_t kDefaultFirstSeed = 1;
constexpr uint32_t kDefaultSeedCount = 1000;
const Text kUser = u"C:\\Users\\Tester\\";
const Text kLocal = kUser + u"AppData\\Local\\";
const Text kRoaming = kUser + u"AppData\\Roaming\\";
const Text kDocuments = kUser + u"Documents\\";

uint32_t EnvNumber(const char* name, uint32_t fallback) {
  const char* text = std::getenv(name);
  return text && *text ? uint32_t(std::strtoul(text, nullptr, 10)) : fallback;
}

Text Num(size_t n) { return NumberText(int64_t(n)); }

// One entry of the real tree, reached without passing any link.
struct Snap {
  Text path;
  bool isFolder = false;
  uint32_t attributes = 0;
  uint64_t size = 0;
  std::string contents;
  Text linkTarget;
};

void Walk(const sim::FileNode& folder, const Text& path, std::map<Text, Snap>& out) {
  for (const auto& child : folder.children) {
    const Text childPath = path + u"\\" + child->name;
    out[FoldCaseText(childPath)] = {childPath, child->isFolder, child->attributes, child->size, child->contents,
                                    child->linkTarget};
    if (child->isFolder && child->linkTarget.empty()) Walk(*child, childPath, out);
  }
}

std::map<Text, Snap> Snapshot(sim::SimMachine& m) {
  std::map<Text, Snap> out;
  for (const char16_t* drive : {u"C:", u"D:"})
    if (auto* root = m.Find(Text(drive) + u"\\")) Walk(*root, drive, out);
  return out;
}

// Every registry value as "HKCU\path=name" -> data.
void WalkKeys(const sim::RegNode& key, const Text& path, std::map<Text, std::vector<uint8_t>>& out) {
  for (const auto& value : key.values) out[FoldCaseText(path + u"=" + value.name)] = value.data;
  for (const auto& sub : key.subkeys) WalkKeys(*sub, path + u"\\" + sub->name, out);
}

std::map<Text, std::vector<uint8_t>> RegistrySnapshot(sim::SimMachine& m) {
  std::map<Text, std::vector<uint8_t>> out;
  for (const auto& [root, name] : {std::pair{winapi::kHkeyCurrentUser, u"HKCU"}, {winapi::kHkeyLocalMachine, u"HKLM"}})
    for (const auto& sub : m.RegistryRoot(root)->subkeys) WalkKeys(*sub, Text(name) + u"\\" + sub->name, out);
  return out;
}

bool IsUnder(const Text& path, const std::vector<Text>& folders) {
  for (const auto& folder : folders)
    if (StartsWith(FoldCaseText(path), FoldCaseText(folder))) return true;
  return false;
}

class Machine {
 public:
  explicit Machine(uint32_t seed) : rng_(seed) {}

  std::mt19937 rng_;
  sim::SimMachine m;
  std::vector<Text> cleanedFolders;  // real folders whose contents are findings
  std::vector<Text> cleanedRoots;    // the folders Analyze starts from, as it names them
  // Real folders below which Delete all may remove empty folders, when their section is ticked.
  struct PurgedRoot {
    Text folder;
    int section;
  };
  std::vector<PurgedRoot> purgedRoots;
  size_t counter = 0;

  // What was planted as junk, by the path Analyze names it with (folded).
  struct Planted {
    Text realPath;
    bool deletable = false;  // no other process holds it without delete sharing, and deleting it is allowed
  };
  std::map<Text, Planted> planted;
  // Real paths that others meddled with; what lies below a swapped folder too.
  std::set<Text> spoiledFiles;
  std::vector<Text> swappedFolders;
  // Every bait file ever laid, with what it must still hold at the end.
  struct Bait {
    Text path;
    std::string contents;
    uint32_t attributes = winapi::kAttrHidden;
  };
  std::vector<Bait> baits;
  std::vector<Text> baitFolders;  // empty folders beside the baits: never pruned

  size_t Pick(size_t n) { return std::uniform_int_distribution<size_t>(0, n - 1)(rng_); }
  bool Chance(int percent) { return int(Pick(100)) < percent; }

  uint32_t SomeAttributes() {
    constexpr uint32_t kinds[] = {winapi::kAttrArchive, winapi::kAttrReadOnly, winapi::kAttrHidden,
                                  winapi::kAttrReadOnly | winapi::kAttrHidden | winapi::kAttrSystem, winapi::kAttrNormal};
    return kinds[Pick(5)];
  }

  uint32_t SomeShare() {
    constexpr uint32_t shares[] = {0, winapi::kShareRead, winapi::kShareRead | winapi::kShareWrite,
                                   winapi::kShareRead | winapi::kShareWrite | winapi::kShareDelete, winapi::kShareDelete};
    return shares[Pick(5)];
  }

  // A junk file at `real`, which Analyze will name `named`.
  void File(const Text& named, const Text& real) {
    auto& file = m.AddFile(real, "data " + ToUtf8(real), SomeAttributes());
    bool deletable = true;
    if (Chance(12)) {
      file.lock = sim::ForeignLock{SomeShare()};
      deletable = (file.lock->shareMode & winapi::kShareDelete) != 0;
    }
    if (Chance(4)) {
      file.denyDelete = true;
      deletable = false;
    }
    planted[FoldCaseText(named)] = {real, deletable};
  }
  void File(const Text& path) { File(path, path); }

  // Files, subfolders, empty folders and links below a cleaned folder that
  // lies at `real` and that Analyze reaches as `named`.
  void Fill(const Text& named, const Text& real, const Text& extension, int depth) {
    m.AddFolder(real);
    const size_t files = Pick(6);
    for (size_t i = 0; i < files; ++i) {
      const Text name = u"f" + Num(++counter) + extension;
      File(named + name, real + name);
    }
    if (depth > 0)
      for (size_t i = Pick(3); i > 0; --i) {
        const Text sub = u"sub" + Num(++counter) + u"\\";
        Fill(named + sub, real + sub, extension, depth - 1);
      }
    if (Chance(20)) m.AddFolder(real + u"empty" + Num(++counter));
    if (Chance(20)) m.AddFolderLink(real + u"link" + Num(++counter), kDocuments + u"Linked");
    if (Chance(15)) {
      // A file link found by Analyze goes as the link.
      const Text name = u"filelink" + Num(++counter) + extension;
      m.AddFileLink(real + name, kDocuments + u"letter.txt");
      planted[FoldCaseText(named + name)] = {real + name, true};
    }
  }

  // Roots made links before Analyze that must not be followed: another
  // user's link, or any link into the user's own files. Nothing below them
  // is a finding, and what they lead to stays as it was.
  std::vector<Text> refusedRoots;
  size_t refusedLinks = 0;

  // Lays a victim folder of files of junk-like names, and makes `named` a
  // link to it, owned by `owner`.
  void RefusedRoot(const Text& named, const Text& victim, EntryOwner owner) {
    for (size_t i = 1 + Pick(3); i > 0; --i) {
      const Text file = victim + u"f" + Num(++counter) + u".tmp";
      m.AddFile(file, "victim", winapi::kAttrReadOnly | winapi::kAttrHidden);
      baits.push_back({file, "victim", winapi::kAttrReadOnly | winapi::kAttrHidden});
    }
    m.AddFolder(victim + u"emptySub");
    baitFolders.push_back(victim + u"emptySub");
    m.AddFolderLink(named.substr(0, named.size() - 1), victim.substr(0, victim.size() - 1)).owner = owner;
    refusedRoots.push_back(named);
    ++refusedLinks;
  }

  // A cleaned folder, moved elsewhere and left as a link before Analyze (by
  // the user or an administrator, and followed), or a refused link, or neither.
  void Cleaned(const Text& named, const Text& extension, int depth, int purgedSection) {
    if (Chance(8)) {
      // Another user's link, to anywhere; or the user's own link into a protected folder.
      const bool foreign = Chance(50);
      const Text victim = foreign ? u"D:\\Elsewhere" + Num(++counter) + u"\\"
                                  : (Chance(50) ? kDocuments : kUser + u"Desktop\\") + u"Victim" + Num(++counter) + u"\\";
      RefusedRoot(named, victim, foreign ? EntryOwner::Other : EntryOwner::CurrentUser);
      return;
    }
    Text real = named;
    if (Chance(20)) {
      real = u"D:\\Moved" + Num(++counter) + u"\\";
      m.AddFolder(real);
      m.AddFolderLink(named.substr(0, named.size() - 1), real.substr(0, real.size() - 1)).owner =
          Chance(50) ? EntryOwner::CurrentUser : EntryOwner::Administrators;
    }
    Fill(named, real, extension, depth);
    cleanedFolders.push_back(real);
    cleanedRoots.push_back(named);
    if (purgedSection) purgedRoots.push_back({real, purgedSection});
  }

  void Build() {
    m.SetUpStandardUser();
    m.AddDrive(u'D', winapi::kDriveFixed);
    // The user's own files, and what links point at.
    m.AddFile(kDocuments + u"letter.txt", "dear", winapi::kAttrArchive);
    m.AddFile(kDocuments + u"Linked\\f1.tmp", "same name as a temp file", winapi::kAttrReadOnly);
    m.AddFolder(kDocuments + u"Linked\\emptyInside");
    m.AddFile(kUser + u"notes.tmp", "not in a temp folder");
    // Temporary folders, each present or not.
    for (const Text& temp : {kLocal + u"Temp\\", Text(u"C:\\Windows\\Temp\\"), Text(u"C:\\ProgramData\\Temp\\"),
                             kUser + u"AppData\\LocalLow\\Temp\\"})
      if (Chance(75)) Cleaned(temp, u".tmp", 2, 1);
    // Recycle bins of both fixed drives.
    for (const Text bin : {u"C:\\$RECYCLE.BIN\\", u"D:\\$RECYCLE.BIN\\"}) {
      const Text sid = u"S-1-5-21-" + Num(Pick(1000)) + u"\\";
      Fill(bin + sid, bin + sid, u".dat", 1);
      cleanedFolders.push_back(bin);
      cleanedRoots.push_back(bin);
      purgedRoots.push_back({bin, 2});
    }
    // Windows logs, and what sits next to them.
    for (size_t i = Pick(4); i > 0; --i) File(u"C:\\Windows\\w" + Num(++counter) + u".log");
    m.AddFile(u"C:\\Windows\\win.ini", "[windows]");
    m.AddFile(u"C:\\Windows\\Logs\\cbs.txt", "not a log by name");
    // Chrome: cache folders and single files of the profile, and what stays;
    // the whole Google folder may have been moved to the other drive.
    Text google = kLocal + u"Google\\";
    bool googleRefused = false;  // Chrome's files behind another user's link are no findings
    if (Chance(20)) {
      google = u"D:\\Google" + Num(++counter) + u"\\";
      googleRefused = Chance(10);
      m.AddFolder(google);
      m.AddFolderLink(kLocal + u"Google", google.substr(0, google.size() - 1)).owner =
          googleRefused ? EntryOwner::Other : EntryOwner::CurrentUser;
    }
    const Text profile = u"Chrome\\User Data\\Default\\";
    if (googleRefused) {
      ++refusedLinks;
      refusedRoots.push_back(kLocal + u"Google\\");
      for (const Text name : {u"Cache\\f0.tmp", u"History"}) {
        m.AddFile(google + profile + name, "victim", winapi::kAttrReadOnly | winapi::kAttrHidden);
        baits.push_back({google + profile + name, "victim", winapi::kAttrReadOnly | winapi::kAttrHidden});
      }
    } else {
      Fill(kLocal + u"Google\\" + profile + u"Cache\\", google + profile + u"Cache\\", u"", 1);
      cleanedFolders.push_back(google + profile + u"Cache\\");
      cleanedRoots.push_back(kLocal + u"Google\\" + profile + u"Cache\\");
      File(kLocal + u"Google\\" + profile + u"History", google + profile + u"History");
    }
    m.AddFile(google + profile + u"Preferences", "{}");
    m.AddFile(google + profile + u"Bookmarks", "{}");
    // Skype: the chat-sync folder of the default account.
    m.AddFile(kRoaming + u"Skype\\shared.xml", "<?xml version=\"1.0\"?>\r\n<Default>acct</Default>\r\n");
    m.AddFile(kRoaming + u"Skype\\acct\\main.db", "messages");
    Cleaned(kRoaming + u"Skype\\acct\\chatsync\\", u".dat", 2, 11);
    // Registry values: dead references and live ones.
    m.AddFile(u"C:\\Windows\\notepad.exe", "MZ");
    for (size_t i = Pick(4); i > 0; --i) {
      const Text key = u"SOFTWARE\\Vendor" + Num(++counter);
      const uint32_t root = Chance(50) ? winapi::kHkeyCurrentUser : winapi::kHkeyLocalMachine;
      m.SetString(root, key, u"Tool", u"C:\\Gone" + Num(counter) + u"\\tool.exe");
      m.SetString(root, key, u"Editor", u"C:\\Windows\\notepad.exe");
      staleValues.push_back({root, key, u"Tool"});
    }
  }

  // A temporary folder, recycle bin or chat-sync folder itself swapped: the
  // purge must leave what now stands there alone too.
  bool swapPurgedRoots = EnvNumber("NB_SAFETY_SWAP_ROOTS", 1) != 0;

  bool IsPurgedRoot(const Text& path) const {
    for (const auto& root : purgedRoots)
      if (EqualsIgnoreCase(path + u"\\", root.folder)) return true;
    return false;
  }

  // Whether Delete all with `mask` may remove the folder `path`: it lies
  // strictly below a purged root whose section is ticked.
  bool MayBePruned(const Text& path, const Text& mask) const {
    for (const auto& root : purgedRoots)
      if (mask[size_t(root.section - 1)] == u'1' && path.size() + 1 > root.folder.size() &&
          !EqualsIgnoreCase(path + u"\\", root.folder) && IsUnder(path, {root.folder}))
        return true;
    return false;
  }

  // Lays in `bait` what lies in `victim` now, whole: every file, with bait
  // contents, and every folder, below it too.
  void Mirror(const sim::FileNode& victim, const Text& bait) {
    m.AddFolder(bait);
    for (const auto& child : victim.children) {
      const Text path = bait + u"\\" + child->name;
      if (child->isFolder && child->linkTarget.empty()) {
        Mirror(*child, path);
        if (child->children.empty()) baitFolders.push_back(path);
      } else if (!child->isFolder) {
        m.AddFile(path, "bait", winapi::kAttrHidden);
        baits.push_back({path, "bait", winapi::kAttrHidden});
      }
    }
  }

  // Swaps one real folder in a cleaned place for a link to a bait folder, or
  // (a cleaned folder itself) for another real folder, holding the same tree
  // of bait files and folders. What lay below it is others' business from now on.
  void SwapAFolder() {
    std::vector<Text> folders;
    for (const auto& [key, snap] : Snapshot(m))
      if (snap.isFolder && snap.linkTarget.empty() && IsUnder(snap.path + u"\\", cleanedFolders) &&
          !IsUnder(snap.path + u"\\", swappedFolders) && (swapPurgedRoots || !IsPurgedRoot(snap.path)))
        folders.push_back(snap.path);
    if (folders.empty()) return;
    const Text victim = folders[Pick(folders.size())];
    const sim::NodePtr was = m.Hold(m.Find(victim));
    swappedFolders.push_back(victim + u"\\");

    m.Remove(victim);
    const bool isRoot = std::any_of(cleanedFolders.begin(), cleanedFolders.end(),
                                    [&](const Text& f) { return EqualsIgnoreCase(f, victim + u"\\"); });
    Text baitFolder = kDocuments + u"Bait" + Num(++counter);
    if (isRoot && Chance(50)) {
      baitFolder = victim;  // another folder of the same name in the same place
      m.AddFolder(victim + u"\\keptEmpty");
      baitFolders.push_back(victim + u"\\keptEmpty");
    } else {
      m.AddFolder(baitFolder + u"\\keptEmpty");
      baitFolders.push_back(baitFolder + u"\\keptEmpty");
      m.AddFolderLink(victim, baitFolder);
    }
    Mirror(*was, baitFolder);
  }

  // A finding as it lies now, unless a swapped folder holds something else there.
  sim::FileNode* FindingFile(const Text& path) {
    if (IsUnder(path, swappedFolders)) return nullptr;
    const auto r = m.Resolve(path);
    return r.node && !r.throughLink && !r.node->isFolder ? r.node : nullptr;
  }

  // The dead references planted, and those rewritten after Analyze (a
  // program reinstalled meanwhile): a rewritten value must stay.
  struct StaleValue {
    uint32_t root;
    Text key, name;
  };
  std::vector<StaleValue> staleValues;
  std::set<Text> rewrittenValues;  // "HKCU\\SOFTWARE\\...=name", folded

  static Text ValueSubject(const StaleValue& v) {
    return Text(v.root == winapi::kHkeyCurrentUser ? u"HKCU\\" : u"HKLM\\") + v.key + u"=" + v.name;
  }

  void RewriteValues() {
    for (const auto& value : staleValues) {
      if (!Chance(25)) continue;
      if (Chance(50))
        m.SetString(value.root, value.key, value.name, u"C:\\Windows\\notepad.exe");
      else
        m.SetString(value.root, value.key, value.name, ValueTextOf(value), winapi::kRegExpandSz);
      rewrittenValues.insert(FoldCaseText(ValueSubject(value)));
    }
  }

  Text ValueTextOf(const StaleValue& v) {
    const auto* data = m.FindValue(v.root, v.key, v.name);
    Text text;
    for (size_t i = 0; data && i + 1 < data->data.size(); i += 2)
      if (char16_t c = char16_t(data->data[i] | (data->data[i + 1] << 8))) text += c;
    return text;
  }

  // What a less privileged process does between Analyze and Delete.
  void Meddle(const std::vector<Text>& findingsReal) {
    RewriteValues();
    for (size_t swaps = Pick(3); swaps > 0; --swaps) SwapAFolder();
    if (findingsReal.empty()) return;
    for (size_t i = Pick(3); i > 0; --i) {
      const Text& path = findingsReal[Pick(findingsReal.size())];
      if (!FindingFile(path)) continue;
      spoiledFiles.insert(FoldCaseText(path));
      m.Remove(path);
    }
    for (size_t i = Pick(3); i > 0; --i) {
      const Text& path = findingsReal[Pick(findingsReal.size())];
      if (auto* file = FindingFile(path)) {
        spoiledFiles.insert(FoldCaseText(path));
        file->lock = sim::ForeignLock{SomeShare()};
      }
    }
    // A finding swapped for a link to the user's letter.
    if (Chance(30)) {
      const Text& path = findingsReal[Pick(findingsReal.size())];
      if (auto* file = FindingFile(path); file && file->linkTarget.empty()) {
        spoiledFiles.insert(FoldCaseText(path));
        m.Remove(path);
        m.AddFileLink(path, kDocuments + u"letter.txt");
      }
    }
    for (size_t i = Pick(3); i > 0; --i) {
      const Text& folder = cleanedFolders[Pick(cleanedFolders.size())];
      const auto r = m.Resolve(folder);
      if (r.node && !r.throughLink && r.node->linkTarget.empty())
        m.AddFile(folder + u"late" + Num(++counter) + u".tmp", "added after Analyze");
    }
  }

  // The real path of a finding, as it was planted.
  Text RealPathOf(const Text& named) const {
    const auto it = planted.find(FoldCaseText(named));
    return it == planted.end() ? named : it->second.realPath;
  }

  bool Meddled(const Text& realPath) const {
    return spoiledFiles.count(FoldCaseText(realPath)) || IsUnder(realPath + u"\\", swappedFolders);
  }

  // A finding nothing meddled with: it must go.
  bool MustGo(const Text& named) const {
    const auto it = planted.find(FoldCaseText(named));
    return it != planted.end() && it->second.deletable && !Meddled(it->second.realPath);
  }
};

struct Finding {
  Text section;
  Text subject;
  Text sizeText;
};

std::vector<Finding> StoredFindings(const ResultStore& store) {
  std::vector<Finding> out;
  for (size_t i = 0; i < store.Count(); ++i) {
    const Text entry = test::EntryAt(store, i);
    const size_t last = entry.rfind(u'#');
    out.push_back({entry.substr(0, 2), entry.substr(3, last - 3), entry.substr(last + 1)});
  }
  return out;
}

bool IsRegistrySection(const Text& code) { return code == u"15" || code == u"16"; }

void SetMask(sim::SimMachine& m, const Text& mask) {
  m.SetString(winapi::kHkeyCurrentUser, u"SOFTWARE\\Quellmark\\Nightbroom", u"Sections", mask);
}

struct Totals {
  size_t findings = 0, registryFindings = 0, deleted = 0, swaps = 0, checkedRuns = 0, linkedRoots = 0,
         meddledDuring = 0, unticked = 0, refusedLinks = 0, rewrittenValues = 0, stayedListed = 0;
};

void RunOne(uint32_t seed, Totals& totals) {
  SCOPED_TRACE("seed " + std::to_string(seed));
  Machine gen(seed);
  gen.Build();
  sim::SimMachine& m = gen.m;
  sim::SimPlatform os{m};
  ui::HeadlessToolkit ui;
  SetMask(m, u"1111111111111111");
  TForm1 form{os, ui};
  ui.Realize(form);
  ui.Show(form);
  form.Button2Click();  // Analyze
  const auto findings = StoredFindings(form.State.Results);
  totals.findings += findings.size();
  std::vector<Text> realPaths;
  for (const auto& f : findings)
    if (!IsRegistrySection(f.section)) realPaths.push_back(gen.RealPathOf(f.subject));
    else ++totals.registryFindings;
  for (const auto& root : gen.cleanedRoots) totals.linkedRoots += m.Find(root.substr(0, root.size() - 1)) &&
                                                                 !m.Find(root.substr(0, root.size() - 1))->linkTarget.empty();
  // Trusted links before Analyze are followed: every planted file is a finding.
  for (const auto& [named, was] : gen.planted)
    EXPECT_TRUE(std::any_of(findings.begin(), findings.end(), [&](const Finding& f) {
      return FoldCaseText(f.subject) == named;
    })) << "not found: " << ToUtf8(named);
  // And nothing else is: every finding was planted, files and stale values alike.
  std::set<Text> staleSubjects;
  for (const auto& value : gen.staleValues) staleSubjects.insert(FoldCaseText(Machine::ValueSubject(value)));
  for (const auto& f : findings)
    EXPECT_TRUE(IsRegistrySection(f.section) ? staleSubjects.count(FoldCaseText(f.subject)) > 0
                                             : gen.planted.count(FoldCaseText(f.subject)) > 0)
        << "found but never planted: " << ToUtf8(f.subject);
  for (const auto& subject : staleSubjects)
    EXPECT_TRUE(std::any_of(findings.begin(), findings.end(),
                            [&](const Finding& f) { return FoldCaseText(f.subject) == subject; }))
        << "stale value not found: " << ToUtf8(subject);
  // Nothing behind a refused link is.
  totals.refusedLinks += gen.refusedLinks;
  for (const auto& f : findings)
    EXPECT_FALSE(!IsRegistrySection(f.section) && IsUnder(f.subject, gen.refusedRoots))
        << "found behind a refused link: " << ToUtf8(f.subject);

  gen.Meddle(realPaths);
  totals.rewrittenValues += gen.rewrittenValues.size();

  // Delete all with a random set of ticked sections, or Delete checked on one
  // section with some rows unticked.
  Text mask;
  for (int k = 0; k < 16; ++k) mask += gen.Chance(80) ? u'1' : u'0';
  const bool checked = gen.Chance(25);
  Text checkedSection;
  if (checked) {
    const auto& f = findings.empty() ? Finding{u"01", {}, {}} : findings[gen.Pick(findings.size())];
    checkedSection = f.section;
  }
  SetMask(m, mask);

  std::set<Text> unticked;  // subjects of rows left unticked
  if (checked) {
    ++totals.checkedRuns;
    const auto [group, item] = PositionOfSection(checkedSection);
    form.List1ItemClick(group, item);
    for (int row = 0; row < form.List2.RowCount(0); ++row)
      if (gen.Chance(30)) {
        form.List2.SetChecked(0, row, false);
        unticked.insert(FoldCaseText(Text(form.List2.RowCaption(0, row))));
      }
    totals.unticked += unticked.size();
  }
  auto ticked = [&](const Finding& f) {
    if (checked) return f.section == checkedSection && !unticked.count(FoldCaseText(f.subject));
    return mask[size_t(std::stoi(ToUtf8(f.section)) - 1)] == u'1';
  };

  const auto before = Snapshot(m);
  const auto registryBefore = RegistrySnapshot(m);
  std::set<Text> mayGo, valuesMayGo, valuesMustGo;
  std::vector<Text> mustGo;
  for (const auto& f : findings) {
    if (!ticked(f)) continue;
    if (IsRegistrySection(f.section)) {
      // A value rewritten since Analyze is not the value that was found: it stays.
      if (gen.rewrittenValues.count(FoldCaseText(f.subject))) continue;
      valuesMayGo.insert(FoldCaseText(f.subject));
      valuesMustGo.insert(FoldCaseText(f.subject));
      continue;
    }
    mayGo.insert(FoldCaseText(gen.RealPathOf(f.subject)));
    if (gen.MustGo(f.subject)) mustGo.push_back(f.subject);
  }

  // Others go on meddling while the deleter pumps.
  const int meddleAt = int(gen.Pick(checked ? form.List2.RowCount(0) + 1 : 8)) + 1;
  const size_t swapsBefore = gen.swappedFolders.size();
  const int pumpsBefore = ui.pumps;
  ui.onPump = [&, pumpsBefore](int pump) {
    if (pump - pumpsBefore != meddleAt) return;
    gen.SwapAFolder();
    totals.meddledDuring += gen.swappedFolders.size() - swapsBefore;
  };
  totals.swaps += swapsBefore;

  std::vector<Text> rowSubjects;        // what each row showed before the run
  std::vector<sim::NodePtr> rowFiles;  // and the very file it named, where there is one
  for (int row = 0; checked && row < form.List2.RowCount(0); ++row) {
    rowSubjects.emplace_back(form.List2.RowCaption(0, row));
    const auto r = m.Resolve(gen.RealPathOf(rowSubjects.back()));
    rowFiles.push_back(r.node ? m.Hold(r.node) : nullptr);
  }
  if (checked) {
    ui.answers.push_back(winapi::kIdYes);
    form.Label3Click();
  } else {
    form.Button3Click();  // Delete all
  }
  ui.onPump = nullptr;
  const auto registryAfter = RegistrySnapshot(m);

  // Delete all keeps listing exactly the ticked findings that stayed; Delete
  // checked removes exactly the deleted ones.
  if (!checked) {
    std::multiset<Text> stored;
    for (const auto& f : StoredFindings(form.State.Results)) stored.insert(f.section + u"#" + FoldCaseText(f.subject));
    totals.stayedListed += stored.size();
    for (const auto& f : findings) {
      const bool listed = stored.count(f.section + u"#" + FoldCaseText(f.subject)) > 0;
      if (!ticked(f)) {
        EXPECT_FALSE(listed) << "unticked but listed: " << ToUtf8(f.subject);
      } else if (IsRegistrySection(f.section)) {
        EXPECT_EQ(listed, registryAfter.count(FoldCaseText(f.subject)) > 0) << ToUtf8(f.subject);
      } else {
        const Text real = gen.RealPathOf(f.subject);
        if (!listed) {
          EXPECT_TRUE(!m.Exists(real) || gen.Meddled(real)) << "unlisted but there: " << ToUtf8(real);
        }
      }
    }
  }

  // Nothing outside the ticked findings was deleted or changed, but for what
  // others did during the run.
  for (const auto& [key, was] : before) {
    if (gen.Meddled(was.path)) continue;
    const auto r = m.Resolve(was.path);
    const bool purgeable = !checked && was.isFolder && was.linkTarget.empty() && gen.MayBePruned(was.path, mask);
    if (!r.node) {
      EXPECT_TRUE(mayGo.count(key) || purgeable) << "gone: " << ToUtf8(was.path);
      continue;
    }
    EXPECT_FALSE(r.throughLink) << ToUtf8(was.path);
    const auto& now = *r.node;
    EXPECT_EQ(now.attributes, was.attributes) << ToUtf8(was.path);
    EXPECT_EQ(now.contents, was.contents) << ToUtf8(was.path);
    EXPECT_EQ(now.size, was.size) << ToUtf8(was.path);
    EXPECT_EQ(now.linkTarget, was.linkTarget) << ToUtf8(was.path);
  }
  for (const auto& bait : gen.baits) {
    const auto* now = m.Find(bait.path);
    ASSERT_TRUE(now) << "bait gone: " << ToUtf8(bait.path);
    EXPECT_EQ(now->contents, bait.contents) << ToUtf8(bait.path);
    EXPECT_EQ(now->attributes, bait.attributes) << ToUtf8(bait.path);
  }
  for (const auto& folder : gen.baitFolders) EXPECT_TRUE(m.Exists(folder)) << "pruned: " << ToUtf8(folder);
  const auto* letter = m.Find(kDocuments + u"letter.txt");
  ASSERT_TRUE(letter);
  EXPECT_EQ(letter->contents, "dear");
  // Every finding that nothing meddled with is gone.
  for (const auto& named : mustGo) {
    const Text real = gen.RealPathOf(named);
    if (gen.Meddled(real)) continue;  // swapped while the run went on
    EXPECT_FALSE(m.Exists(real)) << "stayed: " << ToUtf8(named);
    totals.deleted += !m.Exists(real);
  }
  // Delete checked: the rows left unticked, and those that stayed, keep their
  // caption and their store entry; a relabelled row's file is gone.
  if (checked) {
    const std::vector<Text> entriesLeft = test::EntriesOf(form.State.Results);
    for (int row = 0; row < form.List2.RowCount(0); ++row) {
      const Text caption(form.List2.RowCaption(0, row));
      const Text entry = checkedSection + u"#" + caption + u"#" + Text(form.List2.RowDetail(0, row));
      if (StartsWith(caption, u"Deleted")) {
        EXPECT_TRUE(form.List2.Checked(0, row));
        // A row relabelled "Deleted" names a finding that is gone.
        const Text& subject = rowSubjects[size_t(row)];
        if (IsRegistrySection(checkedSection)) {
          EXPECT_FALSE(registryAfter.count(FoldCaseText(subject))) << "relabelled but there: " << ToUtf8(subject);
        } else {
          const auto& file = rowFiles[size_t(row)];
          EXPECT_TRUE(file && m.PathOf(*file).empty()) << "relabelled but there: " << ToUtf8(subject);
        }
        continue;
      }
      EXPECT_TRUE(std::ranges::count(entriesLeft, entry)) << ToUtf8(caption);
      if (unticked.count(FoldCaseText(caption)) && !IsRegistrySection(checkedSection) &&
          !gen.Meddled(gen.RealPathOf(caption))) {
        EXPECT_TRUE(m.Exists(gen.RealPathOf(caption))) << ToUtf8(caption);
      }
    }
  }
  for (const auto& key : valuesMustGo) EXPECT_FALSE(registryAfter.count(key)) << "value stayed: " << ToUtf8(key);
  for (const auto& [key, data] : registryAfter) {
    EXPECT_TRUE(registryBefore.count(key)) << ToUtf8(key);
  }
  for (const auto& [key, data] : registryBefore) {
    const auto now = registryAfter.find(key);
    if (now == registryAfter.end())
      EXPECT_TRUE(valuesMayGo.count(key)) << "value gone: " << ToUtf8(key);
    else
      EXPECT_EQ(now->second, data) << ToUtf8(key);
  }
}

TEST(DeletionSafety, NothingButTheTickedFindingsIsEverDeletedOrChanged) {
  const uint32_t first = EnvNumber("NB_SAFETY_SEED", kDefaultFirstSeed);
  const uint32_t count = EnvNumber("NB_SAFETY_SEEDS", kDefaultSeedCount);
  const auto start = std::chrono::steady_clock::now();
  Totals totals;
  uint32_t machines = 0;
  for (uint32_t seed = first; seed < first + count && !HasFailure(); ++seed, ++machines) RunOne(seed, totals);
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  std::printf("[ safety ] %u machines from seed %u in %.1f s: %zu findings (%zu registry), %zu files deleted, "
              "%zu folders swapped before the run and %zu during it, %zu roots that were links at Analyze, "
              "%zu Delete checked runs with %zu rows unticked, %zu refused root links, %zu values rewritten "
              "after Analyze, %zu findings still listed after Delete all\n",
              machines, first, seconds, totals.findings, totals.registryFindings, totals.deleted, totals.swaps,
              totals.meddledDuring, totals.linkedRoots, totals.checkedRuns, totals.unticked, totals.refusedLinks,
              totals.rewrittenValues, totals.stayedListed);
  EXPECT_GT(totals.deleted, 0u);
  EXPECT_GT(totals.swaps, 0u);
  EXPECT_GT(totals.meddledDuring, 0u);
  EXPECT_GT(totals.linkedRoots, 0u);
  EXPECT_GT(totals.unticked, 0u);
  EXPECT_GT(totals.registryFindings, 0u);
  EXPECT_GT(totals.refusedLinks, 0u);
  EXPECT_GT(totals.rewrittenValues, 0u);
  EXPECT_GT(totals.stayedListed, 0u);
}

}  // namespace
}  // namespace nb::test
