// What the demo machine must give, as tools/demo-machine --expected wrote it:
// the findings of each section, the sizes of the files written, the canaries
// and the folders that Delete all must remove or leave.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace nb::e2e {

struct Expected {
  std::map<std::string, std::vector<std::wstring>> findings;  // section code -> paths or KEY=VALUE
  std::map<std::wstring, int64_t> bytes;                       // file path -> size
  std::vector<std::wstring> canaries;
  std::vector<std::wstring> registryCanaries;  // KEY=VALUE
  std::vector<std::wstring> pruned;
  std::vector<std::wstring> kept;
  std::wstring link;
  // A temp subfolder with one finding, to be swapped for a link to a canary
  // folder holding a file of the same name; tools/swap-watcher does the swap
  // when `request` appears (two lines, folder and target) and answers in `done`.
  struct Swap {
    std::wstring folder, finding, target, canary, request, done;
  } swap;
  // A temp folder moved to `target` before Analyze, a link left at `link`.
  struct Moved {
    std::wstring link, target;
  } moved;
  // Scan roots made links into the user's own files before Analyze: never
  // followed, what they lead to stays (its files are among the canaries).
  std::vector<Moved> refused;
  // Registry findings' row captions and the text the memo shows for each: the
  // value of the view the finding was made in, not of its twin in the other.
  std::map<std::wstring, std::wstring> registryTexts;

  // The number of findings of the sections ticked in `mask` (16 characters).
  int Count(const std::string& mask) const;
  // Their kilobytes as the Analyze run totals them: each file's size / 1024
  // rounded to the nearest whole number, a half to the even one.
  int64_t Kilobytes(const std::string& mask) const;
};

// Reads the file named by the environment variable NB_E2E_EXPECTED; nothing
// when it is not set. `error` tells what is wrong with a file that is there,
// or that it was laid out for the other build (32-bit and 64-bit programs find
// different folders).
std::optional<Expected> LoadExpected(std::string& error);

}  // namespace nb::e2e
