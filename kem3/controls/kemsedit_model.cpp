// The spin edit's value: clamping, formatting, reading and its layout.
#include "kem3/controls/kemsedit_model.h"

#include <cmath>

#include "platform/exceptions.h"
#include "platform/format.h"
#include "platform/mathutils.h"
#include "platform/sysutils.h"

double SpinClamp(const TSpinSettings& Settings, double X) {
  if (Settings.MinValue != -1 && X < Settings.MinValue) return Settings.MinValue;
  if (Settings.MaxValue != -1 && X > Settings.MaxValue) return Settings.MaxValue;
  return X;
}

String SpinText(const TSpinSettings& Settings, double X) {
  const double c = SpinClamp(Settings, X);
  if (Settings.NumberMode == nmInteger) return Format("%d", {static_cast<long long>(Round(c))});
  // The pattern must use its one argument: a text without any (or one that
  // wants two) would hide the value.
  try {
    String text = Format(Settings.FormatStr, {c});
    try {
      Format(Settings.FormatStr, {});
    } catch (const EConvertError&) {
      return text;
    }
  } catch (const EConvertError&) {
  }
  return Format("%g", {c});
}

bool TryReadSpinNumber(std::string_view Text, double& Value) {
  String s = Trim(Text);
  const auto comma = s.find(',');
  if (comma != String::npos) s[comma] = '.';
  double v = 0;
  if (!TryStrToFloat(s, v) || !std::isfinite(v)) return false;
  Value = v;
  return true;
}

namespace {

double Unreadable(const TSpinSettings& Settings) { return Settings.MinValue == -1 ? 0.0 : Settings.MinValue; }

}  // namespace

double SpinValue(const TSpinSettings& Settings, std::string_view Text) {
  double v = 0;
  if (!TryReadSpinNumber(Text, v)) return Unreadable(Settings);
  return Settings.NumberMode == nmInteger ? static_cast<double>(Round(v)) : v;
}

bool SpinExitText(const TSpinSettings& Settings, std::string_view Text, String& NewText) {
  double v = 0;
  const bool readable = TryReadSpinNumber(Text, v);
  if (readable && Settings.NumberMode == nmInteger) v = static_cast<double>(Round(v));
  if (!readable) v = Unreadable(Settings);
  if (readable && SpinClamp(Settings, v) == v) return false;
  NewText = SpinText(Settings, v);
  return NewText != Text;
}

bool SpinCharAccepted(char16_t Key, TNumberMode Mode, bool EditorEnabled) {
  if (!EditorEnabled && (Key == 8 || Key >= 32)) return false;
  if (Key < 32) return Key != 13;
  if (Key == u'+' || Key == u'-' || (Key >= u'0' && Key <= u'9')) return true;
  return Mode == nmFloat && (Key == u'.' || Key == u',');
}

bool SpinCharBeeps(char16_t Key) { return Key != 13 && Key != 27; }

TSpinLayout SpinLayout(int Width, int Height, int ButtonWidth) {
  const int x = Width - ButtonWidth - 2;
  const int h = static_cast<int>(Round((Height - 4) / 2.0));
  return {Bounds(3, 3, Width - ButtonWidth - 5, Height - 6), Bounds(x, 2, ButtonWidth, h),
          Bounds(x, h + 2, ButtonWidth, h + Height % 2)};
}
