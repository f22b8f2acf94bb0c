// TCustomGroupBox: a framed container with its caption set into the top
// edge of the frame.
#pragma once
#include "platform/controls_win.h"

class TCustomGroupBox : public TCustomControl {
 public:
  explicit TCustomGroupBox(TComponent* AOwner);

 protected:
  // Children go inside the frame, below the caption.
  void AdjustClientRect(TRect& Rect) override;
  // The 3-D frame from FrameTop() down, the caption at x 8 on Color.
  void Paint() override;
  void TextChanged() override;
  // Where the frame begins: half a caption line down, less one pixel.
  virtual int FrameTop();
  // The height of a caption line in the box's font.
  int CaptionHeight();
};
