// The four colours of the library's sunken and raised borders, and the
// properties of them that every framed control offers.
#pragma once
#include "platform/setprop.h"
#include "platform/types.h"

struct TBorderColors {
  TColor Highlight;
  TColor Shadow;
  TColor Frame;
  TColor Spark;
};

// A framed control's ColorHighlight, ColorShadow, ColorFrame and ColorSpark;
// the control hears of a colour that changed and repaints what it shows.
class TKemBorderColored {
 public:
  TColor ColorHighlight() const { return FBorderColors.Highlight; }
  void SetColorHighlight(TColor Value) { SetBorderColor(&TBorderColors::Highlight, Value); }
  TColor ColorShadow() const { return FBorderColors.Shadow; }
  void SetColorShadow(TColor Value) { SetBorderColor(&TBorderColors::Shadow, Value); }
  TColor ColorFrame() const { return FBorderColors.Frame; }
  void SetColorFrame(TColor Value) { SetBorderColor(&TBorderColors::Frame, Value); }
  TColor ColorSpark() const { return FBorderColors.Spark; }
  void SetColorSpark(TColor Value) { SetBorderColor(&TBorderColors::Spark, Value); }

 protected:
  explicit TKemBorderColored(const TBorderColors& Colors) : FBorderColors(Colors) {}
  ~TKemBorderColored() = default;
  // After the colour Which changed.
  virtual void BorderColorChanged(TColor TBorderColors::*Which) = 0;

  TBorderColors FBorderColors;

 private:
  void SetBorderColor(TColor TBorderColors::*Which, TColor Value) {
    if (StoreChanged(FBorderColors.*Which, Value)) BorderColorChanged(Which);
  }
};
