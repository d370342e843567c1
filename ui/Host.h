// What the logic needs of the user interface while it works: the message pump
// and message boxes. The toolkit's back ends implement it; the logic never sees
// a window.
#pragma once

#include <cstdint>

#include "platform/Text.h"

namespace nb {

class UiHost {
 public:
  virtual ~UiHost() = default;
  // Lets the toolkit dispatch every window message already queued, then returns.
  virtual void PumpMessages() = 0;
  // MessageBoxW owned by the program's main (or active) window; returns IDOK, IDYES, IDNO ...
  virtual int ShowMessage(const Text& text, const Text& caption, uint32_t flags) = 0;
};

}  // namespace nb
