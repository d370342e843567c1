// Cost of filling the results list: 100,000 rows added to TEasyListview with
// repainting suspended, each showing texts that stay where they are (as the
// results store's do), then the one repaint, against putting the same two
// texts per row into a plain std::vector. The ratio shows what the list adds
// of its own. The sides take turns in going first. Exits non-zero when the
// list or the vector lacks a row.
// On Linux the list has no window; on Windows (and under Wine) it lives in a
// hidden window of the win32 back end and the repaint paints the visible rows
// into a memory bitmap.
//
//   nb_bench_listview [rounds] [rows]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include "ui/Controls.h"
#include "ui/EasyListview.h"
#include "ui/Form.h"

#ifdef _WIN32
#include <windows.h>

#include "ui/win32/Gdi.h"
#include "ui/win32/Win32Toolkit.h"
#endif

namespace nb {
namespace {

using Clock = std::chrono::steady_clock;

struct Texts {
  std::vector<Text> captions;
  std::vector<Text> sizes;
};

Texts MakeTexts(int rows) {
  Texts t;
  for (int i = 0; i < rows; ++i) {
    t.captions.push_back(u"C:\\Users\\Tester\\AppData\\Local\\Temp\\cache" + NumberText(i % 97) + u"\\f" +
                         NumberText(i) + u".tmp");
    t.sizes.push_back(NumberText(i % 1000) + u".50 KB");
  }
  return t;
}

double Milliseconds(Clock::time_point from) {
  return std::chrono::duration<double, std::milli>(Clock::now() - from).count();
}

// Milliseconds; `complete` turns false when a row is missing.
double FillVector(const Texts& t, bool& complete) {
  const auto start = Clock::now();
  std::vector<std::pair<TextView, TextView>> rows;
  for (size_t i = 0; i < t.captions.size(); ++i) rows.emplace_back(t.captions[i], t.sizes[i]);
  const double ms = Milliseconds(start);
  complete = complete && rows.size() == t.captions.size();
  return ms;
}

// The window the list lives in; none on Linux.
struct Host {
  ui::Form form{u"Bench", u"TNbBench", u"Bench"};
  ui::Panel panel{&form, u"Panel"};
#ifdef _WIN32
  explicit Host(ui::win32::Win32Toolkit& toolkit) : toolkit_(toolkit) {}
  void Realize(ui::TEasyListview& list) {
    list.SetAlign(ui::Align::Client);
    form.SetClientSize(560, 400);
    toolkit_.Realize(form);  // created, never shown
    list_ = &list;
  }
  // The one repaint: the visible rows, painted into a memory bitmap.
  void Repaint() {
    HWND window = ui::win32::Win32Toolkit::WindowOf(*list_);
    if (!window) std::abort();
    RECT r;
    ::GetClientRect(window, &r);
    ui::win32::WindowDc screen(window);
    ui::win32::UniqueMemoryDc dc(::CreateCompatibleDC(screen.get()));
    ui::win32::UniqueBitmap bitmap(::CreateCompatibleBitmap(screen.get(), r.right, r.bottom));
    ui::win32::Selected keep(dc.get(), bitmap.get());
    ::SendMessageW(window, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc.get()), PRF_CLIENT);
    toolkit_.PumpMessages();
  }
  ~Host() { form.DropPeers(); }
  ui::win32::Win32Toolkit& toolkit_;
  ui::TEasyListview* list_ = nullptr;
#else
  void Realize(ui::TEasyListview& list) {
    list.SetAlign(ui::Align::Client);
    form.SetClientSize(560, 400);
  }
  void Repaint() {}
#endif
};

template <typename MakeHost>
double FillList(const Texts& t, MakeHost makeHost, bool& complete) {
  auto host = makeHost();
  ui::TEasyListview list(&host->panel, u"List2");
  list.AddColumn(u"File", 450);
  list.AddColumn(u"Size", 100, ui::TextAlign::Center);
  list.AddGroup(u"Files");
  host->Realize(list);
  const auto start = Clock::now();
  list.BeginUpdate();
  for (size_t i = 0; i < t.captions.size(); ++i) list.AddRowViews(0, t.captions[i], t.sizes[i], true);
  list.EndUpdate();
  host->Repaint();
  const double ms = Milliseconds(start);
  complete = complete && size_t(list.RowCount(0)) == t.captions.size() && list.RepaintCount() >= 1;
  list.DropPeers();
  return ms;
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

template <typename MakeHost>
int Run(int rounds, int rows, MakeHost makeHost) {
  const Texts texts = MakeTexts(rows);
  bool complete = true;
  FillVector(texts, complete);  // warm-up
  FillList(texts, makeHost, complete);
  std::vector<double> plain, list;
  for (int r = 0; r < rounds; ++r) {
    if (r % 2 == 0) plain.push_back(FillVector(texts, complete));
    list.push_back(FillList(texts, makeHost, complete));
    if (r % 2 == 1) plain.push_back(FillVector(texts, complete));
  }
  std::printf("rows: %d, rounds: %d\n", rows, rounds);
  std::printf("std::vector of the rows' texts: median %.1f ms (%.1f..%.1f)\n", Median(plain),
              *std::min_element(plain.begin(), plain.end()), *std::max_element(plain.begin(), plain.end()));
  std::printf("TEasyListview, repaint suspended, one repaint: median %.1f ms (%.1f..%.1f)\n", Median(list),
              *std::min_element(list.begin(), list.end()), *std::max_element(list.begin(), list.end()));
  std::printf("ratio: %.2f (target <= 1.5)\n", Median(list) / Median(plain));
  if (!complete) std::printf("NOT DONE: rows missing\n");
  return complete ? 0 : 1;
}

}  // namespace
}  // namespace nb

int main(int argc, char** argv) {
  const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 9;
  const int rows = argc > 2 ? std::max(1, std::atoi(argv[2])) : 100000;
#ifdef _WIN32
  nb::ui::win32::Win32Toolkit toolkit(::GetModuleHandleW(nullptr));
  toolkit.UseStyle(nb::ui::win32::PlainStyle());
  return nb::Run(rounds, rows, [&] { return std::make_unique<nb::Host>(toolkit); });
#else
  return nb::Run(rounds, rows, [] { return std::make_unique<nb::Host>(); });
#endif
}
