// The handlers of the long operations. Each marks the window running while its
// work runs; meanwhile the same button asks whether to stop, and a Yes asks
// for a Stop, so that the work, further down this thread's stack inside a
// pump, finishes at its next check.
#include "app/Form1.h"
#include "app/CheckedRows.h"
#include "app/Settings.h"
#include "catalogue/RunningApps.h"
#include "delete/DeleteAll.h"
#include "app/ResultsRows.h"
#include "scan/AnalyzeRun.h"

namespace nb {

namespace {

constexpr uint32_t kQuestion = winapi::kMbYesNo | winapi::kMbIconQuestion;

}  // namespace

void TForm1::Button2Click() {
  if (State.Busy()) {
    if (Ui.ShowMessage(u"Are you sure you want to cancel scan?", u"Confirmation", kQuestion) == winapi::kIdYes)
      State.StopRequested = true;
    return;
  }

  // The run keeps the mask it starts with; ticking sections meanwhile only saves the new one.
  const Text mask = LoadSectionMask(Os);
  List2.RemoveGroupRows(kFindingsGroup);  // gives back the store's texts before they go
  ClearFindings(State);
  List3.Clear();
  List2.SetVisible(true);
  for (ui::Label* label : {&Label1, &Label2, &Label3, &Label4}) label->SetVisible(false);
  ActionPanel.SetCaption(u"Analyzing. Please wait...");
  Button2.SetCaption(u"Stop");
  Button4.SetEnabled(false);
  {
    BusyScope busy(State);
    RunContext run = Context();
    AnalyzeSections(run, mask);
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

void TForm1::Button3Click() {
  if (State.Busy()) {
    if (Ui.ShowMessage(u"Are you sure you want to cancel deleting?", u"Confirmation", kQuestion) == winapi::kIdYes)
      State.StopRequested = true;
    return;
  }

  CheckRunningApps(Os, State);
  if (State.BrowserRunning &&
      Ui.ShowMessage(u"We recommend you close all browsers before cleaning. Are you sure you want to continue?",
                     u"Confirmation", kQuestion) == winapi::kIdNo)
    return;
  if (State.SkypeRunning &&
      Ui.ShowMessage(u"We recommend you close Skype before cleaning. Are you sure you want to continue?",
                     u"Confirmation", kQuestion) == winapi::kIdNo)
    return;

  // Ticks changed during the run are saved but do not change what it deletes.
  const Text mask = LoadSectionMask(Os);
  ActionPanel.SetCaption(u"Deleting. Please wait...");
  Button2.SetEnabled(false);
  Button3.SetCaption(u"Stop");
  Button4.SetEnabled(false);
  DeleteAllReport report;
  {
    BusyScope busy(State);
    RunContext run = Context();
    report = DeleteAllFindings(run, mask);
  }
  List2.RemoveGroupRows(kFindingsGroup);  // gives back the store's texts before they go
  List3.Clear();
  // What stayed is not hidden behind the success line: its findings stay in
  // the store, a section click lists them, and "Delete" tries them again.
  const bool stayed = report.Stayed() > 0;
  if (stayed)
    State.Results.KeepOnly(report.stays);
  else
    State.Results.Clear();
  List2.SetVisible(stayed);
  ActionPanel.SetCaption(DeleteAllStatus(report));
  for (ui::Label* label : {&Label1, &Label2, &Label3, &Label4}) label->SetVisible(false);
  Button3.SetCaption(u"Delete");
  for (ui::Button* button : {&Button2, &Button3, &Button4}) button->SetEnabled(true);
  Button4.SetFocus();
}

void TForm1::Label3Click() {
  if (State.Busy()) return;
  if (CountRowsToDelete(List2) == 0) {
    Ui.ShowMessage(u"Please select items.", u"Information", winapi::kMbIconInformation);
    return;
  }
  if (Ui.ShowMessage(u"Are you sure you want to delete checked items?", u"Confirmation", kQuestion) == winapi::kIdNo)
    return;

  // Running keeps every section click, Analyze or Delete all run
  // started from a pump below from changing the list or the store under the pass.
  uint32_t deleted = 0;
  {
    BusyScope busy(State);
    RunContext run = Context();
    deleted = DeleteCheckedRows(run, List2);
  }
  Label4.SetCaption(u"");
  if (deleted > 0)
    Ui.ShowMessage(NumberTextUnsigned(deleted) + u" items have been deleted", u"Confirmation",
                   winapi::kMbIconInformation);
}

}  // namespace nb
