#include "app/CheckedRows.h"

#include <new>
#include <vector>

#include "delete/DeleteFinding.h"
#include "results/ResultsViews.h"
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

uint32_t DeleteCheckedRows(RunContext& ctx, ui::TEasyListview& list) {
  ResultStore& store = ctx.state.Results;
  uint32_t deleted = 0;
  std::vector<bool> gone(store.Count(), false);
  FoundFileDeleter files(ctx.os, ctx.state.Folders);
  try {
    const int rows = list.RowCount(kFindingsGroup);
    for (int row = 0; row < rows; ++row) {
      // A Yes to another operation's cancel question cleared the flag: stop here.
      if (!PumpAndCheck(ctx) || row >= list.RowCount(kFindingsGroup)) break;
      const uint32_t item = list.RowItem(kFindingsGroup, row);
      if (!list.Checked(kFindingsGroup, row) || item >= gone.size() || gone[item]) continue;
      if (DeleteFindingAt(ctx.state, ctx.os, files, item) != DeleteOutcome::Deleted) continue;
      ++deleted;
      gone[item] = true;
      list.SetRowCaption(kFindingsGroup, row, DeletedCaption(store.View(item)));
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
