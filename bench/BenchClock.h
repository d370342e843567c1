// The clock of the benchmarks that compare our code with a bare baseline: on
// Linux the process's CPU time, user and kernel, which the other programs on a
// shared machine disturb less; under Wine the wall clock (run pinned to one
// core: the wineserver does part of the work).
#pragma once

#include <chrono>
#ifndef _WIN32
#include <ctime>
#endif

namespace nb::bench {

inline double Now() {
#ifdef _WIN32
  return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
#else
  timespec t{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
  return double(t.tv_sec) + double(t.tv_nsec) * 1e-9;
#endif
}

}  // namespace nb::bench
