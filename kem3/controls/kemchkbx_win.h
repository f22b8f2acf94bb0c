// TKemCheckbox: the library's owner-drawn check box with a wide caption, three
// states, a pressed look, an accelerator that toggles it and a caption from
// the language.
#pragma once
#include "kem3/controls/kembase_win.h"
#include "kem3/controls/kemchkbx_model.h"
#include "kem3/controls/kempress_win.h"

class TKemCheckbox : public TKemCustomControl {
 public:
  explicit TKemCheckbox(TComponent* AOwner);

  TCheckBoxState State() const { return FState; }
  // A change paints at once.
  void SetState(TCheckBoxState Value);
  bool Checked() const { return FState == cbChecked; }
  void SetChecked(bool Value) { SetState(Value ? cbChecked : cbUnchecked); }
  bool AllowGrayed() const { return FAllowGrayed; }
  void SetAllowGrayed(bool Value) { FAllowGrayed = Value; }
  // taRightJustify: box at the left, caption to its right.
  TLeftRight Alignment() const { return FAlignment; }
  void SetAlignment(TLeftRight Value);
  bool Flat() const { return FFlat; }
  void SetFlat(bool Value) { SetValue(FFlat, Value); }

  TColor ColorHighlight() const { return FColorHighlight; }
  void SetColorHighlight(TColor Value) { SetValue(FColorHighlight, Value); }
  TColor ColorShadow() const { return FColorShadow; }
  void SetColorShadow(TColor Value) { SetValue(FColorShadow, Value); }
  TColor ColorFrame() const { return FColorFrame; }
  void SetColorFrame(TColor Value) { SetValue(FColorFrame, Value); }
  TColor ColorSpark() const { return FColorSpark; }
  void SetColorSpark(TColor Value) { SetValue(FColorSpark, Value); }
  TColor ColorFill() const { return FColorFill; }
  void SetColorFill(TColor Value) { SetValue(FColorFill, Value); }
  TColor ColorFillSel() const { return FColorFillSel; }
  void SetColorFillSel(TColor Value) { SetValue(FColorFillSel, Value); }
  TColor ColorGray() const { return FColorGray; }
  void SetColorGray(TColor Value) { SetValue(FColorGray, Value); }

  // The language text "<form name>_<LanId>" that sets the caption.
  const String& LanId() const { return FLanText.LanId(); }
  void SetLanId(const String& Value);
  void UpdateLanguage() override;
  // The caption's accelerator focuses the box and toggles it.
  bool DialogChar(WideChar Key, TShiftState Shift) override;

  // The accelerator's step: through grey with AllowGrayed, then OnClick.
  virtual void Toggle();
  // A press is held with the pointer inside.
  bool Pressed() const { return FPressed && FInside; }

 protected:
  // Checked flips (grey becomes checked), then OnClick.
  void Click() override;
  void Paint() override;
  void WndProc(TMessage& Message) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void KeyDown(std::uint16_t& Key, TShiftState Shift) override;
  void EnabledChanged() override;
  void TextChanged() override;

 private:
  template <class T>
  void SetValue(T& Field, T Value) {
    if (Field == Value) return;
    Field = Value;
    Invalidate();
  }
  void PaintBox(TCanvas* C, TPoint Box);
  void EndPress();

  TCheckBoxState FState = cbUnchecked;
  bool FAllowGrayed = false;
  TLeftRight FAlignment = taRightJustify;
  bool FFlat = false;
  TColor FColorHighlight = clBtnHighlight;
  TColor FColorShadow = clBtnShadow;
  TColor FColorFrame = clWindowFrame;
  TColor FColorSpark = clBtnFace;
  TColor FColorFill = 0xFFFFFF;
  TColor FColorFillSel = clBtnFace;
  TColor FColorGray = 0x808080;
  TControlLanText FLanText;
  bool FPressed = false;
  bool FInside = false;
  TCaptureWatch FCaptureWatch;
};
