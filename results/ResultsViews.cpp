// The views on the results store: a section click fills the results list with
// that section's findings, "Check all" and "Uncheck all" tick or untick every
// row, a column click regroups the rows.
#include <new>

#include "app/Form1.h"
#include "catalogue/Catalogue.h"

namespace nb {

namespace {

// The list is filled in runs of this many entries between two pumps.
constexpr size_t kEntriesPerPump = 100;

// Adds a row for every entry of the section, ticked. A section's entries form
// one unbroken run of the store: the fill stops at the first entry after it.
// A Stop answered Yes meanwhile does not shorten it.
void FillSection(const ResultStore& store, const Text& section, UiHost& ui, ui::TEasyListview& list) {
  size_t first = 0;
  while (first < store.Count() && !store.EntryStartsWith(first, section)) ++first;
  size_t end = first;
  while (end < store.Count() && store.EntryStartsWith(end, section)) ++end;
  list.ReserveRows(0, end - first);
  const size_t count = store.Count();
  for (size_t i = 0; i < end; ++i) {
    if (i % kEntriesPerPump == 0) ui.PumpMessages();
    // The busy flag keeps every writer of the store out; should one get in
    // all the same, the rows must not outlive the texts they show.
    if (store.Count() != count) {
      list.RemoveGroupRows(0);
      return;
    }
    if (i < first) continue;
    // The rows show the store's own texts: the store keeps an entry's
    // characters in place until it is emptied, and the list is emptied first.
    const EntryViews parts = SplitEntryView(store.View(i));
    list.AddRowViews(0, parts.subject, parts.sizeText, true);
  }
}

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

  BusyScope busy(State);
  List2.BeginUpdate();
  try {
    FillSection(State.Results, State.ShownSection, Ui, List2);
  } catch (const std::bad_alloc&) {
    // Out of memory: no half-filled list is left.
    List2.RemoveGroupRows(0);
  }
  List2.EndUpdate();
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
