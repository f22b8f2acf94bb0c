// TKemTracker: painting, the thumb drag, paging with auto-repeat, keys and
// the legend's language text.
#include "kem3/controls/kemtrack_win.h"

#include <algorithm>

#include "kem3/controls/kemfield_win.h"
#include "kem3/framework/kemlantext.h"
#include "kem3/pictures/kemimage.h"
#include "platform/extctrls_win.h"
#include "platform/keys.h"
#include "platform/setprop.h"
#include "platform/unicode_convert.h"

TKemTracker::TKemTracker(TComponent* AOwner)
    : TKemCustomControl(AOwner),
      TKemBorderColored({clBtnHighlight, clBtnShadow, clWindowFrame, GetFaceHighlightMidColor()}),
      FColorFillFocus(MidColor(clBtnFace, clWindow)),
      FColorPressed(GetFaceHighlightMidColor()),
      FColorThumb(MidColor(clBtnFace, clBtnShadow)) {
  SetControlStyle({csCaptureMouse, csOpaque, csClickEvents});
  SetColor(clWindow);
  SetTabStop(true);
  SetBounds(0, 0, 100, 42);
}

void TKemTracker::BorderColorChanged(TColor TBorderColors::*) { Invalidate(); }

void TKemTracker::SetLegendFormat(const String& Value) { SetPainted(*this, FLegendFormat, Value); }

void TKemTracker::SetLanId(const String& Value) { FLanText.Set(this, Value); }

void TKemTracker::UpdateLanguage() {
  const int index = FLanText.Index(this);
  if (index >= 0) SetLegendFormat(WideToUtf8(LanguageText(index, Utf8ToWide(FLegendFormat))));
}

void TKemTracker::SetMin(int Value) {
  if (!StoreChanged(FMin, Value)) return;
  SetPosition(FPosition);
  Invalidate();
}

void TKemTracker::SetMax(int Value) {
  if (!StoreChanged(FMax, Value)) return;
  SetPosition(FPosition);
  Invalidate();
}

void TKemTracker::SetPosition(int Value) {
  // Min wins where the range is empty, as the geometry says.
  const int v = std::max(std::min(Value, FMax), FMin);
  if (v == FPosition) return;
  FPosition = v;
  Invalidate();
  if (OnChange) OnChange(this);
}

TTrackerGeometry TKemTracker::Geometry() const {
  return {Width(), Height(), FTickHeight, FSpaceVert, FLegendHeight, FStyle, FMin, FMax};
}

String TKemTracker::LegendText() const { return TrackerLegend(FLegendFormat, FPosition, FLegendOffset, FLegendScale); }

void TKemTracker::Paint() {
  TCanvas* c = Canvas();
  const TTrackerGeometry g = Geometry();
  const int W = Width(), H = Height();
  c->Brush()->SetStyle(bsSolid);
  c->Brush()->SetColor(Color());
  c->FillRect(ClientRect());

  // The track, sunken two pixels deep.
  TRect track = Rect(0, g.TrackTop(), W, g.TrackTop() + g.TrackHeight());
  Frame3D(c, track, FBorderColors.Shadow, FBorderColors.Highlight, 1);
  Frame3D(c, track, FBorderColors.Frame, FBorderColors.Spark, 1);
  c->Brush()->SetColor(Focused() ? FColorFillFocus : FColorFill);
  if (!IsRectEmpty(track)) c->FillRect(track);

  // Ticks at every large step, the ends longer.
  if (FStepLarge > 0 && FMax >= FMin) {
    const int below = g.TrackTop() + g.TrackHeight() + FSpaceVert;
    for (long long v = FMin;; v += FStepLarge) {
      const bool end = v == FMin || v >= FMax;
      const int value = static_cast<int>(std::min<long long>(v, FMax));
      const int x = g.ValueToX(value);
      if (FStyle != tsDown) PenLine(c, FBorderColors.Frame, {{x, end ? 0 : FTickHeight / 2}, {x, FTickHeight}});
      if (FStyle != tsUp)
        PenLine(c, FBorderColors.Frame, {{x, below}, {x, below + (end ? FTickHeight : FTickHeight / 2)}});
      if (v >= FMax) break;
    }
  }

  if (FLegendHeight > 0) {
    c->Font()->Assign(*Font());
    const int th = c->TextHeight(u"Wp");
    const int half = std::max(g.ThumbSize(), 0) / 2;
    const int top = H - FLegendHeight + 1, bottom = H - th / 2;
    PenLine(c, FBorderColors.Frame, {{half, top}, {half, bottom}, {W - half - 1, bottom}, {W - half - 1, top - 1}});
    const WideString text = Utf8ToWide(LegendText());
    if (!text.empty()) {
      TRect strip = Rect(0, H - th, W, H);
      c->Brush()->SetStyle(bsSolid);
      c->Brush()->SetColor(Color());
      c->DrawText(text, strip, DT_CENTER | DT_SINGLELINE | DT_NOPREFIX | DT_VCENTER);
    }
  }
  PaintThumb(c, g);
}

void TKemTracker::PaintThumb(TCanvas* C, const TTrackerGeometry& G) {
  const int b = G.ThumbSize();
  if (b < 1) return;
  const int c = G.TrackHeight() + 2 * FSpaceVert;
  const int h = (b + 1) / 2 - 1;
  const int left = G.ValueToX(FPosition) - h;
  const int top = FStyle == tsDown ? 0 : FTickHeight;
  const TColor fill = FDragging ? FColorPressed : FColorThumb;
  C->Brush()->SetStyle(bsSolid);
  C->Brush()->SetColor(fill);
  switch (FStyle) {
    case tsBar:
      PenLine(C, FBorderColors.Highlight, {{left, top + c - 2}, {left, top}, {left + b - 1, top}});
      PenLine(C, FBorderColors.Spark, {{left + 1, top + c - 3}, {left + 1, top + 1}, {left + b - 2, top + 1}});
      PenLine(C, FBorderColors.Frame, {{left + b - 1, top}, {left + b - 1, top + c - 1}, {left - 1, top + c - 1}});
      PenLine(C, FBorderColors.Shadow, {{left + b - 2, top + 1}, {left + b - 2, top + c - 2}, {left, top + c - 2}});
      C->FillRect(Rect(left + 2, top + 2, left + b - 2, top + c - 2));
      break;
    case tsUp:
      PenLine(C, FBorderColors.Highlight, {{left, top + c - 2}, {left, top + h}, {left + h, top}});
      PenLine(C, FBorderColors.Spark, {{left + 1, top + c - 1}, {left + 1, top + h}, {left + h, top + 1}});
      PenLine(C, FBorderColors.Frame,
              {{left, top + c - 1}, {left + b - 1, top + c - 1}, {left + b - 1, top + h}, {left + h - 1, top - 1}});
      PenLine(C, FBorderColors.Shadow,
              {{left + 1, top + c - 2}, {left + b - 2, top + c - 2}, {left + b - 2, top + h}, {left + h - 1, top}});
      C->Pen()->SetColor(fill);
      C->Polygon({{left + 2, top + c - 3},
                  {left + 2, top + h},
                  {left + h, top + 2},
                  {left + b - 3, top + h},
                  {left + b - 3, top + c - 3}});
      break;
    case tsDown:
      PenLine(C, FBorderColors.Highlight,
              {{left + b - 2, top}, {left, top}, {left, top + c - h - 1}, {left + h, top + c - 1}});
      PenLine(C, FBorderColors.Spark,
              {{left + b - 3, top + 1}, {left + 1, top + 1}, {left + 1, top + c - h - 1}, {left + h, top + c - 2}});
      PenLine(C, FBorderColors.Frame, {{left + b - 1, top}, {left + b - 1, top + c - h - 1}, {left + h - 1, top + c}});
      PenLine(C, FBorderColors.Shadow,
              {{left + b - 2, top + 1}, {left + b - 2, top + c - h - 1}, {left + h - 1, top + c - 1}});
      C->Pen()->SetColor(fill);
      C->Polygon({{left + 2, top + 2},
                  {left + 2, top + c - h - 1},
                  {left + h, top + c - 3},
                  {left + b - 3, top + c - h - 1},
                  {left + b - 3, top + 2}});
      break;
  }
}

void TKemTracker::WndProc(TMessage& Message) {
  switch (Message.Msg) {
    case WM_GETDLGCODE:
      Message.Result = DLGC_WANTARROWS;
      return;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      Invalidate();
      break;
  }
  if (FCaptureWatch.Pass(*this, Message, [this](TMessage& m) { TKemCustomControl::WndProc(m); })) EndPress();
}

void TKemTracker::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TKemCustomControl::MouseDown(Button, Shift, X, Y);
  if (Button != mbLeft) return;
  const TTrackerGeometry g = Geometry();
  const TRect thumb = g.ThumbRect(FPosition);  // right and bottom edges belong to it
  if (Y < thumb.Top || Y > thumb.Bottom) return;
  if (X >= thumb.Left && X <= thumb.Right) {
    FDragging = true;
    FDragOffset = g.ValueToX(FPosition) - X;
    if (CanFocus()) SetFocus();
    Invalidate();
    return;
  }
  if (!g.InPagingBand(Y)) return;
  FPageStep = X < thumb.Left ? -FStepLarge : FStepLarge;
  FPointerX = X;
  SetPosition(FPosition + FPageStep);
  FPageRepeat.Start(
      FRepeatDelay, FRepeatPause, [this] { PageStep(); }, [this] { EndPress(); });
  if (CanFocus()) SetFocus();
}

void TKemTracker::PageStep() { SetPosition(TrackerPageStep(FPosition, FPageStep, Geometry().XToValue(FPointerX))); }

void TKemTracker::MouseMove(TShiftState Shift, int X, int Y) {
  TKemCustomControl::MouseMove(Shift, X, Y);
  FPointerX = X;
  if (!FDragging) return;
  const int v = Geometry().XToValue(X + FDragOffset);
  if (v != FPosition) {
    FPosition = v;  // directly: a drag reports through OnChanging
    Invalidate();
  }
  if (OnChanging) OnChanging(this);
}

void TKemTracker::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (Button == mbLeft) EndPress();
  TKemCustomControl::MouseUp(Button, Shift, X, Y);
}

void TKemTracker::EndPress() {
  FPageRepeat.Stop();
  if (FDragging) {
    FDragging = false;
    Invalidate();
  }
}

void TKemTracker::KeyDown(std::uint16_t& Key, TShiftState Shift) {
  if (!Shift.Contains(ssShift) && !Shift.Contains(ssCtrl) && !Shift.Contains(ssAlt)) {
    switch (Key) {
      case VK_PRIOR:
        SetPosition(FPosition + FStepLarge);
        break;
      case VK_NEXT:
        SetPosition(FPosition - FStepLarge);
        break;
      case VK_LEFT:
      case VK_DOWN:
        SetPosition(FPosition - FStepSmall);
        break;
      case VK_UP:
      case VK_RIGHT:
        SetPosition(FPosition + FStepSmall);
        break;
    }
  }
  TKemCustomControl::KeyDown(Key, Shift);
}

void TKemTracker::EnabledChanged() {
  TKemCustomControl::EnabledChanged();
  if (!Enabled()) {
    if (MouseCapture()) SetMouseCapture(false);
    EndPress();
  }
  Invalidate();
}
