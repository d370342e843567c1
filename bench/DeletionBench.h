// What the deletion benchmarks share: the tree as the listing shows it, the
// toolkit whose pump is the window's, the wall clock, and the bare loops on
// the real API, which call it themselves.
#pragma once

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

#include "platform/Platform.h"
#include "ui/headless/HeadlessToolkit.h"

namespace nb::bench {

// A file as the listing shows it.
struct ListedFile {
  Text path;
  uint32_t attributes = 0;
  uint64_t size = 0;
};

// The files below `folder` and its subfolders (deepest first), found with the
// same listing the scanner uses.
inline void ListTree(Platform& os, const Text& folder, std::vector<ListedFile>& files, std::vector<Text>& folders) {
  FindEntry entry;
  auto listing = os.FindFirst(folder + u"*.*", entry);
  if (!listing) return;
  do {
    if (entry.name == u"." || entry.name == u"..") continue;
    if (entry.attributes & winapi::kAttrDirectory) {
      ListTree(os, folder + entry.name + u"\\", files, folders);
      folders.push_back(folder + entry.name);
    } else {
      files.push_back({folder + entry.name, entry.attributes, entry.size});
    }
  } while (listing->Next(entry));
}

// Wall-clock seconds: under Wine much of the work is the wineserver's.
template <typename F>
double Time(F&& f) {
  const auto start = std::chrono::steady_clock::now();
  f();
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// What the pairs of chunks measured, pair by pair.
struct PairTimes {
  std::vector<double> program, bare;
  size_t Pairs() const { return program.size(); }
};

// Runs the chunks two by two, one of each pair on the program's side and the
// other through the bare loop, the order within a pair swapped every time,
// so that the machine's load drifting during a run falls on both sides alike.
// `program` and `bare` take a chunk and return its seconds. Prints a line per
// pair, naming the program's side `what`.
template <typename Chunk, typename Program, typename Bare>
PairTimes AlternatePairs(const std::vector<Chunk>& chunks, const char* what, Program program, Bare bare) {
  PairTimes times;
  for (size_t pair = 0; 2 * pair + 1 < chunks.size(); ++pair) {
    const Chunk& one = chunks[2 * pair];
    const Chunk& two = chunks[2 * pair + 1];
    double ours = 0, theirs = 0;
    if (pair % 2 == 0) {
      ours = program(one);
      theirs = bare(two);
    } else {
      theirs = bare(one);
      ours = program(two);
    }
    times.program.push_back(ours);
    times.bare.push_back(theirs);
    std::printf("pair %zu: %s %.3f s, bare loop %.3f s, ratio %.3f\n", pair, what, ours, theirs, ours / theirs);
    std::fflush(stdout);
  }
  return times;
}

// "ratio of the sums ...; pair ratios min ... median ... max ..." for at least one pair.
inline void PrintRatios(const PairTimes& times) {
  double program = 0, bare = 0;
  std::vector<double> ratios;
  for (size_t i = 0; i < times.Pairs(); ++i) {
    program += times.program[i];
    bare += times.bare[i];
    ratios.push_back(times.program[i] / times.bare[i]);
  }
  std::sort(ratios.begin(), ratios.end());
  std::printf("ratio of the sums %.3f; pair ratios min %.3f median %.3f max %.3f (target <= 1.5)\n", program / bare,
              ratios.front(), ratios[ratios.size() / 2], ratios.back());
}

inline double Sum(const std::vector<double>& seconds) {
  double sum = 0;
  for (const double s : seconds) sum += s;
  return sum;
}

#ifdef _WIN32
// Every queued message of the thread, then back.
void PumpThreadMessages();

// The headless toolkit with a real message pump, as the window's pump does it.
class PumpingToolkit : public ui::HeadlessToolkit {
 public:
  void PumpMessages() override {
    PumpThreadMessages();
    HeadlessToolkit::PumpMessages();
  }
};
using BenchToolkit = PumpingToolkit;

// The bare deletion on the real API: DeleteFileW by path, SetFileAttributesW
// first where the listing shows read-only, hidden or system.
void RealBareDelete(const std::vector<ListedFile>& files);
// Then RemoveDirectoryW for the emptied folders, deepest first.
void RealBareRemoveFolders(const std::vector<Text>& folders);
#else
using BenchToolkit = ui::HeadlessToolkit;
#endif

}  // namespace nb::bench
