// The start-up splash: a dark panel with a small bar of icons and the name,
// a band for the white status line and a light strip for the grey version.
#include <algorithm>
#include <cmath>

#include "../mkdrl/artfont.h"
#include "pictures.h"

namespace pictures {

using namespace art;

namespace {

constexpr int kWidth = 300, kHeight = 156;
// Where the launcher puts its lines: the status at y 120 (white, 8 points),
// the version at y 142 (grey, 6 points) on the strip below kStripTop.
constexpr double kStripTop = 139;

// One icon of the little bar: a rounded square with a glossy top.
void Icon(TArtCanvas& C, double X, double Y, double Size, const TColour& Colour) {
  C.FillSoft(RoundRect(X + 1, Y + 2, X + Size + 1, Y + Size + 2, 7), Rgb(0, 0, 0, 0.35), 3);
  C.Fill(RoundRect(X, Y, X + Size, Y + Size, 7),
         [=](double, double y) { return Mix(Mix(Colour, Rgb(255, 255, 255), 0.25), Colour, (y - Y) / Size); });
  C.Fill(Intersect(RoundRect(X + 2, Y + 2, X + Size - 2, Y + Size / 2, 5), RoundRect(X, Y, X + Size, Y + Size, 7)),
         Rgb(255, 255, 255, 0.22));
}

}  // namespace

TArtCanvas AboutPicture() {
  TArtCanvas c(kWidth, kHeight);
  // The panel: deep slate, lighter towards the top left.
  c.Fill(RoundRect(0, 0, kWidth, kHeight, 0), [](double x, double y) {
    return Mix(Rgb(58, 84, 118), Rgb(20, 30, 46), std::clamp(std::hypot(x * 0.6, y) / 190, 0.0, 1.0));
  });
  // A faint arc of light behind the bar.
  c.Fill(Intersect(Outline(Circle(150, 190, 170), 26), RoundRect(0, 0, kWidth, kStripTop, 0)),
         Rgb(120, 170, 230, 0.08));

  // The bar: a glass tray holding five icons.
  c.FillSoft(RoundRect(36, 26, 266, 78, 12), Rgb(0, 0, 0, 0.45), 6);
  c.Fill(RoundRect(34, 22, 266, 74, 12),
         [](double, double y) { return Mix(Rgb(206, 216, 228, 0.95), Rgb(132, 148, 168, 0.95), (y - 22) / 52); });
  c.Fill(Outline(RoundRect(34, 22, 266, 74, 12), 0.8), Rgb(255, 255, 255, 0.6));
  const TColour colours[] = {Rgb(219, 84, 64), Rgb(242, 170, 46), Rgb(70, 166, 92), Rgb(58, 126, 214),
                             Rgb(138, 88, 196)};
  for (int i = 0; i < 5; ++i) Icon(c, 46 + i * 44, 30, 36, colours[i]);
  // The pointer resting on the middle icon.
  c.Fill(Polygon({{150, 52}, {150, 72}, {155, 67}, {159, 76}, {162, 75}, {158, 66}, {165, 66}}), Rgb(255, 255, 255));
  c.Fill(Outline(Polygon({{150, 52}, {150, 72}, {155, 67}, {159, 76}, {162, 75}, {158, 66}, {165, 66}}), 0.6),
         Rgb(20, 20, 20));

  // The name in light strokes.
  c.FillSoft(TextShape("ORVANEL", 151, 100, 16, 2.6), Rgb(0, 0, 0, 0.5), 2);
  c.Fill(TextShape("ORVANEL", 150, 98.5, 16, 2.4), Rgb(236, 242, 250));

  // The status band: darker, so the white line reads well.
  c.Fill(RoundRect(0, 116, kWidth, kStripTop, 0), Rgb(10, 16, 26, 0.45));
  // The light strip of the version line, with an accent line above it.
  c.Fill(RoundRect(0, kStripTop, kWidth, kHeight, 0), Rgb(236, 239, 243));
  c.Fill(RoundRect(0, kStripTop - 1.5, kWidth, kStripTop, 0),
         [](double x, double) { return Mix(Rgb(58, 126, 214), Rgb(242, 170, 46), x / kWidth); });
  return c;
}

}  // namespace pictures
