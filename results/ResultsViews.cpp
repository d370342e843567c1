// The views on the results store: a section click fills the results list with
// that section's findings, "Check all" and "Uncheck all" tick or untick every
// row, a column click regroups the rows.
#include "app/Form1.h"
#include "catalogue/Catalogue.h"

namespace nb {

namespace {

// The list is filled in runs of this many entries between two pumps.
constexpr size_t kEntriesPerPump = 100;

void SetAllChecks(ui::TEasyListview& list, bool checked) {
  for (int row = 0; row < list.RowCount(0); ++row) list.SetChecked(0, row, checked);
}

}  // namespace

void TForm1::List1ItemClick(int group, int item) {
  if (State.Busy || State.Results.Empty()) return;
  List2.RemoveGroupRows(0);
  List3.Clear();
  State.ShownSection.clear();
  State.ShownSection = SectionForPosition(group, item);
  if (State.ShownSection.empty()) return;

  State.Busy = true;
  List2.BeginUpdate();
  // A section's entries form one unbroken run of the store: the fill stops at
  // the first entry after it. A Stop answered Yes meanwhile does not shorten it.
  const ResultStore& store = State.Results;
  for (size_t i = 0; i < store.Count(); ++i) {
    if (i % kEntriesPerPump == 0) Ui.PumpMessages();
    if (i >= store.Count()) break;  // something run by the pump emptied the store
    const bool inSection = store.EntryStartsWith(i, State.ShownSection);
    if (!inSection) {
      if (List2.RowCount(0) > 0) break;
      continue;
    }
    const EntryViews parts = SplitEntryView(store.View(i));
    List2.AddRow(0, Text(parts.subject), Text(parts.sizeText), true);
  }
  List2.EndUpdate();
  State.Busy = false;
}

void TForm1::Label1Click() {
  if (!State.Busy) SetAllChecks(List2, true);
}

void TForm1::Label2Click() {
  if (!State.Busy) SetAllChecks(List2, false);
}

void TForm1::List2ColumnClick(int column) {
  if (!State.Busy) List2.RegroupByColumn(column);
}

}  // namespace nb
