#include "delete/DeleteChecked.h"

#include <new>

#include "delete/DeleteCheckedRow.h"
#include "results/ResultsViews.h"
#include "results/RowCaptions.h"

namespace nb {

int CountRowsToDelete(const ui::TEasyListview& list) {
  int ticked = 0;
  for (int row = 0; row < list.RowCount(kFindingsGroup); ++row)
    if (list.Checked(kFindingsGroup, row) && !IsDeletedRow(list.RowCaption(kFindingsGroup, row))) ++ticked;
  return ticked;
}

uint32_t DeleteCheckedRows(RunContext& ctx, ui::TEasyListview& list) {
  uint32_t deleted = 0;
  FoundFileDeleter files(ctx.os, ctx.state.Folders);
  try {
    const int rows = list.RowCount(kFindingsGroup);
    for (int row = 0; row < rows; ++row) {
      // A Yes to another operation's cancel question cleared the flag: stop here.
      if (!PumpAndCheck(ctx) || row >= list.RowCount(kFindingsGroup)) break;
      if (!list.Checked(kFindingsGroup, row)) continue;
      const Text caption(list.RowCaption(kFindingsGroup, row));
      if (IsDeletedRow(caption)) continue;
      if (auto relabel = DeleteCheckedRow(ctx, files, caption, Text(list.RowDetail(kFindingsGroup, row)))) {
        ++deleted;
        list.SetRowCaption(kFindingsGroup, row, std::move(*relabel));
      }
    }
  } catch (const std::bad_alloc&) {
    // Out of memory: the pass ends there; what it deleted is counted.
  }
  return deleted;
}

}  // namespace nb
