// The file browser's tool bitmaps and list icons, drawn from shapes in a unit
// square. Tool bitmaps stand on magenta, the colour the toolbars take as
// transparent; their soft edges are blended with the button face, so no pink
// fringe shows. The low-colour codes take the nearest of the sixteen standard
// colours, for displays of 14 bits or less.
#include "tools/mkinfoart/art_browser.h"

#include <array>
#include <cmath>
#include <numbers>
#include <utility>
#include <vector>

#include "tools/mkinfoart/artshapes.h"

using namespace artshapes;

namespace {

using TPoints = std::vector<std::pair<double, double>>;

constexpr TRgb Rgb(unsigned V) { return {(V >> 16 & 255) / 255.0, (V >> 8 & 255) / 255.0, (V & 255) / 255.0}; }

const TRgb kInk = Rgb(0x2C3440), kWhite = Rgb(0xFFFFFF), kPaper = Rgb(0xF4F4F0), kLines = Rgb(0xA8ACB4);
const TRgb kGreen = Rgb(0x3DA34A), kSky = Rgb(0x9CC8F0), kYellow = Rgb(0xF5C518);
const TRgb kFolder = Rgb(0xE8B84A), kFolderLight = Rgb(0xF8D878), kRed = Rgb(0xD03A30), kSteel = Rgb(0xB4BAC2);
const TRgb kDarkSteel = Rgb(0x6A707A), kHill = Rgb(0x4C9A3C), kSun = Rgb(0xF8D030), kBrown = Rgb(0x7A5230);

// The outline's width, in units of the picture.
constexpr double kLine = 0.07;

// Inside the polygon and at least Distance from each of its edges.
TInside Inset(const TPoints& Points, double Distance) {
  const TInside inside = Polygon(Points);
  return [=](double X, double Y) {
    if (!inside(X, Y)) return false;
    for (std::size_t i = 0, j = Points.size() - 1; i < Points.size(); j = i++)
      if (Stroke(Points[j].first, Points[j].second, Points[i].first, Points[i].second, 2 * Distance)(X, Y))
        return false;
    return true;
  };
}

// A polygon filled with Fill inside an ink outline.
void Outlined(std::vector<TLayer>& Layers, const TPoints& Points, TRgb Fill, double Width = kLine) {
  Layers.push_back({Polygon(Points), kInk});
  Layers.push_back({Inset(Points, Width), Fill});
}

void OutlinedBox(std::vector<TLayer>& Layers, double L, double T, double R, double B, TRgb Fill, double Radius = 0.04,
                 double Width = kLine) {
  Layers.push_back({Box(L, T, R, B, Radius), kInk});
  Layers.push_back({Box(L + Width, T + Width, R - Width, B - Width, std::max(Radius - Width, 0.0)), Fill});
}

TPoints Star(double CX, double CY, double Outer, double Inner) {
  TPoints points;
  for (int i = 0; i < 10; ++i) {
    const double angle = -std::numbers::pi / 2 + i * std::numbers::pi / 5;
    const double r = i % 2 ? Inner : Outer;
    points.emplace_back(CX + r * std::cos(angle), CY + r * std::sin(angle));
  }
  return points;
}

// A plus or (Plus false) a minus sign about its centre.
void Sign(std::vector<TLayer>& Layers, double CX, double CY, bool Plus, TRgb Fill) {
  const double arm = 0.18, half = 0.07, w = 0.055;
  Layers.push_back({Box(CX - arm - w, CY - half - w, CX + arm + w, CY + half + w, 0.03), kInk});
  if (Plus) Layers.push_back({Box(CX - half - w, CY - arm - w, CX + half + w, CY + arm + w, 0.03), kInk});
  Layers.push_back({Box(CX - arm, CY - half, CX + arm, CY + half), Fill});
  if (Plus) Layers.push_back({Box(CX - half, CY - arm, CX + half, CY + arm), Fill});
}

void Magnifier(std::vector<TLayer>& Layers, double CX, double CY, double R) {
  Layers.push_back({Stroke(CX + 0.6 * R, CY + 0.6 * R, CX + 1.75 * R, CY + 1.75 * R, 0.62 * R), kInk});
  Layers.push_back({Stroke(CX + 0.75 * R, CY + 0.75 * R, CX + 1.62 * R, CY + 1.62 * R, 0.34 * R), kBrown});
  Layers.push_back({Disc(CX, CY, R), kInk});
  Layers.push_back({Disc(CX, CY, R - kLine), kSky});
  Layers.push_back({Disc(CX - 0.3 * R, CY - 0.3 * R, 0.22 * R), kWhite});
}

TPoints Page(double L, double T, double R, double B, double Fold) {
  return {{L, T}, {R - Fold, T}, {R, T + Fold}, {R, B}, {L, B}};
}

void PageWithLines(std::vector<TLayer>& Layers, double L, double T, double R, double B, double Width) {
  const double fold = (R - L) * 0.36;
  Outlined(Layers, Page(L, T, R, B, fold), kPaper, Width);
  Layers.push_back({Polygon({{R - fold, T}, {R, T + fold}, {R - fold, T + fold}}), kLines});
  for (double y = T + fold + 0.1; y < B - 0.1; y += 0.13)
    Layers.push_back({Box(L + 0.12, y, R - 0.12, y + 0.05), kLines});
}

void Drive(std::vector<TLayer>& Layers) {
  OutlinedBox(Layers, 0.06, 0.30, 0.94, 0.74, kSteel, 0.08);
  Layers.push_back({Box(0.18, 0.47, 0.60, 0.55, 0.02), kDarkSteel});
  Layers.push_back({Disc(0.78, 0.51, 0.065), kGreen});
}

void Folder(std::vector<TLayer>& Layers, TRgb Body) {
  Outlined(Layers, {{0.04, 0.16}, {0.38, 0.16}, {0.46, 0.26}, {0.96, 0.26}, {0.96, 0.86}, {0.04, 0.86}}, Body, 0.06);
  Outlined(Layers, {{0.04, 0.40}, {0.96, 0.40}, {0.96, 0.86}, {0.04, 0.86}}, kFolderLight, 0.06);
}

void Computer(std::vector<TLayer>& Layers, double L, double T, double R, double B) {
  OutlinedBox(Layers, L, T, R, B, kSky, 0.03, 0.06);
}

// ---- The tool bitmaps, by action id --------------------------------------------------

std::vector<TLayer> Tool(int Id) {
  std::vector<TLayer> l;
  switch (Id) {
    case 100000:  // up one folder
      Outlined(l, {{0.5, 0.06}, {0.92, 0.50}, {0.67, 0.50}, {0.67, 0.94}, {0.33, 0.94}, {0.33, 0.50}, {0.08, 0.50}},
               kGreen);
      break;
    case 100001: {                                                  // list again: a circling arrow
      const double cx = 0.5, cy = 0.52, start = -1.45, end = 0.05;  // the gap, in radians
      const auto arc = [=](double Outer, double Inner, double Grow) {
        const TInside ring = Ring(cx, cy, Outer, Inner);
        return [=](double X, double Y) {
          const double a = std::atan2(Y - cy, X - cx);
          return ring(X, Y) && (a < start - Grow || a > end + Grow);
        };
      };
      l.push_back({arc(0.40, 0.16, 0.0), kInk});
      l.push_back({arc(0.335, 0.225, 0.2), kGreen});
      const double c = std::cos(start), s = std::sin(start);
      const double mx = cx + 0.28 * c, my = cy + 0.28 * s;
      Outlined(l, {{cx + 0.52 * c, cy + 0.52 * s}, {mx - 0.34 * s, my + 0.34 * c}, {cx + 0.04 * c, cy + 0.04 * s}},
               kGreen, 0.065);
      break;
    }
    case 100002:  // the drives
      Drive(l);
      break;
    case 100003:  // the network: a server and two computers on a line
      Computer(l, 0.28, 0.04, 0.72, 0.38);
      l.push_back({Box(0.45, 0.38, 0.55, 0.60), kInk});
      l.push_back({Box(0.12, 0.54, 0.88, 0.62), kInk});
      l.push_back({Box(0.15, 0.58, 0.23, 0.70), kInk});
      l.push_back({Box(0.77, 0.58, 0.85, 0.70), kInk});
      Computer(l, 0.02, 0.66, 0.38, 0.96);
      Computer(l, 0.62, 0.66, 0.98, 0.96);
      break;
    case 100004:  // the favourites
      Outlined(l, Star(0.5, 0.54, 0.48, 0.2), kYellow);
      break;
    case 100005:  // add a favourite
    case 100006:  // remove one
      Outlined(l, Star(0.42, 0.58, 0.42, 0.17), kYellow);
      Sign(l, 0.74, 0.25, Id == 100005, Id == 100005 ? kGreen : kRed);
      break;
    case 100007:  // the search page
      PageWithLines(l, 0.10, 0.04, 0.74, 0.94, 0.06);
      Magnifier(l, 0.60, 0.58, 0.20);
      break;
    case 100008:  // start the search
      Magnifier(l, 0.40, 0.40, 0.32);
      break;
    case 100009: {  // stop it
      TPoints octagon;
      for (int i = 0; i < 8; ++i) {
        const double a = std::numbers::pi / 8 + i * std::numbers::pi / 4;
        octagon.emplace_back(0.5 + 0.47 * std::cos(a), 0.5 + 0.47 * std::sin(a));
      }
      Outlined(l, octagon, kRed);
      l.push_back({Box(0.24, 0.43, 0.76, 0.57, 0.02), kWhite});
      break;
    }
    default:
      break;
  }
  return l;
}

// ---- The list icons, by name ---------------------------------------------------------

std::vector<TLayer> ListIcon(const std::string& Name) {
  std::vector<TLayer> l;
  if (Name == "FILE") {
    PageWithLines(l, 0.16, 0.04, 0.84, 0.96, 0.05);
  } else if (Name == "BROWSERIMAGE") {  // a picture: sky, hills and sun in a frame
    OutlinedBox(l, 0.04, 0.14, 0.96, 0.86, kSky, 0.03, 0.06);
    l.push_back({Disc(0.70, 0.36, 0.10), kSun});
    l.push_back({Polygon({{0.10, 0.80}, {0.36, 0.42}, {0.56, 0.66}, {0.68, 0.54}, {0.90, 0.80}}), kHill});
  } else if (Name == "BROWSERFOLDER") {
    Folder(l, kFolder);
  } else if (Name == "BROWSERDRIVE") {
    Drive(l);
  } else if (Name == "BROWSERSERVER") {  // a tower beside its screen
    OutlinedBox(l, 0.56, 0.08, 0.94, 0.92, kSteel, 0.04, 0.06);
    l.push_back({Box(0.64, 0.20, 0.86, 0.26), kDarkSteel});
    l.push_back({Box(0.64, 0.32, 0.86, 0.38), kDarkSteel});
    l.push_back({Disc(0.75, 0.78, 0.05), kGreen});
    Computer(l, 0.04, 0.24, 0.50, 0.64);
    l.push_back({Box(0.18, 0.64, 0.36, 0.80), kInk});
  } else if (Name == "BROWSERSHARE") {  // a folder on the network's line
    Folder(l, kFolder);
    l.push_back({Box(0.45, 0.80, 0.55, 0.92), kInk});
    l.push_back({Box(0.10, 0.90, 0.90, 0.97), kInk});
  } else if (Name == "BROWSERFAVOURITE") {
    Outlined(l, Star(0.5, 0.54, 0.48, 0.2), kYellow, 0.06);
  }
  return l;
}

// The sixteen standard colours of a low-colour display.
TRgb Nearest16(TRgb C) {
  static const std::array<unsigned, 16> palette{0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080,
                                                0x008080, 0xC0C0C0, 0x808080, 0xFF0000, 0x00FF00, 0xFFFF00,
                                                0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF};
  TRgb best{};
  double bestDistance = 1e9;
  for (unsigned value : palette) {
    if (value == 0xFF00FF) continue;  // the transparent colour is never a picture's
    const TRgb p = Rgb(value);
    const double d = (p.R - C.R) * (p.R - C.R) + (p.G - C.G) * (p.G - C.G) + (p.B - C.B) * (p.B - C.B);
    if (d < bestDistance) bestDistance = d, best = p;
  }
  return best;
}

// A tool bitmap: magenta where the picture covers less than half a pixel,
// else its colour over the button face.
std::vector<std::uint32_t> ToolPixels(const std::vector<TLayer>& Layers, int Size, bool HighColor) {
  const TRgb face = Rgb(0xD4D0C8);
  std::vector<std::uint32_t> pixels = Render(Layers, Size, Size, nullptr);
  for (std::uint32_t& p : pixels) {
    const double a = (p >> 24) / 255.0;
    if (a < 0.5) {
      p = 0xFF00FF;
      continue;
    }
    TRgb c{(p >> 16 & 255) / 255.0 * a + face.R * (1 - a), (p >> 8 & 255) / 255.0 * a + face.G * (1 - a),
           (p & 255) / 255.0 * a + face.B * (1 - a)};
    if (!HighColor) c = Nearest16(c);
    const auto channel = [](double v) { return static_cast<std::uint32_t>(std::lround(v * 255)); };
    p = channel(c.R) << 16 | channel(c.G) << 8 | channel(c.B);
  }
  return pixels;
}

}  // namespace

bool DrawBrowserArt(const std::string& Dir, std::string& Script) {
  bool ok = true;
  struct TCode {
    const char* Name;
    int Size;
    bool HighColor;
  };
  for (int id = 100000; id <= 100009; ++id) {
    for (const TCode& code :
         {TCode{"HCL_", 20, true}, TCode{"HCS_", 16, true}, TCode{"LCL_", 20, false}, TCode{"LCS_", 16, false}}) {
      const std::string name = "TOOL_" + std::string(code.Name) + std::to_string(id);
      ok = ok && WriteFile(Dir + "/" + name + ".bmp",
                           BitmapFile(ToolPixels(Tool(id), code.Size, code.HighColor), code.Size, code.Size));
      Script += name + " BITMAP \"" + Dir + "/" + name + ".bmp\"\n";
    }
  }
  for (const char* name :
       {"FILE", "BROWSERIMAGE", "BROWSERFOLDER", "BROWSERDRIVE", "BROWSERSERVER", "BROWSERSHARE", "BROWSERFAVOURITE"}) {
    ok = ok && WriteFile(Dir + "/" + name + ".ico", IconFile(ListIcon(name)));
    Script += std::string(name) + " ICON \"" + Dir + "/" + name + ".ico\"\n";
  }
  return ok;
}
