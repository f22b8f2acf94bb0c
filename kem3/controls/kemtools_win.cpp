// TKemToolButton: press-and-hold repetition of the button's action.
#include "kem3/controls/kemtools_win.h"

#include "platform/object.h"

TKemToolButton::TKemToolButton(TComponent* AOwner) : TToolButton(AOwner) {
  SetControlStyle(ControlStyle() + csCaptureMouse);
}

void TKemToolButton::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (Button == mbLeft) FPressedInside = true;
  if (FPressedInside && FRepeatEnabled && ToolRepeatAllowed) {
    if (!FRepeatTimer) {
      FRepeatTimer = new TTimer(this);
      FRepeatTimer->SetEnabled(false);
    }
    FRepeatTimer->OnTimer = [this](TObject* Sender) { RepeatStep(Sender); };
    FRepeatTimer->SetInterval(ToolRepeatDelay);
    FRepeatTimer->SetEnabled(true);
  }
  TToolButton::MouseDown(Button, Shift, X, Y);
}

void TKemToolButton::MouseMove(TShiftState Shift, int X, int Y) {
  TToolButton::MouseMove(Shift, X, Y);
  if (MouseCapture()) FPressedInside = X >= 0 && X < ClientWidth() && Y >= 0 && Y < ClientHeight();
}

void TKemToolButton::RepeatStep(TObject* /*Sender*/) {
  FRepeatTimer->SetInterval(ToolRepeatInterval);
  if (!FPressedInside || !FRepeatEnabled || !ToolRepeatAllowed || !MouseCapture()) return;
  try {
    Click();
  } catch (...) {
    FRepeatTimer->SetEnabled(false);
    throw;
  }
}

void TKemToolButton::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TToolButton::MouseUp(Button, Shift, X, Y);
  if (Button != mbLeft) return;
  FPressedInside = false;
  FreeAndNil(FRepeatTimer);
  if (Action()) Action()->SetRepeatCount(0);
}
