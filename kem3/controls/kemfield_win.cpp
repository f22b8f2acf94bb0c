// The entry fields' frame.
#include "kem3/controls/kemfield_win.h"

void DrawFieldFrame(TCanvas* Canvas, const TRect& R, const TFieldColors& Colors, bool Flat) {
  Canvas->Brush()->SetStyle(bsSolid);
  auto ring = [&](const TRect& r, TColor color) {
    Canvas->Brush()->SetColor(color);
    Canvas->FrameRect(r);
  };
  if (Flat) {
    ring(R, Colors.Frame);
  } else {
    auto line = [&](TColor color, std::initializer_list<TPoint> points) {
      Canvas->Pen()->SetStyle(psSolid);
      Canvas->Pen()->SetWidth(1);
      Canvas->Pen()->SetColor(color);
      Canvas->Polyline(points);
    };
    const int l = R.Left, t = R.Top, r = R.Right, b = R.Bottom;
    line(Colors.Shadow, {{l, b - 1}, {l, t}, {r, t}});
    line(Colors.Frame, {{l + 1, b - 2}, {l + 1, t + 1}, {r - 1, t + 1}});
    line(Colors.Highlight, {{l + 1, b - 1}, {r - 1, b - 1}, {r - 1, t}});
    line(Colors.Spark, {{l + 2, b - 2}, {r - 2, b - 2}, {r - 2, t + 1}});
  }
  TRect inner = R;
  for (int i = Flat ? 1 : 2; i <= 2; ++i) {
    inner = Rect(R.Left + i, R.Top + i, R.Right - i, R.Bottom - i);
    ring(inner, Colors.Color);
  }
}
