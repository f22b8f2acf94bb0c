// TCustomPanel and Frame3D.
#include "platform/extctrls_win.h"
#include "platform/setprop.h"

namespace {

void FillWith(TCanvas* Canvas, const TRect& Rect, TColor Color) {
  Canvas->Brush()->SetColor(Color);
  Canvas->FillRect(Rect);
}

void BevelColors(TBevelCut Cut, TColor& Top, TColor& Bottom) {
  Top = Cut == bvLowered ? clBtnShadow : clBtnHighlight;
  Bottom = Cut == bvLowered ? clBtnHighlight : clBtnShadow;
}

}  // namespace

void Frame3D(TCanvas* Canvas, TRect& Rect, TColor TopColor, TColor BottomColor, int Width) {
  Canvas->Brush()->SetStyle(bsSolid);
  for (int i = 0; i < Width && !IsRectEmpty(Rect); ++i) {
    const TRect& r = Rect;
    FillWith(Canvas, ::Rect(r.Left, r.Top, r.Right - 1, r.Top + 1), TopColor);
    FillWith(Canvas, ::Rect(r.Left, r.Top, r.Left + 1, r.Bottom - 1), TopColor);
    FillWith(Canvas, ::Rect(r.Right - 1, r.Top, r.Right, r.Bottom), BottomColor);
    FillWith(Canvas, ::Rect(r.Left, r.Bottom - 1, r.Right, r.Bottom), BottomColor);
    InflateRect(Rect, -1, -1);
  }
}

TCustomPanel::TCustomPanel(TComponent* AOwner) : TCustomControl(AOwner) {
  SetControlStyle({csAcceptsControls, csCaptureMouse, csClickEvents, csOpaque, csDoubleClicks});
  SetColor(clBtnFace);
  SetBounds(0, 0, 185, 41);
}

void TCustomPanel::Changed() {
  Realign();
  Invalidate();
}

void TCustomPanel::SetBevelOuter(TBevelCut Value) {
  if (!StoreChanged(FBevelOuter, Value)) return;
  Changed();
}

void TCustomPanel::SetBevelInner(TBevelCut Value) {
  if (!StoreChanged(FBevelInner, Value)) return;
  Changed();
}

void TCustomPanel::SetBevelWidth(TBevelWidth Value) {
  if (Value < 1) Value = 1;
  if (!StoreChanged(FBevelWidth, Value)) return;
  Changed();
}

void TCustomPanel::SetBorderWidth(int Value) {
  if (Value < 0) Value = 0;
  if (!StoreChanged(FBorderWidth, Value)) return;
  Changed();
}

void TCustomPanel::SetBorderStyle(TBorderStyle Value) {
  if (!StoreChanged(FBorderStyle, Value)) return;
  RecreateWnd();
  Changed();
}

void TCustomPanel::SetAlignment(TAlignment Value) { SetPainted(*this, FAlignment, Value); }

void TCustomPanel::CreateParams(TCreateParams& Params) {
  TCustomControl::CreateParams(Params);
  if (FBorderStyle == bsSingle) Params.Style |= WS_BORDER;
  Params.WinClassName = u"TOrvPanel";
}

void TCustomPanel::AdjustClientRect(TRect& Rect) {
  TCustomControl::AdjustClientRect(Rect);
  int inset = FBorderWidth;
  if (FBevelOuter != bvNone) inset += FBevelWidth;
  if (FBevelInner != bvNone) inset += FBevelWidth;
  InflateRect(Rect, -inset, -inset);
}

void TCustomPanel::Paint() {
  TCanvas* canvas = Canvas();
  TRect r = ClientRect();
  TColor top, bottom;
  if (FBevelOuter != bvNone) {
    BevelColors(FBevelOuter, top, bottom);
    Frame3D(canvas, r, top, bottom, FBevelWidth);
  }
  Frame3D(canvas, r, Color(), Color(), FBorderWidth);
  if (FBevelInner != bvNone) {
    BevelColors(FBevelInner, top, bottom);
    Frame3D(canvas, r, top, bottom, FBevelWidth);
  }
  FillWith(canvas, r, Color());
  if (Caption().empty()) return;
  canvas->SetFont(*Font());
  canvas->Brush()->SetStyle(bsClear);
  const UINT align = FAlignment == taLeftJustify ? DT_LEFT : FAlignment == taRightJustify ? DT_RIGHT : DT_CENTER;
  canvas->DrawText(Caption(), r, DT_EXPANDTABS | DT_SINGLELINE | DT_VCENTER | align);
}
