#include "app/ResultsRows.h"

#include <memory>
#include <new>

#include "state/ResultEntry.h"

namespace nb {

namespace {

// The list is filled in runs of this many entries between two pumps.
constexpr size_t kEntriesPerPump = 100;

void AddSectionRows(const ResultStore& store, int section, TextView decimalSeparator, RunHost& host,
                    ui::TEasyListview& list) {
  size_t first = 0;
  while (first < store.Count() && store.Section(first) != section) ++first;
  size_t end = first;
  while (end < store.Count() && store.Section(end) == section) ++end;
  list.ReserveRows(kFindingsGroup, end - first);
  // The rows show the store's own subjects, and size texts written for them
  // here; the list holds both until its rows are removed.
  auto sizeTexts = std::make_shared<PackedTexts>();
  if (first < end) {
    list.KeepTextsOf(kFindingsGroup, store.RegisterViews());
    list.KeepTextsOf(kFindingsGroup, sizeTexts);
  }
  const size_t sizeTextRoom = kFindingSizeTextMaxChars + decimalSeparator.size();
  const size_t count = store.Count();
  for (size_t i = 0; i < end; ++i) {
    if (i % kEntriesPerPump == 0) host.PumpMessages();
    // Running keeps every writer of the store out; should one get in
    // all the same, the rows must not outlive the texts they show.
    if (store.Count() != count) {
      list.RemoveGroupRows(kFindingsGroup);
      return;
    }
    if (i < first) continue;
    PackedTexts::Place place;
    char16_t* at = sizeTexts->Room(sizeTextRoom, place);
    const size_t chars = WriteFindingSizeText(at, section, store.Size(i), decimalSeparator);
    sizeTexts->GiveBack(sizeTextRoom - chars);
    list.AddRowViews(kFindingsGroup, store.Subject(i), sizeTexts->View(place, chars), true, uint32_t(i));
  }
}

}  // namespace

void FillSection(const ResultStore& store, int section, TextView decimalSeparator, RunHost& host,
                 ui::TEasyListview& list) {
  try {
    AddSectionRows(store, section, decimalSeparator, host, list);
  } catch (const std::bad_alloc&) {
    list.RemoveGroupRows(kFindingsGroup);
  }
}

void SetAllChecks(ui::TEasyListview& list, bool checked) {
  for (int row = 0; row < list.RowCount(kFindingsGroup); ++row) list.SetChecked(kFindingsGroup, row, checked);
}

}  // namespace nb
