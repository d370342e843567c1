// Cost of Delete all against the plain deletion by path that any cleaner would
// run: SetFileAttributesW(ARCHIVE) + DeleteFileW for each file, no pumps. The
// ratio shows what Delete all costs on top of it: reading and splitting the
// store entries, its pumps, and the exactness of its deletion (each folder
// opened and checked against what Analyze recorded, each file opened relative
// to its folder and checked to be that folder's own entry).
//
//   nb_bench_delete [rounds]                  on the simulated machine
//   nb_bench_delete --real FOLDER             (Windows) the files below FOLDER,
//                                              alternately by both, real API
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>
#include <vector>

#include "app/Form1.h"
#include "app/Settings.h"
#include "catalogue/Catalogue.h"
#include "platform/sim/SimPlatform.h"
#include "ui/headless/HeadlessToolkit.h"

#ifdef _WIN32
#include "platform/win32/Wide.h"
#include "platform/win32/Win32Platform.h"
#endif

namespace nb {

#ifdef _WIN32
// Defined at the end of the file, after windows.h, whose macros would rename
// the Platform calls. Every queued message of the thread, then back:
void PumpThreadMessages();
// The bare loop on the real API: SetFileAttributesW + DeleteFileW by path.
void RealBareLoop(const std::vector<Text>& paths);
#endif

namespace {

constexpr int kCaches = 100;
constexpr int kFoldersPerCache = 100;
constexpr int kFilesPerFolder = 10;  // 100,000 findings in 10,000 folders
constexpr size_t kFilesPerPump = 100;
const Text kSimRoot = u"C:\\Bench\\";

#ifdef _WIN32
// The headless toolkit with a real message pump, as the window's pump does it.
class PumpingToolkit : public ui::HeadlessToolkit {
 public:
  void PumpMessages() override {
    PumpThreadMessages();
    HeadlessToolkit::PumpMessages();
  }
};
using BenchToolkit = PumpingToolkit;
#else
using BenchToolkit = ui::HeadlessToolkit;
#endif

const char16_t* CodeFor(size_t i) {
  static const char16_t* const codes[] = {u"01", u"03", u"04", u"05", u"06", u"07", u"12", u"13"};
  return codes[i % (sizeof codes / sizeof codes[0])];
}

std::vector<Text> SimPaths() {
  std::vector<Text> paths;
  paths.reserve(size_t(kCaches) * kFoldersPerCache * kFilesPerFolder);
  for (int c = 0; c < kCaches; ++c)
    for (int f = 0; f < kFoldersPerCache; ++f)
      for (int i = 0; i < kFilesPerFolder; ++i)
        paths.push_back(kSimRoot + u"cache" + NumberText(c) + u"\\#!001\\X" + NumberText(f) + u"\\f" +
                        NumberText(i) + u".dat");
  return paths;
}

void LayOut(sim::SimMachine& m, const std::vector<Text>& paths) {
  for (size_t i = 0; i < paths.size(); ++i)
    m.AddFile(paths[i], "0123456789", i % 10 == 0 ? win::kAttrReadOnly | win::kAttrHidden : win::kAttrArchive);
}

// The files below `folder`, found with the same listing the scanner uses.
void ListFiles(Platform& os, const Text& folder, std::vector<Text>& paths) {
  FindEntry entry;
  auto listing = os.FindFirst(folder + u"*.*", entry);
  if (!listing) return;
  do {
    if (entry.name == u"." || entry.name == u"..") continue;
    if (entry.attributes & win::kAttrDirectory)
      ListFiles(os, folder + entry.name + u"\\", paths);
    else
      paths.push_back(folder + entry.name);
  } while (listing->Next(entry));
}

// The window as an Analyze run of `root` leaves it, with the findings in the store.
void Analyzed(TForm1& form, const Text& root, const std::vector<Text>& paths) {
  form.State.Loc.TempFolders.clear();
  form.State.Loc.SkypeChatsyncFolder.clear();
  form.State.Results.Clear();
  form.State.Folders.Clear();
  form.State.Folders.Record(form.Os, root);
  for (size_t i = 0; i < paths.size(); ++i) form.State.Results.AppendJoined({CodeFor(i), u"#", paths[i], u"#0.01 KB"});
  form.Button3.SetEnabled(true);
}

// The bare loop on the simulated machine: its by-path SetFileAttributesW + DeleteFileW.
void SimBareLoop(sim::SimMachine& machine, const std::vector<Text>& paths) {
  for (const Text& path : paths) {
    machine.SetAttributes(path, win::kAttrArchive);
    machine.RemoveFile(path);
  }
}

double Seconds(std::chrono::steady_clock::duration d) { return std::chrono::duration<double>(d).count(); }

// Wall-clock seconds: under Wine much of the work is the wineserver's.
template <typename F>
double Time(F&& f) {
  const auto start = std::chrono::steady_clock::now();
  f();
  return Seconds(std::chrono::steady_clock::now() - start);
}

// Seconds of this process's processor time: on a loaded machine the simulated
// side is timed by what it costs, not by how long it waited for a core.
template <typename F>
double CpuTime(F&& f) {
  const std::clock_t start = std::clock();
  f();
  return double(std::clock() - start) / CLOCKS_PER_SEC;
}

int SimBench(int rounds) {
  sim::SimMachine machine;
  machine.SetUpStandardUser();
  sim::SimPlatform os(machine);
  BenchToolkit ui;
  TForm1 form(os, ui);
  ui.Realize(form);
  ui.Show(form);
  const std::vector<Text> paths = SimPaths();

  std::vector<double> allTimes, bareTimes;
  int allPumps = 0;
  bool allGone = true;
  for (int round = 0; round < rounds; ++round) {
    // Alternate the order so that neither side always runs on a warmer heap.
    for (int side = 0; side < 2; ++side) {
      const bool deleteAll = (side == 0) == (round % 2 == 0);
      LayOut(machine, paths);
      if (deleteAll) {
        Analyzed(form, kSimRoot, paths);
        const int before = ui.pumps;
        allTimes.push_back(CpuTime([&] { form.Button3.Click(); }));
        allPumps = ui.pumps - before;
      } else {
        bareTimes.push_back(CpuTime([&] { SimBareLoop(machine, paths); }));
      }
      for (const Text& path : paths) allGone = allGone && !machine.Exists(path);
    }
  }
  std::sort(allTimes.begin(), allTimes.end());
  std::sort(bareTimes.begin(), bareTimes.end());
  const double all = allTimes[allTimes.size() / 2];
  const double bare = bareTimes[bareTimes.size() / 2];
  std::printf("sim: %zu findings in %d folders, every tenth read-only and hidden; %d rounds\n", paths.size(),
              kCaches * kFoldersPerCache, rounds);
  std::printf("pumps: Delete all %d (entry pass %zu + folder steps), bare loop none; every file deleted: %s\n",
              allPumps, (paths.size() + kFilesPerPump - 1) / kFilesPerPump, allGone ? "yes" : "NO");
  std::printf("processor time:\n");
  std::printf("Delete all  median %.3f s (min %.3f, max %.3f)\n", all, allTimes.front(), allTimes.back());
  std::printf("bare loop   median %.3f s (min %.3f, max %.3f)\n", bare, bareTimes.front(), bareTimes.back());
  std::printf("ratio Delete all / bare loop: medians %.3f, minimums %.3f (target <= 1.5)\n", all / bare,
              allTimes.front() / bareTimes.front());
  return allGone ? 0 : 1;
}

#ifdef _WIN32
// The files are cut into chunks of 10,000 that go alternately to Delete all
// (one click over a store holding the chunk) and to the bare loop, the order
// within each pair swapped every time, so that the machine's load drifting
// during the minutes a real run takes falls on both sides alike.
int RealBench(const Text& folder) {
  constexpr size_t kChunk = 10000;
  Win32Platform os;
  BenchToolkit ui;
  TForm1 form(os, ui);
  ui.Realize(form);
  ui.Show(form);
  // Delete all takes the saved ticks: a prefix that kept a test's ticks would skip sections.
  SaveSectionMask(os, Text(kSectionCount, u'1'));
  std::vector<Text> paths;
  ListFiles(os, folder, paths);

  double allSeconds = 0, bareSeconds = 0;
  size_t allFiles = 0, bareFiles = 0;
  std::vector<double> pairRatios;
  for (size_t pair = 0; (2 * pair + 2) * kChunk <= paths.size(); ++pair) {
    const auto first = paths.begin() + std::ptrdiff_t(2 * pair * kChunk);
    const auto middle = first + std::ptrdiff_t(kChunk);
    const std::vector<Text> one(first, middle), two(middle, middle + std::ptrdiff_t(kChunk));
    double all = 0, bare = 0;
    const auto runAll = [&](const std::vector<Text>& chunk) {
      Analyzed(form, folder, chunk);
      all = Time([&] { form.Button3.Click(); });
    };
    const auto runBare = [&](const std::vector<Text>& chunk) { bare = Time([&] { RealBareLoop(chunk); }); };
    if (pair % 2 == 0) {
      runAll(one);
      runBare(two);
    } else {
      runBare(one);
      runAll(two);
    }
    allSeconds += all;
    bareSeconds += bare;
    allFiles += kChunk;
    bareFiles += kChunk;
    pairRatios.push_back(all / bare);
    std::printf("pair %zu: Delete all %.3f s, bare loop %.3f s, ratio %.3f\n", pair, all, bare, all / bare);
  }
  size_t left = 0;
  for (const Text& path : paths) left += FileExists(os, path) ? 1 : 0;
  if (pairRatios.empty()) {
    std::printf("too few files below the folder: %zu\n", paths.size());
    return 1;
  }
  std::sort(pairRatios.begin(), pairRatios.end());
  std::printf("real API: Delete all %zu files %.3f s, bare loop %zu files %.3f s, %zu files left\n", allFiles,
              allSeconds, bareFiles, bareSeconds, left - (paths.size() - allFiles - bareFiles));
  std::printf("ratio of the sums %.3f; pair ratios min %.3f median %.3f max %.3f (target <= 1.5)\n",
              allSeconds / bareSeconds, pairRatios.front(), pairRatios[pairRatios.size() / 2], pairRatios.back());
  return 0;
}
#endif

}  // namespace
}  // namespace nb

int main(int argc, char** argv) {
#ifdef _WIN32
  if (argc == 3 && std::strcmp(argv[1], "--real") == 0)
    return nb::RealBench(nb::WithTrailingBackslash(nb::FromUtf8(argv[2])));
#endif
  return nb::SimBench(argc > 1 ? std::max(1, std::atoi(argv[1])) : 5);
}

#ifdef _WIN32
#include <windows.h>

void nb::PumpThreadMessages() {
  MSG msg;
  while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
  }
}

void nb::RealBareLoop(const std::vector<Text>& paths) {
  for (const Text& path : paths) {
    ::SetFileAttributesW(win32::ToWide(path).c_str(), FILE_ATTRIBUTE_ARCHIVE);
    ::DeleteFileW(win32::ToWide(path).c_str());
  }
}
#endif
