// The canvas does the drawing; the layer adds the right-to-left start.
#include "kem3/unicode/ucgraphics_win.h"

void CanvasWideTextOut(TCanvas* Canvas, int X, int Y, const WideString& Text) {
  if (GetLayout(Canvas->Handle()) & LAYOUT_RTL) X += Canvas->TextWidth(Text) + 1;
  Canvas->TextOut(X, Y, Text);
}

TSize WideCanvasTextExtent(TCanvas* Canvas, const WideString& Text) { return Canvas->TextExtent(Text); }
