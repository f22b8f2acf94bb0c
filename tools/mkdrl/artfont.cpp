// The glyphs of the stroke font.
#include "artfont.h"

#include <algorithm>
#include <map>
#include <vector>

namespace art {

namespace {

using TStroke = std::vector<TPoint2>;
using TGlyph = std::vector<TStroke>;

constexpr double kCellWidth = 4;
constexpr double kCellHeight = 6;
constexpr double kAdvance = 5.6;  // cell plus gap, in grid units

const std::map<char, TGlyph>& Glyphs() {
  static const std::map<char, TGlyph> glyphs = {
      {'0', {{{1, 0}, {3, 0}, {4, 1}, {4, 5}, {3, 6}, {1, 6}, {0, 5}, {0, 1}, {1, 0}}}},
      {'1', {{{0.8, 1.2}, {2.2, 0}, {2.2, 6}}, {{0.8, 6}, {3.6, 6}}}},
      {'2', {{{0, 1}, {1, 0}, {3, 0}, {4, 1}, {4, 2.2}, {0, 6}, {4, 6}}}},
      {'3',
       {{{0, 1}, {1, 0}, {3, 0}, {4, 1}, {4, 2}, {3, 3}, {1.4, 3}}, {{3, 3}, {4, 4}, {4, 5}, {3, 6}, {1, 6}, {0, 5}}}},
      {'4', {{{3, 6}, {3, 0}, {0, 4.2}, {4, 4.2}}}},
      {'5', {{{4, 0}, {0.3, 0}, {0, 2.8}, {3, 2.6}, {4, 3.6}, {4, 5}, {3, 6}, {1, 6}, {0, 5.2}}}},
      {'6', {{{3.6, 0.4}, {3, 0}, {1, 0}, {0, 1}, {0, 5}, {1, 6}, {3, 6}, {4, 5}, {4, 4}, {3, 3}, {0, 3}}}},
      {'7', {{{0, 0}, {4, 0}, {1.6, 6}}}},
      {'8',
       {{{1, 0}, {3, 0}, {4, 1}, {4, 2}, {3, 3}, {1, 3}, {0, 2}, {0, 1}, {1, 0}},
        {{1, 3}, {3, 3}, {4, 4}, {4, 5}, {3, 6}, {1, 6}, {0, 5}, {0, 4}, {1, 3}}}},
      {'9', {{{4, 3}, {1, 3}, {0, 2}, {0, 1}, {1, 0}, {3, 0}, {4, 1}, {4, 5}, {3, 6}, {1, 6}, {0.4, 5.6}}}},
      {'A', {{{0, 6}, {2, 0}, {4, 6}}, {{0.7, 4}, {3.3, 4}}}},
      {'B', {{{0, 0}, {0, 6}, {3, 6}, {4, 5}, {4, 4}, {3, 3}, {0, 3}}, {{0, 0}, {3, 0}, {4, 1}, {4, 2}, {3, 3}}}},
      {'C', {{{4, 1}, {3, 0}, {1, 0}, {0, 1}, {0, 5}, {1, 6}, {3, 6}, {4, 5}}}},
      {'D', {{{0, 0}, {0, 6}, {2.4, 6}, {4, 4.4}, {4, 1.6}, {2.4, 0}, {0, 0}}}},
      {'E', {{{4, 0}, {0, 0}, {0, 6}, {4, 6}}, {{0, 3}, {3, 3}}}},
      {'F', {{{4, 0}, {0, 0}, {0, 6}}, {{0, 3}, {3, 3}}}},
      {'G', {{{4, 1}, {3, 0}, {1, 0}, {0, 1}, {0, 5}, {1, 6}, {3, 6}, {4, 5}, {4, 3.2}, {2.2, 3.2}}}},
      {'J', {{{4, 0}, {4, 5}, {3, 6}, {1, 6}, {0, 5}}}},
      {'L', {{{0, 0}, {0, 6}, {4, 6}}}},
      {'M', {{{0, 6}, {0, 0}, {2, 3.4}, {4, 0}, {4, 6}}}},
      {'N', {{{0, 6}, {0, 0}, {4, 6}, {4, 0}}}},
      {'O', {{{1, 0}, {3, 0}, {4, 1}, {4, 5}, {3, 6}, {1, 6}, {0, 5}, {0, 1}, {1, 0}}}},
      {'P', {{{0, 6}, {0, 0}, {3, 0}, {4, 1}, {4, 2}, {3, 3}, {0, 3}}}},
      {'R', {{{0, 6}, {0, 0}, {3, 0}, {4, 1}, {4, 2}, {3, 3}, {0, 3}}, {{2, 3}, {4, 6}}}},
      {'S', {{{4, 1}, {3, 0}, {1, 0}, {0, 1}, {0, 2}, {1, 3}, {3, 3}, {4, 4}, {4, 5}, {3, 6}, {1, 6}, {0, 5}}}},
      {'T', {{{0, 0}, {4, 0}}, {{2, 0}, {2, 6}}}},
      {'U', {{{0, 0}, {0, 5}, {1, 6}, {3, 6}, {4, 5}, {4, 0}}}},
      {'V', {{{0, 0}, {2, 6}, {4, 0}}}},
      {'Y', {{{0, 0}, {2, 3}, {4, 0}}, {{2, 3}, {2, 6}}}},
      {'?', {{{0, 1.2}, {1, 0}, {3, 0}, {4, 1}, {4, 2}, {2, 3.4}, {2, 4.2}}, {{2, 5.8}, {2, 5.8}}}},
  };
  return glyphs;
}

}  // namespace

double TextWidth(std::string_view Text, double Height) {
  if (Text.empty()) return 0;
  const double unit = Height / kCellHeight;
  return ((static_cast<double>(Text.size()) - 1) * kAdvance + kCellWidth) * unit;
}

TShape TextShape(std::string_view Text, double CX, double CY, double Height, double StrokeWidth) {
  const double unit = Height / kCellHeight;
  const double left = CX - TextWidth(Text, Height) / 2;
  const double top = CY - Height / 2;
  struct TLine {
    TPoint2 A, B;
  };
  std::vector<TLine> lines;
  for (size_t i = 0; i < Text.size(); ++i) {
    auto glyph = Glyphs().find(Text[i]);
    if (glyph == Glyphs().end()) continue;
    const double x0 = left + static_cast<double>(i) * kAdvance * unit;
    for (const TStroke& stroke : glyph->second)
      for (size_t k = 0; k < stroke.size(); ++k) {
        const TPoint2 a{x0 + stroke[k].X * unit, top + stroke[k].Y * unit};
        const TPoint2 b =
            k + 1 < stroke.size() ? TPoint2{x0 + stroke[k + 1].X * unit, top + stroke[k + 1].Y * unit} : a;
        if (k + 1 < stroke.size() || stroke.size() == 1) lines.push_back({a, b});
      }
  }
  const double w = StrokeWidth / 2;
  return [lines = std::move(lines), w](double x, double y) {
    double d = 1e300;
    for (const TLine& line : lines) d = std::min(d, DistanceToSegment({x, y}, line.A, line.B) - w);
    return d;
  };
}

}  // namespace art
