// The work of one Delete all run, without the window around it.
#pragma once

#include <cstdint>
#include <vector>

#include "delete/DeletedNames.h"
#include "state/RunContext.h"

namespace nb {

// What became of the findings of the run's ticked sections. Every finding
// that is not gone stayed for one of the reasons counted here.
struct DeleteAllReport {
  uint32_t deleted = 0;     // gone now, or gone already
  uint32_t refused = 0;     // in use, access denied: still there as it was
  uint32_t changed = 0;     // changed since Analyze (a folder swapped for a link, a value rewritten): left alone
  uint32_t notReached = 0;  // the run was stopped before it came to them
  // Per store entry: whether it stays in the store (a finding of a ticked
  // section that is still there). Findings of unticked sections leave it.
  std::vector<bool> stays;

  uint32_t Stayed() const { return refused + changed + notReached; }
};

// Deletes every stored finding whose section is ticked in `mask`: files for
// sections 01-14, values for 15 (HKEY_CURRENT_USER) and 16
// (HKEY_LOCAL_MACHINE). Pumps before every hundredth entry and stops there
// once a Stop is asked for: what a confirmed stop leaves stays on disk.
DeleteAllReport DeleteStoredFindings(RunContext& run, const Text& mask);

// Prunes the empty subfolders of the folders of the sections the table marks
// as pruned: the temp folders, the recycle bins of the fixed drives and the
// Skype chat-sync folder. Pumps between the steps and ends early once a
// Stop is asked for.
// Each folder `names` awaits is compared with the purge's listing of it.
void PruneLeftoverFolders(RunContext& run, const Text& mask, DeletedNames* names = nullptr);

// Both of the above, in that order; running out of memory ends the run as a
// stopped one: what it did not reach stays.
DeleteAllReport DeleteAllFindings(RunContext& run, const Text& mask);

// The status line after a run: the fixed line when every finding went, and
// otherwise how many stayed and why.
Text DeleteAllStatus(const DeleteAllReport& report);

}  // namespace nb
