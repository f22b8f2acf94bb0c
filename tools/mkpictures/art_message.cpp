// The 64 × 64 pictures of the message dialog and of the message box.
#include <cmath>
#include <vector>

#include "../mkdrl/artfont.h"
#include "pictures.h"

namespace pictures {

using namespace art;

namespace {

constexpr double kSize = 64;

// A disc with a light top and a soft shadow, as the round pictures share.
void Badge(TArtCanvas& C, const TShape& Shape, const TColour& Light, const TColour& Dark) {
  C.FillSoft(Translated(Shape, 1, 2), Rgb(0, 0, 0, 0.35), 3);
  C.Fill(Shape, [=](double, double y) { return Mix(Light, Dark, y / kSize); });
  C.Fill(Outline(Shape, 0.7), WithAlpha(Dark, 0.9));
}

}  // namespace

TArtCanvas MessageDialogPicture() {
  TArtCanvas c(64, 64);
  // A sheet with a folded corner, leaning over an open bin.
  const TShape sheet = Rotated(Polygon({{18, 6}, {40, 6}, {48, 14}, {48, 40}, {18, 40}}), 33, 23, -14);
  c.FillSoft(Translated(sheet, 1, 2), Rgb(0, 0, 0, 0.3), 2);
  c.Fill(sheet, Rgb(250, 251, 253));
  c.Fill(Outline(sheet, 0.6), Rgb(110, 120, 132));
  for (int line = 0; line < 4; ++line)
    c.Fill(Rotated(Segment({23, 18 + line * 5.0}, {line == 3 ? 34.0 : 42.0, 18 + line * 5.0}, 0.9), 33, 23, -14),
           Rgb(150, 162, 176));
  // The bin, in front.
  const TShape bin = Polygon({{14, 34}, {50, 34}, {46, 60}, {18, 60}});
  c.FillSoft(Translated(bin, 1, 2), Rgb(0, 0, 0, 0.35), 2);
  c.Fill(bin, [](double x, double) { return Mix(Rgb(150, 162, 176), Rgb(92, 104, 118), std::abs(x - 32) / 18); });
  c.Fill(RoundRect(11, 31, 53, 36, 2), Rgb(72, 82, 94));
  for (double x : {24.0, 32.0, 40.0}) c.Fill(Segment({x, 40}, {x, 55}, 1.2), Rgb(60, 70, 82, 0.6));
  // A red question badge: deleting asks first.
  Badge(c, Circle(50, 46, 12), Rgb(240, 96, 80), Rgb(176, 36, 28));
  c.Fill(TextShape("?", 50, 46, 13, 2.2), Rgb(255, 255, 255));
  return c;
}

TArtCanvas MessageBoxIcon(TMessageIcon Kind) {
  TArtCanvas c(64, 64);
  const TColour white = Rgb(255, 255, 255);
  switch (Kind) {
    case miInformation:
      Badge(c, Circle(32, 31, 27), Rgb(96, 160, 236), Rgb(28, 86, 170));
      c.Fill(Circle(32, 17, 4), white);
      c.Fill(Union(RoundRect(28, 26, 36, 48, 2), RoundRect(25, 44, 39, 48, 1.5)), white);
      c.Fill(RoundRect(25, 26, 36, 30, 1.5), white);
      break;
    case miQuestion:
      Badge(c, Circle(32, 31, 27), Rgb(98, 196, 124), Rgb(30, 122, 60));
      c.Fill(TextShape("?", 32, 31, 30, 5), white);
      break;
    case miExclamation: {
      // A triangle grown by 3 pixels: rounded corners.
      const TShape inner = Polygon({{32, 9}, {57, 54}, {7, 54}});
      Badge(
          c, [inner](double X, double Y) { return inner(X, Y) - 3; }, Rgb(255, 210, 80), Rgb(214, 140, 16));
      c.Fill(Polygon({{29, 22}, {35, 22}, {34, 42}, {30, 42}}), Rgb(40, 32, 20));
      c.Fill(Circle(32, 49, 3.4), Rgb(40, 32, 20));
      break;
    }
    case miStop: {
      std::vector<TPoint2> points;
      for (int i = 0; i < 8; ++i) {
        const double a = (22.5 + i * 45) * 3.14159265358979 / 180;
        points.push_back({32 + 28 * std::cos(a), 31 + 28 * std::sin(a)});
      }
      Badge(c, Polygon(points), Rgb(236, 86, 70), Rgb(164, 24, 20));
      c.Fill(Segment({22, 21}, {42, 41}, 3.6), white);
      c.Fill(Segment({42, 21}, {22, 41}, 3.6), white);
      break;
    }
  }
  return c;
}

}  // namespace pictures
