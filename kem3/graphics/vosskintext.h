// Text in skins: the fonts of skin elements, the layout flags of text
// drawing, and the one seam to the system's text output (the rasteriser),
// which draws a text white on black into a mask and measures it. Everything
// else about skinned text (passes, offsets, smoothing, alpha, turning,
// columns and mark-up) is the skin's own and needs no operating system.
#pragma once
#include <memory>

#include "platform/bitmap.h"
#include "platform/geometry.h"
#include "platform/graphics.h"
#include "platform/types.h"

// Layout flags; the values are the system's DrawText flags.
enum : unsigned {
  vtfLeft = 0x0,
  vtfCenter = 0x1,
  vtfRight = 0x2,
  vtfVCenter = 0x4,
  vtfBottom = 0x8,
  vtfWordBreak = 0x10,
  vtfSingleLine = 0x20,
  vtfExpandTabs = 0x40,
  vtfCalcRect = 0x400,
  vtfNoPrefix = 0x800,
  vtfEndEllipsis = 0x8000,
};

// The font of a skin element as the file gives it.
struct TVosSkinFont {
  String Name = "Arial";
  int Size = 10;
  TFontStyles Style;
  int Smooth = 1;      // drawn this many times larger, then reduced (1-8)
  double Scale = 1.0;  // offsets of the text drawing are multiplied by it
  int LineHeight = 0;  // added to a line's height where lines are counted
  friend bool operator==(const TVosSkinFont&, const TVosSkinFont&) = default;
};

// A font as handed to the rasteriser: size in points at 96 pixels per inch.
struct TVosFontSpec {
  String Name = "Arial";
  int Size = 10;
  TFontStyles Style;
};

class IVosTextRasterizer {
 public:
  virtual ~IVosTextRasterizer() = default;
  // The extent of Text laid out with Flags in a box Width wide (vtfCalcRect).
  virtual TSize Measure(const TVosFontSpec& Font, const WideString& Text, unsigned Flags, int Width) = 0;
  // Draws Text anti-aliased in white into Rect of Mask (pf32bit), laid out
  // with Flags; pixels outside the glyphs keep what they hold.
  virtual void Render(TBitmap& Mask, const TVosFontSpec& Font, const WideString& Text, const TRect& Rect,
                      unsigned Flags) = 0;
};

// The system's text output on Windows; natively the block rasteriser.
std::unique_ptr<IVosTextRasterizer> NewVosTextRasterizer();
// Every character but a blank as a filled block: 2/3 of the point size
// apart, lines 4/3 of it high, each block one pixel short of both (so layout
// can be tested on every platform without comparing glyphs).
std::unique_ptr<IVosTextRasterizer> NewVosBlockRasterizer();
