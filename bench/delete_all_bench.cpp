// Cost of Delete all against a bare loop that deletes the same files with the
// same Platform calls (file-exists test, archive-only attributes, DeleteFile)
// and the same pumps (one before every hundredth file). The ratio shows what
// Delete all adds of its own: reading and splitting the store entries, the
// section test, the window's state changes and the (here empty) folder steps.
//
//   nb_bench_delete [rounds]                  on the simulated machine
//   nb_bench_delete --real FOLDER all|bare    (Windows) one timed pass over the
//                                              files below FOLDER, real API
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "app/Form1.h"
#include "platform/sim/SimPlatform.h"
#include "ui/headless/HeadlessToolkit.h"

#ifdef _WIN32
#include <windows.h>

#include "platform/win32/Win32Platform.h"
#endif

namespace nb {
namespace {

constexpr int kCaches = 100;
constexpr int kFoldersPerCache = 10;
constexpr int kFilesPerFolder = 100;  // 100,000 findings in 1,000 folders
constexpr size_t kFilesPerPump = 100;

#ifdef _WIN32
// The headless toolkit with a real message pump, as the window's pump does it.
class PumpingToolkit : public ui::HeadlessToolkit {
 public:
  void PumpMessages() override {
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      ::TranslateMessage(&msg);
      ::DispatchMessageW(&msg);
    }
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
        paths.push_back(u"C:\\Bench\\cache" + NumberText(c) + u"\\#!001\\X" + NumberText(f) + u"\\f" +
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

// The window as an Analyze run leaves it, with the findings in the store.
void Analyzed(TForm1& form, const std::vector<Text>& paths) {
  form.State.Loc.TempFolders.clear();
  form.State.Loc.SkypeChatsyncFolder.clear();
  form.State.Results.Clear();
  for (size_t i = 0; i < paths.size(); ++i) form.State.Results.AppendJoined({CodeFor(i), u"#", paths[i], u"#0.01 KB"});
  form.Button3.SetEnabled(true);
}

void BareLoop(Platform& os, UiHost& ui, const std::vector<Text>& paths) {
  for (size_t i = 0; i < paths.size(); ++i) {
    if (i % kFilesPerPump == 0) ui.PumpMessages();
    const auto found = os.GetFileAttributes(paths[i]);
    if (!found.Ok() || (found.attributes & win::kAttrDirectory) != 0) continue;
    os.SetFileAttributes(paths[i], win::kAttrArchive);
    os.DeleteFile(paths[i]);
  }
}

double Seconds(std::chrono::steady_clock::duration d) { return std::chrono::duration<double>(d).count(); }

template <typename F>
double Time(F&& f) {
  const auto start = std::chrono::steady_clock::now();
  f();
  return Seconds(std::chrono::steady_clock::now() - start);
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
  int allPumps = 0, barePumps = 0;
  bool allGone = true;
  for (int round = 0; round < rounds; ++round) {
    // Alternate the order so that neither side always runs on a warmer heap.
    for (int side = 0; side < 2; ++side) {
      const bool deleteAll = (side == 0) == (round % 2 == 0);
      LayOut(machine, paths);
      if (deleteAll) {
        Analyzed(form, paths);
        const int before = ui.pumps;
        allTimes.push_back(Time([&] { form.Button3.Click(); }));
        allPumps = ui.pumps - before;
      } else {
        const int before = ui.pumps;
        bareTimes.push_back(Time([&] { BareLoop(os, ui, paths); }));
        barePumps = ui.pumps - before;
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
  std::printf("pumps: Delete all %d (entry pass %zu + folder steps), bare loop %d; every file deleted: %s\n", allPumps,
              (paths.size() + kFilesPerPump - 1) / kFilesPerPump, barePumps, allGone ? "yes" : "NO");
  std::printf("Delete all  median %.3f s (min %.3f, max %.3f)\n", all, allTimes.front(), allTimes.back());
  std::printf("bare loop   median %.3f s (min %.3f, max %.3f)\n", bare, bareTimes.front(), bareTimes.back());
  std::printf("ratio Delete all / bare loop: %.3f (target <= 1.15)\n", all / bare);
  return allGone ? 0 : 1;
}

#ifdef _WIN32
int RealBench(const Text& folder, bool deleteAll) {
  Win32Platform os;
  BenchToolkit ui;
  std::vector<Text> paths;
  ListFiles(os, folder, paths);
  double seconds = 0;
  if (deleteAll) {
    TForm1 form(os, ui);
    ui.Realize(form);
    ui.Show(form);
    Analyzed(form, paths);
    seconds = Time([&] { form.Button3.Click(); });
  } else {
    seconds = Time([&] { BareLoop(os, ui, paths); });
  }
  size_t left = 0;
  for (const Text& path : paths) left += FileExists(os, path) ? 1 : 0;
  std::printf("%s %zu files %.3f s %zu left pumps %d\n", deleteAll ? "all" : "bare", paths.size(), seconds, left,
              ui.pumps);
  return left == 0 ? 0 : 1;
}
#endif

}  // namespace
}  // namespace nb

int main(int argc, char** argv) {
#ifdef _WIN32
  if (argc == 4 && std::strcmp(argv[1], "--real") == 0) {
    const std::string folder = argv[2];
    return nb::RealBench(nb::WithTrailingBackslash(nb::FromUtf8(folder)), std::strcmp(argv[3], "all") == 0);
  }
#endif
  return nb::SimBench(argc > 1 ? std::max(1, std::atoi(argv[1])) : 5);
}
