// TCustomGroupBox: frame, caption and the children's area.
#include "platform/groupbox_win.h"

TCustomGroupBox::TCustomGroupBox(TComponent* AOwner) : TCustomControl(AOwner) {
  SetControlStyle({csAcceptsControls, csCaptureMouse, csClickEvents, csOpaque, csDoubleClicks});
  SetColor(clBtnFace);
  SetBounds(0, 0, 185, 105);
}

int TCustomGroupBox::CaptionHeight() {
  // Measured on a picture of its own: the box may have no window yet.
  TBitmap measure;
  measure.SetSize(1, 1);
  measure.Canvas()->Font()->Assign(*Font());
  return measure.Canvas()->TextHeight(u"0");
}

int TCustomGroupBox::FrameTop() { return CaptionHeight() / 2 - 1; }

void TCustomGroupBox::AdjustClientRect(TRect& Rect) {
  TCustomControl::AdjustClientRect(Rect);
  Rect.Top += CaptionHeight();
  InflateRect(Rect, -1, -1);
}

void TCustomGroupBox::TextChanged() {
  TCustomControl::TextChanged();
  Invalidate();
}

void TCustomGroupBox::Paint() {
  TCanvas* c = Canvas();
  c->Brush()->SetStyle(bsSolid);
  c->Brush()->SetColor(Color());
  c->FillRect(ClientRect());
  c->Font()->Assign(*Font());
  const int top = FrameTop();
  TRect frame = Rect(0, top, Width(), Height());
  // The highlight frame one pixel right and down under the shadow frame.
  c->Brush()->SetColor(clBtnHighlight);
  c->FrameRect(Rect(frame.Left + 1, frame.Top + 1, frame.Right, frame.Bottom));
  c->Brush()->SetColor(clBtnShadow);
  c->FrameRect(Rect(frame.Left, frame.Top, frame.Right - 1, frame.Bottom - 1));
  if (Caption().empty()) return;
  TRect text = Rect(0, 0, 0, 0);
  WideString caption = Caption();
  c->DrawText(caption, text, DT_CALCRECT | DT_SINGLELINE);
  OffsetRect(text, 8, 0);
  c->Brush()->SetColor(Color());
  c->DrawText(caption, text, DT_SINGLELINE);
}
