// Wide text on a canvas, always through the wide system entries.
#pragma once
#include "platform/canvas_win.h"
#include "platform/types.h"

// Draws at X, Y and leaves the pen at the text's end; on a DC laid out right
// to left the text starts its width + 1 further right.
void CanvasWideTextOut(TCanvas* Canvas, int X, int Y, const WideString& Text);
TSize WideCanvasTextExtent(TCanvas* Canvas, const WideString& Text);
inline int WideCanvasTextWidth(TCanvas* Canvas, const WideString& Text) {
  return WideCanvasTextExtent(Canvas, Text).cx;
}
inline int WideCanvasTextHeight(TCanvas* Canvas, const WideString& Text) {
  return WideCanvasTextExtent(Canvas, Text).cy;
}
