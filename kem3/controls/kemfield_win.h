// What the library's entry fields (drop-down list, spin edit, edit) share:
// the sunken frame round them, drawn by one routine so they look alike, and
// the base of the two that hold a borderless edit in a holder window.
#pragma once
#include <initializer_list>

#include "kem3/controls/kembase_win.h"
#include "kem3/controls/kembordercolors.h"
#include "platform/canvas_win.h"
#include "platform/geometry.h"

class TCustomEdit;

struct TFieldColors : TBorderColors {
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
class TKemEditField : public TKemCustomControl, public TKemBorderColored {
 public:
  TFieldColors FieldColors() const { return {FBorderColors, FFieldColor}; }
  bool Flat() const { return FFlat; }
  void SetFlat(bool Value);
  TWinControl* Holder() const { return FHolder; }

 protected:
  void BorderColorChanged(TColor TBorderColors::*Which) override;
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
  TColor FFieldColor = clWindow;
  bool FFlat = false;
  TWinControl* FHolder = nullptr;  // owned as components
  TCustomEdit* FFieldEditor = nullptr;
};
