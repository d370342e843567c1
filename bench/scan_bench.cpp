// Cost of the Analyze run's folder work against a bare listing walk of the same
// tree: the same Platform calls (one listing per folder, every entry read) and
// the same number of pumps (one per file), but no per-file work. The ratio
// shows what the scanner adds: the mask and name tests, the counters, the size
// text and the store's append.
//
// Linux: a generated tree of 200,000 files in 20,000 folders on the simulated
// machine, the pump a counter.
//   nb_bench_scan [rounds]
// Windows (and wine64): a tree laid out beforehand (bench/make_scan_tree.py lays
// out the same shape), the real listing API and a real PeekMessageW pump.
//   nb_bench_scan.exe C:\bench\ [rounds]
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

#include "app/AppState.h"
#include "bench/BenchClock.h"
#include "scan/ScanPlans.h"

#ifdef _WIN32
#include "platform/win32/WinApi.h"
#include "platform/win32/Win32Platform.h"
#else
#include <malloc.h>

#include "platform/sim/SimPlatform.h"
#endif

namespace nb {
namespace {

using bench::Now;

#ifdef _WIN32
// The toolkit's pump: every queued message of the thread, then back.
class PumpHost : public UiHost {
 public:
  void PumpMessages() override {
    ++pumps;
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      ::TranslateMessage(&msg);
      ::DispatchMessageW(&msg);
    }
  }
  int ShowMessage(const Text&, const Text&, uint32_t) override { return win::kIdOk; }
  long long pumps = 0;
};
#else
class PumpHost : public UiHost {
 public:
  void PumpMessages() override { ++pumps; }
  int ShowMessage(const Text&, const Text&, uint32_t) override { return win::kIdOk; }
  long long pumps = 0;
};

// 100 folders of 200 subfolders (20,100 folders), 10 files in each subfolder.
void Generate(sim::SimMachine& machine, const Text& root) {
  uint32_t seed = 2024;
  for (int a = 0; a < 100; ++a)
    for (int b = 0; b < 200; ++b) {
      const Text folder = root + u"cache" + NumberText(a) + u"\\entry" + NumberText(b) + u"\\";
      for (int f = 0; f < 10; ++f) {
        seed = seed * 1103515245u + 12345u;
        machine.AddSizedFile(folder + u"f_" + NumberText(f) + u".tmp", (seed >> 8) % 3000000);
      }
    }
}
#endif

// The listing walk with nothing done per file but the pump.
void BareWalk(Platform& os, UiHost& ui, const Text& folder, long long& files) {
  FindEntry item;
  const auto listing = os.FindFirst(folder + u"*.*", item);
  if (!listing) return;
  do {
    if (item.attributes & win::kAttrDirectory) {
      if (item.name != u"." && item.name != u"..") BareWalk(os, ui, folder + item.name + u'\\', files);
      continue;
    }
    ui.PumpMessages();
    ++files;
  } while (listing->Next(item));
}

struct Round {
  double analyze;
  double bare;
};

// The Analyze run's plan for one folder list entry: the folder scan with the
// pumps before and after it.
double TimeAnalyze(Platform& os, const Text& root, long long& findings, long long& pumps) {
  PumpHost host;
  AppState state;
  state.Loc.TempFolders = {root};
  state.Busy = true;
  RunContext run{os, host, state};
  const double t0 = Now();
  RunSectionPlan(run, 1);
  const double t1 = Now();
  findings = (long long)state.Results.Count();
  pumps = host.pumps;
  return t1 - t0;
}

double TimeBare(Platform& os, const Text& root, long long& files, long long& pumps) {
  PumpHost host;
  files = 0;
  const double t0 = Now();
  host.PumpMessages();
  BareWalk(os, host, root, files);
  host.PumpMessages();
  const double t1 = Now();
  pumps = host.pumps;
  return t1 - t0;
}

// Alternates which walk goes first, so that neither profits from the other's caches.
Round OneRound(Platform& os, const Text& root, bool analyzeFirst, long long& findings, long long& files) {
  long long analyzePumps = 0, barePumps = 0;
  Round round{};
  if (analyzeFirst) round.analyze = TimeAnalyze(os, root, findings, analyzePumps);
  round.bare = TimeBare(os, root, files, barePumps);
  if (!analyzeFirst) round.analyze = TimeAnalyze(os, root, findings, analyzePumps);
  if (analyzePumps != barePumps) std::printf("pump counts differ: %lld vs %lld\n", analyzePumps, barePumps);
  return round;
}

size_t HeapInUse() {
#ifdef _WIN32
  return 0;
#else
  return mallinfo2().uordblks;
#endif
}

// What the store holds per finding against the UTF-16 bytes of the finding's text.
void StoreMemory(Platform& os, const Text& root) {
  PumpHost host;
  AppState state;
  state.Loc.TempFolders = {root};
  state.Busy = true;
  RunContext run{os, host, state};
  const size_t before = HeapInUse();
  RunSectionPlan(run, 1);
  const size_t after = HeapInUse();
  size_t textBytes = 0;
  for (size_t i = 0; i < state.Results.Count(); ++i) textBytes += state.Results.View(i).size() * sizeof(char16_t);
  const double count = double(state.Results.Count());
  std::printf("store: %.0f findings, text %.1f B/finding, held %.1f B/finding (ratio %.2f)", count,
              double(textBytes) / count, double(state.Results.BytesHeld()) / count,
              double(state.Results.BytesHeld()) / double(textBytes));
  if (after > before)
    std::printf(", heap growth %.1f B/finding (ratio %.2f)", double(after - before) / count,
                double(after - before) / double(textBytes));
  std::printf(" (target <= 2)\n");
}

int Run(Platform& os, const Text& root, int rounds) {
  long long findings = 0, files = 0;
  OneRound(os, root, true, findings, files);  // warm-up: caches, allocator
  StoreMemory(os, root);
  std::vector<Round> results;
  for (int i = 0; i < rounds; ++i) results.push_back(OneRound(os, root, i % 2 == 0, findings, files));
  std::vector<double> ratios, analyze, bare;
  for (const auto& r : results) {
    ratios.push_back(r.analyze / r.bare);
    analyze.push_back(r.analyze);
    bare.push_back(r.bare);
  }
  std::sort(ratios.begin(), ratios.end());
  std::sort(analyze.begin(), analyze.end());
  std::sort(bare.begin(), bare.end());
  const size_t mid = ratios.size() / 2;
  std::printf("files %lld, findings %lld, rounds %d\n", files, findings, rounds);
  std::printf("analyze  s: min %.3f median %.3f max %.3f\n", analyze.front(), analyze[mid], analyze.back());
  std::printf("bare     s: min %.3f median %.3f max %.3f\n", bare.front(), bare[mid], bare.back());
  std::printf("ratio     : min %.3f median %.3f max %.3f (target <= 1.25)\n", ratios.front(), ratios[mid],
              ratios.back());
  return 0;
}

}  // namespace
}  // namespace nb

#ifdef _WIN32
int wmain(int argc, wchar_t** argv) {
  if (argc < 2) {
    std::printf("usage: nb_bench_scan C:\\tree\\ [rounds]\n");
    return 2;
  }
  nb::Text root;
  for (const wchar_t* c = argv[1]; *c; ++c) root += char16_t(*c);
  root = nb::WithTrailingBackslash(root);
  const int rounds = argc > 2 ? _wtoi(argv[2]) : 5;
  nb::Win32Platform os;
  return nb::Run(os, root, rounds);
}
#else
int main(int argc, char** argv) {
  const int rounds = argc > 1 ? std::atoi(argv[1]) : 7;
  // Freed memory stays with the process. Otherwise whether a run's store
  // faults its 28 MB in afresh (7,000 page faults, each about 14 us on a
  // virtual machine) depends on where the C library's heap happens to end when
  // the previous run's store is freed, not on the scanner: the same code
  // measures 0.05 s or 0.15 s a run.
  mallopt(M_TRIM_THRESHOLD, 1 << 30);
  nb::sim::SimMachine machine;
  machine.AddDrive(u'C', nb::win::kDriveFixed);
  const nb::Text root = u"C:\\Users\\Tester\\AppData\\Local\\Temp\\";
  nb::Generate(machine, root);
  nb::sim::SimPlatform os(machine);
  return nb::Run(os, root, rounds);
}
#endif
