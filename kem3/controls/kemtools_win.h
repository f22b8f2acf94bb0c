// The tool button the form base puts on toolbars: a tool button that, for
// actions marked to repeat, executes its action again and again while held.
#pragma once
#include "kem3/controls/kempress_win.h"
#include "kem3/unicode/uccomctrls_win.h"

// Process-wide repeat settings: the first repeat after the delay, the next
// ones at the interval (ms).
inline constexpr unsigned ToolRepeatDelay = 400;
inline constexpr unsigned ToolRepeatInterval = 100;
inline constexpr bool ToolRepeatAllowed = true;

class TKemToolButton : public TUcToolButton {
 public:
  explicit TKemToolButton(TComponent* AOwner);

  // Set by the toolbar builder for actions that repeat while held.
  bool RepeatEnabled() const { return FRepeatEnabled; }
  void SetRepeatEnabled(bool Value) { FRepeatEnabled = Value; }
  // The left button went down on the button and the pointer is still over it.
  bool PressedInside() const { return FPressedInside; }
  // From a press on a repeat button to the release.
  bool Repeating() const { return FRepeat.Running(); }

 protected:
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;

 private:
  // The mouse was taken away from the press (no release came): the pressed
  // look and the repeat end. Without a window of its own the button learns
  // it at its next move or repeat step.
  void PressLost();

  bool FRepeatEnabled = false;
  bool FPressedInside = false;
  TPressRepeat FRepeat{this};
};
