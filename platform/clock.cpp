// The system's steady clock and the replaceable current clock.
#include "platform/clock.h"

#include <atomic>
#include <chrono>

namespace {

class TSystemClock : public TClock {
 public:
  std::uint64_t Milliseconds() override {
    using namespace std::chrono;
    return static_cast<std::uint64_t>(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
  }
};

TSystemClock gSystemClock;
std::atomic<TClock*> gClock{nullptr};

}  // namespace

std::uint64_t TickCount() { return CurrentClock()->Milliseconds(); }

TClock* CurrentClock() {
  TClock* clock = gClock.load();
  return clock ? clock : &gSystemClock;
}

TClock* SetClock(TClock* clock) {
  TClock* previous = gClock.exchange(clock);
  return previous ? previous : &gSystemClock;
}
