// Box shrinking, quarter turns and free rotation of bitmaps.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <numbers>

#include "kem3/pictures/kemimage.h"
#include "kem3/pictures/kemimage_rows.h"

namespace {

// Dest made empty, then given the format (and colour table) first, so sizing
// it converts nothing, then the size.
void PrepareDest(TBitmap& Dest, const TBitmap& Like, TPixelFormat Format, int Width, int Height) {
  Dest.SetSize(0, 0);
  Dest.SetPixelFormat(Format);
  if (Format == Like.PixelFormat() && !Like.ColorTable().empty()) Dest.SetColorTable(Like.ColorTable());
  Dest.SetAlphaFormat(Like.AlphaFormat());
  Dest.SetSize(Width, Height);
}

// Turns = 1 (clockwise), 2 (half) or 3 (counter-clockwise).
void Turn(TBitmap& Dest, TBitmap& Source, int Turns) {
  if (&Dest == &Source) {
    TBitmap copy;
    copy.Assign(Source);
    Turn(Dest, copy, Turns);
    return;
  }
  if (Source.PixelFormat() == pf1bit || Source.PixelFormat() == pf4bit) Source.SetPixelFormat(pf24bit);
  int sw = Source.Width(), sh = Source.Height();
  int dw = Turns == 2 ? sw : sh, dh = Turns == 2 ? sh : sw;
  PrepareDest(Dest, Source, Source.PixelFormat(), dw, dh);
  if (Source.Empty()) return;
  auto bytes = static_cast<std::size_t>(BitsPerPixel(Source.PixelFormat()) / 8);
  TPixelRows s(Source), d(Dest);
  for (int y = 0; y < sh; ++y) {
    const std::uint8_t* in = s.Row(y);
    for (int x = 0; x < sw; ++x) {
      int tx, ty;
      switch (Turns) {
        case 1:
          tx = sh - 1 - y, ty = x;
          break;
        case 2:
          tx = sw - 1 - x, ty = sh - 1 - y;
          break;
        default:
          tx = y, ty = sw - 1 - x;
          break;
      }
      std::memcpy(d.Row(ty) + static_cast<std::size_t>(tx) * bytes, in + static_cast<std::size_t>(x) * bytes, bytes);
    }
  }
}

}  // namespace

void RotateBitmap90(TBitmap& Dest, TBitmap& Source) { Turn(Dest, Source, 1); }
void RotateBitmap180(TBitmap& Dest, TBitmap& Source) { Turn(Dest, Source, 2); }
void RotateBitmap270(TBitmap& Dest, TBitmap& Source) { Turn(Dest, Source, 3); }

void RotateBitmap(TBitmap& Dest, TBitmap& Source, TPoint Centre, double Angle) {
  if (&Dest == &Source) {
    TBitmap copy;
    copy.Assign(Source);
    RotateBitmap(Dest, copy, Centre, Angle);
    return;
  }
  bool three = Source.PixelFormat() == pf24bit;
  if (!three) MakeBitmap32(Source);
  int w = Source.Width(), h = Source.Height();
  PrepareDest(Dest, Source, Source.PixelFormat(), w, h);
  if (Source.Empty()) return;
  std::size_t bytes = three ? 3 : 4;
  double radians = Angle * std::numbers::pi / 180.0;
  double c = std::cos(radians), s = std::sin(radians);
  TPixelRows in(Source), out(Dest);
  for (int y = 0; y < h; ++y) {
    std::uint8_t* row = out.Row(y);
    double dy = y - static_cast<double>(Centre.Y);
    for (int x = 0; x < w; ++x) {
      // The source point that the turn carries here: the turn backwards.
      double dx = x - static_cast<double>(Centre.X);
      double sx = std::floor(Centre.X + dx * c + dy * s + 0.5);
      double sy = std::floor(Centre.Y - dx * s + dy * c + 0.5);
      // Outside (or no number at all, for an angle that is none): stays black.
      if (!(sx >= 0 && sy >= 0 && sx < w && sy < h)) continue;
      std::memcpy(row + static_cast<std::size_t>(x) * bytes,
                  in.Row(static_cast<int>(sy)) + static_cast<std::size_t>(sx) * bytes, bytes);
    }
  }
}

void ShrinkBitmap(TBitmap& Dest, TBitmap& Source) {
  int dw = Dest.Width(), dh = Dest.Height(), sw = Source.Width(), sh = Source.Height();
  if (dw <= 0 || dh <= 0 || sh <= 0 || dw >= sw) return;
  bool three = Source.PixelFormat() == pf24bit;
  if (three) {
    Dest.SetPixelFormat(pf24bit);
  } else {
    MakeBitmap32(Source);
    MakeBitmap32(Dest);
  }
  int bytes = three ? 3 : 4;
  std::int64_t factor = sw / dw;
  TPixelRows in(Source), out(Dest);
  for (int y = 0; y < dh; ++y) {
    std::int64_t top = y * factor, bottom = std::min<std::int64_t>(top + factor, sh);
    if (top >= bottom) break;  // the rows below have no block in the source
    std::uint8_t* row = out.Row(y);
    for (int x = 0; x < dw; ++x) {
      std::int64_t left = x * factor, right = std::min<std::int64_t>(left + factor, sw);
      if (left >= right) break;
      std::uint64_t sums[4] = {0, 0, 0, 0};
      for (std::int64_t sy = top; sy < bottom; ++sy) {
        const std::uint8_t* p = in.Row(sy) + left * bytes;
        for (std::int64_t sx = left; sx < right; ++sx, p += bytes)
          for (int c = 0; c < bytes; ++c) sums[c] += p[c];
      }
      auto count = static_cast<std::uint64_t>((bottom - top) * (right - left));
      for (int c = 0; c < bytes; ++c) row[x * bytes + c] = static_cast<std::uint8_t>(sums[c] / count);
    }
  }
}
