// A scripted host and a fresh program state, wired with a Windows layer into
// the RunContext that the long operations take.
#pragma once

#include <vector>

#include "state/RunContext.h"
#include "support/FakeHost.h"

namespace nb::test {

// The entries of a results store, in order.
inline std::vector<Text> EntriesOf(const ResultStore& store) {
  std::vector<Text> entries;
  for (size_t i = 0; i < store.Count(); ++i) entries.push_back(store.At(i));
  return entries;
}

struct HostedRun {
  explicit HostedRun(Platform& os) : run{os, host, state} {}
  // The run refers to this very host and state.
  HostedRun(const HostedRun&) = delete;
  HostedRun& operator=(const HostedRun&) = delete;

  std::vector<Text> Entries() const { return EntriesOf(state.Results); }

  FakeHost host;
  AppState state;
  RunContext run;
};

}  // namespace nb::test
