// Cost of Delete checked against the plain deletion by path that any cleaner
// would run over the same files: DeleteFileW for each file,
// SetFileAttributesW(ARCHIVE) first only where the listing shows it
// read-only, hidden or system, no pumps. Delete checked is the real click on
// "Delete checked" with every row of one section ticked, the section shown by
// a click in the section list, and with --sorted after a click on the size
// column: the question answered Yes, a pump per row, each row's finding
// deleted through its folder's handle and relabelled, the store emptied of
// them at the end. Exits non-zero when a file is left or the count is wrong.
//
//   nb_bench_delete_checked [rounds] [--sorted]   on the simulated machine
//   nb_bench_delete_checked --small               one round over 2,000 rows, for the tests
//   nb_bench_delete_checked --real FOLDER [--sorted]
//                                (Windows) the chunks below FOLDER (chunk0,
//                                chunk1, ...), alternately by both, real API
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>
#include <functional>
#include <vector>

#include "DeletionBench.h"
#include "app/Form1.h"
#include "catalogue/Catalogue.h"
#include "platform/sim/SimPlatform.h"

#ifdef _WIN32
#include "platform/win32/Win32Platform.h"
#endif

namespace nb {
namespace {

using bench::BenchToolkit;
using bench::ListedFile;

const Text kSimRoot = u"C:\\Bench\\";

// The window as Analyze leaves it with `files` as the temp section's findings,
// found by the walk of `root`, sized as listed; then the section shown, and
// sorted by size with `sorted`.
void Shown(TForm1& form, BenchToolkit& ui, const Text& root, const std::vector<ListedFile>& files, bool sorted) {
  form.List2.RemoveGroupRows(0);  // before the store: the rows show its texts
  form.State.Results.Clear();
  form.State.Roots.Clear();
  const uint32_t scanRoot = form.State.Roots.Record(form.Os, root);
  for (size_t i = 0; i < files.size(); ++i)
    form.State.Results.Append(sections::kTemp, files[i].path, files[i].size, scanRoot);
  const auto [group, item] = PositionOfSection(u"01");
  form.List1ItemClick(group, item);
  if (sorted) form.List2ColumnClick(1);
  form.Label3.SetVisible(true);  // as the fill after Analyze leaves it
  ui.answers = {winapi::kIdYes, winapi::kIdOk};
}

// The click, timed by `clock`; false when another count than every row was reported.
template <typename Clock>
bool DeleteChecked(TForm1& form, BenchToolkit& ui, size_t rows, double& seconds, Clock clock) {
  ui.boxes.clear();
  seconds = clock([&] { form.Label3.Click(); });
  return ui.boxes.size() == 2 && ui.boxes[1].text == NumberTextUnsigned(uint32_t(rows)) + u" items have been deleted";
}

double CpuTime(const std::function<void()>& f) {
  const std::clock_t start = std::clock();
  f();
  return double(std::clock() - start) / CLOCKS_PER_SEC;
}

int SimBench(int rounds, int folders, bool sorted) {
  sim::SimMachine machine;
  machine.SetUpStandardUser();
  sim::SimPlatform os(machine);
  BenchToolkit ui;
  TForm1 form(os, ui);
  ui.Realize(form);
  ui.Show(form);
  std::vector<ListedFile> files;
  for (int f = 0; f < folders; ++f)
    for (int i = 0; i < 10; ++i)
      files.push_back({kSimRoot + u"X" + NumberText(f) + u"\\f" + NumberText(i) + u".dat",
                       i == 0 ? winapi::kAttrReadOnly | winapi::kAttrHidden : winapi::kAttrArchive,
                       1 + (files.size() * 7919) % 4000});
  std::vector<double> checkedTimes, bareTimes;
  bool allGone = true, counted = true;
  for (int round = 0; round < rounds; ++round) {
    for (int side = 0; side < 2; ++side) {
      for (size_t i = 0; i < files.size(); ++i)
        machine.AddFile(files[i].path, std::string(size_t(files[i].size), 'x'), files[i].attributes);
      if ((side == 0) == (round % 2 == 0)) {
        Shown(form, ui, kSimRoot, files, sorted);
        double seconds = 0;
        counted = DeleteChecked(form, ui, files.size(), seconds, CpuTime) && counted;
        checkedTimes.push_back(seconds);
      } else {
        bareTimes.push_back(CpuTime([&] {
          for (const ListedFile& file : files) {
            if (file.attributes & winapi::kAttrReadOnly) machine.SetAttributes(file.path, winapi::kAttrArchive);
            machine.RemoveFile(file.path);
          }
        }));
      }
      for (const ListedFile& file : files) allGone = allGone && !machine.Exists(file.path);
    }
  }
  std::sort(checkedTimes.begin(), checkedTimes.end());
  std::sort(bareTimes.begin(), bareTimes.end());
  const double checked = checkedTimes[checkedTimes.size() / 2], bare = bareTimes[bareTimes.size() / 2];
  std::printf("sim: %zu rows of one section in %d folders%s; %d rounds; every file deleted: %s; count: %s\n",
              files.size(), folders, sorted ? ", sorted by size" : "", rounds, allGone ? "yes" : "NO",
              counted ? "right" : "WRONG");
  std::printf("Delete checked median %.3f s, bare loop median %.3f s (processor time): ratio %.3f\n", checked, bare,
              checked / bare);
  return allGone && counted ? 0 : 1;
}

#ifdef _WIN32
// The chunks (folders chunk0, chunk1, ... laid out alike) go alternately to
// Delete checked and to the bare loop (AlternatePairs).
int RealBench(const Text& folder, bool sorted) {
  Win32Platform os;
  BenchToolkit ui;
  TForm1 form(os, ui);
  ui.Realize(form);
  ui.Show(form);
  struct Chunk {
    Text root;
    std::vector<ListedFile> files;
  };
  std::vector<Chunk> chunks;
  for (int k = 0;; ++k) {
    Chunk chunk{folder + u"chunk" + NumberText(k) + u"\\", {}};
    std::vector<Text> folders;
    bench::ListTree(os, chunk.root, chunk.files, folders);
    if (chunk.files.empty()) break;
    chunks.push_back(std::move(chunk));
  }
  size_t rows = 0;
  bool counted = true;
  const bench::PairTimes times = bench::AlternatePairs(
      chunks, "Delete checked",
      [&](const Chunk& chunk) {
        double checked = 0;
        Shown(form, ui, chunk.root, chunk.files, sorted);
        counted = DeleteChecked(form, ui, chunk.files.size(), checked, bench::Time<std::function<void()>>) && counted;
        rows = chunk.files.size();
        return checked;
      },
      [&](const Chunk& chunk) { return bench::Time([&] { bench::RealBareDelete(chunk.files); }); });
  if (times.Pairs() == 0) {
    std::printf("too few chunks below the folder: %zu\n", chunks.size());
    return 1;
  }
  size_t filesLeft = 0;
  for (size_t c = 0; c < 2 * times.Pairs(); ++c)
    for (const ListedFile& file : chunks[c].files) filesLeft += FileExists(os, file.path) ? 1 : 0;
  std::printf("real API: %zu rows a section%s; Delete checked %.3f s, bare loop %.3f s in all; %zu files left; "
              "count %s\n",
              rows, sorted ? ", sorted by size" : "", bench::Sum(times.program), bench::Sum(times.bare), filesLeft,
              counted ? "right" : "WRONG");
  bench::PrintRatios(times);
  return filesLeft == 0 && counted ? 0 : 1;
}
#endif

}  // namespace
}  // namespace nb

int main(int argc, char** argv) {
  const bool sorted = argc > 1 && std::strcmp(argv[argc - 1], "--sorted") == 0;
#ifdef _WIN32
  if (argc >= 3 && std::strcmp(argv[1], "--real") == 0)
    return nb::RealBench(nb::WithTrailingBackslash(nb::FromUtf8(argv[2])), sorted);
#endif
  if (argc > 1 && std::strcmp(argv[1], "--small") == 0) return nb::SimBench(1, 200, true);
  const int rounds = argc > 1 && std::atoi(argv[1]) > 0 ? std::atoi(argv[1]) : 5;
  return nb::SimBench(rounds, 2000, sorted);
}
