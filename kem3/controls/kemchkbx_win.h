// TKemCheckbox: the library's owner-drawn check box with a wide caption, three
// states, a pressed look, an accelerator that toggles it and a caption from
// the language.
#pragma once
#include "kem3/controls/kembase_win.h"
#include "kem3/controls/kembordercolors.h"
#include "kem3/controls/kemchkbx_model.h"
#include "kem3/controls/kempress_win.h"
#include "platform/setprop.h"

class TKemCheckbox : public TKemCustomControl, public TKemBorderColored {
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
  void SetFlat(bool Value) { SetPainted(*this, FFlat, Value); }

  TColor ColorFill() const { return FColorFill; }
  void SetColorFill(TColor Value) { SetPainted(*this, FColorFill, Value); }
  TColor ColorFillSel() const { return FColorFillSel; }
  void SetColorFillSel(TColor Value) { SetPainted(*this, FColorFillSel, Value); }
  TColor ColorGray() const { return FColorGray; }
  void SetColorGray(TColor Value) { SetPainted(*this, FColorGray, Value); }

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
  void BorderColorChanged(TColor TBorderColors::*Which) override;
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
  void PaintBox(TCanvas* C, TPoint Box);
  void EndPress();

  TCheckBoxState FState = cbUnchecked;
  bool FAllowGrayed = false;
  TLeftRight FAlignment = taRightJustify;
  bool FFlat = false;
  TColor FColorFill = 0xFFFFFF;
  TColor FColorFillSel = clBtnFace;
  TColor FColorGray = 0x808080;
  TControlLanText FLanText;
  bool FPressed = false;
  bool FInside = false;
  TCaptureWatch FCaptureWatch;
};
