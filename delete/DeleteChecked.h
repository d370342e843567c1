// The work of "Delete checked": the ticked rows of the results list.
#pragma once

#include <cstdint>

#include "state/RunContext.h"
#include "ui/EasyListview.h"

namespace nb {

// The ticked rows whose finding is still there to delete: rows deleted by an
// earlier click stay in the list, ticked, until the next fill.
int CountRowsToDelete(const ui::TEasyListview& list);

// Deletes the finding behind every ticked row still to delete, in row order,
// and gives each deleted row its "Deleted" caption. Pumps before every row
// and stops once the busy flag is clear; running out of memory ends the pass
// there too. Returns how many findings it deleted.
uint32_t DeleteCheckedRows(RunContext& ctx, ui::TEasyListview& list);

}  // namespace nb
