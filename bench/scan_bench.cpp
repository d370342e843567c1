// Cost of the Analyze run's folder work against a bare listing walk of the same
// tree, the loop any other tool would run: one listing per folder, every entry
// read, no pumps, nothing done per file. A second bare walk pumps once per
// file with a plain PeekMessageW loop, as a naive responsive tool would. The
// Analyze side pumps where the run does (once per file) through the program's
// own toolkit pump. The ratio against the walk without pumps is what the
// scanner and the responsiveness cost together. The sides take turns in going
// first. Exits non-zero when Analyze found another number of files than the
// bare walks listed.
//
// Linux: a generated tree of 200,000 files in 20,100 folders on the simulated
// machine, the pump a counter; the bare walks list it through the simulated
// machine's listing, the only one it has.
//   nb_bench_scan [rounds]
//   nb_bench_scan --small          one round over 4,000 files, for the tests
// Windows (and wine64): a tree laid out beforehand (bench/make_scan_tree.py lays
// out the same shape), the real listing API and the real toolkit's pump; the
// bare walks call FindFirstFileW and FindNextFileW themselves.
//   nb_bench_scan.exe C:\bench\ [rounds]
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "state/RunContext.h"
#include "state/ResultEntry.h"
#include "BenchClock.h"
#include "scan/ScanPlans.h"

#ifdef _WIN32
#include "platform/win32/WinApi.h"
#include "platform/win32/Handles.h"
#include "platform/win32/Wide.h"
#include "platform/win32/Win32Platform.h"
#include "app/ToolkitHost.h"
#include "ui/win32/Win32Toolkit.h"
#else
#include <malloc.h>

#include "platform/sim/SimPlatform.h"
#endif

namespace nb {
namespace {

using bench::Now;

// Counts the pumps and passes them on to the pump being measured, if any.
class PumpHost : public RunHost {
 public:
  explicit PumpHost(RunHost* pump = nullptr) : pump_(pump) {}
  void PumpMessages() override {
    ++pumps;
    if (pump_) pump_->PumpMessages();
  }
  int ShowMessage(const Text&, const Text&, uint32_t) override { return winapi::kIdOk; }
  long long pumps = 0;

 private:
  RunHost* pump_;
};

#ifdef _WIN32
// A plain pump: every queued message of the thread, then back.
class PeekPump : public RunHost {
 public:
  void PumpMessages() override {
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      ::TranslateMessage(&msg);
      ::DispatchMessageW(&msg);
    }
  }
  int ShowMessage(const Text&, const Text&, uint32_t) override { return winapi::kIdOk; }
};

// The listing walk with nothing done per file but the pump, if there is one:
// FindFirstFileW and FindNextFileW on the path built in place.
void RawWalk(std::wstring& folder, RunHost* ui, long long& files) {
  const size_t length = folder.size();
  folder += L"*.*";
  WIN32_FIND_DATAW item;
  const win32::UniqueFind listing(::FindFirstFileW(folder.c_str(), &item));
  folder.resize(length);
  if (!listing) return;
  do {
    if (item.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      if (std::wcscmp(item.cFileName, L".") != 0 && std::wcscmp(item.cFileName, L"..") != 0) {
        folder += item.cFileName;
        folder += L'\\';
        RawWalk(folder, ui, files);
        folder.resize(length);
      }
      continue;
    }
    if (ui) ui->PumpMessages();
    ++files;
  } while (::FindNextFileW(listing.get(), &item));
}

void BareWalk(Platform&, RunHost* ui, const Text& root, long long& files) {
  std::wstring folder = win32::ToWide(root);
  RawWalk(folder, ui, files);
}
#else

// The simulated machine's one listing, with nothing done per file but the pump, if there is one.
void BareWalk(Platform& os, RunHost* ui, const Text& folder, long long& files) {
  FindEntry item;
  const auto listing = os.FindFirst(folder + u"*.*", item);
  if (!listing) return;
  do {
    if (item.attributes & winapi::kAttrDirectory) {
      if (item.name != u"." && item.name != u"..") BareWalk(os, ui, folder + item.name + u'\\', files);
      continue;
    }
    if (ui) ui->PumpMessages();
    ++files;
  } while (listing->Next(item));
}

// `tops` folders of 200 subfolders, 10 files in each subfolder.
long long Generate(sim::SimMachine& machine, const Text& root, int tops) {
  uint32_t seed = 2024;
  long long files = 0;
  for (int a = 0; a < tops; ++a)
    for (int b = 0; b < 200; ++b) {
      const Text folder = root + u"cache" + NumberText(a) + u"\\entry" + NumberText(b) + u"\\";
      for (int f = 0; f < 10; ++f) {
        seed = seed * 1103515245u + 12345u;
        machine.AddSizedFile(folder + u"f_" + NumberText(f) + u".tmp", (seed >> 8) % 3000000);
        ++files;
      }
    }
  return files;
}
#endif

struct Round {
  double analyze;
  double bare;         // no pumps
  double barePumped;   // a plain pump per file
  long long findings;  // Analyze's
  long long files;     // each bare walk's
  long long filesPumped;
};

// What the Analyze side pumps through, and the plain pump of the second bare walk.
struct Pumps {
  RunHost* program = nullptr;
  RunHost* plain = nullptr;
};

// The Analyze run's plan for one folder list entry: the folder scan with the
// pumps before and after it.
double TimeAnalyze(Platform& os, const Pumps& pumps, const Text& root, long long& findings) {
  PumpHost host(pumps.program);
  AppState state;
  state.Loc.TempFolders = {root};
  state.Running = true;
  RunContext run{os, host, state};
  const double t0 = Now();
  RunSectionPlan(run, 1);
  const double t1 = Now();
  findings = (long long)state.Results.Count();
  return t1 - t0;
}

double TimeBare(Platform& os, RunHost* pump, const Text& root, long long& files) {
  files = 0;
  const double t0 = Now();
  BareWalk(os, pump, root, files);
  const double t1 = Now();
  return t1 - t0;
}

// Alternates which walk goes first, so that neither profits from the other's caches.
Round OneRound(Platform& os, const Pumps& pumps, const Text& root, bool analyzeFirst) {
  Round round{};
  if (analyzeFirst) round.analyze = TimeAnalyze(os, pumps, root, round.findings);
  round.bare = TimeBare(os, nullptr, root, round.files);
  PumpHost plain(pumps.plain);
  round.barePumped = TimeBare(os, &plain, root, round.filesPumped);
  if (!analyzeFirst) round.analyze = TimeAnalyze(os, pumps, root, round.findings);
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
  state.Running = true;
  RunContext run{os, host, state};
  const size_t before = HeapInUse();
  RunSectionPlan(run, 1);
  const size_t after = HeapInUse();
  size_t textBytes = 0;
  for (size_t i = 0; i < state.Results.Count(); ++i) textBytes += EntryText(state.Results, i, u".").size() * sizeof(char16_t);
  const double count = double(state.Results.Count());
  std::printf("store: %.0f findings, text %.1f B/finding, held %.1f B/finding (ratio %.2f)", count,
              double(textBytes) / count, double(state.Results.BytesHeld()) / count,
              double(state.Results.BytesHeld()) / double(textBytes));
  if (after > before)
    std::printf(", heap growth %.1f B/finding (ratio %.2f)", double(after - before) / count,
                double(after - before) / double(textBytes));
  std::printf(" (target <= 2)\n");
}

void PrintSpread(const char* what, std::vector<double> values, const char* target = "") {
  std::sort(values.begin(), values.end());
  std::printf("%-26s min %.3f median %.3f max %.3f%s\n", what, values.front(), values[values.size() / 2],
              values.back(), target);
}

// `expected` is the number of files the tree holds, or -1 when only the walks can tell.
int Run(Platform& os, const Pumps& pumps, const Text& root, int rounds, long long expected) {
  OneRound(os, pumps, root, true);  // warm-up: caches, allocator
  StoreMemory(os, root);
  std::vector<Round> results;
  for (int i = 0; i < rounds; ++i) results.push_back(OneRound(os, pumps, root, i % 2 == 0));
  std::vector<double> analyze, bare, barePumped, ratios, pumpedRatios;
  bool allFound = true;
  for (const auto& r : results) {
    allFound = allFound && r.files > 0 && r.findings == r.files && r.filesPumped == r.files &&
               (expected < 0 || r.files == expected);
    analyze.push_back(r.analyze);
    bare.push_back(r.bare);
    barePumped.push_back(r.barePumped);
    ratios.push_back(r.analyze / r.bare);
    pumpedRatios.push_back(r.analyze / r.barePumped);
  }
  std::printf("files %lld, findings %lld, rounds %d\n", results.back().files, results.back().findings, rounds);
  PrintSpread("analyze s:", analyze);
  PrintSpread("bare walk s:", bare);
  PrintSpread("bare walk, pump/file s:", barePumped);
  PrintSpread("analyze / bare:", ratios, " (target <= 1.5)");
  PrintSpread("analyze / bare pumped:", pumpedRatios);
  if (!allFound) std::printf("NOT DONE: Analyze found another number of files than the walks listed\n");
  return allFound ? 0 : 1;
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
  const int rounds = argc > 2 ? std::max(1, _wtoi(argv[2])) : 5;
  nb::Win32Platform os;
  nb::ui::win32::Win32Toolkit toolkit(::GetModuleHandleW(nullptr));
  nb::ToolkitHost program(toolkit);
  nb::PeekPump plain;
  return nb::Run(os, {&program, &plain}, root, rounds, -1);
}
#else
int main(int argc, char** argv) {
  const bool small = argc > 1 && std::strcmp(argv[1], "--small") == 0;
  const int rounds = small ? 1 : argc > 1 ? std::max(1, std::atoi(argv[1])) : 7;
  // Freed memory stays with the process. Otherwise whether a run's store
  // faults its 28 MB in afresh (7,000 page faults, each about 14 us on a
  // virtual machine) depends on where the C library's heap happens to end when
  // the previous run's store is freed, not on the scanner: the same code
  // measures 0.05 s or 0.15 s a run.
  mallopt(M_TRIM_THRESHOLD, 1 << 30);
  nb::sim::SimMachine machine;
  machine.AddDrive(u'C', nb::winapi::kDriveFixed);
  const nb::Text root = u"C:\\Users\\Tester\\AppData\\Local\\Temp\\";
  const long long files = nb::Generate(machine, root, small ? 2 : 100);
  nb::sim::SimPlatform os(machine);
  return nb::Run(os, {}, root, rounds, files);
}
#endif
