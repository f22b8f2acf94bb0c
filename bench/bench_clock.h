// The clock of the benchmarks that time two libraries in turn: CPU time of the
// whole process (every thread: libvips works on threads of its own), so other
// programs on the machine do not count.
#pragma once
#include <ctime>

inline double ProcessSeconds() {
  timespec t{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}
