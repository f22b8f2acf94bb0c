// The window-free rules of the bar modules.
#include "launcher/ov3modrules.h"

#include <cmath>

#include "kem3/framework/kemutil.h"
#include "platform/format.h"
#include "platform/sysutils.h"
#include "platform/unicode_convert.h"

int ModuleKindIndex(const String& ElementName) {
  for (const TOvModuleInfo& module : kModules)
    if (SameText(ElementName, module.Name)) return module.Kind;
  return -1;
}

int ModuleOfAction(int ActionId) {
  for (const TOvModuleInfo& module : kModules)
    for (int action : module.Actions)
      if (action == ActionId) return module.Kind;
  return -1;
}

TClockAngles ClockHandAngles(const TLocalTime& Time) {
  TClockAngles a;
  a.Minute = Time.Minute * 360.0 / 60;
  a.Hour = ((Time.Hour % 12) + Time.Minute / 60.0) * 360.0 / 12;
  a.Second = Time.Second * 360.0 / 60;
  return a;
}

bool ClockNeedsRedraw(const TClockDrawn& Drawn, const TLocalTime& Time, bool SecondHand, bool Force) {
  return Force || Time.Minute != Drawn.Minute || (SecondHand && Time.Second != Drawn.Second);
}

String ClockHint(const TLocalTime& Time) { return Format("%.2d:%.2d:%.2d", {Time.Hour, Time.Minute, Time.Second}); }

TClockOrigin ParseClockOrigin(const String& Text) {
  auto usable = [](double v) { return std::isfinite(v) && std::fabs(v) <= 32767 ? v : 128.0; };
  TClockOrigin o;
  const size_t blank = Text.find(' ');
  o.X = usable(StrToFloatDot(Text.substr(0, blank), 128));
  o.Y = blank == String::npos ? 128.0 : usable(StrToFloatDot(Text.substr(blank + 1), 128));
  return o;
}

int CalendarInterval(const TLocalTime& Time) {
  const int now = ((Time.Hour * 60 + Time.Minute) * 60 + Time.Second) * 1000 + Time.Millisecond;
  const int left = (23 * 60 + 59) * 60 * 1000 - now;
  if (left < 10000) return 500;
  return left > 60000 ? 60000 : left;
}

WideString CalendarHint(const WideString& Days, int IsoWeekday) {
  std::vector<WideString> names(1);
  for (char16_t c : Days) {
    if (c == u'|')
      names.emplace_back();
    else
      names.back() += c;
  }
  if (names.size() < 7 || IsoWeekday < 1 || IsoWeekday > 7) return {};
  return names[static_cast<size_t>(IsoWeekday - 1)];
}

bool BatteryDataValid(const TPowerStatus& Status) {
  return (Status.BatteryFlag & 0x80) == 0 && Status.BatteryLifePercent <= 100;
}

String BatteryImageName(const TPowerStatus& Status) {
  const bool mains = Status.ACLineStatus == 1;
  if (BatteryDataValid(Status)) {
    const bool charging = (Status.BatteryFlag & 8) != 0 || mains;
    return String(charging ? "c" : "u") + IntToStr(Status.BatteryLifePercent * 8 / 100);
  }
  return mains ? "cf" : "na";
}

WideString BatteryHint(const TPowerStatus& Status, const WideString& ACPower, const WideString& Charging) {
  const bool mains = Status.ACLineStatus == 1;
  if (!BatteryDataValid(Status)) return mains ? ACPower : WideString();
  WideString hint = Utf8ToWide(IntToStr(Status.BatteryLifePercent) + " %");
  if (mains) hint += u"\r\n" + Charging;
  return hint;
}

WideString RecycleBinHint(const TRecycleBinSum& Sum, const WideString& OneItem, const WideString& MoreItems) {
  if (Sum.Count <= 0) return {};
  WideString hint = Sum.Count == 1 ? OneItem : WideFormatOrError(MoreItems, {Sum.Count});
  return hint + u"\r\n" + Utf8ToWide(FormatByteSize(Sum.Size));
}

int ModuleWidthParameter(const String& Text) {
  int width = 0;
  if (!TryStrToInt(Trim(Text), width) || width <= 0) return 64;
  return width > 512 ? 512 : width;
}

std::vector<TModulePlace> PlaceModules(const std::vector<TModuleElement>& Elements, const TPerModule<bool>& Registered,
                                       bool Vertical) {
  std::vector<TModulePlace> places;
  TAlign align = Vertical ? alTop : alLeft;
  for (const TModuleElement& e : Elements) {
    if (SameText(e.Name, kIconsElementName)) {
      align = Vertical ? alBottom : alRight;
      continue;
    }
    const int kind = ModuleKindIndex(e.Name);
    if (kind >= 0 && Registered[static_cast<size_t>(kind)]) places.push_back({kind, align});
  }
  return places;
}
