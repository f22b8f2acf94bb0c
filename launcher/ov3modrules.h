// The rules of the bar modules that need no window: which module an element
// names, where the clock's hands point and when it redraws, how long the
// calendar sleeps, which battery picture shows, what the recycle bins hold,
// the modules' parameters, their hints, and their places along the bar.
#pragma once
#include <array>
#include <cstdint>
#include <vector>

#include "platform/controls_types.h"
#include "platform/localclock.h"
#include "platform/types.h"

// The module kinds in their fixed order (the bar's module slots).
inline constexpr std::array<const char*, 4> kModuleNames = {"analogclock", "calendar", "recyclebin", "battery"};
// The element that marks the icon panel's place among the modules.
inline constexpr const char* kIconsElementName = "icons";
// The slot of a module element (its name without regard to case), or -1.
int ModuleKindIndex(const String& ElementName);

// ---- Analog clock
struct TClockAngles {
  double Hour = 0, Minute = 0, Second = 0;  // degrees clockwise from twelve
};
TClockAngles ClockHandAngles(const TLocalTime& Time);
// What the clock last drew; -1 for nothing yet.
struct TClockDrawn {
  int Minute = -1, Second = -1;
};
// True when the picture must change: forced, another minute, or another second
// with the second hand shown.
bool ClockNeedsRedraw(const TClockDrawn& Drawn, const TLocalTime& Time, bool SecondHand, bool Force);
// Milliseconds until the clock looks again: with the second hand just past the
// next full second, so the hand moves on the second and the thread sleeps in
// between; without it 5 s, often enough for the minute hand.
int ClockInterval(const TLocalTime& Time, bool SecondHand);
// "hh:mm:ss".
String ClockHint(const TLocalTime& Time);
// The centre of rotation from the package's "org" ("x y"); a value that is
// missing, not finite or beyond ±32,767 gives 128.
struct TClockOrigin {
  double X = 128, Y = 128;
};
TClockOrigin ParseClockOrigin(const String& Text);

// ---- Calendar
// Milliseconds to the next look: until 23:59:00, 500 from 10 s before it on
// (also after it), and never above 60 s, since a system wait does not count
// the time a computer sleeps.
int CalendarInterval(const TLocalTime& Time);
// The weekday's name from "Monday|…|Sunday"; empty unless there are seven.
WideString CalendarHint(const WideString& Days, int IsoWeekday);

// ---- Battery
// The system's power status, as GetSystemPowerStatus fills it.
struct TPowerStatus {
  std::uint8_t ACLineStatus = 255;
  std::uint8_t BatteryFlag = 255;
  std::uint8_t BatteryLifePercent = 255;
};
bool BatteryDataValid(const TPowerStatus& Status);
// "na", "cf", "c0"-"c8" or "u0"-"u8".
String BatteryImageName(const TPowerStatus& Status);
WideString BatteryHint(const TPowerStatus& Status, const WideString& ACPower, const WideString& Charging);

// ---- Recycle bin
struct TRecycleBinSum {
  std::int64_t Count = 0;
  std::int64_t Size = 0;
};
// Query(root, count, size) answers for one drive; false skips that drive, an
// exception ends the summing with what was added so far.
template <class TQuery>
TRecycleBinSum SumRecycleBins(const std::vector<String>& Roots, TQuery&& Query) {
  TRecycleBinSum sum;
  try {
    for (const String& root : Roots) {
      std::int64_t count = 0, size = 0;
      if (!Query(root, count, size)) continue;
      sum.Count += count;
      sum.Size += size;
    }
  } catch (...) {
  }
  return sum;
}
// Nothing when empty; one item's text or the count's, then the total size.
WideString RecycleBinHint(const TRecycleBinSum& Sum, const WideString& OneItem, const WideString& MoreItems);

// ---- Parameters
// "width": 64 when not a number or not above 0, at most 512.
int ModuleWidthParameter(const String& Text);

// ---- Places along the bar
struct TModuleElement {
  String Name;
  bool Active = true;
};
struct TModulePlace {
  int Kind = -1;  // the module's slot
  TAlign Align = alNone;
};
// The registered modules (by slot) in document order, before the icon panel
// (top or left) until the element "icons", behind it (bottom or right) after.
std::vector<TModulePlace> PlaceModules(const std::vector<TModuleElement>& Elements,
                                       const std::array<bool, kModuleNames.size()>& Registered, bool Vertical);
