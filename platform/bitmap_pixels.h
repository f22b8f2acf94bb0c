// Pixel formats of TBitmap row by row: reading rows and pixels of any format as
// B,G,R,A quads and writing them back, with the standard colour tables of the
// palette formats; and straight alpha made premultiplied. OS-free; TBitmap,
// the BMP codec and whoever blends 32-bit pictures share it.
#pragma once
#include <cstdint>
#include <span>
#include <vector>

#include "platform/bitmap.h"

inline constexpr std::int64_t kMaxImageBytes = std::int64_t{1} << 30;

constexpr bool IsPaletteFormat(TPixelFormat Format) { return Format == pf1bit || Format == pf4bit || Format == pf8bit; }

// EOutOfResources when the picture would need more than kMaxImageBytes.
void CheckImageSize(std::int64_t Width, std::int64_t Height, int BitsPerPixel);

// Black and white; the 16 VGA colours; a 6x6x6 colour cube and 40 grey levels.
std::vector<TRGBQuad> StandardColorTable(TPixelFormat Format);

// Finds the colour table entry nearest to a colour, remembering the last answer
// (pictures repeat colours).
class TNearestColor {
 public:
  explicit TNearestColor(const std::vector<TRGBQuad>& Table) : FTable(Table) {}
  std::uint8_t IndexOf(TRGBQuad Color);

 private:
  const std::vector<TRGBQuad>& FTable;
  TRGBQuad FLastColor{};
  std::uint8_t FLastIndex = 0;
  bool FHasLast = false;
};

// Pixel X of a row; an index beyond the colour table reads as black. The alpha
// of formats without one is 255.
TRGBQuad DecodePixel(const std::uint8_t* Row, int X, TPixelFormat Format, const std::vector<TRGBQuad>& Table);
void DecodeRow(const std::uint8_t* Row, TPixelFormat Format, const std::vector<TRGBQuad>& Table,
               std::span<TRGBQuad> Out);
// Palette formats take the nearest entry of the table Nearest was made with.
void EncodePixel(TRGBQuad Color, int X, TPixelFormat Format, TNearestColor& Nearest, std::uint8_t* Row);
void EncodeRow(std::span<const TRGBQuad> Pixels, TPixelFormat Format, TNearestColor& Nearest, std::uint8_t* Row);

// Straight alpha made premultiplied, as the system's blending and layered
// windows take it: each colour times the pixel's alpha / 255, rounded.
TRGBQuad PremultipliedPixel(TRGBQuad Pixel);
// Copy becomes a pf32bit picture of Picture's size (Picture holds 32 bits a
// pixel) with every pixel premultiplied, marked afPremultiplied. Copy may be
// Picture itself.
void PremultiplyAlpha(const TBitmap& Picture, TBitmap& Copy);
