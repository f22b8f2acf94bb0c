// Draws the program's 21 cursors and writes each as a Windows .cur file (one
// 32 x 32 image, 32-bit with alpha, plus its AND mask), and the resource
// script that compiles them into kem3.dll under their resource names.
// Usage: mkcursors OUTPUT_DIR   (writes OUTPUT_DIR/NAME.cur and OUTPUT_DIR/kem3cursors.rc)
//
// Every picture is a white body with a one-pixel black outline (the look of
// the system's arrow), plus black detail lines inside; bodies are unions of a
// few shapes tested at pixel centres, so the art stays crisp at 32 pixels.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <functional>
#include <numbers>
#include <string>
#include <vector>

#include "kem3/pictures/kemcursors.h"

namespace {

constexpr int kSize = 32;
constexpr double kPi = std::numbers::pi;

using TShape = std::function<bool(double x, double y)>;

struct TPicture {
  std::array<bool, kSize * kSize> Body{};
  std::array<bool, kSize * kSize> Detail{};
  int HotX = 0, HotY = 0;

  void Fill(std::array<bool, kSize * kSize>& Layer, const TShape& Shape) {
    for (int y = 0; y < kSize; ++y)
      for (int x = 0; x < kSize; ++x)
        if (Shape(x + 0.5, y + 0.5)) Layer[y * kSize + x] = true;
  }
  void Add(const TShape& Shape) { Fill(Body, Shape); }
  void Line(const TShape& Shape) { Fill(Detail, Shape); }
  // Pixels of the body are cleared again (openings such as a lens).
  void Cut(const TShape& Shape) {
    for (int y = 0; y < kSize; ++y)
      for (int x = 0; x < kSize; ++x)
        if (Shape(x + 0.5, y + 0.5)) Body[y * kSize + x] = false;
  }
};

// ---- Shapes -----------------------------------------------------------------

struct TPt {
  double X, Y;
};

TShape Polygon(std::vector<TPt> Points) {
  return [Points](double x, double y) {
    bool inside = false;
    for (std::size_t i = 0, j = Points.size() - 1; i < Points.size(); j = i++) {
      const TPt& a = Points[i];
      const TPt& b = Points[j];
      if ((a.Y > y) != (b.Y > y) && x < (b.X - a.X) * (y - a.Y) / (b.Y - a.Y) + a.X) inside = !inside;
    }
    return inside;
  };
}

double SegmentDistance(double x, double y, TPt A, TPt B) {
  double dx = B.X - A.X, dy = B.Y - A.Y;
  double len2 = dx * dx + dy * dy;
  double t = len2 == 0 ? 0 : std::clamp(((x - A.X) * dx + (y - A.Y) * dy) / len2, 0.0, 1.0);
  double px = A.X + t * dx - x, py = A.Y + t * dy - y;
  return std::sqrt(px * px + py * py);
}

// A stroke of the given half width between two points, with round ends.
TShape Capsule(TPt A, TPt B, double HalfWidth) {
  return [=](double x, double y) { return SegmentDistance(x, y, A, B) <= HalfWidth; };
}

TShape Disc(TPt C, double R) {
  return [=](double x, double y) { return (x - C.X) * (x - C.X) + (y - C.Y) * (y - C.Y) <= R * R; };
}

TShape Box(double L, double T, double R, double B) {
  return [=](double x, double y) { return x >= L && x <= R && y >= T && y <= B; };
}

// A band of an ellipse with radii Rx, Ry and half width HalfWidth, from angle
// From to To (degrees, clockwise from the right, as y grows downwards).
TShape Arc(TPt C, double Rx, double Ry, double HalfWidth, double From, double To) {
  return [=](double x, double y) {
    double nx = (x - C.X) / Rx, ny = (y - C.Y) / Ry;
    double rho = std::sqrt(nx * nx + ny * ny);
    if (std::fabs(rho - 1) * std::min(Rx, Ry) > HalfWidth) return false;
    double angle = std::atan2(ny, nx) * 180 / kPi;
    if (angle < 0) angle += 360;
    double a = From, b = To;
    while (a < 0) a += 360, b += 360;
    return (angle >= a && angle <= b) || (angle + 360 >= a && angle + 360 <= b);
  };
}

// An arrow head with its tip at Tip pointing in Direction (degrees), Length long and Width wide.
TShape Head(TPt Tip, double Direction, double Length, double Width) {
  double r = Direction * kPi / 180, ux = std::cos(r), uy = std::sin(r);
  TPt base{Tip.X - ux * Length, Tip.Y - uy * Length};
  return Polygon(
      {Tip, {base.X - uy * Width / 2, base.Y + ux * Width / 2}, {base.X + uy * Width / 2, base.Y - ux * Width / 2}});
}

// ---- Pictures ---------------------------------------------------------------

constexpr TPt kCentre{16, 16};

// The system-style pointer with its tip at (Left, Top).
void Pointer(TPicture& P, double Left, double Top, double Scale) {
  auto pt = [&](double x, double y) { return TPt{Left + x * Scale, Top + y * Scale}; };
  P.Add(Polygon({pt(0, 0), pt(0, 16), pt(4, 12.5), pt(7, 19), pt(9.5, 18), pt(6.5, 11.5), pt(11.5, 11.5)}));
  P.HotX = static_cast<int>(Left);
  P.HotY = static_cast<int>(Top);
}

// Arrows to all four sides from Centre, Reach long, with heads HeadLength long.
void FourWay(TPicture& P, TPt C, double Reach, double HeadLength = 5, double Shaft = 1.0) {
  double width = HeadLength * 1.6;
  P.Add(Capsule({C.X - Reach + 3, C.Y}, {C.X + Reach - 3, C.Y}, Shaft));
  P.Add(Capsule({C.X, C.Y - Reach + 3}, {C.X, C.Y + Reach - 3}, Shaft));
  P.Add(Head({C.X + Reach, C.Y}, 0, HeadLength, width));
  P.Add(Head({C.X - Reach, C.Y}, 180, HeadLength, width));
  P.Add(Head({C.X, C.Y + Reach}, 90, HeadLength, width));
  P.Add(Head({C.X, C.Y - Reach}, 270, HeadLength, width));
}

// A double arrow across Centre: horizontal or vertical.
void DoubleArrow(TPicture& P, TPt C, double Reach, bool Horizontal) {
  if (Horizontal) {
    P.Add(Capsule({C.X - Reach + 3, C.Y}, {C.X + Reach - 3, C.Y}, 1.0));
    P.Add(Head({C.X + Reach, C.Y}, 0, 5, 9));
    P.Add(Head({C.X - Reach, C.Y}, 180, 5, 9));
  } else {
    P.Add(Capsule({C.X, C.Y - Reach + 3}, {C.X, C.Y + Reach - 3}, 1.0));
    P.Add(Head({C.X, C.Y + Reach}, 90, 5, 9));
    P.Add(Head({C.X, C.Y - Reach}, 270, 5, 9));
  }
}

// A turning arrow: an elliptic band with a head at its end.
void TurnArrow(TPicture& P, TPt C, double Rx, double Ry) {
  P.Add(Arc(C, Rx, Ry, 1.2, 40, 330));
  double end = 40 * kPi / 180;
  TPt tip{C.X + Rx * std::cos(end), C.Y + Ry * std::sin(end)};
  // The head continues the band at its start, pointing along the ellipse (counter-clockwise).
  double direction = std::atan2(-Ry * std::cos(end), Rx * std::sin(end)) * 180 / kPi;
  P.Add(Head({tip.X + 4 * std::cos(direction * kPi / 180), tip.Y + 4 * std::sin(direction * kPi / 180)}, direction, 7,
             9));
  P.HotX = static_cast<int>(C.X);
  P.HotY = static_cast<int>(C.Y);
}

// An open (Spread) or closed hand: four fingers of three pixels with gaps of
// one (which the outline fills black, and a detail line carries on into the
// palm), a palm narrowing to the wrist and a thumb on the left. Left is the
// palm's left column, PalmTop the row where the fingers meet it.
void Hand(TPicture& P, int Left, int PalmTop, bool Spread) {
  const int lengths[4] = {Spread ? 9 : 3, Spread ? 11 : 4, Spread ? 10 : 4, Spread ? 7 : 3};
  for (int i = 0; i < 4; ++i) {
    double l = Left + 4 * i, top = PalmTop - lengths[i];
    P.Add(Box(l + 0.1, top + 1.5, l + 2.9, PalmTop + 1));
    P.Add(Disc({l + 1.5, top + 1.5}, 1.5));
    if (i > 0) P.Line(Box(l - 0.9, PalmTop - 0.5, l - 0.1, PalmTop + 2));
  }
  P.Add(Polygon({{Left + 0.0, PalmTop + 0.0},
                 {Left + 15.0, PalmTop + 0.0},
                 {Left + 15.0, PalmTop + 6.0},
                 {Left + 12.5, PalmTop + 12.0},
                 {Left + 2.5, PalmTop + 12.0},
                 {Left + 0.0, PalmTop + 7.0}}));
  if (Spread) {
    P.Add(Capsule({Left + 1.5, PalmTop + 7.5}, {Left - 3.0, PalmTop + 1.5}, 1.5));
  } else {
    P.Add(Capsule({Left + 1.5, PalmTop + 7.5}, {Left - 1.5, PalmTop + 4.0}, 1.5));
  }
  P.HotX = Left + 7;
  P.HotY = PalmTop + 4;
}

void Draw(const std::string& Name, TPicture& P) {
  if (Name == "CROSS") {
    P.Add(Capsule({15.5, 3.5}, {15.5, 27.5}, 0.5));
    P.Add(Capsule({3.5, 15.5}, {27.5, 15.5}, 0.5));
    P.Cut(Box(14, 14, 17, 17));
    P.HotX = P.HotY = 15;
  } else if (Name == "PAN") {
    FourWay(P, kCentre, 13);
    P.HotX = P.HotY = 16;
  } else if (Name == "FINGER") {
    // A hand pointing up with the index finger, the tip at the hot spot.
    P.Add(Box(10, 15, 23, 24));
    P.Add(Disc({16.5, 24}, 6.5));
    P.Add(Capsule({12, 15}, {12, 3}, 1.6));
    for (int i = 0; i < 3; ++i) P.Add(Capsule({15.2 + i * 3.1, 16}, {15.2 + i * 3.1, 13.5}, 1.6));
    P.Add(Capsule({10, 21}, {6.5, 16}, 1.6));
    P.Line(Capsule({13.8, 13.5}, {13.8, 17}, 0.45));
    P.Line(Capsule({16.8, 13}, {16.8, 16.5}, 0.45));
    P.Line(Capsule({19.9, 13}, {19.9, 16.5}, 0.45));
    P.HotX = 12;
    P.HotY = 1;
  } else if (Name == "ROTATE") {
    TurnArrow(P, kCentre, 10, 10);
  } else if (Name == "CURSOR") {
    Pointer(P, 1, 1, 1.2);
  } else if (Name == "HAND") {
    Hand(P, 10, 13, true);
  } else if (Name == "HANDPRESS") {
    Hand(P, 10, 14, false);
  } else if (Name == "ROTATE3DX") {
    TurnArrow(P, kCentre, 6, 12);
    P.Add(Capsule({3, 16}, {29, 16}, 0.5));
  } else if (Name == "ROTATE3DY") {
    TurnArrow(P, kCentre, 12, 6);
    P.Add(Capsule({16, 3}, {16, 29}, 0.5));
  } else if (Name == "ROTATE3DZ") {
    TurnArrow(P, kCentre, 11, 11);
    P.Add(Disc(kCentre, 2));
  } else if (Name == "ROTATE3DA") {
    TurnArrow(P, kCentre, 11, 11);
    P.Add(Arc(kCentre, 11, 4, 0.6, 0, 360));
    P.Add(Arc(kCentre, 4, 11, 0.6, 0, 360));
  } else if (Name == "ZOOM") {
    P.Add(Disc({13, 13}, 9.5));
    P.Add(Capsule({19.5, 19.5}, {28, 28}, 2.2));
    P.Line(Capsule({9, 13}, {17, 13}, 0.5));
    P.Line(Capsule({13, 9}, {13, 17}, 0.5));
    P.HotX = P.HotY = 13;
  } else if (Name == "DRAG") {
    Pointer(P, 1, 1, 1.0);
    P.Add(Box(12, 19, 27, 29));
    P.Line(Capsule({14.5, 22}, {24.5, 22}, 0.4));
    P.Line(Capsule({14.5, 25}, {22.5, 25}, 0.4));
  } else if (Name == "CURSORMOVE") {
    Pointer(P, 1, 1, 1.0);
    FourWay(P, {22, 22}, 9, 3.5, 0.5);
  } else if (Name == "BARMOVE") {
    FourWay(P, kCentre, 13);
    P.Add(Box(11, 11, 21, 21));
    P.Line(Box(13, 13, 19, 19));
    P.HotX = P.HotY = 16;
  } else if (Name == "BARSIZEL" || Name == "BARSIZER") {
    bool left = Name == "BARSIZEL";
    DoubleArrow(P, kCentre, 13, true);
    double x = left ? 9 : 23;
    P.Add(Box(x - 2, 5, x + 2, 27));
    P.Line(Capsule({x, 7}, {x, 25}, 0.5));
    P.HotX = P.HotY = 16;
  } else if (Name == "SPLITH") {
    DoubleArrow(P, kCentre, 14, true);
    P.Add(Box(13, 5, 19, 27));
    P.Line(Capsule({14.5, 6}, {14.5, 26}, 0.5));
    P.Line(Capsule({17.5, 6}, {17.5, 26}, 0.5));
    P.HotX = P.HotY = 16;
  } else if (Name == "SPLITV") {
    DoubleArrow(P, kCentre, 14, false);
    P.Add(Box(5, 13, 27, 19));
    P.Line(Capsule({6, 14.5}, {26, 14.5}, 0.5));
    P.Line(Capsule({6, 17.5}, {26, 17.5}, 0.5));
    P.HotX = P.HotY = 16;
  } else if (Name == "SPLITHV") {
    FourWay(P, kCentre, 14);
    P.Add(Box(13, 13, 19, 19));
    P.Line(Capsule({14.5, 14}, {14.5, 18}, 0.5));
    P.Line(Capsule({17.5, 14}, {17.5, 18}, 0.5));
    P.Line(Capsule({14, 14.5}, {18, 14.5}, 0.5));
    P.Line(Capsule({14, 17.5}, {18, 17.5}, 0.5));
    P.HotX = P.HotY = 16;
  } else if (Name == "TRACKER") {
    // A slider's thumb between two arrow heads.
    P.Add(Polygon({{12, 6}, {20, 6}, {20, 20}, {16, 25}, {12, 20}}));
    P.Line(Capsule({16, 9}, {16, 19}, 0.5));
    P.Add(Head({3, 15}, 180, 6, 9));
    P.Add(Head({29, 15}, 0, 6, 9));
    P.HotX = 16;
    P.HotY = 15;
  }
}

// ---- Writing ------------------------------------------------------------------

void Put16(std::vector<std::uint8_t>& Out, unsigned V) {
  Out.push_back(static_cast<std::uint8_t>(V));
  Out.push_back(static_cast<std::uint8_t>(V >> 8));
}
void Put32(std::vector<std::uint8_t>& Out, std::uint32_t V) {
  Put16(Out, V & 0xFFFF);
  Put16(Out, V >> 16);
}

std::vector<std::uint8_t> CursorFile(const TPicture& P) {
  // Colours: detail and outline black, body white, the rest transparent.
  std::array<std::uint32_t, kSize * kSize> argb{};
  for (int y = 0; y < kSize; ++y)
    for (int x = 0; x < kSize; ++x) {
      int i = y * kSize + x;
      bool outline = false;
      for (int dy = -1; dy <= 1 && !P.Body[i]; ++dy)
        for (int dx = -1; dx <= 1; ++dx) {
          int nx = x + dx, ny = y + dy;
          if (nx >= 0 && ny >= 0 && nx < kSize && ny < kSize && P.Body[ny * kSize + nx]) outline = true;
        }
      if (P.Detail[i] && P.Body[i]) {
        argb[i] = 0xFF000000u;
      } else if (P.Body[i]) {
        argb[i] = 0xFFFFFFFFu;
      } else if (outline) {
        argb[i] = 0xFF000000u;
      }
    }
  constexpr std::uint32_t maskRow = 4;  // 32 one-bit pixels
  constexpr std::uint32_t imageBytes = 40 + kSize * kSize * 4 + maskRow * kSize;
  std::vector<std::uint8_t> out;
  // Directory: reserved, type 2 (cursor), one image; its entry has the hot spot.
  Put16(out, 0);
  Put16(out, 2);
  Put16(out, 1);
  out.push_back(kSize);
  out.push_back(kSize);
  out.push_back(0);
  out.push_back(0);
  Put16(out, static_cast<unsigned>(P.HotX));
  Put16(out, static_cast<unsigned>(P.HotY));
  Put32(out, imageBytes);
  Put32(out, 22);
  // The image: header (height counts colour and mask), colours and mask, rows bottom-up.
  Put32(out, 40);
  Put32(out, kSize);
  Put32(out, kSize * 2);
  Put16(out, 1);
  Put16(out, 32);
  Put32(out, 0);
  Put32(out, kSize * kSize * 4 + maskRow * kSize);
  for (int i = 0; i < 4; ++i) Put32(out, 0);
  for (int y = kSize - 1; y >= 0; --y)
    for (int x = 0; x < kSize; ++x) Put32(out, argb[y * kSize + x]);
  for (int y = kSize - 1; y >= 0; --y) {
    std::uint32_t bits = 0;
    for (int x = 0; x < kSize; ++x)
      if ((argb[y * kSize + x] >> 24) == 0) bits |= 0x80000000u >> x;
    for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<std::uint8_t>(bits >> shift));
  }
  return out;
}

bool WriteFile(const std::string& Path, const std::string& Bytes) {
  std::ofstream file(Path, std::ios::binary);
  file.write(Bytes.data(), static_cast<std::streamsize>(Bytes.size()));
  return static_cast<bool>(file);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: mkcursors OUTPUT_DIR\n");
    return 2;
  }
  std::string dir = argv[1];
  std::string script = "// Generated by mkcursors: the program's cursors, by resource name.\n";
  std::string first, rest;
  for (const TKemCursorResource& cursor : KemCursorResources) {
    TPicture picture;
    Draw(cursor.Name, picture);
    std::vector<std::uint8_t> bytes = CursorFile(picture);
    std::string file = std::string(cursor.Name) + ".cur";
    if (!WriteFile(dir + "/" + file, std::string(bytes.begin(), bytes.end()))) {
      std::fprintf(stderr, "mkcursors: cannot write %s/%s\n", dir.c_str(), file.c_str());
      return 1;
    }
    // The name CURSOR is also a word of the script and must be quoted; a quoted
    // name right after the previous line's file name would join that string, so it goes first.
    std::string line = std::string(cursor.Name) + " CURSOR \"" + dir + "/" + file + "\"\n";
    if (std::string(cursor.Name) == "CURSOR") {
      first = "\"CURSOR\" CURSOR \"" + dir + "/" + file + "\"\n";
    } else {
      rest += line;
    }
  }
  script += first + rest;
  if (!WriteFile(dir + "/kem3cursors.rc", script)) {
    std::fprintf(stderr, "mkcursors: cannot write %s/kem3cursors.rc\n", dir.c_str());
    return 1;
  }
  return 0;
}
