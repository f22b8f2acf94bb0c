// TKemCheckbox: painting the box, glyph and caption, the press, the keys and
// the accelerator.
#include "kem3/controls/kemchkbx_win.h"

#include "kem3/controls/kemfield_win.h"
#include "kem3/framework/kemlantext.h"
#include "platform/accel.h"
#include "platform/keys.h"
#include "platform/setprop.h"

TKemCheckbox::TKemCheckbox(TComponent* AOwner)
    : TKemCustomControl(AOwner), TKemBorderColored({clBtnHighlight, clBtnShadow, clWindowFrame, clBtnFace}) {
  SetControlStyle({csCaptureMouse, csOpaque});
  SetTabStop(true);
  SetBounds(0, 0, 97, 17);
}

void TKemCheckbox::BorderColorChanged(TColor TBorderColors::*) { Invalidate(); }

void TKemCheckbox::SetState(TCheckBoxState Value) {
  if (!StoreChanged(FState, Value)) return;
  Repaint();
}

void TKemCheckbox::SetAlignment(TLeftRight Value) {
  if (!StoreChanged(FAlignment, Value)) return;
  if (HandleAllocated()) RecreateWnd();
  Invalidate();
}

void TKemCheckbox::SetLanId(const String& Value) { FLanText.Set(this, Value); }

void TKemCheckbox::UpdateLanguage() {
  const int index = FLanText.Index(this);
  if (index >= 0) SetCaption(LanguageText(index, Caption()));
  Invalidate();
}

bool TKemCheckbox::DialogChar(WideChar Key, TShiftState /*Shift*/) {
  if (!CanFocus() || !IsAccel(Key, Caption())) return false;
  SetFocus();
  if (Focused()) Toggle();
  return true;
}

void TKemCheckbox::Toggle() {
  SetState(CheckBoxToggled(FState, FAllowGrayed));
  TKemCustomControl::Click();
}

void TKemCheckbox::Click() {
  SetState(CheckBoxClicked(FState));
  TKemCustomControl::Click();
}

void TKemCheckbox::WndProc(TMessage& Message) {
  switch (Message.Msg) {
    case WM_ERASEBKGND:
      Message.Result = 1;
      return;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      if (!ComponentState().Contains(csDestroying)) Invalidate();
      break;
  }
  if (FCaptureWatch.Pass(*this, Message, [this](TMessage& m) { TKemCustomControl::WndProc(m); })) EndPress();
}

void TKemCheckbox::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (Button == mbLeft) {
    if (CanFocus()) SetFocus();
    FPressed = FInside = true;
    Repaint();
  }
  TKemCustomControl::MouseDown(Button, Shift, X, Y);
}

void TKemCheckbox::MouseMove(TShiftState Shift, int X, int Y) {
  if (FPressed) {
    const bool inside = PtInRect(ClientRect(), TPoint{X, Y});
    if (inside != FInside) {
      FInside = inside;
      Repaint();
    }
  }
  TKemCustomControl::MouseMove(Shift, X, Y);
}

void TKemCheckbox::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (Button == mbLeft && FPressed) {
    const bool inside = FInside;
    if (MouseCapture()) SetMouseCapture(false);
    FPressed = FInside = false;
    Repaint();
    if (inside) Click();
  }
  TKemCustomControl::MouseUp(Button, Shift, X, Y);
}

void TKemCheckbox::EndPress() {
  if (!FPressed) return;
  FPressed = FInside = false;
  Invalidate();
}

void TKemCheckbox::KeyDown(std::uint16_t& Key, TShiftState Shift) {
  if (Key == VK_SPACE && !Shift.Contains(ssShift) && !Shift.Contains(ssCtrl) && !Shift.Contains(ssAlt)) Click();
  TKemCustomControl::KeyDown(Key, Shift);
}

void TKemCheckbox::EnabledChanged() {
  TKemCustomControl::EnabledChanged();
  if (!Enabled()) {
    if (MouseCapture()) SetMouseCapture(false);
    EndPress();
  }
  Invalidate();
}

void TKemCheckbox::TextChanged() {
  TKemCustomControl::TextChanged();
  Invalidate();
}

void TKemCheckbox::Paint() {
  TCanvas* c = Canvas();
  const int W = Width(), H = Height();
  c->Font()->Assign(*Font());
  c->Brush()->SetStyle(bsSolid);
  c->Brush()->SetColor(Color());
  c->FillRect(Rect(0, 0, W, H));

  const WideString caption = Caption();
  TRect text = CheckBoxCaptionRect(FAlignment, W, H);
  const UINT flags = DT_SINGLELINE | DT_VCENTER | DT_LEFT;
  if (Enabled()) {
    LibDrawText(c->Handle(), caption, text, flags);
  } else {
    // Embossed: the highlight in place, the shadow a pixel up and left.
    c->Brush()->SetStyle(bsClear);
    c->Font()->SetColor(FBorderColors.Highlight);
    LibDrawText(c->Handle(), caption, text, flags);
    TRect up = text;
    OffsetRect(up, -1, -1);
    c->Font()->SetColor(FBorderColors.Shadow);
    LibDrawText(c->Handle(), caption, up, flags);
    c->Brush()->SetStyle(bsSolid);
  }

  if (Focused() && !caption.empty()) {
    TRect measure = Rect(0, 0, 0, 0);
    LibDrawText(c->Handle(), caption, measure, flags | DT_CALCRECT);
    const int tw = measure.Right, th = measure.Bottom;
    const int top = (H - th) / 2 - 2;
    c->Pen()->SetColor(FBorderColors.Frame);
    c->Pen()->SetStyle(psDot);
    c->Brush()->SetColor(Color());
    c->DrawFocusRect(Rect(text.Left - 1, top, text.Left - 1 + tw + 3, top + th + 4));
    c->Pen()->SetStyle(psSolid);
  }
  PaintBox(c, CheckBoxOrigin(FAlignment, W, H));
}

void TKemCheckbox::PaintBox(TCanvas* C, TPoint Box) {
  const int x = Box.X, y = Box.Y;
  if (FFlat) {
    PenLine(C, FBorderColors.Frame, {{x, y + 11}, {x, y}, {x + 12, y}});
    PenLine(C, FBorderColors.Frame, {{x, y + 12}, {x + 12, y + 12}, {x + 12, y - 1}});
  } else {
    PenLine(C, FBorderColors.Shadow, {{x, y + 11}, {x, y}, {x + 12, y}});
    PenLine(C, FBorderColors.Frame, {{x + 1, y + 10}, {x + 1, y + 1}, {x + 11, y + 1}});
    PenLine(C, FBorderColors.Highlight, {{x, y + 12}, {x + 12, y + 12}, {x + 12, y - 1}});
    PenLine(C, FBorderColors.Spark, {{x + 1, y + 11}, {x + 11, y + 11}, {x + 11, y}});
  }
  const bool pressed = Pressed();
  const TColor fill = pressed ? FColorFillSel : FColorFill;
  const TRect inside = FFlat ? Rect(x + 1, y + 1, x + 12, y + 12) : Rect(x + 2, y + 2, x + 11, y + 11);
  C->Brush()->SetStyle(bsSolid);
  switch (FState) {
    case cbUnchecked:
      C->Brush()->SetColor(fill);
      C->FillRect(inside);
      break;
    case cbGrayed:
      C->Brush()->SetColor(pressed ? FColorFillSel : FColorGray);
      C->FillRect(inside);
      break;
    case cbChecked: {
      if (FFlat) {
        C->Brush()->SetColor(fill);
        C->FrameRect(inside);
      }
      // A disabled box shows the mark in the shadow colour.
      const TColor mark = Enabled() ? Font()->Color() : FBorderColors.Shadow;
      for (int row = 0; row < 9; ++row)
        for (int col = 0; col < 9; ++col)
          C->SetPixels(x + 2 + col, y + 2 + row, kCheckMarkGlyph[row][col] == '#' ? mark : fill);
      break;
    }
  }
}
