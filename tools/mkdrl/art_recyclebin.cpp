// The recycle bin "binclear": a bin of clear, tinted plastic; the full one
// shows crumpled paper through its walls and its lid pushed up.
#include "artpackages.h"

namespace art {

namespace {

constexpr int kSize = 128;

TShape Body() { return Polygon({{30, 38}, {98, 38}, {89, 116}, {39, 116}}); }

void Paper(TArtCanvas& c) {
  TArtCanvas paper(kSize, kSize);
  const double balls[][3] = {{48, 100, 12}, {72, 102, 13}, {60, 84, 13}, {82, 82, 11}, {44, 74, 12},
                             {66, 64, 14},  {86, 56, 11},  {50, 50, 13}, {70, 40, 13}, {56, 30, 11}};
  for (const auto& b : balls) {
    paper.Fill(Circle(b[0], b[1], b[2]), Rgb(168, 170, 166));
    paper.Fill(Circle(b[0] - 0.5, b[1] - 0.8, b[2] - 1.6), [&](double x, double y) {
      return Mix(Rgb(255, 255, 255), Rgb(214, 214, 200), ((x - b[0]) + (y - b[1])) / (2 * b[2]) + 0.5);
    });
    paper.Fill(Segment({b[0] - b[2] * 0.5, b[1] - 1}, {b[0] + b[2] * 0.3, b[1] + b[2] * 0.4}, 0.6), Rgb(150, 150, 140));
  }
  // The pile may rise above the rim but stays within the bin's width.
  paper.Clip(Polygon({{32, 16}, {96, 16}, {89, 116}, {39, 116}}));
  c.Draw(paper);
}

void Lid(TArtCanvas& c, double Degrees) {
  const TShape lid =
      Union(RoundRect(24, 24, 104, 34, 4), Subtract(RoundRect(50, 14, 78, 28, 5), RoundRect(56, 19, 72, 28, 2)));
  const TShape turned = Rotated(lid, 104, 34, Degrees);
  c.Fill(
      turned, [](double, double y) { return Mix(Rgb(150, 176, 196), Rgb(96, 124, 146), (y - 14) / 20); }, 0.95);
  c.Fill(Outline(turned, 0.7), Rgb(58, 80, 98));
}

TArtCanvas Bin(bool Full) {
  TArtCanvas c(kSize, kSize);
  c.FillSoft(Ellipse(64, 117, 34, 5), Rgb(0, 0, 0, 0.35), 4);
  if (Full) Paper(c);
  c.Fill(
      Body(), [](double x, double) { return Mix(Rgb(200, 222, 238), Rgb(150, 182, 206), (x - 30) / 68); },
      Full ? 0.45 : 0.62);  // the paper fills the full bin, so it may show more
  // Ribs and edges of the clear walls.
  for (const auto& rib :
       {std::pair<TPoint2, TPoint2>{{48, 46}, {51, 108}}, {{64, 46}, {64, 108}}, {{80, 46}, {77, 108}}})
    c.Fill(Segment(rib.first, rib.second, 1.1), Rgb(110, 142, 166, 0.8));
  c.Fill(Outline(Body(), 1.2), Rgb(58, 80, 98));
  c.Fill(RoundRect(26, 34, 102, 42, 3), Rgb(120, 150, 172));
  c.Fill(Outline(RoundRect(26, 34, 102, 42, 3), 0.6), Rgb(58, 80, 98));
  Lid(c, Full ? 14 : 0);
  // A glint on the left wall.
  c.Fill(Segment({37, 48}, {43, 106}, 1.6), Rgb(255, 255, 255, 0.55));
  return c;
}

}  // namespace

TPackage RecycleBinPackage() { return {ImageItem("empty", Bin(false)), ImageItem("full", Bin(true))}; }

}  // namespace art
