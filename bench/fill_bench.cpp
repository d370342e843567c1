// Cost of filling the results list with one section's findings (a click on the
// section) against copying the same texts into a vector: the list's own cost
// over the least any fill must do. The sides take turns in going first. Exits
// non-zero when the list or the copy lacks a row.
//   nb_bench_fill [findings] [rounds]
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "app/Form1.h"
#include "state/ResultEntry.h"
#include "BenchClock.h"
#include "platform/sim/SimPlatform.h"
#include "ui/headless/HeadlessToolkit.h"

namespace nb {
namespace {

using bench::Now;

struct Copied {
  Text caption;
  Text detail;
};

int Run(int findings, int rounds) {
  sim::SimMachine machine;
  machine.SetUpStandardUser();
  sim::SimPlatform os(machine);
  ui::HeadlessToolkit toolkit;
  TForm1 form(os, toolkit);
  toolkit.Realize(form);
  toolkit.Show(form);
  for (int i = 0; i < findings; ++i)
    form.State.Results.Append(sections::kTemp,
                              u"C:\\Users\\Tester\\AppData\\Local\\Temp\\cache" + NumberText(i % 100) + u"\\entry" +
                                  NumberText(i) + u"\\f_" + NumberText(i % 10) + u".tmp",
                              uint64_t(i % 1000) * 1024 + 256);

  std::vector<double> fill, copy, ratio;
  bool allRows = true;
  for (int round = 0; round <= rounds; ++round) {
    double filled = 0, copied = 0;
    for (int side = 0; side < 2; ++side) {
      if ((side == 0) == (round % 2 == 0)) {
        // As after an Analyze run, the list starts empty: removing the rows of
        // an earlier fill is not part of the fill.
        form.List2.RemoveGroupRows(0);
        const double t0 = Now();
        form.List1ItemClick(0, 0);
        filled = Now() - t0;
        allRows = allRows && form.List2.RowCount(0) == findings;
      } else {
        std::vector<Copied> rows;  // grows as the list's rows do
        const double t0 = Now();
        const ResultStore& store = form.State.Results;
        for (size_t i = 0; i < store.Count(); ++i)
          rows.push_back({Text(store.Subject(i)), FindingSizeText(store.Section(i), store.Size(i), u".")});
        copied = Now() - t0;
        allRows = allRows && rows.size() == size_t(findings);
      }
    }
    if (round == 0) continue;  // warm-up
    fill.push_back(filled);
    copy.push_back(copied);
    ratio.push_back(filled / copied);
  }
  std::sort(fill.begin(), fill.end());
  std::sort(copy.begin(), copy.end());
  std::sort(ratio.begin(), ratio.end());
  const size_t mid = fill.size() / 2;
  std::printf("findings %d, rounds %d\n", findings, rounds);
  std::printf("fill List2 ms: min %.1f median %.1f max %.1f\n", fill.front() * 1e3, fill[mid] * 1e3, fill.back() * 1e3);
  std::printf("copy       ms: min %.1f median %.1f max %.1f\n", copy.front() * 1e3, copy[mid] * 1e3, copy.back() * 1e3);
  std::printf("ratio        : min %.2f median %.2f max %.2f (target <= 1.5)\n", ratio.front(), ratio[mid],
              ratio.back());
  if (!allRows) std::printf("NOT DONE: rows missing, %d of %d in the list\n", form.List2.RowCount(0), findings);
  return allRows ? 0 : 1;
}

}  // namespace
}  // namespace nb

int main(int argc, char** argv) {
  const int findings = argc > 1 ? std::max(1, std::atoi(argv[1])) : 100000;
  const int rounds = argc > 2 ? std::max(1, std::atoi(argv[2])) : 7;
  return nb::Run(findings, rounds);
}
