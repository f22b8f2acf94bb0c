// The local time natively: the C library's idea of the local zone.
#include <chrono>
#include <ctime>

#include "platform/localclock.h"

TLocalTime SystemLocalTime() {
  using namespace std::chrono;
  const auto now = system_clock::now();
  const std::time_t seconds = system_clock::to_time_t(now);
  std::tm tm{};
  localtime_r(&seconds, &tm);
  TLocalTime t;
  t.Year = tm.tm_year + 1900;
  t.Month = tm.tm_mon + 1;
  t.Day = tm.tm_mday;
  t.Hour = tm.tm_hour;
  t.Minute = tm.tm_min;
  t.Second = tm.tm_sec;
  t.Millisecond = static_cast<int>(duration_cast<milliseconds>(now.time_since_epoch()).count() % 1000);
  t.DayOfWeek = tm.tm_wday == 0 ? 7 : tm.tm_wday;
  return t;
}
