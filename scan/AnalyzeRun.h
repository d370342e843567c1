// The work of one Analyze run, without the window around it.
#pragma once

#include "state/RunContext.h"

namespace nb {

// Forgets the last run: its findings, its folders, its counters.
void ClearFindings(AppState& state);

// Runs the plans of the ticked sections in code order, pumping between them.
// Returns when all are done or as soon as a check finds a Stop asked for;
// running out of memory ends the run the same way, with what it stored.
void AnalyzeSections(RunContext& run, const Text& mask);

// The summary of the run's counters: "Total:12 items found, 3.50 MB".
Text SummaryText(const AppState& state);

}  // namespace nb
