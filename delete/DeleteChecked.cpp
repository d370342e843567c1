#include "delete/DeleteChecked.h"

#include <new>

#include "delete/DeleteCheckedRow.h"
#include "results/RowCaptions.h"

namespace nb {

namespace {

constexpr int kFiles = 0;  // the results list's only group

}  // namespace

int CountRowsToDelete(const ui::TEasyListview& list) {
  int ticked = 0;
  for (int row = 0; row < list.RowCount(kFiles); ++row)
    if (list.Checked(kFiles, row) && !IsDeletedRow(list.RowCaption(kFiles, row))) ++ticked;
  return ticked;
}

uint32_t DeleteCheckedRows(RunContext& ctx, ui::TEasyListview& list) {
  uint32_t deleted = 0;
  FoundFileDeleter files(ctx.os, ctx.state.Folders);
  try {
    const int rows = list.RowCount(kFiles);
    for (int row = 0; row < rows; ++row) {
      // A Yes to another operation's cancel question cleared the flag: stop here.
      if (!PumpAndCheck(ctx) || row >= list.RowCount(kFiles)) break;
      if (!list.Checked(kFiles, row)) continue;
      const Text caption(list.RowCaption(kFiles, row));
      if (IsDeletedRow(caption)) continue;
      if (auto relabel = DeleteCheckedRow(ctx, files, caption, Text(list.RowDetail(kFiles, row)))) {
        ++deleted;
        list.SetRowCaption(kFiles, row, std::move(*relabel));
      }
    }
  } catch (const std::bad_alloc&) {
    // Out of memory: the pass ends there; what it deleted is counted.
  }
  return deleted;
}

}  // namespace nb
