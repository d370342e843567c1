// "Delete all": every finding of the sections ticked now, then the folders
// the deleted files leave empty.
#include <new>

#include "app/Form1.h"
#include "app/Settings.h"
#include "catalogue/RunningApps.h"
#include "delete/DeleteAllSteps.h"

namespace nb {

namespace {

constexpr uint32_t kQuestion = win::kMbYesNo | win::kMbIconQuestion;

}  // namespace

void TForm1::Button3Click() {
  if (State.Busy) {
    // "Stop": the run holding the flag sees it cleared at its next check.
    if (Ui.ShowMessage(u"Are you sure you want to cancel deleting?", u"Confirmation", kQuestion) == win::kIdYes)
      State.Busy = false;
    return;
  }

  CheckRunningApps(Os, State);
  if (State.BrowserRunning &&
      Ui.ShowMessage(u"We recommend you close all browsers before cleaning. Are you sure you want to continue?",
                     u"Confirmation", kQuestion) == win::kIdNo)
    return;
  if (State.SkypeRunning &&
      Ui.ShowMessage(u"We recommend you close Skype before cleaning. Are you sure you want to continue?",
                     u"Confirmation", kQuestion) == win::kIdNo)
    return;

  // Ticks changed during the run are saved but do not change what it deletes.
  const Text mask = LoadSectionMask(Os);
  ActionPanel.SetCaption(u"Deleting. Please wait...");
  Button2.SetEnabled(false);
  Button3.SetCaption(u"Stop");
  Button4.SetEnabled(false);
  {
    BusyScope busy(State);
    RunContext ctx = Context();
    try {
      DeleteStoredFindings(ctx, mask);
      PruneLeftoverFolders(ctx, mask);
    } catch (const std::bad_alloc&) {
      // Out of memory: the run ends as a stopped one; what it did not reach stays.
    }
  }
  List2.RemoveGroupRows(0);  // its rows show the store's texts
  State.Results.Clear();
  List3.Clear();
  List2.SetVisible(false);
  ActionPanel.SetCaption(u"Files from selected categories have been deleted");
  for (ui::Label* label : {&Label1, &Label2, &Label3, &Label4}) label->SetVisible(false);
  Button3.SetCaption(u"Delete");
  for (ui::Button* button : {&Button2, &Button3, &Button4}) button->SetEnabled(true);
  Button4.SetFocus();
}

}  // namespace nb
