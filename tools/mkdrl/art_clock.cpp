// The analog clock "clkdashlight": a light face with dashes for the hours.
#include <cmath>
#include <numbers>

#include "artpackages.h"

namespace art {

namespace {

constexpr int kSize = 256;
constexpr double kC = 128;  // centre of the face and of rotation

const TColour kHandColour = Rgb(43, 49, 56);

// A point at Radius from the centre in the direction of Degrees clockwise from twelve.
TPoint2 Polar(double Radius, double Degrees) {
  const double r = Degrees * std::numbers::pi / 180;
  return {kC + Radius * std::sin(r), kC - Radius * std::cos(r)};
}

TArtCanvas Face() {
  TArtCanvas c(kSize, kSize);
  c.FillSoft(Circle(kC, kC + 3, 121), Rgb(0, 0, 0, 0.35), 6);
  c.Fill(Circle(kC, kC, 120), [](double, double y) { return Mix(Rgb(112, 124, 138), Rgb(44, 50, 58), (y - 8) / 240); });
  c.Fill(Circle(kC, kC, 111), [](double x, double y) {
    return Mix(Rgb(255, 255, 255), Rgb(222, 228, 234), std::hypot(x - kC, y - kC + 20) / 130);
  });
  for (int tick = 0; tick < 60; ++tick) {
    if (tick % 5 == 0) continue;
    c.Fill(Segment(Polar(99, tick * 6), Polar(104, tick * 6), 0.9), Rgb(128, 138, 150));
  }
  for (int hour = 0; hour < 12; ++hour) {
    const bool quarter = hour % 3 == 0;
    c.Fill(Segment(Polar(quarter ? 78 : 86, hour * 30), Polar(103, hour * 30), quarter ? 4.2 : 2.8), Rgb(55, 64, 74));
  }
  return c;
}

TArtCanvas Hand(double Back, double Length, double HalfWidth, const TColour& Colour) {
  TArtCanvas c(kSize, kSize);
  c.FillSoft(Segment({kC + 2, kC + Back + 2}, {kC + 2, kC - Length + 2}, HalfWidth), Rgb(0, 0, 0, 0.25), 3);
  c.Fill(Segment({kC, kC + Back}, {kC, kC - Length}, HalfWidth), Colour);
  return c;
}

TArtCanvas SecondHand() {
  TArtCanvas c = Hand(30, 98, 1.3, Rgb(214, 58, 46));
  c.Fill(Circle(kC, kC + 22, 4), Rgb(214, 58, 46));
  c.Fill(Circle(kC, kC, 5), Rgb(214, 58, 46));
  return c;
}

TArtCanvas Over() {
  TArtCanvas c(kSize, kSize);
  c.Fill(Circle(kC, kC, 7), kHandColour);
  c.Fill(Circle(kC, kC, 2.5), Rgb(160, 170, 180));
  // A faint reflection on the glass, kept inside the face.
  c.Fill(Intersect(Ellipse(kC - 26, kC - 46, 78, 46), Circle(kC, kC, 109)), Rgb(255, 255, 255, 0.16));
  return c;
}

}  // namespace

TPackage ClockPackage() {
  return {StringItem("org", "128 128"),
          ImageItem("back", Face()),
          ImageItem("hour", Hand(16, 62, 5.5, kHandColour)),
          ImageItem("min", Hand(20, 94, 4, kHandColour)),
          ImageItem("sec", SecondHand()),
          ImageItem("over", Over())};
}

}  // namespace art
