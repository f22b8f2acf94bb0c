// The pictures of our skins.
#include "skinart.h"

#include <algorithm>
#include <cmath>

#include "../mkdrl/artfont.h"
#include "kem3/pictures/pngimage.h"

namespace skin {

namespace {

std::uint8_t Byte(double V) { return static_cast<std::uint8_t>(std::lround(std::clamp(V, 0.0, 1.0) * 255)); }

TRGBQuad Quad(const TColour& C, double Alpha = 1.0) { return {Byte(C.B), Byte(C.G), Byte(C.R), Byte(Alpha)}; }

std::unique_ptr<TBitmap> NewPicture(int Width, int Height, TPixelFormat Format) {
  auto b = std::make_unique<TBitmap>();
  b->SetPixelFormat(Format);
  b->SetSize(Width, Height);
  return b;
}

void Put24(TBitmap& B, int X, int Y, const TColour& C) {
  auto* p = static_cast<std::uint8_t*>(B.ScanLine(Y)) + 3 * X;
  p[0] = Byte(C.B);
  p[1] = Byte(C.G);
  p[2] = Byte(C.R);
}

const TColour kMagenta = art::Rgb(255, 0, 255);
const TColour kBlue = art::Rgb(0, 0, 255);

}  // namespace

void SavePng(const TBitmap& Picture, const std::string& FileName) {
  TPNGImage png;
  png.Assign(Picture);
  png.SaveToFile(FileName);
}

std::unique_ptr<TBitmap> FromCanvas(const art::TArtCanvas& Canvas) {
  std::unique_ptr<TPNGImage> png = Canvas.ToPNG();
  auto b = NewPicture(png->Width(), png->Height(), pf32bit);
  b->Assign(*png);
  b->SetAlphaFormat(afDefined);
  return b;
}

std::unique_ptr<TBitmap> KeyedFrame(int Size, double Radius, TColour Dark, TColour Light, const art::TPaint& Inside) {
  auto b = NewPicture(Size, Size, pf24bit);
  const art::TShape outline = art::RoundRect(0, 0, Size, Size, Radius);
  for (int y = 0; y < Size; ++y)
    for (int x = 0; x < Size; ++x) {
      const double d = outline(x + 0.5, y + 0.5);
      TColour c;
      if (d > 0) {
        c = kMagenta;  // the window's region leaves it out: its edge cannot be blended
      } else if (d > -1) {
        c = Dark;
      } else if (d > -2) {
        c = Light;
      } else if (d > -3) {
        // Light ring fading into the texture expected inside.
        c = art::Mix(Light, Inside(x + 0.5, y + 0.5), std::clamp(-d - 2, 0.0, 1.0) * 0.6 + 0.4);
      } else {
        c = kBlue;
      }
      Put24(*b, x, y, c);
    }
  return b;
}

std::unique_ptr<TBitmap> Gradient(int Length, bool Horizontal, TColour First, TColour Last) {
  auto b = NewPicture(Horizontal ? Length : 2, Horizontal ? 2 : Length, pf24bit);
  for (int i = 0; i < Length; ++i) {
    // A gentle curve: most of the change near the ends, like a lit surface.
    const double t = static_cast<double>(i) / std::max(Length - 1, 1);
    const double eased = 0.5 - 0.5 * std::cos(t * 3.14159265358979);
    const TColour c = art::Mix(First, Last, 0.35 * t + 0.65 * eased);
    for (int j = 0; j < 2; ++j) Put24(*b, Horizontal ? i : j, Horizontal ? j : i, c);
  }
  return b;
}

std::unique_ptr<TBitmap> Solid(int Width, int Height, TColour Colour) {
  auto b = NewPicture(Width, Height, pf24bit);
  for (int y = 0; y < Height; ++y)
    for (int x = 0; x < Width; ++x) Put24(*b, x, y, Colour);
  return b;
}

std::unique_ptr<TBitmap> Pill(int Width, int Height, double Radius, TColour Fill, double Gloss, const TColour* Ring) {
  art::TArtCanvas c(Width, Height);
  const art::TShape body = art::RoundRect(0, 0, Width, Height, Radius);
  c.Fill(body, Fill);
  if (Gloss > 0) c.Fill(art::Intersect(body, art::RoundRect(-4, 1, Width + 4, 2, 0)), art::Rgb(255, 255, 255, Gloss));
  if (Ring) c.Fill(art::Outline(art::RoundRect(0.5, 0.5, Width - 0.5, Height - 0.5, Radius - 0.5), 0.5), *Ring);
  return FromCanvas(c);
}

std::unique_ptr<TBitmap> SoftShadow(int Size, int Spread, double Radius, double Softness, double Alpha, int DX,
                                    int DY) {
  art::TArtCanvas c(Size, Size);
  c.FillSoft(art::RoundRect(Spread + DX, Spread + DY, Size - Spread + DX, Size - Spread + DY, Radius),
             art::Rgb(0, 0, 0, Alpha), Softness);
  return FromCanvas(c);
}

std::unique_ptr<TBitmap> SeparatorLine(TColour Dark, TColour Light) {
  auto b = NewPicture(4, 4, pf32bit);
  for (int x = 0; x < 4; ++x) {
    static_cast<TRGBQuad*>(b->ScanLine(2))[x] = Quad(Dark, Dark.A);
    static_cast<TRGBQuad*>(b->ScanLine(3))[x] = Quad(Light, Light.A);
  }
  b->SetAlphaFormat(afDefined);
  return b;
}

std::unique_ptr<TBitmap> ArrowGlyph(int Size, TColour Colour) {
  art::TArtCanvas c(Size, Size);
  const double m = Size / 2.0;
  c.Fill(art::Polygon({{m - 2, m - 3.5}, {m + 2, m}, {m - 2, m + 3.5}}), Colour);
  return FromCanvas(c);
}

std::unique_ptr<TBitmap> CheckGlyph(int Size, TColour Colour) {
  art::TArtCanvas c(Size, Size);
  const double s = Size / 10.0;
  c.Fill(art::Union(art::Segment({2 * s, 5.2 * s}, {4.2 * s, 7.4 * s}, 0.9 * s),
                    art::Segment({4.2 * s, 7.4 * s}, {8.2 * s, 2.6 * s}, 0.9 * s)),
         Colour);
  return FromCanvas(c);
}

std::unique_ptr<TBitmap> LogoGlyph(int Width, int Height, const std::string& Text, TColour Colour) {
  art::TArtCanvas c(Width, Height);
  const double letter = Width * 0.5;
  const double length = art::TextWidth(Text, letter);
  const double cx = Width / 2.0, cy = Height - 8 - length / 2;
  // Written along x, then turned a quarter counter-clockwise about its own centre to read upwards.
  c.Fill(art::Rotated(art::TextShape(Text, cx, cy, letter, letter / 7), cx, cy, -90), Colour);
  return FromCanvas(c);
}

}  // namespace skin
