// The host of the window's long runs: its toolkit's pump and message boxes.
#pragma once

#include "state/RunHost.h"
#include "ui/Toolkit.h"

namespace nb {

class ToolkitHost final : public RunHost {
 public:
  explicit ToolkitHost(ui::Toolkit& toolkit) : toolkit_(toolkit) {}
  void PumpMessages() override { toolkit_.PumpMessages(); }
  int ShowMessage(const Text& text, const Text& caption, uint32_t flags) override {
    return toolkit_.ShowMessage(text, caption, flags);
  }

 private:
  ui::Toolkit& toolkit_;
};

}  // namespace nb
