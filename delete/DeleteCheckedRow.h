// Deleting the finding behind one ticked row of the results list.
#pragma once

#include <optional>

#include "app/AppState.h"
#include "delete/FoundFileDeleter.h"

namespace nb {

// A row marked deleted by an earlier run: its caption begins with "Deleted".
bool IsDeletedRow(TextView caption);

// Deletes the file or value a row shows (rows of sections 15 and 16 are
// registry subjects, all others file paths). On success removes the first
// store entry equal, ignoring case as the user's locale does, to
// ShownSection + "#" + caption + "#" + size text, and returns the row's new
// caption; no value when nothing was deleted.
std::optional<Text> DeleteCheckedRow(RunContext& ctx, FoundFileDeleter& files, const Text& caption,
                                     const Text& sizeText);

}  // namespace nb
