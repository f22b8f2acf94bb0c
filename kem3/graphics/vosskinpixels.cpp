// Pixel work of the skin engine.
#include "kem3/graphics/vosskinpixels.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "kem3/pictures/kemimage.h"

namespace {

int BytesOf(const TBitmap& B) {
  switch (B.PixelFormat()) {
    case pf24bit:
      return 3;
    case pf32bit:
    case pfDevice:
      return 4;
    default:
      return 0;
  }
}

// Reads pixels of a pf24bit or pf32bit picture as 0xAARRGGBB (alpha 255 for 24 bits).
class TPixelReader {
 public:
  explicit TPixelReader(const TBitmap& B) : FBitmap(B), FBytes(BytesOf(B)) {
    if (!B.Empty()) {
      FTop = static_cast<const std::uint8_t*>(B.ScanLine(0));
      FStride = B.Height() > 1 ? static_cast<const std::uint8_t*>(B.ScanLine(1)) - FTop : 0;
    }
  }
  std::uint32_t At(int X, int Y) const {
    if (!FBytes) {
      const TColor c = FBitmap.PixelColor(X, Y);
      return 0xFF000000u | (static_cast<std::uint32_t>(GetRed(c)) << 16) |
             (static_cast<std::uint32_t>(GetGreen(c)) << 8) | static_cast<std::uint32_t>(GetBlue(c));
    }
    const std::uint8_t* p = FTop + FStride * Y + static_cast<std::ptrdiff_t>(X) * FBytes;
    if (FBytes == 4) {
      std::uint32_t v;
      std::memcpy(&v, p, 4);
      return v;
    }
    return 0xFF000000u | (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[1]) << 8) | p[0];
  }
  bool HasAlpha() const { return FBytes == 4; }

 private:
  const TBitmap& FBitmap;
  int FBytes;
  const std::uint8_t* FTop = nullptr;
  std::ptrdiff_t FStride = 0;
};

std::uint32_t* TargetRow(TBitmap& Target, int Y) { return static_cast<std::uint32_t*>(Target.ScanLine(Y)); }

bool IsKey(std::uint32_t Pixel) {
  const std::uint32_t rgb = Pixel & 0xFFFFFF;
  return rgb == 0xFF00FF || rgb == 0x0000FF;  // magenta; pure blue (blue lowest)
}

int Wrap(int V, int Size) { return ((V % Size) + Size) % Size; }

}  // namespace

void VosNormalizePicture(TBitmap& Picture) {
  if (Picture.Empty()) return;
  if (Picture.PixelFormat() == pfDevice) Picture.SetPixelFormat(pf32bit);
  if (Picture.PixelFormat() != pf32bit && Picture.PixelFormat() != pf24bit) Picture.SetPixelFormat(pf24bit);
}

std::unique_ptr<TBitmap> VosCopyRect(const TBitmap& Source, const TRect& Rect) {
  TRect r;
  if (!IntersectRect(r, Rect, ::Rect(0, 0, Source.Width(), Source.Height()))) return nullptr;
  const int bytes = BytesOf(Source);
  if (!bytes) return nullptr;
  auto part = std::make_unique<TBitmap>();
  part->SetPixelFormat(Source.PixelFormat());
  part->SetSize(r.Width(), r.Height());
  part->SetAlphaFormat(Source.AlphaFormat());
  for (int y = 0; y < r.Height(); ++y) {
    const auto* from = static_cast<const std::uint8_t*>(Source.ScanLine(r.Top + y)) + r.Left * bytes;
    std::memcpy(part->ScanLine(y), from, static_cast<size_t>(r.Width()) * static_cast<size_t>(bytes));
  }
  return part;
}

void VosStretchCopy(TBitmap& Dest, const TBitmap& Source, int Width, int Height) {
  const int bytes = BytesOf(Source);
  if (!bytes || Source.Empty() || Width <= 0 || Height <= 0) return;
  Dest.SetPixelFormat(Source.PixelFormat());
  Dest.SetSize(Width, Height);
  Dest.SetAlphaFormat(Source.AlphaFormat());
  const int sw = Source.Width(), sh = Source.Height();
  for (int y = 0; y < Height; ++y) {
    const auto* from =
        static_cast<const std::uint8_t*>(Source.ScanLine(static_cast<int>(std::int64_t{y} * sh / Height)));
    auto* to = static_cast<std::uint8_t*>(Dest.ScanLine(y));
    for (int x = 0; x < Width; ++x)
      std::memcpy(to + x * bytes, from + static_cast<int>(std::int64_t{x} * sw / Width) * bytes,
                  static_cast<size_t>(bytes));
  }
}

void VosDrawPicture(TBitmap& Target, const TRect& DestRect, const TRect& Clip, const TBitmap& Source, TVosDrawMode Mode,
                    bool Stretch, TPoint Grid, int Opacity) {
  if (Source.Empty() || IsRectEmpty(DestRect) || Opacity <= 0) return;
  TRect area;
  if (!IntersectRect(area, DestRect, Clip) || !IntersectRect(area, area, Rect(0, 0, Target.Width(), Target.Height())))
    return;
  const TPixelReader source(Source);
  const int sw = Source.Width(), sh = Source.Height();
  const int dw = DestRect.Width(), dh = DestRect.Height();
  const bool blend = Mode == vdmBlend && (source.HasAlpha() || Opacity < 255);
  for (int y = area.Top; y < area.Bottom; ++y) {
    const int sy = Stretch ? static_cast<int>(std::int64_t{y - DestRect.Top} * sh / dh) : Wrap(y - Grid.Y, sh);
    std::uint32_t* row = TargetRow(Target, y);
    for (int x = area.Left; x < area.Right; ++x) {
      const int sx = Stretch ? static_cast<int>(std::int64_t{x - DestRect.Left} * sw / dw) : Wrap(x - Grid.X, sw);
      const std::uint32_t pixel = source.At(sx, sy);
      if (Mode == vdmKeyed && IsKey(pixel)) continue;
      if (blend) {
        const std::uint32_t p = source.HasAlpha() ? pixel : (pixel | 0xFF000000u);
        row[x] = Opacity >= 255 ? BlendPixel(row[x], p) : BlendPixelOpacity(row[x], p, Opacity);
      } else {
        row[x] = pixel | 0xFF000000u;
      }
    }
  }
}

void VosDrawPictureAt(TBitmap& Target, int X, int Y, const TBitmap& Source, TVosDrawMode Mode, int Opacity) {
  const TRect r = Bounds(X, Y, Source.Width(), Source.Height());
  VosDrawPicture(Target, r, r, Source, Mode, false, {X, Y}, Opacity);
}

void VosFillRect(TBitmap& Target, const TRect& Rect, TColor Color) {
  TRect area;
  if (!IntersectRect(area, Rect, ::Rect(0, 0, Target.Width(), Target.Height()))) return;
  const std::uint32_t v = 0xFF000000u | (static_cast<std::uint32_t>(GetRed(Color)) << 16) |
                          (static_cast<std::uint32_t>(GetGreen(Color)) << 8) |
                          static_cast<std::uint32_t>(GetBlue(Color));
  for (int y = area.Top; y < area.Bottom; ++y)
    std::fill(TargetRow(Target, y) + area.Left, TargetRow(Target, y) + area.Right, v);
}

void VosClear(TBitmap& Target, TColor Color, int Alpha) {
  const std::uint32_t v =
      (static_cast<std::uint32_t>(Alpha & 0xFF) << 24) | (static_cast<std::uint32_t>(GetRed(Color)) << 16) |
      (static_cast<std::uint32_t>(GetGreen(Color)) << 8) | static_cast<std::uint32_t>(GetBlue(Color));
  for (int y = 0; y < Target.Height(); ++y) std::fill(TargetRow(Target, y), TargetRow(Target, y) + Target.Width(), v);
}

std::unique_ptr<TBitmap> VosGrab(const TBitmap& Target, const TRect& Rect) { return VosCopyRect(Target, Rect); }

void VosPut(TBitmap& Target, int X, int Y, const TBitmap& Source) {
  const TRect r = Bounds(X, Y, Source.Width(), Source.Height());
  VosDrawPicture(Target, r, r, Source, vdmCopy, false, {X, Y});
}
