// Compositing of item images and the edge fades on the panel list's view.
#include "kem3/controls/kemplist_pixels.h"

#include <algorithm>
#include <cstdint>

#include "platform/graphics.h"

namespace {

std::uint8_t Mix(int over, int under, int weight) {
  return static_cast<std::uint8_t>((over * weight + under * (255 - weight) + 127) / 255);
}

TRGBQuad* Row(TBitmap& Bitmap, int Y) { return static_cast<TRGBQuad*>(Bitmap.ScanLine(Y)); }

TRGBQuad Quad(TColor Color) {
  const TColor rgb = ColorToRGB(Color);
  return {static_cast<std::uint8_t>(GetBlue(rgb)), static_cast<std::uint8_t>(GetGreen(rgb)),
          static_cast<std::uint8_t>(GetRed(rgb)), 255};
}

}  // namespace

void DrawPanelListImage(TBitmap& Dest, const TRect& Clip, int X, int Y, const TBitmap& Image, TPanelListImageMode Mode,
                        const TBitmap* Mask, int Strength) {
  if (Image.Empty() || Dest.Empty() || BitsPerPixel(Dest.PixelFormat()) != 32) return;
  TRect area;
  if (!IntersectRect(area, Clip, Rect(0, 0, Dest.Width(), Dest.Height()))) return;
  if (!IntersectRect(area, area, Bounds(X, Y, Image.Width(), Image.Height()))) return;
  if (Mode == pimMask && (!Mask || Mask->Empty())) Mode = pimOpaque;
  const bool quads = BitsPerPixel(Image.PixelFormat()) == 32;
  if (Mode == pimAlpha && !quads) Mode = pimOpaque;
  const bool premultiplied = Image.AlphaFormat() == afPremultiplied;
  const TColor transparent = ColorToRGB(Image.TransparentColor() == clDefault ? Image.PixelColor(0, Image.Height() - 1)
                                                                              : Image.TransparentColor());
  Strength = std::clamp(Strength, 0, 255);
  for (int y = area.Top; y < area.Bottom; ++y) {
    TRGBQuad* out = Row(Dest, y);
    const int sy = y - Y;
    const auto* in = quads ? static_cast<const TRGBQuad*>(Image.ScanLine(sy)) : nullptr;
    for (int x = area.Left; x < area.Right; ++x) {
      const int sx = x - X;
      TRGBQuad& d = out[x];
      if (Mode == pimAlpha) {
        const TRGBQuad s = in[sx];
        const int a = s.rgbReserved * Strength / 255;
        if (premultiplied) {
          // The colours carry the image's own alpha already: scale them by the strength only.
          const int inv = 255 - a;
          d.rgbBlue = static_cast<std::uint8_t>(std::min(255, (s.rgbBlue * Strength + d.rgbBlue * inv + 127) / 255));
          d.rgbGreen = static_cast<std::uint8_t>(std::min(255, (s.rgbGreen * Strength + d.rgbGreen * inv + 127) / 255));
          d.rgbRed = static_cast<std::uint8_t>(std::min(255, (s.rgbRed * Strength + d.rgbRed * inv + 127) / 255));
        } else {
          d.rgbBlue = Mix(s.rgbBlue, d.rgbBlue, a);
          d.rgbGreen = Mix(s.rgbGreen, d.rgbGreen, a);
          d.rgbRed = Mix(s.rgbRed, d.rgbRed, a);
        }
        continue;
      }
      const TColor c = quads ? RGBColor(in[sx].rgbRed, in[sx].rgbGreen, in[sx].rgbBlue) : Image.PixelColor(sx, sy);
      if (Mode == pimMask && (Mask->PixelColor(sx, sy) & 0xFFFFFF) != 0) continue;
      if (Mode == pimTransparent && c == transparent) continue;
      d = Quad(c);
      d.rgbReserved = 0;
    }
  }
}

void FadePanelListEdge(TBitmap& Dest, const TRect& Area, bool Vertical, bool AtStart, int Width, TColor Color) {
  if (Width < 1 || Dest.Empty() || BitsPerPixel(Dest.PixelFormat()) != 32) return;
  TRect area;
  if (!IntersectRect(area, Area, Rect(0, 0, Dest.Width(), Dest.Height()))) return;
  const TRGBQuad c = Quad(Color);
  for (int y = area.Top; y < area.Bottom; ++y) {
    TRGBQuad* out = Row(Dest, y);
    for (int x = area.Left; x < area.Right; ++x) {
      const int along = Vertical ? y : x;
      const int distance =
          AtStart ? along - (Vertical ? Area.Top : Area.Left) : (Vertical ? Area.Bottom : Area.Right) - 1 - along;
      if (distance < 0 || distance >= Width) continue;
      const int weight = 255 * (Width - distance) / Width;
      TRGBQuad& d = out[x];
      d.rgbBlue = Mix(c.rgbBlue, d.rgbBlue, weight);
      d.rgbGreen = Mix(c.rgbGreen, d.rgbGreen, weight);
      d.rgbRed = Mix(c.rgbRed, d.rgbRed, weight);
    }
  }
}
