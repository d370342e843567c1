// The program's process-wide state, owned by the main window and handed by
// reference to the routines that need it. A test builds a fresh one.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "platform/Platform.h"
#include "state/ScanRoots.h"
#include "state/Locations.h"
#include "state/ProtectedPlaces.h"
#include "state/ResultStore.h"
#include "state/Sections.h"

namespace nb {

struct AppState {
  uint32_t RestoreMessage = 0;
  ResultStore Results;
  ScanRoots Roots;  // the folders Analyze walked from, as they were then
  // What each stale registry value held at Analyze; a registry finding's
  // origin is its index here. A value is deleted only while it still holds it.
  std::vector<RegValue> FoundValues;
  ProtectedPlaces Protected;  // where no link may lead a scan root, looked up once a run
  Locations Loc;
  // Indexed by section number (index 0 unused); the registry sections total no kilobytes.
  PerSection<int32_t> SectionFindingCounts{};
  PerSection<int64_t> SectionKbTotals{};
  // A long operation (Analyze, a delete, a section's fill) holds the window.
  bool Running = false;
  // A Stop answered Yes asked it to finish at its next check.
  bool StopRequested = false;
  // While an operation runs and no Stop was asked for, the other handlers
  // stay out and the operation goes on.
  bool Busy() const { return Running && !StopRequested; }
  Text ShownSection;
  bool BrowserRunning = false;
  bool SkypeRunning = false;
  Text DecimalSeparator = u".";  // the user's, read once at start-up
};

// Marks one long operation as running while it lives, and ends the run and
// any Stop asked for it on every way out, a failure's included.
class BusyScope {
 public:
  explicit BusyScope(AppState& state) : state_(state) {
    state_.Running = true;
    state_.StopRequested = false;
  }
  ~BusyScope() {
    state_.Running = false;
    state_.StopRequested = false;
  }
  BusyScope(const BusyScope&) = delete;
  BusyScope& operator=(const BusyScope&) = delete;

 private:
  AppState& state_;
};

}  // namespace nb
