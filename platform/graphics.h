// Colours, fonts, pens and brushes of the class layer. The descriptions are
// OS-free data; on Windows each object also makes and caches its GDI object
// (Handle(), defined in graphics_win.cpp), made again after a change.
#pragma once
#include <cstdint>
#include <utility>

#include "platform/events.h"
#include "platform/exceptions.h"
#include "platform/object.h"
#include "platform/set.h"
#include "platform/types.h"

#ifdef _WIN32
// The handle types as the system's headers declare them, without including them here.
struct HFONT__;
struct HPEN__;
struct HBRUSH__;
#endif

ORV_EXCEPTION(EInvalidGraphic, Exception)
ORV_EXCEPTION(EInvalidGraphicOperation, Exception)
ORV_EXCEPTION(EOutOfResources, Exception)
ORV_EXCEPTION(EResNotFound, Exception)

// ---- Colours -------------------------------------------------------------
// A TColor is 0x00BBGGRR; values with the top bit set name a system colour
// (0x80000000 | the system's colour index), resolved by ColorToRGB.

inline constexpr TColor clSystemColor = static_cast<TColor>(0x80000000u);

inline constexpr TColor clBlack = 0x000000;
inline constexpr TColor clMaroon = 0x000080;
inline constexpr TColor clGreen = 0x008000;
inline constexpr TColor clOlive = 0x008080;
inline constexpr TColor clNavy = 0x800000;
inline constexpr TColor clPurple = 0x800080;
inline constexpr TColor clTeal = 0x808000;
inline constexpr TColor clGray = 0x808080;
inline constexpr TColor clSilver = 0xC0C0C0;
inline constexpr TColor clRed = 0x0000FF;
inline constexpr TColor clLime = 0x00FF00;
inline constexpr TColor clYellow = 0x00FFFF;
inline constexpr TColor clBlue = 0xFF0000;
inline constexpr TColor clFuchsia = 0xFF00FF;
inline constexpr TColor clAqua = 0xFFFF00;
inline constexpr TColor clLtGray = 0xC0C0C0;
inline constexpr TColor clDkGray = 0x808080;
inline constexpr TColor clWhite = 0xFFFFFF;

inline constexpr TColor clScrollBar = clSystemColor | 0;
inline constexpr TColor clBackground = clSystemColor | 1;
inline constexpr TColor clActiveCaption = clSystemColor | 2;
inline constexpr TColor clInactiveCaption = clSystemColor | 3;
inline constexpr TColor clMenu = clSystemColor | 4;
inline constexpr TColor clWindow = clSystemColor | 5;
inline constexpr TColor clWindowFrame = clSystemColor | 6;
inline constexpr TColor clMenuText = clSystemColor | 7;
inline constexpr TColor clWindowText = clSystemColor | 8;
inline constexpr TColor clCaptionText = clSystemColor | 9;
inline constexpr TColor clActiveBorder = clSystemColor | 10;
inline constexpr TColor clInactiveBorder = clSystemColor | 11;
inline constexpr TColor clAppWorkSpace = clSystemColor | 12;
inline constexpr TColor clHighlight = clSystemColor | 13;
inline constexpr TColor clHighlightText = clSystemColor | 14;
inline constexpr TColor clBtnFace = clSystemColor | 15;
inline constexpr TColor clBtnShadow = clSystemColor | 16;
inline constexpr TColor clGrayText = clSystemColor | 17;
inline constexpr TColor clBtnText = clSystemColor | 18;
inline constexpr TColor clInactiveCaptionText = clSystemColor | 19;
inline constexpr TColor clBtnHighlight = clSystemColor | 20;
inline constexpr TColor cl3DDkShadow = clSystemColor | 21;
inline constexpr TColor cl3DLight = clSystemColor | 22;
inline constexpr TColor clInfoText = clSystemColor | 23;
inline constexpr TColor clInfoBk = clSystemColor | 24;
inline constexpr TColor clHotLight = clSystemColor | 26;
inline constexpr TColor clGradientActiveCaption = clSystemColor | 27;
inline constexpr TColor clGradientInactiveCaption = clSystemColor | 28;
inline constexpr TColor clMenuHighlight = clSystemColor | 29;
inline constexpr TColor clMenuBar = clSystemColor | 30;

// "No colour" and "the owner's colour": plain values that ColorToRGB leaves alone.
inline constexpr TColor clNone = 0x1FFFFFFF;
inline constexpr TColor clDefault = 0x20000000;

// The colour from its parts. RGB and GetRValue… are macros of the system's headers.
constexpr TColor RGBColor(int R, int G, int B) {
  return static_cast<TColor>((R & 0xFF) | ((G & 0xFF) << 8) | ((B & 0xFF) << 16));
}
constexpr int GetRed(TColor Color) { return Color & 0xFF; }
constexpr int GetGreen(TColor Color) { return (Color >> 8) & 0xFF; }
constexpr int GetBlue(TColor Color) { return (Color >> 16) & 0xFF; }

// System colours as a plain value; other colours unchanged.
TColor ColorToRGB(TColor Color);

// Where system colours come from: GetSysColor on Windows, DefaultSysColor
// natively. Tests may put their own in place; nullptr restores the system's.
using TSysColorFunction = TColor (*)(int Index);
void SetSysColorFunction(TSysColorFunction Function);
// The classic colour scheme, by the system's colour index; 0 for an unknown index.
TColor DefaultSysColor(int Index);

// a * b / c with a 64-bit intermediate, rounded to the nearest (halves away
// from zero), as the system's MulDiv: -1 when c is 0 or the result overflows.
int MulDivRound(int a, int b, int c);

// ---- GDI objects ---------------------------------------------------------

// Owns one system object behind an untyped handle, so OS-free classes can hold
// the object their Windows part made. Natively it stays empty.
class TGraphicsHandle {
 public:
  using TRelease = void (*)(void* handle);
  TGraphicsHandle() = default;
  TGraphicsHandle(void* handle, TRelease release) : FHandle(handle), FRelease(release) {}
  TGraphicsHandle(TGraphicsHandle&& other) noexcept { Swap(other); }
  TGraphicsHandle& operator=(TGraphicsHandle&& other) noexcept {
    TGraphicsHandle(std::move(other)).Swap(*this);
    return *this;
  }
  TGraphicsHandle(const TGraphicsHandle&) = delete;
  TGraphicsHandle& operator=(const TGraphicsHandle&) = delete;
  ~TGraphicsHandle() { Reset(); }

  void* Get() const { return FHandle; }
  explicit operator bool() const { return FHandle != nullptr; }
  void Reset() {
    if (FHandle && FRelease) FRelease(FHandle);
    FHandle = nullptr;
    FRelease = nullptr;
  }

 private:
  void Swap(TGraphicsHandle& other) noexcept {
    std::swap(FHandle, other.FHandle);
    std::swap(FRelease, other.FRelease);
  }
  void* FHandle = nullptr;
  TRelease FRelease = nullptr;
};

// Base of fonts, pens and brushes: OnChange after every change of a property.
// A canvas listens to the OnChange of its own objects to take the old GDI object
// out of its device context; the old object is freed only after OnChange ran.
class TGraphicsObject : public TObject {
 public:
  TGraphicsObject() = default;
  TGraphicsObject(const TGraphicsObject&) = delete;
  TGraphicsObject& operator=(const TGraphicsObject&) = delete;

  TNotifyEvent OnChange;
  // True while this object's GDI object exists (it is made on first use).
  bool HandleAllocated() const { return static_cast<bool>(FHandle); }

 protected:
  void Changed();
  TGraphicsHandle FHandle;
};

enum TFontStyle { fsBold, fsItalic, fsUnderline, fsStrikeOut };
using TFontStyles = Set<TFontStyle>;
enum TFontPitch { fpDefault, fpVariable, fpFixed };
using TFontCharset = std::uint8_t;
// The system's character set numbers (ANSI_CHARSET…), which its headers define as macros.
inline constexpr TFontCharset fcAnsiCharset = 0;
inline constexpr TFontCharset fcDefaultCharset = 1;
inline constexpr TFontCharset fcSymbolCharset = 2;

// A font description. The size lives as Height, the character height in pixels
// as a negative number: Height = -MulDiv(Size, PixelsPerInch, 72), and Size is
// computed back from it (so a positive cell height gives a negative Size).
// Setting a property to the value it has changes nothing and fires nothing.
class TFont : public TGraphicsObject {
 public:
  TFont() = default;

  const String& Name() const { return FName; }
  void SetName(const String& Value);
  int Size() const { return -MulDivRound(FHeight, 72, FPixelsPerInch); }
  void SetSize(int Value) { SetHeight(-MulDivRound(Value, FPixelsPerInch, 72)); }
  int Height() const { return FHeight; }
  void SetHeight(int Value);
  TColor Color() const { return FColor; }
  void SetColor(TColor Value);
  TFontStyles Style() const { return FStyle; }
  void SetStyle(TFontStyles Value);
  TFontCharset Charset() const { return FCharset; }
  void SetCharset(TFontCharset Value);
  TFontPitch Pitch() const { return FPitch; }
  void SetPitch(TFontPitch Value);
  // The resolution Size is measured against. Changing it keeps Height (the
  // pixels) and so changes Size; it fires no OnChange, as nothing drawn changes.
  int PixelsPerInch() const { return FPixelsPerInch; }
  void SetPixelsPerInch(int Value);

  // Takes every property of Source (PixelsPerInch included); one OnChange when
  // anything differed.
  void Assign(const TFont& Source);
  bool SameAs(const TFont& Other) const;

#ifdef _WIN32
  // The font made from this description (an HFONT), owned by this object.
  HFONT__* Handle();
#endif

 private:
  String FName = "Tahoma";
  int FPixelsPerInch = 96;
  int FHeight = -11;  // 8 points at 96 pixels per inch
  TColor FColor = clWindowText;
  TFontStyles FStyle;
  TFontCharset FCharset = fcDefaultCharset;
  TFontPitch FPitch = fpDefault;
};

// The values are those of the system's pen styles.
enum TPenStyle { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame };

class TPen : public TGraphicsObject {
 public:
  TPen() = default;
  TColor Color() const { return FColor; }
  void SetColor(TColor Value);
  int Width() const { return FWidth; }
  void SetWidth(int Value);  // negative values count as 0 (a one-pixel line, as 1)
  TPenStyle Style() const { return FStyle; }
  void SetStyle(TPenStyle Value);
  void Assign(const TPen& Source);

#ifdef _WIN32
  HPEN__* Handle();
#endif

 private:
  TColor FColor = clBlack;
  int FWidth = 1;
  TPenStyle FStyle = psSolid;
};

enum TBrushStyle { bsSolid, bsClear, bsHorizontal, bsVertical, bsFDiagonal, bsBDiagonal, bsCross, bsDiagCross };

class TBrush : public TGraphicsObject {
 public:
  TBrush() = default;
  TColor Color() const { return FColor; }
  // A clear brush given a colour becomes solid, so the colour shows.
  void SetColor(TColor Value);
  TBrushStyle Style() const { return FStyle; }
  void SetStyle(TBrushStyle Value);
  void Assign(const TBrush& Source);

#ifdef _WIN32
  HBRUSH__* Handle();
#endif

 private:
  TColor FColor = clWhite;
  TBrushStyle FStyle = bsSolid;
};
