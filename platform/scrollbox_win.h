// TScrollBox: a container whose children may reach below its client area; a
// vertical scroll bar (shown while they do) moves them into view.
#pragma once
#include "platform/controls_win.h"

class TScrollBox : public TWinControl {
 public:
  // Lines of the scroll bar's arrows and of one wheel notch's three steps.
  static constexpr int LineStep = 8;

  explicit TScrollBox(TComponent* AOwner);

  // bsSingle (the default) draws the system's sunken edge around it.
  TBorderStyle BorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TBorderStyle Value);

  // The height the visible children take, from the unscrolled top to the
  // lowest bottom; follows them as they come, go, move and change size.
  int VertRange() const { return FRange; }
  // How far the contents are scrolled up: 0 … VertRange - ClientHeight.
  int VertPosition() const { return FPosition; }
  void SetVertPosition(int Value);
  // Scrolls as little as brings Control (a child, or a child's child) fully
  // into view; a control taller than the box shows its top. The form calls
  // it for every control inside that takes the focus (Tab, a click, a key).
  void ScrollInView(TControl* Control);

 protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void WndProc(TMessage& Message) override;
  bool DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos) override;
  void BoundsChanged(const TRect& OldBounds) override;
  void ControlChanged(TControl* Control) override;

 private:
  // The range from the children, the position held within it, the bar.
  void UpdateRange();
  void UpdateBar();
  void Scroll(int Code);

  TBorderStyle FBorderStyle = bsSingle;
  int FRange = 0;
  int FPosition = 0;
  bool FMoving = false;  // the box itself is moving its children
};
