// TSpeedButton: groups and the plain painting.
#include "platform/speedbutton_win.h"
#include "platform/setprop.h"

#include "platform/extctrls_win.h"

TSpeedButton::TSpeedButton(TComponent* AOwner) : TPressButton(AOwner) { SetBounds(0, 0, 23, 22); }

void TSpeedButton::SetFlat(bool Value) { SetPainted(*this, FFlat, Value); }

void TSpeedButton::SetDown(bool Value) {
  if (FGroupIndex == 0) Value = false;
  if (!StoreChanged(FDown, Value)) return;
  if (Value && Parent()) {
    for (int i = 0; i < Parent()->ControlCount(); ++i) {
      auto* other = dynamic_cast<TSpeedButton*>(Parent()->Controls(i));
      if (other && other != this && other->FGroupIndex == FGroupIndex) other->SetDown(false);
    }
  }
  Invalidate();
}

void TSpeedButton::Click() {
  if (FGroupIndex != 0) SetDown(FAllowAllUp ? !FDown : true);
  TPressButton::Click();
}

void TSpeedButton::Paint() {
  TCanvas* c = Canvas();
  TRect r = ClientRect();
  const bool sunken = Pressed() || FDown;
  c->Brush()->SetStyle(bsSolid);
  c->Brush()->SetColor(Color());
  c->FillRect(r);
  if (sunken)
    Frame3D(c, r, clBtnShadow, clBtnHighlight, 1);
  else if (!FFlat)
    Frame3D(c, r, clBtnHighlight, clBtnShadow, 1);
  c->Brush()->SetStyle(bsClear);
  c->Font()->Assign(*Font());
  if (!Enabled()) c->Font()->SetColor(clGrayText);
  if (sunken) OffsetRect(r, 1, 1);
  c->DrawText(Caption(), r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}
