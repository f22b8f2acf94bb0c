// The drawing the library's art is made with: shapes as tests in a unit
// square, layered in colours, each pixel's coverage from 4 x 4 samples, so
// every size is drawn from the same description; and the files they go into.
#pragma once
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <fstream>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "tools/common/iconwriter.h"

namespace artshapes {

using TInside = std::function<bool(double X, double Y)>;

struct TRgb {
  double R, G, B;
};

// One layer: where it lies and its colour.
struct TLayer {
  TInside Shape;
  TRgb Colour;
};

inline TInside Box(double L, double T, double R, double B, double Radius = 0) {
  return [=](double X, double Y) {
    const double dx = std::max({L + Radius - X, X - (R - Radius), 0.0});
    const double dy = std::max({T + Radius - Y, Y - (B - Radius), 0.0});
    return X >= L && X <= R && Y >= T && Y <= B && dx * dx + dy * dy <= Radius * Radius;
  };
}

inline TInside Disc(double CX, double CY, double Radius) {
  return [=](double X, double Y) { return (X - CX) * (X - CX) + (Y - CY) * (Y - CY) <= Radius * Radius; };
}

inline TInside Ring(double CX, double CY, double Outer, double Inner) {
  return [=](double X, double Y) {
    const double d = (X - CX) * (X - CX) + (Y - CY) * (Y - CY);
    return d <= Outer * Outer && d >= Inner * Inner;
  };
}

// Inside the polygon (even-odd rule).
inline TInside Polygon(std::vector<std::pair<double, double>> Points) {
  return [Points = std::move(Points)](double X, double Y) {
    bool inside = false;
    for (std::size_t i = 0, j = Points.size() - 1; i < Points.size(); j = i++) {
      const auto [xi, yi] = Points[i];
      const auto [xj, yj] = Points[j];
      if ((yi > Y) != (yj > Y) && X < (xj - xi) * (Y - yi) / (yj - yi) + xi) inside = !inside;
    }
    return inside;
  };
}

// Within Width / 2 of the segment from (X1, Y1) to (X2, Y2).
inline TInside Stroke(double X1, double Y1, double X2, double Y2, double Width) {
  return [=](double X, double Y) {
    const double dx = X2 - X1, dy = Y2 - Y1;
    const double t = std::clamp(((X - X1) * dx + (Y - Y1) * dy) / (dx * dx + dy * dy), 0.0, 1.0);
    const double ex = X - X1 - t * dx, ey = Y - Y1 - t * dy;
    return ex * ex + ey * ey <= Width * Width / 4;
  };
}

// Pixels 0xAARRGGBB over a transparent ground, or over Back; shapes are in
// units of the height.
inline std::vector<std::uint32_t> Render(const std::vector<TLayer>& Layers, int W, int H, const TRgb* Back) {
  std::vector<std::uint32_t> pixels(static_cast<std::size_t>(W * H));
  for (int y = 0; y < H; ++y) {
    for (int x = 0; x < W; ++x) {
      double r = 0, g = 0, b = 0, a = 0;  // premultiplied
      if (Back) r = Back->R, g = Back->G, b = Back->B, a = 1;
      for (const TLayer& layer : Layers) {
        int hits = 0;
        for (int sy = 0; sy < 4; ++sy) {
          for (int sx = 0; sx < 4; ++sx) hits += layer.Shape((x + (sx + 0.5) / 4) / H, (y + (sy + 0.5) / 4) / H);
        }
        const double c = hits / 16.0;
        r = layer.Colour.R * c + r * (1 - c);
        g = layer.Colour.G * c + g * (1 - c);
        b = layer.Colour.B * c + b * (1 - c);
        a = c + a * (1 - c);
      }
      const auto channel = [](double v) {
        return static_cast<std::uint32_t>(std::lround(std::clamp(v, 0.0, 1.0) * 255));
      };
      const double k = a > 0 ? 1 / a : 0;
      pixels[static_cast<std::size_t>(y * W + x)] =
          channel(a) << 24 | channel(r * k) << 16 | channel(g * k) << 8 | channel(b * k);
    }
  }
  return pixels;
}

inline std::string IconFile(const std::vector<TLayer>& Layers) {
  std::vector<iconwriter::TIcoEntry> entries;
  for (int size : {16, 32, 48}) {
    const std::vector<std::uint32_t> pixels = Render(Layers, size, size, nullptr);
    const auto at = [&](int X, int Y) { return pixels[static_cast<std::size_t>(Y * size + X)]; };
    entries.push_back({size, size, 0, 1, 32,
                       iconwriter::DibImage(size, size, 32, at, [&](int X, int Y) { return (at(X, Y) >> 24) < 128; })});
  }
  return iconwriter::IcoFile(entries);
}

// A bottom-up 24-bit BMP file.
inline std::string BitmapFile(const std::vector<std::uint32_t>& Pixels, int W, int H) {
  using iconwriter::LE16, iconwriter::LE32;
  const int stride = (W * 3 + 3) / 4 * 4;
  const auto imageSize = static_cast<std::uint32_t>(stride * H);
  std::string s = "BM" + LE32(54 + imageSize) + LE32(0) + LE32(54) + LE32(40) + LE32(static_cast<std::uint32_t>(W)) +
                  LE32(static_cast<std::uint32_t>(H)) + LE16(1) + LE16(24) + LE32(0) + LE32(imageSize) + LE32(2835) +
                  LE32(2835) + LE32(0) + LE32(0);
  for (int y = H - 1; y >= 0; --y) {
    std::string row(static_cast<std::size_t>(stride), '\0');
    for (int x = 0; x < W; ++x) {
      const std::uint32_t p = Pixels[static_cast<std::size_t>(y * W + x)];
      row[static_cast<std::size_t>(3 * x)] = static_cast<char>(p & 0xFF);
      row[static_cast<std::size_t>(3 * x + 1)] = static_cast<char>((p >> 8) & 0xFF);
      row[static_cast<std::size_t>(3 * x + 2)] = static_cast<char>((p >> 16) & 0xFF);
    }
    s += row;
  }
  return s;
}

inline bool WriteFile(const std::string& Path, const std::string& Bytes) {
  std::ofstream out(Path, std::ios::binary);
  out.write(Bytes.data(), static_cast<std::streamsize>(Bytes.size()));
  return static_cast<bool>(out);
}

}  // namespace artshapes
