// The drawing surface and the shape functions of the package art.
#include "artcanvas.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "kem3/pictures/pngimage.h"
#include "platform/bitmap.h"

namespace art {

TColour Rgb(int R, int G, int B, double A) { return {R / 255.0, G / 255.0, B / 255.0, A}; }

TColour Mix(const TColour& A, const TColour& B, double T) {
  T = std::clamp(T, 0.0, 1.0);
  return {A.R + (B.R - A.R) * T, A.G + (B.G - A.G) * T, A.B + (B.B - A.B) * T, A.A + (B.A - A.A) * T};
}

TColour WithAlpha(TColour C, double A) {
  C.A = A;
  return C;
}

TShape Circle(double CX, double CY, double Radius) {
  return [=](double x, double y) { return std::hypot(x - CX, y - CY) - Radius; };
}

TShape Ellipse(double CX, double CY, double RX, double RY) {
  return [=](double x, double y) {
    // Scaled distance, corrected by the gradient's length: close to exact near the outline.
    const double dx = (x - CX) / RX, dy = (y - CY) / RY;
    const double k = std::hypot(dx, dy);
    if (k == 0) return -std::min(RX, RY);
    const double g = std::hypot(dx / RX, dy / RY);
    return (k - 1) * k / g;
  };
}

TShape RoundRect(double L, double T, double R, double B, double Radius) {
  const double cx = (L + R) / 2, cy = (T + B) / 2;
  const double hx = (R - L) / 2 - Radius, hy = (B - T) / 2 - Radius;
  return [=](double x, double y) {
    const double qx = std::abs(x - cx) - hx, qy = std::abs(y - cy) - hy;
    return std::hypot(std::max(qx, 0.0), std::max(qy, 0.0)) + std::min(std::max(qx, qy), 0.0) - Radius;
  };
}

double DistanceToSegment(TPoint2 P, TPoint2 A, TPoint2 B) {
  const double bx = B.X - A.X, by = B.Y - A.Y;
  const double px = P.X - A.X, py = P.Y - A.Y;
  const double len2 = bx * bx + by * by;
  const double t = len2 > 0 ? std::clamp((px * bx + py * by) / len2, 0.0, 1.0) : 0.0;
  return std::hypot(px - bx * t, py - by * t);
}

TShape Segment(TPoint2 A, TPoint2 B, double W) {
  return [=](double x, double y) { return DistanceToSegment({x, y}, A, B) - W; };
}

TShape Polygon(std::vector<TPoint2> Points) {
  return [points = std::move(Points)](double x, double y) {
    double d = 1e300;
    bool inside = false;
    for (size_t i = 0, j = points.size() - 1; i < points.size(); j = i++) {
      const TPoint2& a = points[i];
      const TPoint2& b = points[j];
      d = std::min(d, DistanceToSegment({x, y}, a, b));
      if ((a.Y > y) != (b.Y > y) && x < (b.X - a.X) * (y - a.Y) / (b.Y - a.Y) + a.X) inside = !inside;
    }
    return inside ? -d : d;
  };
}

TShape Union(TShape A, TShape B) {
  return [=](double x, double y) { return std::min(A(x, y), B(x, y)); };
}
TShape Intersect(TShape A, TShape B) {
  return [=](double x, double y) { return std::max(A(x, y), B(x, y)); };
}
TShape Subtract(TShape A, TShape B) {
  return [=](double x, double y) { return std::max(A(x, y), -B(x, y)); };
}
TShape Outline(TShape A, double W) {
  return [=](double x, double y) { return std::abs(A(x, y)) - W; };
}

TShape Rotated(TShape A, double CX, double CY, double Degrees) {
  const double r = -Degrees * std::numbers::pi / 180;
  const double c = std::cos(r), s = std::sin(r);
  return [=](double x, double y) {
    const double dx = x - CX, dy = y - CY;
    return A(CX + dx * c - dy * s, CY + dx * s + dy * c);
  };
}

TShape Translated(TShape A, double DX, double DY) {
  return [=](double x, double y) { return A(x - DX, y - DY); };
}

TArtCanvas::TArtCanvas(int Width, int Height)
    : FWidth(Width), FHeight(Height), FPixels(static_cast<size_t>(Width) * static_cast<size_t>(Height)) {}

void TArtCanvas::Blend(int X, int Y, const TColour& Colour, double Coverage) {
  const double a = Colour.A * Coverage;
  if (a <= 0) return;
  TPixel& p = FPixels[static_cast<size_t>(Y) * static_cast<size_t>(FWidth) + static_cast<size_t>(X)];
  p.R = Colour.R * a + p.R * (1 - a);
  p.G = Colour.G * a + p.G * (1 - a);
  p.B = Colour.B * a + p.B * (1 - a);
  p.A = a + p.A * (1 - a);
}

void TArtCanvas::Fill(const TShape& Shape, const TColour& Colour, double Opacity) {
  Fill(
      Shape, [&](double, double) { return Colour; }, Opacity);
}

void TArtCanvas::Fill(const TShape& Shape, const TPaint& Paint, double Opacity) {
  for (int y = 0; y < FHeight; ++y)
    for (int x = 0; x < FWidth; ++x) {
      const double cx = x + 0.5, cy = y + 0.5;
      const double coverage = std::clamp(0.5 - Shape(cx, cy), 0.0, 1.0);
      if (coverage > 0) Blend(x, y, Paint(cx, cy), coverage * Opacity);
    }
}

void TArtCanvas::FillSoft(const TShape& Shape, const TColour& Colour, double Softness) {
  for (int y = 0; y < FHeight; ++y)
    for (int x = 0; x < FWidth; ++x) {
      const double coverage = std::clamp(0.5 - Shape(x + 0.5, y + 0.5) / Softness, 0.0, 1.0);
      if (coverage > 0) Blend(x, y, Colour, coverage);
    }
}

void TArtCanvas::Clip(const TShape& Shape) {
  for (int y = 0; y < FHeight; ++y)
    for (int x = 0; x < FWidth; ++x) {
      const double coverage = std::clamp(0.5 - Shape(x + 0.5, y + 0.5), 0.0, 1.0);
      TPixel& p = FPixels[static_cast<size_t>(y) * static_cast<size_t>(FWidth) + static_cast<size_t>(x)];
      p.R *= coverage;
      p.G *= coverage;
      p.B *= coverage;
      p.A *= coverage;
    }
}

void TArtCanvas::Draw(const TArtCanvas& Other, double Opacity) {
  for (size_t i = 0; i < FPixels.size() && i < Other.FPixels.size(); ++i) {
    const TPixel& s = Other.FPixels[i];
    TPixel& d = FPixels[i];
    const double a = s.A * Opacity;
    d.R = s.R * Opacity + d.R * (1 - a);
    d.G = s.G * Opacity + d.G * (1 - a);
    d.B = s.B * Opacity + d.B * (1 - a);
    d.A = a + d.A * (1 - a);
  }
}

std::unique_ptr<TPNGImage> TArtCanvas::ToPNG() const {
  TBitmap bitmap;
  bitmap.SetPixelFormat(pf32bit);
  bitmap.SetSize(FWidth, FHeight);
  auto byte = [](double v) { return static_cast<std::uint8_t>(std::lround(std::clamp(v, 0.0, 1.0) * 255)); };
  for (int y = 0; y < FHeight; ++y) {
    auto* row = static_cast<TRGBQuad*>(bitmap.ScanLine(y));
    for (int x = 0; x < FWidth; ++x) {
      const TPixel& p = FPixels[static_cast<size_t>(y) * static_cast<size_t>(FWidth) + static_cast<size_t>(x)];
      const std::uint8_t alpha = byte(p.A);
      if (alpha == 0) {
        row[x] = {};
        continue;
      }
      row[x] = {byte(p.B / p.A), byte(p.G / p.A), byte(p.R / p.A), alpha};
    }
  }
  bitmap.SetAlphaFormat(afDefined);
  auto png = std::make_unique<TPNGImage>();
  png->Assign(bitmap);
  return png;
}

}  // namespace art
