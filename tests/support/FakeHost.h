// A RunHost for logic tests: counts pumps, runs an optional action at each pump
// (a click arriving mid-operation), answers message boxes from a script and
// records every box shown.
#pragma once

#include <deque>
#include <functional>
#include <vector>

#include "state/RunHost.h"

namespace nb::test {

class FakeHost : public RunHost {
 public:
  struct Box {
    Text text;
    Text caption;
    uint32_t flags;
  };

  void PumpMessages() override {
    ++pumps;
    if (onPump) onPump(pumps);
  }
  int ShowMessage(const Text& text, const Text& caption, uint32_t flags) override {
    boxes.push_back({text, caption, flags});
    if (answers.empty()) return (flags & 0xF) == 0x4 ? 7 /*IDNO*/ : 1 /*IDOK*/;
    const int answer = answers.front();
    answers.pop_front();
    return answer;
  }

  int pumps = 0;
  std::function<void(int pumpNumber)> onPump;
  std::deque<int> answers;
  std::vector<Box> boxes;
};

}  // namespace nb::test
