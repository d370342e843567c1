// Deleting the finding behind one ticked row of the results list.
#pragma once

#include <optional>

#include "delete/FoundFileDeleter.h"
#include "state/RunContext.h"

namespace nb {

// Deletes the file or value a row shows (rows of the registry sections are
// registry subjects, all others file paths). The row's finding is the first
// store entry equal, ignoring case as the user's locale does, to
// ShownSection + "#" + caption + "#" + size text: its file is deleted only
// below the scan root that found it, its value only while it holds what
// Analyze read. On success removes that entry and returns the row's new
// caption; no value when nothing was deleted.
std::optional<Text> DeleteCheckedRow(RunContext& ctx, FoundFileDeleter& files, const Text& caption,
                                     const Text& sizeText);

}  // namespace nb
