// What the library's entry fields (drop-down list, spin edit, edit) share:
// the sunken frame round them, drawn by one routine so they look alike, and
// the base of the two that hold a borderless edit in a holder window.
#pragma once
#include <initializer_list>

#include "kem3/controls/kembase_win.h"
#include "platform/canvas_win.h"
#include "platform/geometry.h"

class TCustomEdit;

struct TFieldColors {
  TColor Highlight;
  TColor Shadow;
  TColor Frame;
  TColor Spark;
  TColor Color;  // the field's inside
};

// Flat: one ColorFrame line round R, then two rings in Color. Raised: the
// two-pixel sunken edge (shadow and frame above and left, highlight and spark
// below and right), then one ring in Color. The inside is left as it is.
void DrawFieldFrame(TCanvas* Canvas, const TRect& R, const TFieldColors& Colors, bool Flat);

// A one-pixel line in Color through Points (the last point left out).
void PenLine(TCanvas* Canvas, TColor Color, std::initializer_list<TPoint> Points);

// A field holding a borderless edit in a holder window, with the frame round
// them: the edit takes the focus the field is given and follows its colour
// and font.
class TKemEditField : public TKemCustomControl {
 public:
  TColor ColorHighlight() const { return FColors.Highlight; }
  void SetColorHighlight(TColor Value) { SetColour(FColors.Highlight, Value); }
  TColor ColorShadow() const { return FColors.Shadow; }
  void SetColorShadow(TColor Value) { SetColour(FColors.Shadow, Value); }
  TColor ColorFrame() const { return FColors.Frame; }
  void SetColorFrame(TColor Value) { SetColour(FColors.Frame, Value); }
  TColor ColorSpark() const { return FColors.Spark; }
  void SetColorSpark(TColor Value) { SetColour(FColors.Spark, Value); }
  const TFieldColors& FieldColors() const { return FColors; }
  bool Flat() const { return FFlat; }
  void SetFlat(bool Value);
  TWinControl* Holder() const { return FHolder; }

 protected:
  explicit TKemEditField(TComponent* AOwner);
  // Puts the descendant's editor into the holder (once, from its constructor).
  void SetFieldEditor(TCustomEdit* Editor);
  TCustomEdit* FieldEditor() const { return FFieldEditor; }
  // After a colour of the frame changed (repaints).
  virtual void ColoursChanged() { Invalidate(); }
  // After Flat changed, before the repaint.
  virtual void FlatChanged() {}

  void Paint() override;
  void WndProc(TMessage& Message) override;
  void ColorChanged() override;
  void FontChanged() override;

 private:
  void SetColour(TColor& Field, TColor Value);

  TFieldColors FColors;
  bool FFlat = false;
  TWinControl* FHolder = nullptr;  // owned as components
  TCustomEdit* FFieldEditor = nullptr;
};
