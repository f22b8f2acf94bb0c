// TPanel: a container with bevels, a border and a centred caption; and
// Frame3D, the bevel drawing it uses.
#pragma once
#include "platform/controls_win.h"

// Draws Width nested frames along the edges of Rect: top and left in TopColor,
// right and bottom (with the top-right and bottom-left corners) in
// BottomColor; Rect shrinks by Width on every side.
void Frame3D(TCanvas* Canvas, TRect& Rect, TColor TopColor, TColor BottomColor, int Width);

class TCustomPanel : public TCustomControl {
 public:
  explicit TCustomPanel(TComponent* AOwner);

  // Outer bevel (default bvRaised), inner bevel (bvNone), both BevelWidth wide
  // (1), with BorderWidth (0) of plain Color between them. Aligned children
  // share what is inside all three.
  TBevelCut BevelOuter() const { return FBevelOuter; }
  void SetBevelOuter(TBevelCut Value);
  TBevelCut BevelInner() const { return FBevelInner; }
  void SetBevelInner(TBevelCut Value);
  TBevelWidth BevelWidth() const { return FBevelWidth; }
  void SetBevelWidth(TBevelWidth Value);
  int BorderWidth() const { return FBorderWidth; }
  void SetBorderWidth(int Value);
  // bsSingle adds the system's thin border around the window.
  TBorderStyle BorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TBorderStyle Value);
  TAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TAlignment Value);

 protected:
  void CreateParams(TCreateParams& Params) override;
  void AdjustClientRect(TRect& Rect) override;
  void Paint() override;

 private:
  void Changed();

  TBevelCut FBevelOuter = bvRaised;
  TBevelCut FBevelInner = bvNone;
  TBevelWidth FBevelWidth = 1;
  int FBorderWidth = 0;
  TBorderStyle FBorderStyle = bsNone;
  TAlignment FAlignment = taCenter;
};

class TPanel : public TCustomPanel {
 public:
  using TCustomPanel::TCustomPanel;
};
