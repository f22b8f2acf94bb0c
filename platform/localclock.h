// The local date and time of day, beside the tick clock of platform/clock.h:
// code that shows the time or waits for a date reads it through LocalNow(), so
// tests can put a fixed or moving time in its place.
#pragma once

struct TLocalTime {
  int Year = 2000;
  int Month = 1;  // 1-12
  int Day = 1;    // 1-31
  int Hour = 0;
  int Minute = 0;
  int Second = 0;
  int Millisecond = 0;
  int DayOfWeek = 6;  // ISO: 1 = Monday … 7 = Sunday
};

class TLocalClock {
 public:
  virtual ~TLocalClock() = default;
  virtual TLocalTime Now() = 0;
};

// The current local time (the system's unless a test set another clock).
TLocalTime LocalNow();
// Puts clock in place (nullptr: the system's) and returns the one it replaces.
// The caller keeps ownership.
TLocalClock* SetLocalClock(TLocalClock* clock);

// The system's local time (localclock_win.cpp / localclock_posix.cpp).
TLocalTime SystemLocalTime();
