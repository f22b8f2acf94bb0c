// TSpeedButton: a windowless push button with the tool button's press. It
// shows raised (or flat until pressed), sunken while pressed or down, and
// clicks when released over it. Buttons of a group (GroupIndex above 0) stay
// down, one of each group at a time.
#pragma once
#include "platform/pressbutton_win.h"

class TSpeedButton : public TPressButton {
 public:
  explicit TSpeedButton(TComponent* AOwner);

  bool Flat() const { return FFlat; }
  void SetFlat(bool Value);
  bool Down() const { return FDown; }
  void SetDown(bool Value);
  int GroupIndex() const { return FGroupIndex; }
  void SetGroupIndex(int Value) { FGroupIndex = Value; }
  // A group's down button may be clicked up again.
  bool AllowAllUp() const { return FAllowAllUp; }
  void SetAllowAllUp(bool Value) { FAllowAllUp = Value; }

  // A grouped button goes down (or, with AllowAllUp, toggles); then OnClick.
  void Click() override;

 protected:
  void Paint() override;

 private:
  bool FFlat = false;
  bool FDown = false;
  int FGroupIndex = 0;
  bool FAllowAllUp = false;
};
