// A million findings (or as many as asked) through the whole window: Analyze
// of one temp folder holding them (the real handler, its scanner and pumps),
// the section click that fills the results list, the column clicks that sort
// it, paging through it with a repaint per page, and what it all costs in
// memory. The folder tree is synthetic: listings are made up on the fly, so
// the machine itself costs nothing and every byte measured is the program's.
//
//   nb_bench_million [findings]
// On Linux the window is the headless toolkit's; on Windows (and under Wine)
// it is the real window of the win32 toolkit, painted at every page, and a
// second Analyze measures how soon a click on "Stop" during the run shows its
// question: another thread clicks, waits for the box and answers it No.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "app/Form1.h"
#include "state/ResultEntry.h"
#include "catalogue/Catalogue.h"
#include "platform/sim/SimPlatform.h"

#ifdef _WIN32
#include <windows.h>
#include <psapi.h>

#include <thread>

#include "ui/win32/Win32Toolkit.h"
#else
#include <malloc.h>
#include <sys/resource.h>

#include "ui/headless/HeadlessToolkit.h"
#endif

namespace nb {
namespace {

using Clock = std::chrono::steady_clock;
constexpr size_t kFilesPerFolder = 100;
const Text kRoot = u"C:\\Users\\Tester\\AppData\\Local\\Temp\\";

double Seconds(Clock::time_point from) { return std::chrono::duration<double>(Clock::now() - from).count(); }

// Entries made up as they are read: nothing is held per file.
class MadeUpListing : public FolderListing {
 public:
  MadeUpListing(size_t count, bool folders, uint32_t seed) : count_(count), folders_(folders), seed_(seed) {}
  bool Next(FindEntry& entry) override {
    if (next_ >= count_) return false;
    Fill(entry, next_++);
    return true;
  }
  void Fill(FindEntry& entry, size_t i) {
    seed_ = seed_ * 1103515245u + 12345u;
    entry.attributes = folders_ ? winapi::kAttrDirectory : winapi::kAttrArchive;
    entry.size = folders_ ? 0 : (seed_ >> 8) % 3000000;
    entry.name = folders_ ? u"cache" + NumberText(int64_t(i)) : u"f_" + NumberText(int64_t(i)) + u".tmp";
  }

 private:
  size_t count_;
  bool folders_;
  uint32_t seed_;
  size_t next_ = 1;
};

// The simulated machine, with a temp folder of `findings` files in folders of
// a hundred whose listings are made up.
class MadeUpTree : public sim::SimPlatform {
 public:
  MadeUpTree(sim::SimMachine& machine, size_t findings) : SimPlatform(machine), findings_(findings) {}

  std::unique_ptr<FolderListing> FindFirst(const Text& pattern, FindEntry& first) override {
    if (!StartsWith(pattern, kRoot)) return SimPlatform::FindFirst(pattern, first);
    const Text below = pattern.substr(kRoot.size());
    const size_t folders = (findings_ + kFilesPerFolder - 1) / kFilesPerFolder;
    std::unique_ptr<MadeUpListing> listing;
    if (below == u"*.*") {
      listing = std::make_unique<MadeUpListing>(folders, true, 1);
    } else {
      const size_t folder = size_t(std::stoull(ToUtf8(below.substr(5, below.find(u'\\') - 5))));
      const size_t files = std::min(kFilesPerFolder, findings_ - folder * kFilesPerFolder);
      listing = std::make_unique<MadeUpListing>(files, false, uint32_t(folder));
    }
    listing->Fill(first, 0);
    return listing;
  }

 private:
  size_t findings_;
};

// Bytes the process holds in its heap now, and the most it has held.
struct Memory {
  double now = 0;
  double peak = 0;
};

Memory MemoryInUse() {
#ifdef _WIN32
  PROCESS_MEMORY_COUNTERS counters{};
  counters.cb = sizeof counters;
  ::K32GetProcessMemoryInfo(::GetCurrentProcess(), &counters, sizeof counters);
  return {double(counters.PagefileUsage), double(counters.PeakPagefileUsage)};
#else
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  const auto heap = mallinfo2();  // small blocks and the mapped large ones
  return {double(heap.uordblks + heap.hblkhd), double(usage.ru_maxrss) * 1024.0};
#endif
}

#ifdef _WIN32
using Toolkit = ui::win32::Win32Toolkit;
std::unique_ptr<Toolkit> MakeToolkit() { return std::make_unique<Toolkit>(::GetModuleHandleW(nullptr)); }
void PaintNow(ui::Control& list) { ::UpdateWindow(Toolkit::WindowOf(list)); }

// The message box the user-interface thread shows, if any.
HWND BoxOf(DWORD thread) {
  HWND box = nullptr;
  ::EnumThreadWindows(
      thread,
      [](HWND window, LPARAM found) CALLBACK -> BOOL {
        wchar_t name[16] = {};
        ::GetClassNameW(window, name, 16);
        if (std::wstring(name) != L"#32770" || !::IsWindowVisible(window)) return TRUE;
        *reinterpret_cast<HWND*>(found) = window;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&box));
  return box;
}

// Runs Analyze again; 300 ms into it another thread clicks "Stop" and times
// how long the question takes to show, then answers No. Milliseconds, or -1.
double StopLatency(TForm1& form) {
  const HWND button = Toolkit::WindowOf(form.Button2);
  const DWORD uiThread = ::GetCurrentThreadId();
  double latency = -1;
  std::thread clicker([&] {
    // The caption as the window holds it, read without a message to the busy thread.
    const auto caption = [&] {
      wchar_t text[16] = {};
      ::InternalGetWindowText(button, text, 16);
      return std::wstring(text);
    };
    while (caption() != L"Stop") ::Sleep(1);
    ::Sleep(300);
    const auto clicked = Clock::now();
    ::PostMessageW(button, BM_CLICK, 0, 0);
    HWND box = nullptr;
    while (!box && Seconds(clicked) < 10) box = BoxOf(uiThread);
    if (!box) return;
    latency = Seconds(clicked) * 1e3;
    ::SendMessageW(::GetDlgItem(box, IDNO), BM_CLICK, 0, 0);
  });
  form.Button2Click();
  clicker.join();
  return latency;
}
#else
using Toolkit = ui::HeadlessToolkit;
std::unique_ptr<Toolkit> MakeToolkit() { return std::make_unique<Toolkit>(); }
void PaintNow(ui::Control&) {}
#endif

int Run(size_t findings) {
  sim::SimMachine machine;
  machine.SetUpStandardUser();
  machine.AddFolder(kRoot);
  machine.SetString(winapi::kHkeyCurrentUser, u"SOFTWARE\\Quellmark\\Nightbroom", u"Sections", u"1000000000000000");
  MadeUpTree os(machine, findings);
  auto toolkit = MakeToolkit();
  TForm1 form(os, *toolkit);
  toolkit->Realize(form);
  toolkit->Show(form);
  form.State.Loc.TempFolders = {kRoot};
  const Memory start = MemoryInUse();

  auto t = Clock::now();
  form.Button2Click();  // Analyze
  const double analyze = Seconds(t);
  const size_t found = form.State.Results.Count();
  size_t textBytes = 0;
  for (size_t i = 0; i < found; ++i) textBytes += EntryText(form.State.Results, i, u".").size() * sizeof(char16_t);
  const Memory analyzed = MemoryInUse();

  const auto [group, item] = PositionOfSection(u"01");
  t = Clock::now();
  form.List1ItemClick(group, item);
  PaintNow(form.List2);
  const double fill = Seconds(t);
  const Memory filled = MemoryInUse();

  t = Clock::now();
  form.List2ColumnClick(1);  // by size
  PaintNow(form.List2);
  const double sortSize = Seconds(t);
  t = Clock::now();
  form.List2ColumnClick(0);  // by name
  PaintNow(form.List2);
  const double sortName = Seconds(t);

  constexpr int kPages = 200;
  t = Clock::now();
  for (int page = 0; page < kPages; ++page) {
    form.List2.KeyDown(ui::ListKey::PageDown);
    PaintNow(form.List2);
  }
  const double paging = Seconds(t);
  const Memory end = MemoryInUse();

  const double n = double(found);
  std::printf("findings %zu (asked %zu), rows %d\n", found, findings, form.List2.RowCount(0));
  std::printf("Analyze                 %.3f s\n", analyze);
  std::printf("store: text %.1f B/finding, held %.1f B/finding, ratio %.2f (target <= 2)\n", double(textBytes) / n,
              double(form.State.Results.BytesHeld()) / n, double(form.State.Results.BytesHeld()) / double(textBytes));
  std::printf("fill List2 (one section) %.3f s (target <= 0.5 s for 1,000,000)\n", fill);
  std::printf("sort by size             %.3f s, by name %.3f s (target <= 1 s)\n", sortSize, sortName);
  std::printf("page down x%d, painted   %.3f s, %.2f ms a page\n", kPages, paging, paging * 1e3 / kPages);
  std::printf("memory per finding: after Analyze %.1f B, after the fill %.1f B (target <= 250 B)\n",
              (analyzed.now - start.now) / n, (filled.now - start.now) / n);
  std::printf("memory: now %.1f MB, peak %.1f MB\n", end.now / 1048576.0, end.peak / 1048576.0);
  std::printf("afterwards: busy %s, \"%s\" button reads \"%s\"\n", form.State.Busy() ? "yes" : "no",
              "Analyze", ToUtf8(form.Button2.Caption()).c_str());
#ifdef _WIN32
  if (analyze > 1.0) {
    for (int run = 0; run < 3; ++run)
      std::printf("Stop question shown %.1f ms after the click (target <= 50 ms)\n", StopLatency(form));
  }
#endif
  form.DropPeers();
  return found == findings && size_t(form.List2.RowCount(0)) == findings ? 0 : 1;
}

}  // namespace
}  // namespace nb

int main(int argc, char** argv) {
  const size_t findings = argc > 1 ? size_t(std::strtoull(argv[1], nullptr, 10)) : 1000000;
  return nb::Run(findings);
}
