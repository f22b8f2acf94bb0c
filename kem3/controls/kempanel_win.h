// TKemPanel: the library's panel with bevels, spacing, solid, gradient or
// custom fills, dot and grid textures and an embossed caption; the button
// rows and client areas of the dialogs are made of it.
#pragma once
#include <vector>

#include "kem3/controls/kembase_win.h"
#include "kem3/controls/kembordercolors.h"
#include "kem3/controls/kempanel_model.h"
#include "platform/setprop.h"

class TKemPanel : public TKemCustomControl, public TKemBorderColored {
 public:
  explicit TKemPanel(TComponent* AOwner);

  TAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TAlignment Value) { Set(FAlignment, Value, false); }
  TBevelCut BevelInner() const { return FFrame.BevelInner; }
  void SetBevelInner(TBevelCut Value) { Set(FFrame.BevelInner, Value, true); }
  TBevelCut BevelOuter() const { return FFrame.BevelOuter; }
  void SetBevelOuter(TBevelCut Value) { Set(FFrame.BevelOuter, Value, true); }
  int BevelWidth() const { return FFrame.BevelWidth; }
  void SetBevelWidth(int Value) { Set(FFrame.BevelWidth, Value, true); }
  int BorderWidth() const { return FFrame.BorderWidth; }
  void SetBorderWidth(int Value) { Set(FFrame.BorderWidth, Value, true); }
  TStyle3D Style3D() const { return FFrame.Style3D; }
  void SetStyle3D(TStyle3D Value) { Set(FFrame.Style3D, Value, true); }
  int SpaceLeft() const { return FFrame.SpaceLeft; }
  void SetSpaceLeft(int Value) { Set(FFrame.SpaceLeft, Value, true); }
  int SpaceTop() const { return FFrame.SpaceTop; }
  void SetSpaceTop(int Value) { Set(FFrame.SpaceTop, Value, true); }
  int SpaceRight() const { return FFrame.SpaceRight; }
  void SetSpaceRight(int Value) { Set(FFrame.SpaceRight, Value, true); }
  int SpaceBottom() const { return FFrame.SpaceBottom; }
  void SetSpaceBottom(int Value) { Set(FFrame.SpaceBottom, Value, true); }

  // The gradient runs from ColorFront to ColorBack in GradientColors bands.
  TColor ColorFront() const { return FColorFront; }
  void SetColorFront(TColor Value) { Set(FColorFront, Value, false); }
  TColor ColorBack() const { return FColorBack; }
  void SetColorBack(TColor Value) { Set(FColorBack, Value, false); }
  int GradientColors() const { return FGradientColors; }
  void SetGradientColors(int Value) { Set(FGradientColors, Value, false); }
  TFillStyle FillStyle() const { return FFillStyle; }
  void SetFillStyle(TFillStyle Value) { Set(FFillStyle, Value, false); }
  TTexture Texture() const { return FTexture; }
  void SetTexture(TTexture Value) { Set(FTexture, Value, false); }
  int DotSpace() const { return FDotSpace; }
  void SetDotSpace(int Value) { Set(FDotSpace, Value, false); }
  TTextStyle TextStyle() const { return FTextStyle; }
  void SetTextStyle(TTextStyle Value) { Set(FTextStyle, Value, false); }
  bool ShowAccelChar() const { return FShowAccelChar; }
  void SetShowAccelChar(bool Value) { Set(FShowAccelChar, Value, false); }
  // The background may be erased (otherwise the panel paints all of it).
  bool Transparent() const { return FTransparent; }
  void SetTransparent(bool Value) { Set(FTransparent, Value, false); }
  // The width follows the caption.
  bool AutoSize() const { return FAutoSize; }
  void SetAutoSize(bool Value);

 protected:
  void BorderColorChanged(TColor TBorderColors::*Which) override;
  void Paint() override;
  void AdjustClientRect(TRect& Rect) override;
  void TextChanged() override;
  void FontChanged() override;
  // Called for fsCustom: fills R.
  virtual void PaintCustomFill(const TRect& /*R*/) {}
  // The first and last steps of painting.
  virtual void BeforePaint() {}
  virtual void AfterPaint() {}

 private:
  template <class T>
  void Set(T& Field, T Value, bool Realigns) {
    if (!StoreChanged(Field, Value)) return;
    if (Realigns) Realign();
    if (FAutoSize) AdjustWidth();
    Invalidate();
  }
  void AdjustWidth();

  TPanelFrame FFrame;
  TAlignment FAlignment = taCenter;
  TColor FColorFront = 0xC0C0C0;
  TColor FColorBack = 0x808080;
  int FGradientColors = 64;
  TFillStyle FFillStyle = fsSolid;
  TTexture FTexture = ptNone;
  int FDotSpace = 4;
  TTextStyle FTextStyle = tsFlat;
  bool FShowAccelChar = true;
  bool FTransparent = false;
  bool FAutoSize = false;
};
