// The local time on Windows: GetLocalTime.
#include <windows.h>

#include "platform/localclock.h"

TLocalTime SystemLocalTime() {
  SYSTEMTIME st{};
  GetLocalTime(&st);
  TLocalTime t;
  t.Year = st.wYear;
  t.Month = st.wMonth;
  t.Day = st.wDay;
  t.Hour = st.wHour;
  t.Minute = st.wMinute;
  t.Second = st.wSecond;
  t.Millisecond = st.wMilliseconds;
  t.DayOfWeek = st.wDayOfWeek == 0 ? 7 : st.wDayOfWeek;
  return t;
}
