// "Delete checked" on the results list: each ticked row's finding, found by
// the row's item (its place in the results store), with no search.
#pragma once

#include <cstdint>

#include "state/RunContext.h"
#include "ui/EasyListview.h"

namespace nb {

// The ticked rows whose finding is still there to delete: a row deleted by an
// earlier click stays in the list, ticked, with no item, until the next fill.
int CountRowsToDelete(const ui::TEasyListview& list);

// Deletes the finding behind every ticked row still to delete, in the order
// of the findings in the store, and gives each deleted row its "Deleted"
// caption and no item. Pumps once for every row and stops once a Stop
// is asked for; running out of memory ends the pass there too. Then removes the deleted findings from the store
// and gives the other rows their findings' new places. Returns how many
// findings it deleted.
uint32_t DeleteCheckedRows(RunContext& run, ui::TEasyListview& list);

}  // namespace nb
