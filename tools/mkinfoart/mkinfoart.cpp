// Draws the information dialog's pictures for kem3.dll: the five section icons
// (16, 32 and 48 pixels, 32-bit with alpha) and the component library's logo
// (a 24-bit bitmap on the blocks' grey), and the resource script naming them.
// Usage: mkinfoart OUTPUT_DIR   (writes the pictures and OUTPUT_DIR/kem3info.rc)
//
// Shapes are tests in a unit square; each pixel's coverage comes from 4 x 4
// samples, so every size is drawn from the same description.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "tools/common/iconwriter.h"

namespace {

using TInside = std::function<bool(double X, double Y)>;

struct TRgb {
  double R, G, B;
};

// One layer: where it lies and its colour.
struct TLayer {
  TInside Shape;
  TRgb Colour;
};

TInside Box(double L, double T, double R, double B, double Radius = 0) {
  return [=](double X, double Y) {
    const double dx = std::max({L + Radius - X, X - (R - Radius), 0.0});
    const double dy = std::max({T + Radius - Y, Y - (B - Radius), 0.0});
    return X >= L && X <= R && Y >= T && Y <= B && dx * dx + dy * dy <= Radius * Radius;
  };
}

TInside Disc(double CX, double CY, double Radius) {
  return [=](double X, double Y) { return (X - CX) * (X - CX) + (Y - CY) * (Y - CY) <= Radius * Radius; };
}

TInside Ring(double CX, double CY, double Outer, double Inner) {
  return [=](double X, double Y) {
    const double d = (X - CX) * (X - CX) + (Y - CY) * (Y - CY);
    return d <= Outer * Outer && d >= Inner * Inner;
  };
}

// The library's own blue (the dialog's caption band) and its lighter tints.
constexpr TRgb kBlue{0x47 / 255.0, 0x57 / 255.0, 0x84 / 255.0};
constexpr TRgb kLight{0x7A / 255.0, 0x8A / 255.0, 0xB7 / 255.0};
constexpr TRgb kWhite{1, 1, 1};
constexpr TRgb kGrey{0x90 / 255.0, 0x90 / 255.0, 0x90 / 255.0};

std::vector<TLayer> General() {
  return {{Disc(0.5, 0.5, 0.46), kBlue},
          {Disc(0.5, 0.5, 0.40), kLight},
          {Disc(0.5, 0.28, 0.07), kWhite},
          {Box(0.43, 0.41, 0.57, 0.78, 0.03), kWhite}};
}

std::vector<TLayer> Library() {
  return {{Box(0.10, 0.14, 0.32, 0.90, 0.03), kBlue}, {Box(0.36, 0.08, 0.58, 0.90, 0.03), kLight},
          {Box(0.62, 0.20, 0.84, 0.90, 0.03), kBlue}, {Box(0.14, 0.24, 0.28, 0.30), kWhite},
          {Box(0.40, 0.18, 0.54, 0.24), kWhite},      {Box(0.66, 0.30, 0.80, 0.36), kWhite},
          {Box(0.04, 0.90, 0.96, 0.96, 0.02), kGrey}};
}

std::vector<TLayer> Modules() {
  return {{Box(0.08, 0.08, 0.46, 0.46, 0.08), kBlue},
          {Box(0.54, 0.08, 0.92, 0.46, 0.08), kLight},
          {Box(0.08, 0.54, 0.46, 0.92, 0.08), kLight},
          {Box(0.54, 0.54, 0.92, 0.92, 0.08), kBlue}};
}

std::vector<TLayer> Plugins() {
  return {{Box(0.30, 0.06, 0.40, 0.30, 0.03), kGrey},
          {Box(0.60, 0.06, 0.70, 0.30, 0.03), kGrey},
          {Box(0.16, 0.28, 0.84, 0.62, 0.10), kBlue},
          {Box(0.42, 0.60, 0.58, 0.94, 0.04), kLight}};
}

std::vector<TLayer> Devices() {
  return {{Box(0.06, 0.12, 0.94, 0.72, 0.06), kBlue},
          {Box(0.12, 0.18, 0.88, 0.66, 0.02), kLight},
          {Box(0.42, 0.72, 0.58, 0.86), kGrey},
          {Box(0.26, 0.84, 0.74, 0.92, 0.03), kGrey}};
}

// The logo: a badge with three hooks, the library's mark. Its units are the
// picture's height, so it is 3 wide.
std::vector<TLayer> Logo() {
  std::vector<TLayer> layers{{Box(0.03, 0.03, 2.97, 0.97, 0.3), kBlue}, {Box(0.09, 0.09, 2.91, 0.91, 0.25), kLight}};
  for (int i = 0; i < 3; ++i) {
    const double cx = 0.62 + 0.88 * i;
    // A hook: an eye on top of a shank, the lower half of a ring as its bow,
    // and a barb pointing up at the bow's other end.
    const TInside bow = Ring(cx, 0.56, 0.22, 0.12);
    layers.push_back({[=](double X, double Y) { return Y >= 0.56 && bow(X, Y); }, kWhite});
    layers.push_back({Box(cx + 0.12, 0.34, cx + 0.22, 0.57), kWhite});
    layers.push_back({Ring(cx + 0.17, 0.24, 0.11, 0.05), kWhite});
    layers.push_back({[=](double X, double Y) {
                        // A triangle from the bow's left end up to its tip.
                        const double t = (0.58 - Y) / 0.2;
                        return t >= 0 && t <= 1 && X >= cx - 0.22 && X <= cx - 0.22 + 0.14 * (1 - t);
                      },
                      kWhite});
  }
  return layers;
}

// Pixels 0xAARRGGBB over a transparent ground, or over Back; shapes are in
// units of the height.
std::vector<std::uint32_t> Render(const std::vector<TLayer>& Layers, int W, int H, const TRgb* Back) {
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

std::string IconFile(const std::vector<TLayer>& Layers) {
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
std::string BitmapFile(const std::vector<std::uint32_t>& Pixels, int W, int H) {
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

bool WriteFile(const std::string& Path, const std::string& Bytes) {
  std::ofstream out(Path, std::ios::binary);
  out.write(Bytes.data(), static_cast<std::streamsize>(Bytes.size()));
  return static_cast<bool>(out);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: mkinfoart OUTPUT_DIR\n");
    return 2;
  }
  const std::string dir = argv[1];
  std::string script = "// Generated by mkinfoart: the information dialog's pictures.\n";
  const std::pair<const char*, std::vector<TLayer>> icons[] = {{"INFOGENERAL", General()},
                                                               {"INFOLIBRARY", Library()},
                                                               {"INFOMODULES", Modules()},
                                                               {"INFOPLUGINS", Plugins()},
                                                               {"INFODEVICES", Devices()}};
  bool ok = true;
  for (const auto& [name, layers] : icons) {
    ok = ok && WriteFile(dir + "/" + name + ".ico", IconFile(layers));
    script += std::string(name) + " ICON \"" + dir + "/" + name + ".ico\"\n";
  }
  // The logo stands on a block's line colour.
  constexpr int kLogoWidth = 120, kLogoHeight = 40;
  ok = ok && WriteFile(dir + "/kem3logo.bmp",
                       BitmapFile(Render(Logo(), kLogoWidth, kLogoHeight, &kGrey), kLogoWidth, kLogoHeight));
  script += "KEM3LOGO BMPIMG \"" + dir + "/kem3logo.bmp\"\n";
  ok = ok && WriteFile(dir + "/kem3info.rc", script);
  if (!ok) {
    std::fprintf(stderr, "mkinfoart: cannot write into %s\n", dir.c_str());
    return 1;
  }
  return 0;
}
