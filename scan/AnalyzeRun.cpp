// "Analyze": collects the findings of every ticked section into the results
// store, keeps the window alive by pumping, and can be stopped with the same
// button, then captioned "Stop".
#include <algorithm>
#include <new>

#include "app/Form1.h"
#include "app/Settings.h"
#include "catalogue/Catalogue.h"
#include "scan/ScanPlans.h"
#include "scan/SizeText.h"

namespace nb {

namespace {

// Runs the plans of the ticked sections in code order. Returns when all are
// done or as soon as a check finds the busy flag clear.
void AnalyzeSections(RunContext& run, const Text& mask) {
  for (int section = 1; section <= kSectionCount; ++section) {
    if (MaskTicks(mask, section) && !RunSectionPlan(run, section)) return;
    if (section < kSectionCount && !PumpAndCheck(run)) return;
  }
}

// "Total:12 items found, 3.50 MB"
Text SummaryText(const AppState& state) {
  int64_t count = 0;
  for (int32_t sectionCount : state.SectionFileCounts) count += sectionCount;
  int64_t kilobytes = 0;
  for (int64_t total : state.SectionKbTotals) kilobytes += total;
  Text text = u"Total:" + NumberText(count) + u" items found, ";
  AppendFixed2(text, uint64_t(std::max<int64_t>(kilobytes, 0)), 1024, state.DecimalSeparator);
  return text + u" MB";
}

}  // namespace

void TForm1::Button2Click() {
  if (State.Busy) {
    // A run (or another long operation) is going further down this thread's
    // stack, inside a pump; clearing the flag makes it finish at its next check.
    if (Ui.ShowMessage(u"Are you sure you want to cancel scan?", u"Confirmation",
                       win::kMbYesNo | win::kMbIconQuestion) == win::kIdYes)
      State.Busy = false;
    return;
  }

  // The run keeps the mask it starts with; ticking sections meanwhile only saves the new one.
  const Text mask = LoadSectionMask(Os);
  State.SectionFileCounts = {};
  State.SectionKbTotals = {};
  List2.RemoveGroupRows(0);  // its rows show the store's texts
  State.Results.Clear();
  State.Folders.Clear();
  List3.Clear();
  List2.SetVisible(true);
  for (ui::Label* label : {&Label1, &Label2, &Label3, &Label4}) label->SetVisible(false);
  ActionPanel.SetCaption(u"Analyzing. Please wait...");
  Button2.SetCaption(u"Stop");
  Button4.SetEnabled(false);
  {
    BusyScope busy(State);
    RunContext run = Context();
    try {
      AnalyzeSections(run, mask);
    } catch (const std::bad_alloc&) {
      // Out of memory: the run ends as a stopped one, with what it stored.
    }
  }
  Button2.SetCaption(u"Analyze");
  Button4.SetEnabled(true);
  Label4.SetCaption(SummaryText(State));
  ActionPanel.SetCaption(u"");
  for (ui::Label* label : {&Label1, &Label2, &Label3, &Label4}) label->SetVisible(true);
  if (!State.Results.Empty()) {
    Button3.SetEnabled(true);
    Button3.SetFocus();
  }
}

}  // namespace nb
