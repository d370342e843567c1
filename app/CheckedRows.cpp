#include "app/CheckedRows.h"

#include <algorithm>
#include <new>
#include <utility>
#include <vector>

#include "delete/DeleteFinding.h"
#include "app/ResultsRows.h"
#include "results/RowCaptions.h"

namespace nb {

namespace {

// Removes the findings `gone` marks from the store, and moves each remaining
// row's item to its finding's new place.
void RemoveDeletedFindings(ResultStore& store, const std::vector<bool>& gone, ui::TEasyListview& list) {
  std::vector<uint32_t> place(gone.size(), ui::kNoRowItem);
  std::vector<bool> keep(gone.size());
  uint32_t kept = 0;
  for (size_t i = 0; i < gone.size(); ++i) {
    keep[i] = !gone[i];
    if (keep[i]) place[i] = kept++;
  }
  store.KeepOnly(keep);
  for (int row = 0; row < list.RowCount(kFindingsGroup); ++row) {
    const uint32_t item = list.RowItem(kFindingsGroup, row);
    list.SetRowItem(kFindingsGroup, row, item < place.size() ? place[item] : ui::kNoRowItem);
  }
}

}  // namespace

int CountRowsToDelete(const ui::TEasyListview& list) {
  int ticked = 0;
  for (int row = 0; row < list.RowCount(kFindingsGroup); ++row)
    if (list.Checked(kFindingsGroup, row) && list.RowItem(kFindingsGroup, row) != ui::kNoRowItem) ++ticked;
  return ticked;
}

uint32_t DeleteCheckedRows(RunContext& run, ui::TEasyListview& list) {
  ResultStore& store = run.state.Results;
  uint32_t deleted = 0;
  std::vector<bool> gone(store.Count(), false);
  FoundFileDeleter files(run.os, run.state.Roots);
  try {
    // The findings go in the order Analyze stored them, a folder after the
    // other, whatever order a column click gave the rows: each folder is then
    // opened once, not once per row.
    std::vector<std::pair<uint32_t, int>> ticked;  // finding, row
    const int rows = list.RowCount(kFindingsGroup);
    for (int row = 0; row < rows; ++row) {
      const uint32_t item = list.RowItem(kFindingsGroup, row);
      if (list.Checked(kFindingsGroup, row) && item < gone.size()) ticked.emplace_back(item, row);
    }
    std::sort(ticked.begin(), ticked.end());
    // One pump per row, ticked or not.
    for (size_t step = 0; step < size_t(rows); ++step) {
      // A Yes to another operation's cancel question cleared the flag: stop here.
      if (!PumpAndCheck(run)) break;
      if (step >= ticked.size()) continue;
      const auto [item, row] = ticked[step];
      if (gone[item] || row >= list.RowCount(kFindingsGroup)) continue;
      if (DeleteFindingAt(run.state, run.os, files, item) != DeleteOutcome::Deleted) continue;
      ++deleted;
      gone[item] = true;
      list.SetRowCaption(kFindingsGroup, row, DeletedCaption(store, item));
      list.SetRowItem(kFindingsGroup, row, ui::kNoRowItem);
    }
  } catch (const std::bad_alloc&) {
    // Out of memory: the pass ends there; what it deleted is counted.
  }
  try {
    RemoveDeletedFindings(store, gone, list);
  } catch (const std::bad_alloc&) {
    // Out of memory: the deleted findings stay in the store, where a later run finds them gone.
  }
  return deleted;
}

}  // namespace nb
