// Steers a Night Broom that has just started, for a picture of its window:
// presses "Analyze", waits for the run to end, clicks a section and the first
// of its findings, and leaves the program running.
//   nb_e2e_drive [SECTION]     SECTION 1..16, default 6 (Chrome cache)
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>

#include "wine/E2EDriver.h"

int wmain(int argc, wchar_t** argv) {
  using nb::e2e::Program;
  const int section = argc > 1 ? std::wcstol(argv[1], nullptr, 10) : 6;
  if (section < 1 || section > 16) {
    std::fprintf(stderr, "usage: nb_e2e_drive [SECTION 1..16]\n");
    return 2;
  }
  Program program;
  std::string error;
  if (!program.Attach(error)) {
    std::fprintf(stderr, "nb_e2e_drive: %s\n", error.c_str());
    return 1;
  }
  if (!Program::ClickAndWait(program.Analyze(), 180000)) {
    std::fprintf(stderr, "nb_e2e_drive: Analyze did not end in time\n");
    return 1;
  }
  const nb::e2e::ListGeometry list;
  Program::ClickAt(program.Sections(), 100, list.SectionMiddle(section));
  Program::ClickAt(program.Results(), 200, list.FirstResultMiddle());
  const std::wstring summary = nb::e2e::TextOf(program.Summary());
  std::printf("nb_e2e_drive: %ls\n", summary.c_str());
  return 0;
}
