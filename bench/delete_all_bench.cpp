// Cost of Delete all against the plain deletion by path that any cleaner would
// run: DeleteFileW for each file, SetFileAttributesW(ARCHIVE) first only where
// the listing shows it read-only, hidden or system, no pumps, then
// RemoveDirectoryW for each folder it emptied. The ratio shows what Delete all
// costs on top of it: reading and splitting the store entries, its pumps, the
// exactness of its deletion (each folder opened and checked against what
// Analyze recorded, each file opened relative to its folder and checked to be
// that folder's own entry) and its purge of the emptied folders.
//
//   nb_bench_delete [rounds]                  on the simulated machine
//   nb_bench_delete --small                   one round over 2,000 findings, for the tests
//   nb_bench_delete --real FOLDER             (Windows) the chunks below FOLDER
//                                              (chunk0, chunk1, ...), alternately
//                                              by both, real API
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
#include "DeletionBench.h"

#ifdef _WIN32
#include "platform/win32/Win32Platform.h"
#endif

namespace nb {

using bench::ListedFile;

namespace {

constexpr int kCaches = 100;
constexpr int kFoldersPerCache = 100;
constexpr int kFilesPerFolder = 10;  // 100,000 findings in 10,000 folders
constexpr size_t kFilesPerPump = 100;
const Text kSimRoot = u"C:\\Bench\\";

using bench::BenchToolkit;
using bench::Time;

int SectionFor(size_t i) {
  using namespace sections;
  static const int numbers[] = {kTemp, kWindowsLogs, kIeCache, kEdgeCache, kChromeCache, kFirefoxCache, kExplorer, kSteam};
  return numbers[i % (sizeof numbers / sizeof numbers[0])];
}

std::vector<Text> SimPaths(int caches) {
  std::vector<Text> paths;
  paths.reserve(size_t(caches) * kFoldersPerCache * kFilesPerFolder);
  for (int c = 0; c < caches; ++c)
    for (int f = 0; f < kFoldersPerCache; ++f)
      for (int i = 0; i < kFilesPerFolder; ++i)
        paths.push_back(kSimRoot + u"cache" + NumberText(c) + u"\\#!001\\X" + NumberText(f) + u"\\f" +
                        NumberText(i) + u".dat");
  return paths;
}

void LayOut(sim::SimMachine& m, const std::vector<Text>& paths) {
  for (size_t i = 0; i < paths.size(); ++i)
    m.AddFile(paths[i], "0123456789", i % 10 == 0 ? winapi::kAttrReadOnly | winapi::kAttrHidden : winapi::kAttrArchive);
}

// The window as an Analyze run of `root` leaves it, with the findings in the
// store, each found by the walk of `root`. With `purged`, `root` is a temp
// folder whose emptied subfolders Delete all prunes.
template <typename Paths, typename PathOf>
void Analyzed(TForm1& form, const Text& root, const Paths& paths, PathOf pathOf, bool purged) {
  form.State.Loc.TempFolders.clear();
  if (purged) form.State.Loc.TempFolders.push_back(root);
  form.State.Loc.SkypeChatsyncFolder.clear();
  form.State.Results.Clear();
  form.State.Roots.Clear();
  const uint32_t scanRoot = form.State.Roots.Record(form.Os, root);
  for (size_t i = 0; i < paths.size(); ++i)
    form.State.Results.Append(SectionFor(i), pathOf(paths[i]), 10, scanRoot);
  form.Button3.SetEnabled(true);
}

// The bare loop on the simulated machine: its by-path SetFileAttributesW + DeleteFileW.
void SimBareLoop(sim::SimMachine& machine, const std::vector<Text>& paths) {
  for (const Text& path : paths) {
    machine.SetAttributes(path, winapi::kAttrArchive);
    machine.RemoveFile(path);
  }
}

// Seconds of this process's processor time: on a loaded machine the simulated
// side is timed by what it costs, not by how long it waited for a core.
template <typename F>
double CpuTime(F&& f) {
  const std::clock_t start = std::clock();
  f();
  return double(std::clock() - start) / CLOCKS_PER_SEC;
}

int SimBench(int rounds, int caches) {
  sim::SimMachine machine;
  machine.SetUpStandardUser();
  sim::SimPlatform os(machine);
  BenchToolkit ui;
  TForm1 form(os, ui);
  ui.Realize(form);
  ui.Show(form);
  const std::vector<Text> paths = SimPaths(caches);

  std::vector<double> allTimes, bareTimes;
  int allPumps = 0;
  bool allGone = true;
  for (int round = 0; round < rounds; ++round) {
    // Alternate the order so that neither side always runs on a warmer heap.
    for (int side = 0; side < 2; ++side) {
      const bool deleteAll = (side == 0) == (round % 2 == 0);
      LayOut(machine, paths);
      if (deleteAll) {
        Analyzed(form, kSimRoot, paths, [](const Text& path) -> const Text& { return path; }, false);
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
              caches * kFoldersPerCache, rounds);
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
// The chunks (folders chunk0, chunk1, ... of 10,000 files each) go alternately
// to Delete all (one click over a store holding the chunk, the chunk's folder
// a temp folder whose emptied subfolders it prunes) and to the bare loop
// (AlternatePairs).
// Exits non-zero when a file or an emptied folder is left.
int RealBench(const Text& folder) {
  Win32Platform os;
  BenchToolkit ui;
  TForm1 form(os, ui);
  ui.Realize(form);
  ui.Show(form);
  // Delete all takes the saved ticks: a prefix that kept a test's ticks would skip sections.
  SaveSectionMask(os, Text(kSectionCount, u'1'));
  struct Chunk {
    Text root;
    std::vector<ListedFile> files;
    std::vector<Text> folders;
  };
  std::vector<Chunk> chunks;
  for (int k = 0;; ++k) {
    Chunk chunk{folder + u"chunk" + NumberText(k) + u"\\", {}, {}};
    bench::ListTree(os, chunk.root, chunk.files, chunk.folders);
    if (chunk.files.empty()) break;
    chunks.push_back(std::move(chunk));
  }

  size_t allFiles = 0, bareFiles = 0, readOnly = 0;
  const bench::PairTimes times = bench::AlternatePairs(
      chunks, "Delete all",
      [&](const Chunk& chunk) {
        Analyzed(form, chunk.root, chunk.files, [](const ListedFile& file) -> const Text& { return file.path; }, true);
        allFiles += chunk.files.size();
        return Time([&] { form.Button3.Click(); });
      },
      [&](const Chunk& chunk) {
        bareFiles += chunk.files.size();
        return Time([&] {
          bench::RealBareDelete(chunk.files);
          bench::RealBareRemoveFolders(chunk.folders);
        });
      });
  if (times.Pairs() == 0) {
    std::printf("too few chunks below the folder: %zu\n", chunks.size());
    return 1;
  }
  size_t filesLeft = 0, foldersLeft = 0;
  for (size_t c = 0; c < 2 * times.Pairs(); ++c) {
    for (const ListedFile& file : chunks[c].files) {
      filesLeft += FileExists(os, file.path) ? 1 : 0;
      readOnly += (file.attributes & winapi::kAttrReadOnly) ? 1 : 0;
    }
    for (const Text& sub : chunks[c].folders) foldersLeft += FolderExists(os, sub) ? 1 : 0;
  }
  std::printf("real API: Delete all %zu files %.3f s, bare loop %zu files %.3f s; %zu read-only; "
              "%zu files and %zu folders left\n",
              allFiles, bench::Sum(times.program), bareFiles, bench::Sum(times.bare), readOnly, filesLeft, foldersLeft);
  bench::PrintRatios(times);
  return filesLeft == 0 && foldersLeft == 0 ? 0 : 1;
}
#endif

}  // namespace
}  // namespace nb

int main(int argc, char** argv) {
#ifdef _WIN32
  if (argc == 3 && std::strcmp(argv[1], "--real") == 0)
    return nb::RealBench(nb::WithTrailingBackslash(nb::FromUtf8(argv[2])));
#endif
  if (argc > 1 && std::strcmp(argv[1], "--small") == 0) return nb::SimBench(1, 2);
  return nb::SimBench(argc > 1 ? std::max(1, std::atoi(argv[1])) : 5, nb::kCaches);
}
