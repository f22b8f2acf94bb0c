#include "kem3/controls/kemhint.h"

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
