// The results list as a view of the results store: a section's findings as rows of the results
// list, and every row ticked or unticked at once.
#pragma once

#include "state/ResultStore.h"
#include "state/RunHost.h"
#include "ui/EasyListview.h"

namespace nb {

// The results list's only group, "Files": every finding is a row of it.
inline constexpr int kFindingsGroup = 0;

// Adds a row for every finding of section number `section`, ticked: its
// subject and its size text, written with the given decimal separator. Pumps
// before every hundredth finding of the store. A section's findings form one
// unbroken run of the store: the fill stops at the first finding after it.
// A Stop answered Yes meanwhile does not shorten it. When memory runs out, or
// the store changes under it, no row is left. The rows show the store's
// subjects: the list holds the store's registration of them
// (ResultStore::RegisterViews) until its rows are removed, and the store is
// not emptied before.
void FillSection(const ResultStore& store, int section, TextView decimalSeparator, RunHost& host,
                 ui::TEasyListview& list);

void SetAllChecks(ui::TEasyListview& list, bool checked);

}  // namespace nb
