// The tool button the form base puts on toolbars: a tool button that, for
// actions marked to repeat, executes its action again and again while held.
#pragma once
#include "platform/timer.h"
#include "platform/toolbutton_win.h"

// Process-wide repeat settings: the first repeat after the delay, the next
// ones at the interval (ms).
inline constexpr unsigned ToolRepeatDelay = 400;
inline constexpr unsigned ToolRepeatInterval = 100;
inline constexpr bool ToolRepeatAllowed = true;

class TKemToolButton : public TToolButton {
 public:
  explicit TKemToolButton(TComponent* AOwner);

  // Set by the toolbar builder for actions that repeat while held.
  bool RepeatEnabled() const { return FRepeatEnabled; }
  void SetRepeatEnabled(bool Value) { FRepeatEnabled = Value; }
  // The left button went down on the button and the pointer is still over it.
  bool PressedInside() const { return FPressedInside; }
  // The repeat timer exists from a press on a repeat button to the release.
  bool Repeating() const { return FRepeatTimer != nullptr; }

 protected:
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;

 private:
  void RepeatStep(TObject* Sender);

  bool FRepeatEnabled = false;
  bool FPressedInside = false;
  TTimer* FRepeatTimer = nullptr;  // owned as a component between press and release
};
