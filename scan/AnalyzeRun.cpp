#include "scan/AnalyzeRun.h"

#include <algorithm>
#include <new>

#include "catalogue/Catalogue.h"
#include "scan/ScanPlans.h"
#include "state/SizeText.h"

namespace nb {

void ClearFindings(AppState& state) {
  state.SectionFindingCounts = {};
  state.SectionKbTotals = {};
  state.Results.Clear();
  state.Roots.Clear();
  state.FoundValues.clear();
  state.Protected = {};
}

void AnalyzeSections(RunContext& run, const Text& mask) {
  try {
    for (int section = 1; section <= kSectionCount; ++section) {
      if (MaskTicks(mask, section) && !RunSectionPlan(run, section)) return;
      if (section < kSectionCount && !PumpAndCheck(run)) return;
    }
  } catch (const std::bad_alloc&) {
    // Out of memory: the run ends as a stopped one, with what it stored.
  }
}

Text SummaryText(const AppState& state) {
  int64_t count = 0;
  for (int32_t sectionCount : state.SectionFindingCounts) count += sectionCount;
  int64_t kilobytes = 0;
  for (int64_t total : state.SectionKbTotals) kilobytes += total;
  Text text = u"Total:" + NumberText(count) + u" items found, ";
  AppendFixed2(text, uint64_t(std::max<int64_t>(kilobytes, 0)), 1024, state.DecimalSeparator);
  return text + u" MB";
}

}  // namespace nb
