// "Delete checked": the ticked rows of the results list, after one question.
#include <new>

#include "app/Form1.h"
#include "delete/DeleteCheckedRow.h"

namespace nb {

namespace {

constexpr int kFiles = 0;  // the results list's only group

}  // namespace

void TForm1::Label3Click() {
  if (State.Busy) return;

  // Rows deleted by an earlier click stay in the list, ticked, until the next
  // fill: there is nothing left to delete behind them.
  int ticked = 0;
  for (int row = 0; row < List2.RowCount(kFiles); ++row)
    if (List2.Checked(kFiles, row) && !IsDeletedRow(List2.RowCaption(kFiles, row))) ++ticked;
  if (ticked == 0) {
    Ui.ShowMessage(u"Please select items.", u"Information", win::kMbIconInformation);
    return;
  }
  if (Ui.ShowMessage(u"Are you sure you want to delete checked items?", u"Confirmation",
                     win::kMbYesNo | win::kMbIconQuestion) == win::kIdNo)
    return;

  // Hold the busy flag so that no section click, Analyze or Delete all run
  // started from a pump below changes the list or the store under this pass.
  uint32_t deleted = 0;
  {
    BusyScope busy(State);
    RunContext ctx = Context();
    FoundFileDeleter files(Os, State.Folders);
    try {
      const int rows = List2.RowCount(kFiles);
      for (int row = 0; row < rows; ++row) {
        Ui.PumpMessages();
        // A Yes to another operation's cancel question cleared the flag: stop here.
        if (!State.Busy || row >= List2.RowCount(kFiles)) break;
        if (!List2.Checked(kFiles, row)) continue;
        const Text caption(List2.RowCaption(kFiles, row));
        if (IsDeletedRow(caption)) continue;
        if (auto relabel = DeleteCheckedRow(ctx, files, caption, Text(List2.RowDetail(kFiles, row)))) {
          ++deleted;
          List2.SetRowCaption(kFiles, row, std::move(*relabel));
        }
      }
    } catch (const std::bad_alloc&) {
      // Out of memory: the pass ends there; what it deleted is counted.
    }
  }

  Label4.SetCaption(u"");
  if (deleted > 0)
    Ui.ShowMessage(NumberTextUnsigned(deleted) + u" items have been deleted", u"Confirmation",
                   win::kMbIconInformation);
}

}  // namespace nb
