// TPressButton: press, pointer tracking and release.
#include "platform/pressbutton_win.h"
#include "platform/setprop.h"

TPressButton::TPressButton(TComponent* AOwner) : TGraphicControl(AOwner) {
  SetControlStyle({csCaptureMouse, csClickEvents});
}

void TPressButton::SetPressed(bool Value) { SetPainted(*this, FPressed, Value); }

void TPressButton::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (Button == mbLeft && Pressable()) SetPressed(true);
  TGraphicControl::MouseDown(Button, Shift, X, Y);
}

void TPressButton::MouseMove(TShiftState Shift, int X, int Y) {
  TGraphicControl::MouseMove(Shift, X, Y);
  if (MouseCapture() && Pressable()) SetPressed(PtInRect(ClientRect(), Point(X, Y)));
}

void TPressButton::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TGraphicControl::MouseUp(Button, Shift, X, Y);
  if (Button == mbLeft) SetPressed(false);
}

void TPressButton::EnabledChanged() {
  TGraphicControl::EnabledChanged();
  // A disabled button holds no press.
  if (!Enabled()) {
    if (MouseCapture()) SetMouseCapture(false);
    SetPressed(false);
  }
}
