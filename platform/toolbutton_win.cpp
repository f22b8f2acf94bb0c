// TToolButton: press, click, check state and its flat painting.
#include "platform/toolbutton_win.h"

#include "platform/extctrls_win.h"

TToolButton::TToolButton(TComponent* AOwner) : TPressButton(AOwner) { SetBounds(0, 0, 23, 22); }

void TToolButton::SetStyle(TToolButtonStyle Value) {
  if (FStyle == Value) return;
  FStyle = Value;
  if (Value == tbsSeparator || Value == tbsDivider) SetWidth(8);
  Invalidate();
}

void TToolButton::SetDown(bool Value) {
  if (FDown == Value) return;
  FDown = Value;
  if (Value && FGrouped && FStyle == tbsCheck && Parent()) {
    for (int i = 0; i < Parent()->ControlCount(); ++i) {
      auto* other = dynamic_cast<TToolButton*>(Parent()->Controls(i));
      if (other && other != this && other->FGrouped && other->FStyle == tbsCheck) other->SetDown(false);
    }
  }
  Invalidate();
}

void TToolButton::SetImageIndex(int Value) {
  if (FImageIndex == Value) return;
  FImageIndex = Value;
  Invalidate();
}

void TToolButton::Click() {
  if (FStyle == tbsSeparator || FStyle == tbsDivider) return;
  // A grouped check button stays down when clicked again, as a radio button does.
  if (FStyle == tbsCheck) SetDown(FGrouped ? true : !FDown);
  TPressButton::Click();
}

void TToolButton::Paint() {
  TCanvas* c = Canvas();
  TRect r = ClientRect();
  if (FStyle == tbsSeparator) return;
  if (FStyle == tbsDivider) {
    TRect line = Rect(r.Width() / 2 - 1, r.Top, r.Width() / 2 + 1, r.Bottom);
    Frame3D(c, line, clBtnShadow, clBtnHighlight, 1);
    return;
  }
  if (Pressed() || FDown) Frame3D(c, r, clBtnShadow, clBtnHighlight, 1);
  c->Brush()->SetStyle(bsClear);
  c->Font()->Assign(*Font());
  if (!Enabled()) c->Font()->SetColor(clGrayText);
  if (Pressed() || FDown) OffsetRect(r, 1, 1);
  WideString caption = Caption();
  c->DrawText(caption, r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}
