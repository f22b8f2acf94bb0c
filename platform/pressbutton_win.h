// TPressButton: the press of the class layer's windowless buttons (tool
// buttons and speed buttons share it). The button looks pressed while the
// left button that went down on it is held with the pointer over it; the
// release over it is a click (csClickEvents).
#pragma once
#include "platform/controls_win.h"

class TPressButton : public TGraphicControl {
 public:
  explicit TPressButton(TComponent* AOwner);
  // The left button is held on the button and the pointer is over it.
  bool Pressed() const { return FPressed; }

 protected:
  // Whether a press takes hold (a toolbar's separators do not).
  virtual bool Pressable() const { return true; }
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void EnabledChanged() override;
  void SetPressed(bool Value);

 private:
  bool FPressed = false;
};
