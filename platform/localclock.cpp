// The replaceable local clock.
#include "platform/localclock.h"

#include <atomic>

namespace {
std::atomic<TLocalClock*> gLocalClock{nullptr};
}  // namespace

TLocalTime LocalNow() {
  TLocalClock* clock = gLocalClock.load();
  return clock ? clock->Now() : SystemLocalTime();
}

TLocalClock* SetLocalClock(TLocalClock* clock) { return gLocalClock.exchange(clock); }
