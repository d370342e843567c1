#include "app/ResultsRows.h"

#include <new>

namespace nb {

namespace {

// The list is filled in runs of this many entries between two pumps.
constexpr size_t kEntriesPerPump = 100;

void AddSectionRows(const ResultStore& store, const Text& section, RunHost& host, ui::TEasyListview& list) {
  size_t first = 0;
  while (first < store.Count() && !store.EntryStartsWith(first, section)) ++first;
  size_t end = first;
  while (end < store.Count() && store.EntryStartsWith(end, section)) ++end;
  list.ReserveRows(kFindingsGroup, end - first);
  // The rows show the store's own texts; the list holds the store's
  // registration of them until its rows are removed.
  if (first < end) list.KeepTextsOf(kFindingsGroup, store.RegisterViews());
  const size_t count = store.Count();
  for (size_t i = 0; i < end; ++i) {
    if (i % kEntriesPerPump == 0) host.PumpMessages();
    // The busy flag keeps every writer of the store out; should one get in
    // all the same, the rows must not outlive the texts they show.
    if (store.Count() != count) {
      list.RemoveGroupRows(kFindingsGroup);
      return;
    }
    if (i < first) continue;
    const EntryViews parts = SplitEntryView(store.View(i));
    list.AddRowViews(kFindingsGroup, parts.subject, parts.sizeText, true, uint32_t(i));
  }
}

}  // namespace

void FillSection(const ResultStore& store, const Text& section, RunHost& host, ui::TEasyListview& list) {
  try {
    AddSectionRows(store, section, host, list);
  } catch (const std::bad_alloc&) {
    list.RemoveGroupRows(kFindingsGroup);
  }
}

void SetAllChecks(ui::TEasyListview& list, bool checked) {
  for (int row = 0; row < list.RowCount(kFindingsGroup); ++row) list.SetChecked(kFindingsGroup, row, checked);
}

}  // namespace nb
