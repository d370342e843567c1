// What a long run needs of whoever started it: a chance for the window to
// take the messages queued for it, and message boxes. The window's toolkit is
// behind it (app/ToolkitHost.h); the routines below app/ never see a window.
#pragma once

#include <cstdint>

#include "platform/Text.h"

namespace nb {

class RunHost {
 public:
  virtual ~RunHost() = default;
  // Lets the window dispatch every message already queued, then returns.
  virtual void PumpMessages() = 0;
  // MessageBoxW owned by the program's main (or active) window; returns IDOK, IDYES, IDNO ...
  virtual int ShowMessage(const Text& text, const Text& caption, uint32_t flags) = 0;
};

}  // namespace nb
