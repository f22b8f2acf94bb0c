// Colour resolution, the rounding of font sizes, and the OS-free side of fonts,
// pens and brushes: their descriptions and change notices.
#include "platform/graphics.h"

#include <atomic>
#include <cstdint>
#include <limits>

// The system's colours (graphics_win.cpp / graphics_posix.cpp).
TColor SystemSysColor(int Index);

namespace {

std::atomic<TSysColorFunction> gSysColorFunction{nullptr};

}  // namespace

void SetSysColorFunction(TSysColorFunction Function) { gSysColorFunction.store(Function); }

TColor ColorToRGB(TColor Color) {
  if (Color >= 0) return Color;
  TSysColorFunction function = gSysColorFunction.load();
  int index = Color & 0xFF;
  return function ? function(index) : SystemSysColor(index);
}

TColor DefaultSysColor(int Index) {
  // The classic scheme of the system, index by index; 25 is unused.
  static constexpr TColor kClassic[] = {
      RGBColor(212, 208, 200), RGBColor(58, 110, 165),  RGBColor(10, 36, 106),   RGBColor(128, 128, 128),
      RGBColor(212, 208, 200), RGBColor(255, 255, 255), RGBColor(0, 0, 0),       RGBColor(0, 0, 0),
      RGBColor(0, 0, 0),       RGBColor(255, 255, 255), RGBColor(212, 208, 200), RGBColor(212, 208, 200),
      RGBColor(128, 128, 128), RGBColor(10, 36, 106),   RGBColor(255, 255, 255), RGBColor(212, 208, 200),
      RGBColor(128, 128, 128), RGBColor(128, 128, 128), RGBColor(0, 0, 0),       RGBColor(212, 208, 200),
      RGBColor(255, 255, 255), RGBColor(64, 64, 64),    RGBColor(212, 208, 200), RGBColor(0, 0, 0),
      RGBColor(255, 255, 225), RGBColor(181, 181, 181), RGBColor(0, 0, 128),     RGBColor(166, 202, 240),
      RGBColor(192, 192, 192), RGBColor(49, 106, 197),  RGBColor(212, 208, 200),
  };
  if (Index < 0 || Index >= static_cast<int>(std::size(kClassic))) return 0;
  return kClassic[Index];
}

int MulDivRound(int a, int b, int c) {
  if (c == 0) return -1;
  std::int64_t product = static_cast<std::int64_t>(a) * b;
  bool negative = (product < 0) != (c < 0);
  // |a*b| <= 2^62 and |c| <= 2^31: the sum below cannot overflow.
  std::uint64_t num = product < 0 ? static_cast<std::uint64_t>(-product) : static_cast<std::uint64_t>(product);
  std::uint64_t den = c < 0 ? static_cast<std::uint64_t>(-static_cast<std::int64_t>(c)) : static_cast<std::uint64_t>(c);
  std::uint64_t quotient = (num + den / 2) / den;
  if (quotient > static_cast<std::uint64_t>(std::numeric_limits<int>::max())) return -1;
  return negative ? static_cast<int>(-static_cast<std::int64_t>(quotient)) : static_cast<int>(quotient);
}

void TGraphicsObject::Changed() {
  // The old system object stays alive until the listeners (a canvas that has
  // it selected) have let go of it; the next Handle() makes a new one.
  TGraphicsHandle old = std::move(FHandle);
  if (OnChange) OnChange(this);
}

// ---- TFont ---------------------------------------------------------------

namespace {

// Sets a field and reports whether it changed.
template <class T>
bool Update(T& field, const T& value) {
  if (field == value) return false;
  field = value;
  return true;
}

}  // namespace

void TFont::SetName(const String& Value) {
  if (Update(FName, Value)) Changed();
}
void TFont::SetHeight(int Value) {
  if (Update(FHeight, Value)) Changed();
}
void TFont::SetColor(TColor Value) {
  if (Update(FColor, Value)) Changed();
}
void TFont::SetStyle(TFontStyles Value) {
  if (Update(FStyle, Value)) Changed();
}
void TFont::SetCharset(TFontCharset Value) {
  if (Update(FCharset, Value)) Changed();
}
void TFont::SetPitch(TFontPitch Value) {
  if (Update(FPitch, Value)) Changed();
}
void TFont::SetPixelsPerInch(int Value) {
  if (Value > 0) FPixelsPerInch = Value;
}

bool TFont::SameAs(const TFont& Other) const {
  return FName == Other.FName && FHeight == Other.FHeight && FColor == Other.FColor && FStyle == Other.FStyle &&
         FCharset == Other.FCharset && FPitch == Other.FPitch && FPixelsPerInch == Other.FPixelsPerInch;
}

void TFont::Assign(const TFont& Source) {
  if (&Source == this || SameAs(Source)) return;
  FName = Source.FName;
  FHeight = Source.FHeight;
  FColor = Source.FColor;
  FStyle = Source.FStyle;
  FCharset = Source.FCharset;
  FPitch = Source.FPitch;
  FPixelsPerInch = Source.FPixelsPerInch;
  Changed();
}

// ---- TPen and TBrush -----------------------------------------------------

void TPen::SetColor(TColor Value) {
  if (Update(FColor, Value)) Changed();
}
void TPen::SetWidth(int Value) {
  if (Update(FWidth, Value < 0 ? 0 : Value)) Changed();
}
void TPen::SetStyle(TPenStyle Value) {
  if (Update(FStyle, Value)) Changed();
}
void TPen::Assign(const TPen& Source) {
  if (&Source == this) return;
  if (FColor == Source.FColor && FWidth == Source.FWidth && FStyle == Source.FStyle) return;
  FColor = Source.FColor;
  FWidth = Source.FWidth;
  FStyle = Source.FStyle;
  Changed();
}

void TBrush::SetColor(TColor Value) {
  bool changed = Update(FColor, Value);
  if (FStyle == bsClear) {
    FStyle = bsSolid;
    changed = true;
  }
  if (changed) Changed();
}
void TBrush::SetStyle(TBrushStyle Value) {
  if (Update(FStyle, Value)) Changed();
}
void TBrush::Assign(const TBrush& Source) {
  if (&Source == this) return;
  if (FColor == Source.FColor && FStyle == Source.FStyle) return;
  FColor = Source.FColor;
  FStyle = Source.FStyle;
  Changed();
}
