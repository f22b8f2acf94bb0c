// The program's millisecond clock, like the system's tick count: only
// differences between two readings mean anything. Code that waits or animates
// reads it through TickCount(), so tests can put a virtual clock in its place.
#pragma once
#include <cstdint>

class TClock {
 public:
  virtual ~TClock() = default;
  // Milliseconds since some fixed moment; never goes backwards.
  virtual std::uint64_t Milliseconds() = 0;
};

// The current clock's reading.
std::uint64_t TickCount();

// Puts clock in place (nullptr: the system's steady clock) and returns the one
// it replaces, so a test can restore it. The caller keeps ownership.
TClock* SetClock(TClock* clock);
TClock* CurrentClock();

// A clock that moves only when told to.
class TFakeClock : public TClock {
 public:
  explicit TFakeClock(std::uint64_t start = 0) : FNow(start) {}
  std::uint64_t Milliseconds() override { return FNow; }
  void Advance(std::uint64_t ms) { FNow += ms; }
  void Set(std::uint64_t now) { FNow = now; }

 private:
  std::uint64_t FNow;
};
