// How the values of a skin definition are read: integers, colours in their two
// orders, flags, font styles and the text drawing lists. Every reader takes any
// text and falls back to its default; nothing here fails.
#pragma once
#include <cstdint>
#include <vector>

#include "platform/geometry.h"
#include "platform/graphics.h"
#include "platform/types.h"

// Integers of the file never leave this range, so sums of a few of them stay
// far from overflow.
inline constexpr int kVosMaxInt = 32767;

// An optional sign and decimal digits (nothing else, no blanks), clamped to
// +-kVosMaxInt; any other text gives Default.
int VosReadInt(const String& Text, int Default);
// A non-zero integer is on; text that is no integer is off.
bool VosReadFlag(const String& Text);
// Six hex digits red, green, blue ("FF0000" is red), as a colour value;
// anything else is no colour (clNone).
TColor VosReadColorRGB(const String& Text);
// Six hex digits as they stand, blue, green, red ("0000FF" is red): the order
// text drawings and grip masks are written in; anything else is clNone.
TColor VosReadColorBGR(const String& Text);
// "B", "I", "U" anywhere (either case) add bold, italic, underline.
TFontStyles VosReadFontStyle(const String& Text);

// One pass of a text drawing: the text in Color at every offset, with Alpha
// as overall opacity.
struct TVosSkinTextDrawing {
  TColor Color = 0;
  std::uint8_t Alpha = 255;
  std::vector<TPoint> Offsets;
  // Smallest and largest offsets, 0 included.
  int MinX = 0, MinY = 0, MaxX = 0, MaxY = 0;
  int ExtentWidth() const { return MaxX - MinX; }
  int ExtentHeight() const { return MaxY - MinY; }
  friend bool operator==(const TVosSkinTextDrawing&, const TVosSkinTextDrawing&) = default;
};

// A whole text drawing: passes in order. Simple: one pass of alpha 255 with
// one offset and no extent, which is drawn as plain text.
struct TVosSkinText {
  std::vector<TVosSkinTextDrawing> Drawings;
  bool Simple = false;
  friend bool operator==(const TVosSkinText&, const TVosSkinText&) = default;
};

// At most this many passes, and offsets per pass, are read from one text.
inline constexpr int kVosMaxTextPasses = 64;
inline constexpr int kVosMaxTextOffsets = 64;
// Offsets beyond this many pixels are clamped: they could only draw outside.
inline constexpr int kVosMaxTextOffset = 64;

// Passes separated by ";": colour (BGR), alpha (default 255), then offsets
// "(x,y)"; blank items are skipped and no offset means one at (0, 0). A pass
// whose colour is not valid has no colour (clNone) and draws nothing.
TVosSkinText VosParseTextDrawing(const String& Text);
