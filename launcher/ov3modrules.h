// The bar modules without a window: the table of the modules, from which their
// number, slots, defaults and commands follow; and their rules: which module
// an element names, where the clock's hands point and when it redraws, how
// long the calendar sleeps, which battery picture shows, what the recycle bins
// hold, the modules' parameters, their hints, and their places along the bar.
#pragma once
#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "launcher/ov3actions.h"
#include "platform/controls_types.h"
#include "platform/localclock.h"
#include "platform/types.h"

// ---- The modules
// The module kinds; a kind is its row in kModules and the bar's slot of it.
enum TOvModuleKind : int { omkAnalogClock, omkCalendar, omkRecycleBin, omkBattery };

// A parameter of a module element, as a new contents document gets it.
struct TOvModuleParameter {
  const char* Name;
  const char* Title;
  const char* Type;   // "integer", "boolean" or "resource"
  const char* List;   // a resource's library id; nil for the others
  const char* Value;  // the default value
};

// One kind of bar module: everything that follows from which modules exist.
struct TOvModuleInfo {
  TOvModuleKind Kind;
  const char* Name;   // its element in "modules" (compared without regard to case)
  const char* Title;  // the element's "title"
  int ImageIndex;     // its picture: the index in "ovi.dll"
  bool Hints;         // shows hints while ovsShowHints says nothing of it
  bool BehindIcons;   // a new contents document places it behind the icon panel
  // The resource package that draws it: the library id its "images"
  // parameter lists, and the package file it starts with.
  const char* Library;
  const char* Package;
  std::span<const TOvModuleParameter> Parameters;  // after "images"
  std::span<const int> Actions;                    // the commands its menu offers
};

inline constexpr TOvModuleParameter kWidthParameter{"width", "Width", "integer", nullptr, "72"};
inline constexpr TOvModuleParameter kClockParameters[] = {{"secondhand", "SecondHand", "boolean", nullptr, "No"},
                                                          kWidthParameter};
inline constexpr TOvModuleParameter kPictureParameters[] = {kWidthParameter};
inline constexpr int kClockActions[] = {ovaSecondHandOn, ovaSecondHandOff};
inline constexpr int kRecycleBinActions[] = {ovaOpenRecycleBin, ovaEmptyRecycleBin};

// The modules in slot order, which is also the order of the characters of
// ovsShowHints.
inline constexpr auto kModules = std::to_array<TOvModuleInfo>({
    {.Kind = omkAnalogClock,
     .Name = "analogclock",
     .Title = "AnalogClock",
     .ImageIndex = 0,
     .Hints = false,
     .BehindIcons = false,
     .Library = "ovanalogclock",
     .Package = "clkdashlight.drl",
     .Parameters = kClockParameters,
     .Actions = kClockActions},
    {.Kind = omkCalendar,
     .Name = "calendar",
     .Title = "Calendar",
     .ImageIndex = 1,
     .Hints = false,
     .BehindIcons = false,
     .Library = "ovcalendar",
     .Package = "caldeskred.drl",
     .Parameters = kPictureParameters,
     .Actions = {}},
    {.Kind = omkRecycleBin,
     .Name = "recyclebin",
     .Title = "RecycleBin",
     .ImageIndex = 2,
     .Hints = true,
     .BehindIcons = true,
     .Library = "ovrecyclebin",
     .Package = "binclear.drl",
     .Parameters = kPictureParameters,
     .Actions = kRecycleBinActions},
    {.Kind = omkBattery,
     .Name = "battery",
     .Title = "Battery",
     .ImageIndex = 4,
     .Hints = true,
     .BehindIcons = true,
     .Library = "ovpower",
     .Package = "battery.drl",
     .Parameters = kPictureParameters,
     .Actions = {}},
});

// One value per module, in slot order.
template <class T>
using TPerModule = std::array<T, kModules.size()>;

namespace ov3modrules_detail {
constexpr bool RowsInKindOrder() {
  for (std::size_t i = 0; i < kModules.size(); ++i)
    if (kModules[i].Kind != static_cast<int>(i)) return false;
  return true;
}
constexpr bool ActionsOfOneModule() {
  for (std::size_t i = 0; i < kModules.size(); ++i)
    for (int action : kModules[i].Actions)
      for (std::size_t j = i + 1; j < kModules.size(); ++j)
        for (int other : kModules[j].Actions)
          if (action == other) return false;
  return true;
}
}  // namespace ov3modrules_detail
static_assert(ov3modrules_detail::RowsInKindOrder(), "a module's row is its kind");
static_assert(ov3modrules_detail::ActionsOfOneModule(), "an action runs in one module");

// The hint switches before ovsShowHints is read.
constexpr TPerModule<bool> DefaultModuleHints() {
  TPerModule<bool> flags{};
  for (std::size_t i = 0; i < kModules.size(); ++i) flags[i] = kModules[i].Hints;
  return flags;
}

// The element that marks the icon panel's place among the modules.
inline constexpr const char* kIconsElementName = "icons";
// The slot of a module element (its name without regard to case), or -1.
int ModuleKindIndex(const String& ElementName);
// The slot of the module whose command the action is, or -1.
int ModuleOfAction(int ActionId);

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
std::vector<TModulePlace> PlaceModules(const std::vector<TModuleElement>& Elements, const TPerModule<bool>& Registered,
                                       bool Vertical);
