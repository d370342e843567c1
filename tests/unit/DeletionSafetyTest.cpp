// Randomized machines, each analyzed and then cleaned by the real handlers, with
// the folders meddled with between Analyze and Delete as a less privileged
// process could: folders swapped for links to bait files of the same names,
// findings removed, new files added, files locked. Whatever happens, nothing
// but the findings of the ticked sections may be deleted or changed.
//
// The fixed seeds make 1,000 machines; NB_SAFETY_SEED (first seed) and
// NB_SAFETY_SEEDS (how many) run others, for longer searches.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <map>
#include <random>
#include <set>

#include "app/Form1.h"
#include "catalogue/Catalogue.h"
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
  for (const auto& [root, name] : {std::pair{win::kHkeyCurrentUser, u"HKCU"}, {win::kHkeyLocalMachine, u"HKLM"}})
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
  std::vector<Text> cleanedFolders;  // folders whose contents are findings
  std::vector<Text> purgedRoots;     // where Delete all may remove empty folders
  size_t counter = 0;

  size_t Pick(size_t n) { return std::uniform_int_distribution<size_t>(0, n - 1)(rng_); }
  bool Chance(int percent) { return int(Pick(100)) < percent; }

  uint32_t SomeAttributes() {
    constexpr uint32_t kinds[] = {win::kAttrArchive, win::kAttrReadOnly, win::kAttrHidden,
                                  win::kAttrReadOnly | win::kAttrHidden | win::kAttrSystem, win::kAttrNormal};
    return kinds[Pick(5)];
  }

  void Lock(sim::FileNode& file) {
    constexpr uint32_t shares[] = {0, win::kShareRead, win::kShareRead | win::kShareWrite,
                                   win::kShareRead | win::kShareWrite | win::kShareDelete, win::kShareDelete};
    file.lock = sim::ForeignLock{shares[Pick(5)]};
  }

  void File(const Text& path) {
    auto& file = m.AddFile(path, "data " + ToUtf8(path), SomeAttributes());
    if (Chance(12)) Lock(file);
    if (Chance(4)) file.denyDelete = true;
  }

  // Files, subfolders, empty folders and links below a cleaned folder.
  void Fill(const Text& folder, const Text& extension, int depth) {
    m.AddFolder(folder);
    const size_t files = Pick(6);
    for (size_t i = 0; i < files; ++i) File(folder + u"f" + Num(++counter) + extension);
    if (depth > 0)
      for (size_t i = Pick(3); i > 0; --i) Fill(folder + u"sub" + Num(++counter) + u"\\", extension, depth - 1);
    if (Chance(20)) m.AddFolder(folder + u"empty" + Num(++counter));
    if (Chance(20)) m.AddFolderLink(folder + u"link" + Num(++counter), kDocuments + u"Linked");
    if (Chance(15)) m.AddFileLink(folder + u"filelink" + Num(++counter) + extension, kDocuments + u"letter.txt");
  }

  void Build() {
    m.SetUpStandardUser();
    m.AddDrive(u'D', win::kDriveFixed);
    // The user's own files, and what links point at.
    m.AddFile(kDocuments + u"letter.txt", "dear", win::kAttrArchive);
    m.AddFile(kDocuments + u"Linked\\f1.tmp", "same name as a temp file", win::kAttrReadOnly);
    m.AddFolder(kDocuments + u"Linked\\emptyInside");
    m.AddFile(kUser + u"notes.tmp", "not in a temp folder");
    // Temporary folders, each present or not.
    for (const Text& temp : {kLocal + u"Temp\\", Text(u"C:\\Windows\\Temp\\"), Text(u"C:\\ProgramData\\Temp\\"),
                             kUser + u"AppData\\LocalLow\\Temp\\"}) {
      if (!Chance(75)) continue;
      Fill(temp, u".tmp", 2);
      cleanedFolders.push_back(temp);
      purgedRoots.push_back(temp);
    }
    // Recycle bins of both fixed drives.
    for (const Text bin : {u"C:\\$RECYCLE.BIN\\", u"D:\\$RECYCLE.BIN\\"}) {
      Fill(bin + u"S-1-5-21-" + Num(Pick(1000)) + u"\\", u".dat", 1);
      cleanedFolders.push_back(bin);
      purgedRoots.push_back(bin);
    }
    // Windows logs, and what sits next to them.
    for (size_t i = Pick(4); i > 0; --i) File(u"C:\\Windows\\w" + Num(++counter) + u".log");
    m.AddFile(u"C:\\Windows\\win.ini", "[windows]");
    m.AddFile(u"C:\\Windows\\Logs\\cbs.txt", "not a log by name");
    // Chrome: cache folders and single files of the profile, and what stays.
    const Text chrome = kLocal + u"Google\\Chrome\\User Data\\Default\\";
    Fill(chrome + u"Cache\\", u"", 1);
    cleanedFolders.push_back(chrome + u"Cache\\");
    File(chrome + u"History");
    m.AddFile(chrome + u"Preferences", "{}");
    m.AddFile(chrome + u"Bookmarks", "{}");
    // Skype: the chat-sync folder of the default account.
    m.AddFile(kRoaming + u"Skype\\shared.xml", "<?xml version=\"1.0\"?>\r\n<Default>acct</Default>\r\n");
    m.AddFile(kRoaming + u"Skype\\acct\\main.db", "messages");
    Fill(kRoaming + u"Skype\\acct\\chatsync\\", u".dat", 2);
    cleanedFolders.push_back(kRoaming + u"Skype\\acct\\chatsync\\");
    purgedRoots.push_back(kRoaming + u"Skype\\acct\\chatsync\\");
    // Registry values: dead references and live ones.
    m.AddFile(u"C:\\Windows\\notepad.exe", "MZ");
    for (size_t i = Pick(4); i > 0; --i) {
      const Text key = u"SOFTWARE\\Vendor" + Num(++counter);
      const uint32_t root = Chance(50) ? win::kHkeyCurrentUser : win::kHkeyLocalMachine;
      m.SetString(root, key, u"Tool", u"C:\\Gone" + Num(counter) + u"\\tool.exe");
      m.SetString(root, key, u"Editor", u"C:\\Windows\\notepad.exe");
    }
  }

  bool IsPurgedRoot(const Text& path) const {
    for (const auto& root : purgedRoots)
      if (EqualsIgnoreCase(path + u"\\", root)) return true;
    return false;
  }

  // A temporary folder, recycle bin or chat-sync folder itself swapped for a
  // link: the purge must leave the link's target alone too.
  bool swapPurgedRoots = EnvNumber("NB_SAFETY_SWAP_ROOTS", 1) != 0;

  // What a less privileged process does between Analyze and Delete.
  void Meddle(const std::vector<Text>& findings) {
    // Swap folders in cleaned places for links to bait files of the same names.
    for (size_t swaps = Pick(3); swaps > 0; --swaps) {
      std::vector<Text> folders;
      for (const auto& [key, snap] : Snapshot(m))
        if (snap.isFolder && snap.linkTarget.empty() && IsUnder(snap.path + u"\\", cleanedFolders) &&
            (swapPurgedRoots || !IsPurgedRoot(snap.path)))
          folders.push_back(snap.path);
      if (folders.empty()) break;
      const Text victim = folders[Pick(folders.size())];
      const Text bait = kDocuments + u"Bait" + Num(++counter);
      m.AddFolder(bait + u"\\keptEmpty");
      for (const auto& child : m.Find(victim)->children)
        if (!child->isFolder) m.AddFile(bait + u"\\" + child->name, "bait", win::kAttrHidden);
      m.Remove(victim);
      m.AddFolderLink(victim, bait);
    }
    for (size_t i = Pick(3); i > 0 && !findings.empty(); --i) m.Remove(findings[Pick(findings.size())]);
    for (size_t i = Pick(3); i > 0 && !findings.empty(); --i)
      if (auto* file = m.Find(findings[Pick(findings.size())]); file && !file->isFolder) Lock(*file);
    for (size_t i = Pick(3); i > 0; --i) {
      const Text& folder = cleanedFolders[Pick(cleanedFolders.size())];
      if (m.Exists(folder)) m.AddFile(folder + u"late" + Num(++counter) + u".tmp", "added after Analyze");
    }
  }
};

struct Finding {
  Text section;
  Text subject;
};

std::vector<Finding> StoredFindings(const ResultStore& store) {
  std::vector<Finding> out;
  for (size_t i = 0; i < store.Count(); ++i) {
    const Text entry = store.At(i);
    const size_t last = entry.rfind(u'#');
    out.push_back({entry.substr(0, 2), entry.substr(3, last - 3)});
  }
  return out;
}

bool IsRegistrySection(const Text& code) { return code == u"15" || code == u"16"; }

void SetMask(sim::SimMachine& m, const Text& mask) {
  m.SetString(win::kHkeyCurrentUser, u"SOFTWARE\\Quellmark\\Nightbroom", u"Sections", mask);
}

struct Totals {
  size_t findings = 0, registryFindings = 0, deleted = 0, swaps = 0, checkedRuns = 0;
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
  std::vector<Text> filePaths;
  for (const auto& f : findings)
    if (!IsRegistrySection(f.section)) filePaths.push_back(f.subject);
    else ++totals.registryFindings;

  gen.Meddle(filePaths);
  for (const auto& [key, snap] : Snapshot(m))
    totals.swaps += !snap.linkTarget.empty() && StartsWith(snap.linkTarget, kDocuments + u"Bait");

  // Delete all with a random set of ticked sections, or Delete checked on one section.
  Text mask;
  for (int k = 0; k < 16; ++k) mask += gen.Chance(80) ? u'1' : u'0';
  const bool checked = gen.Chance(25);
  Text checkedSection;
  if (checked) {
    const auto& f = findings.empty() ? Finding{u"01", {}} : findings[gen.Pick(findings.size())];
    checkedSection = f.section;
  }
  auto ticked = [&](const Text& code) {
    return checked ? code == checkedSection : mask[size_t(std::stoi(ToUtf8(code)) - 1)] == u'1';
  };

  SetMask(m, mask);
  const auto before = Snapshot(m);
  const auto registryBefore = RegistrySnapshot(m);
  std::set<Text> mayGo, mustGo, valuesMayGo;
  for (const auto& f : findings) {
    if (!ticked(f.section)) continue;
    if (IsRegistrySection(f.section)) {
      valuesMayGo.insert(FoldCaseText(f.subject));
      continue;
    }
    mayGo.insert(FoldCaseText(f.subject));
    const auto r = m.Resolve(f.subject);
    const bool deletable = r.node && !r.throughLink && !r.node->isFolder && !r.node->denyDelete &&
                           (!r.node->lock || (r.node->lock->shareMode & win::kShareDelete));
    if (deletable) mustGo.insert(f.subject);
  }

  if (checked) {
    ++totals.checkedRuns;
    const auto [group, item] = PositionOfSection(checkedSection);
    form.List1ItemClick(group, item);
    ui.answers.push_back(win::kIdYes);
    form.Label3Click();
  } else {
    form.Button3Click();  // Delete all
    EXPECT_TRUE(form.State.Results.Empty());
  }

  // Nothing outside the ticked findings was deleted or changed.
  for (const auto& [key, was] : before) {
    const auto r = m.Resolve(was.path);
    const bool purgeable =
        !checked && was.isFolder && was.linkTarget.empty() && IsUnder(was.path + u"\\", gen.purgedRoots);
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
  // Every finding that could go is gone.
  for (const auto& path : mustGo) {
    EXPECT_FALSE(m.Exists(path)) << "stayed: " << ToUtf8(path);
    totals.deleted += !m.Exists(path);
  }
  const auto registryAfter = RegistrySnapshot(m);
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
              "%zu folders swapped for links, %zu Delete checked runs\n",
              machines, first, seconds, totals.findings, totals.registryFindings, totals.deleted, totals.swaps,
              totals.checkedRuns);
  EXPECT_GT(totals.deleted, 0u);
  EXPECT_GT(totals.swaps, 0u);
  EXPECT_GT(totals.registryFindings, 0u);
}

}  // namespace
}  // namespace nb::test
