// The folder scanner: walks a folder (and optionally the tree below it) and
// turns every file that matches a mask into a finding of one file section.
#pragma once

#include <cstdint>

#include "state/SizeText.h"
#include "state/RunContext.h"

namespace nb {

// `folder` ends with "\". `mask` is "*.*" (every file, names without a dot
// too) or a pattern such as "*.log". `section` is 1 to 14. Stops at the next
// file once a Stop is asked for; pumps messages before every file. A
// folder refused as a scan root (a link that is not to be trusted on its
// way) is walked no more than a missing one.
void ScanFolder(RunContext& run, const Text& folder, const Text& mask, bool recurse, int section);

// Records file findings of one section: adds one to the section's count and the
// file's rounded kilobytes to its total, and appends the finding, folder +
// name and its size, with the number of the scan root whose walk found it.
class FileFindingWriter {
 public:
  FileFindingWriter(RunContext& run, int section);
  void Add(TextView folder, TextView name, uint64_t bytes, uint32_t root);

 private:
  RunContext& run_;
  int section_;
};

}  // namespace nb
