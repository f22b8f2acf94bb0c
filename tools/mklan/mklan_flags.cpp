// Flags drawn pixel by pixel: small enough that every pixel is chosen, so
// they stay crisp where the language selector shows them.
#include "mklan_flags.h"

#include <cstdint>
#include <functional>

#include "platform/bitmap.h"

namespace {

constexpr int kWidth = 20;
constexpr int kHeight = 13;

struct TRGB {
  std::uint8_t R, G, B;
};

std::unique_ptr<TPNGImage> Paint(int Width, int Height, const std::function<TRGB(int X, int Y)>& Pixel) {
  auto png = std::make_unique<TPNGImage>();
  png->SetPixelFormat(pf32bit);
  png->SetSize(Width, Height);
  png->SetAlphaFormat(afDefined);
  for (int y = 0; y < Height; ++y) {
    auto* row = static_cast<std::uint8_t*>(png->ScanLine(y));
    for (int x = 0; x < Width; ++x) {
      const TRGB c = Pixel(x, y);
      const bool cornerX = x == 0 || x == Width - 1;
      const bool cornerY = y == 0 || y == Height - 1;
      // Corner pixels half transparent: a slightly rounded cloth.
      const std::uint8_t alpha = cornerX && cornerY ? 96 : 255;
      row[4 * x] = c.B;
      row[4 * x + 1] = c.G;
      row[4 * x + 2] = c.R;
      row[4 * x + 3] = alpha;
    }
  }
  return png;
}

// Thirteen stripes, red first, and a blue field of seven stripes with rows of
// white stars (single pixels on a staggered grid).
TRGB UnitedStates(int X, int Y) {
  constexpr TRGB red{178, 34, 52}, white{255, 255, 255}, blue{60, 59, 110};
  if (X < 8 && Y < 7) {
    const bool star = X >= 1 && X <= 7 && Y >= 1 && Y <= 5 && (X + Y) % 2 == 0;
    return star ? white : blue;
  }
  return Y % 2 == 0 ? red : white;
}

// Black, red and gold in three equal bands (13 rows: the middle band one
// row wider).
TRGB Germany(int /*X*/, int Y) {
  if (Y < 4) return {0, 0, 0};
  if (Y < 9) return {221, 0, 0};
  return {255, 206, 0};
}

}  // namespace

std::unique_ptr<TPNGImage> DrawFlag(const String& Name) {
  if (Name == "us") return Paint(kWidth, kHeight, UnitedStates);
  if (Name == "de") return Paint(kWidth, kHeight, Germany);
  return nullptr;
}
