// The button set's pages and arrangement.
#include "kem3/controls/kembtns_layout.h"

#include <cstdlib>
#include <utility>

#include "kem3/framework/kemutil.h"
#include "platform/sysutils.h"
#include "platform/unicode_convert.h"
#include "platform/wide_case.h"

TKemPage ParsePageLine(const WideString& Line) {
  TKemPage page;
  const auto comma = Line.find(u',');
  if (comma != WideString::npos) {
    page.Caption = Line.substr(0, comma);
    page.Gap = StrToIntDef(WideToUtf8(Line.substr(comma + 1)), 0);
    return page;
  }
  const auto colon = Line.find(u':');
  if (colon == WideString::npos) {
    page.Caption = Line;
    return page;
  }
  page.Caption = Line.substr(0, colon);
  page.FarEnd = Line.compare(colon + 1, WideString::npos, u"1") == 0;
  return page;
}

int ButtonSetThickness(int ButtonHeight, int TextHeightW, int SpaceAbove, int SpaceBelow, int SpaceInner, bool Border) {
  int thickness = ButtonHeight > 0 ? ButtonHeight : TextHeightW + SpaceAbove + SpaceBelow + 2;
  thickness += SpaceInner;
  if (Border) thickness += 2;
  return thickness;
}

int PageButtonLength(const TKemPage& Page, const TButtonSetGeometry& Geometry, ITextMeasure& Measure) {
  if (Geometry.ButtonWidth > 0) return Geometry.ButtonWidth;
  const WideString shown = Geometry.ShowAccelChar ? StripAccelCharsW(Page.Caption) : Page.Caption;
  return Measure.TextWidth(shown) + 10;
}

std::vector<TRect> ArrangeButtonSet(const std::vector<TKemPage>& Pages, const TButtonSetGeometry& Geometry,
                                    ITextMeasure& Measure) {
  const TButtonSetGeometry& g = Geometry;
  const int b = g.Border ? 1 : 0;
  const bool horizontal = g.Direction == bsdHorizontal;
  const int across = (horizontal ? g.Height : g.Width) - 2 * b - g.SpaceAbove - g.SpaceBelow;
  // The edge the buttons keep across the bar: the space above is on the left
  // of a bar read bottom-up, the space below on the left of one read top-down.
  const int side = (g.Direction == bsdVerticalDown ? g.SpaceBelow : g.SpaceAbove) + b;
  const int farEdge = horizontal ? g.Width : g.Height;
  int running = g.Direction == bsdVerticalUp ? g.Height - b : b;

  std::vector<TRect> rects;
  rects.reserve(Pages.size());
  for (const TKemPage& page : Pages) {
    const int length = PageButtonLength(page, g, Measure);
    int along;
    if (g.Direction == bsdVerticalUp) {
      if (page.FarEnd) {
        along = 0;
      } else {
        along = running - length - page.Gap;
        running = along;
      }
    } else if (page.FarEnd) {
      along = farEdge - length;
    } else {
      along = running + page.Gap;
      running = along + length;
    }
    rects.push_back(horizontal ? Bounds(along, side, length, across) : Bounds(side, along, across, length));
  }
  return rects;
}

int ButtonAtPos(const std::vector<TRect>& Rects, TPoint P) {
  for (std::size_t i = 0; i < Rects.size(); ++i) {
    const TRect& r = Rects[i];
    if (P.X > r.Left && P.X < r.Right && P.Y > r.Top && P.Y < r.Bottom) return static_cast<int>(i);
  }
  return -1;
}

bool DragThresholdPassed(TPoint Press, TPoint Now, int Threshold) {
  return std::abs(Now.X - Press.X) > Threshold || std::abs(Now.Y - Press.Y) > Threshold;
}

void SwapPages(std::vector<TKemPage>& Pages, int A, int B, int& Index) {
  std::swap(Pages[static_cast<std::size_t>(A)], Pages[static_cast<std::size_t>(B)]);
  if (Index == A) {
    Index = B;
  } else if (Index == B) {
    Index = A;
  }
}

std::vector<int> PagesWithAccel(const std::vector<TKemPage>& Pages, WideChar Key) {
  std::vector<int> matches;
  const char32_t key = WideCharFold(Key);
  for (std::size_t i = 0; i < Pages.size(); ++i) {
    const WideChar accel = GetAccelCharW(Pages[i].Caption);
    if (accel != 0 && WideCharFold(accel) == key) matches.push_back(static_cast<int>(i));
  }
  return matches;
}
