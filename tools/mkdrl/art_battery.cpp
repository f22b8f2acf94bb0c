// The battery gauge "battery": an upright cell filled by eighths, with a bolt
// while charging, a plug on mains power and a question mark without data.
#include <string>

#include "artfont.h"
#include "artpackages.h"

namespace art {

namespace {

constexpr int kSize = 128;
constexpr double kInnerTop = 29, kInnerBottom = 111, kInnerLeft = 45, kInnerRight = 83;
const TColour kCasing = Rgb(58, 63, 69);

TArtCanvas Cell() {
  TArtCanvas c(kSize, kSize);
  const TShape body = RoundRect(38, 22, 90, 118, 8);
  c.FillSoft(Translated(body, 2, 3), Rgb(0, 0, 0, 0.35), 5);
  c.Fill(body, Rgb(246, 248, 250, 0.9));
  c.Fill(Outline(body, 2.6), kCasing);
  c.Fill(RoundRect(54, 12, 74, 22, 3), kCasing);
  return c;
}

TColour LevelColour(int Eighths) {
  if (Eighths <= 1) return Rgb(217, 59, 48);
  if (Eighths == 2) return Rgb(240, 150, 44);
  return Rgb(76, 184, 74);
}

void Level(TArtCanvas& c, int Eighths) {
  if (Eighths <= 0) return;
  const double top = kInnerBottom - (kInnerBottom - kInnerTop) * Eighths / 8.0;
  const TColour colour = LevelColour(Eighths);
  c.Fill(RoundRect(kInnerLeft, top, kInnerRight, kInnerBottom, 3), [&](double x, double) {
    const double t = (x - kInnerLeft) / (kInnerRight - kInnerLeft);
    return Mix(Mix(colour, Rgb(255, 255, 255), 0.35), Mix(colour, Rgb(0, 0, 0), 0.2), t);
  });
}

void Bolt(TArtCanvas& c) {
  const TShape bolt = Polygon({{72, 36}, {48, 76}, {62, 76}, {54, 106}, {82, 62}, {67, 62}, {78, 36}});
  c.Fill(bolt, Rgb(255, 214, 60));
  c.Fill(Outline(bolt, 1.2), Rgb(96, 72, 0));
}

void Plug(TArtCanvas& c) {
  c.Fill(Segment({57, 44}, {57, 58}, 2.6), kCasing);
  c.Fill(Segment({71, 44}, {71, 58}, 2.6), kCasing);
  c.Fill(RoundRect(49, 56, 79, 80, 5), kCasing);
  c.Fill(Segment({64, 80}, {64, 104}, 3), kCasing);
}

TArtCanvas Gauge(bool Charging, int Eighths) {
  TArtCanvas c = Cell();
  Level(c, Eighths);
  if (Charging) Bolt(c);
  return c;
}

}  // namespace

TPackage BatteryPackage() {
  TPackage items;
  TArtCanvas none = Cell();
  none.Fill(TextShape("?", 64, 68, 38, 6), Rgb(106, 112, 120));
  items.push_back(ImageItem("na", none));
  TArtCanvas mains = Cell();
  Plug(mains);
  items.push_back(ImageItem("cf", mains));
  for (int level = 0; level <= 8; ++level) items.push_back(ImageItem("c" + std::to_string(level), Gauge(true, level)));
  for (int level = 0; level <= 8; ++level) items.push_back(ImageItem("u" + std::to_string(level), Gauge(false, level)));
  return items;
}

}  // namespace art
