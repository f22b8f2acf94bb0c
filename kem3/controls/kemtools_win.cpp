// TKemToolButton: press-and-hold repetition of the button's action.
#include "kem3/controls/kemtools_win.h"

TKemToolButton::TKemToolButton(TComponent* AOwner) : TUcToolButton(AOwner) {
  SetControlStyle(ControlStyle() + csCaptureMouse);
}

void TKemToolButton::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (Button == mbLeft) FPressedInside = true;
  if (FPressedInside && FRepeatEnabled && ToolRepeatAllowed) {
    FRepeat.Start(
        ToolRepeatDelay, ToolRepeatInterval,
        [this] {
          if (FPressedInside && FRepeatEnabled && ToolRepeatAllowed) Click();
        },
        [this] { PressLost(); });
  }
  TUcToolButton::MouseDown(Button, Shift, X, Y);
}

void TKemToolButton::MouseMove(TShiftState Shift, int X, int Y) {
  TUcToolButton::MouseMove(Shift, X, Y);
  if (MouseCapture()) {
    FPressedInside = X >= 0 && X < ClientWidth() && Y >= 0 && Y < ClientHeight();
  } else if (FPressedInside) {
    PressLost();
  }
}

void TKemToolButton::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TUcToolButton::MouseUp(Button, Shift, X, Y);
  if (Button != mbLeft) return;
  FPressedInside = false;
  FRepeat.Stop();
  if (Action()) Action()->SetRepeatCount(0);
}

void TKemToolButton::PressLost() {
  FPressedInside = false;
  SetPressed(false);
  FRepeat.Stop();
  if (Action()) Action()->SetRepeatCount(0);
}
