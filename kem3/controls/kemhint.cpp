#include "kem3/controls/kemhint.h"

#include <algorithm>
#include <cstdint>

#include "kem3/unicode/ucsystem.h"

namespace {

constexpr int kBelowPointer = 16;

// The two parts of Size around the point: the larger one before it.
void Split(int Point, int Size, int Align, int& Start, int& End) {
  switch (Align) {
    case 1:
      Start = Point - (Size + 1) / 2;
      End = Point + Size / 2;
      break;
    case 2:
      Start = Point - Size;
      End = Point;
      break;
    default:
      Start = Point;
      End = Point + Size;
  }
}

}  // namespace

TRect HintRectAt(TPoint P, TSize Size, int HAlign, int VAlign) {
  TRect R;
  Split(P.X, Size.cx, HAlign, R.Left, R.Right);
  Split(P.Y + kBelowPointer, Size.cy, VAlign, R.Top, R.Bottom);
  return R;
}

TRect KeepHintInside(TRect R, const TRect& Area) {
  const int W = R.Width(), H = R.Height();
  if (R.Right > Area.Right) R.Left = Area.Right - W;
  if (R.Bottom > Area.Bottom) R.Top = Area.Bottom - H;
  if (R.Left < Area.Left) R.Left = Area.Left;
  if (R.Top < Area.Top) R.Top = Area.Top;
  return Bounds(R.Left, R.Top, W, H);
}

WideString FitHintText(const WideString& Text, TSize Area, const std::function<TSize(const WideString&)>& Measure) {
  auto Fits = [&](const WideString& T) {
    const TSize S = Measure(T);
    return S.cx <= Area.cx && S.cy <= Area.cy;
  };
  const std::int64_t Cap = std::max<std::int64_t>(
      1, std::int64_t(std::max(Area.cx, 0) / 2 + 1) * std::int64_t(std::max(Area.cy, 0) / 8 + 1));
  WideString Work =
      Text.substr(0, WholeCharsLength(Text, size_t(std::min<std::int64_t>(Cap, std::int64_t(Text.size())))));
  const TSize Whole = Measure(Work);
  if (Work.size() == Text.size() && Whole.cx <= Area.cx && Whole.cy <= Area.cy) return Text;
  const WideString Ellipsis = u"\u2026";
  // Wrapped text grows about evenly: twice the share of the height that fits
  // bounds the search well, and a smaller head is still a head that fits.
  size_t High = Work.size();
  if (Whole.cy > Area.cy && Whole.cy > 0)
    High = std::min(High, size_t(std::int64_t(Work.size()) * Area.cy / Whole.cy * 2 + 256));
  size_t Low = 0;  // the longest head known to fit
  while (Low < High) {
    const size_t Mid = Low + (High - Low + 1) / 2;
    if (Fits(Work.substr(0, WholeCharsLength(Work, Mid)) + Ellipsis))
      Low = Mid;
    else
      High = Mid - 1;
  }
  return Work.substr(0, WholeCharsLength(Work, Low)) + Ellipsis;
}
