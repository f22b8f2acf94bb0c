// TKemSpinEdit: the library's numeric entry field: a sunken frame holding a
// borderless edit and two arrow buttons that step the value and repeat while
// held. The value lives only in the edit's text (kemsedit_model.h).
#pragma once
#include "kem3/controls/kembase_win.h"
#include "kem3/controls/kemfield_win.h"
#include "kem3/controls/kempress_win.h"
#include "kem3/controls/kemsedit_model.h"
#include "platform/edit_win.h"
#include "platform/speedbutton_win.h"

class TKemSpinEdit;

// The editor: takes only characters a number may hold, steps by the arrow
// keys and the wheel, and clamps its text when the focus leaves.
class TSEEdit : public TCustomEdit {
 public:
  TSEEdit(TComponent* AOwner, TKemSpinEdit* Spin);

 protected:
  void KeyDown(std::uint16_t& Key, TShiftState Shift) override;
  void KeyPress(WideChar& Key) override;
  bool DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos) override;
  void DoExit() override;
  void WndProc(TMessage& Message) override;

 private:
  TKemSpinEdit* FSpin;
};

// An arrow button: steps at once, then after 400 ms and every 100 ms while held.
class TKemSpeedButton : public TSpeedButton {
 public:
  TKemSpeedButton(TComponent* AOwner, TKemSpinEdit* Spin, bool Up);
  bool Up() const { return FUp; }
  bool Repeating() const { return FRepeat.Running(); }

 protected:
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void EnabledChanged() override;
  void Paint() override;

 private:
  TKemSpinEdit* FSpin;
  bool FUp;
  TPressRepeat FRepeat{this};
};

class TKemSpinEdit : public TKemEditField {
 public:
  explicit TKemSpinEdit(TComponent* AOwner);

  // The arrow buttons' face.
  TColor ColorFill() const { return FColorFill; }
  void SetColorFill(TColor Value);

  // -1: no such limit.
  double MinValue() const { return FSettings.MinValue; }
  void SetMinValue(double Value) { FSettings.MinValue = Value; }
  double MaxValue() const { return FSettings.MaxValue; }
  void SetMaxValue(double Value) { FSettings.MaxValue = Value; }
  double Increment() const { return FIncrement; }
  void SetIncrement(double Value) { FIncrement = Value; }
  double IncrementBig() const { return FIncrementBig; }
  void SetIncrementBig(double Value) { FIncrementBig = Value; }
  int ButtonWidth() const { return FButtonWidth; }
  void SetButtonWidth(int Value);
  // The text is not reformatted.
  TNumberMode NumberMode() const { return FSettings.NumberMode; }
  void SetNumberMode(TNumberMode Value) { FSettings.NumberMode = Value; }
  // nmFloat's pattern with one floating argument; a change reformats.
  const String& FormatStr() const { return FSettings.FormatStr; }
  void SetFormatStr(const String& Value);
  bool EditorEnabled() const;
  void SetEditorEnabled(bool Value);
  bool NoKeyBeep() const { return FNoKeyBeep; }
  void SetNoKeyBeep(bool Value) { FNoKeyBeep = Value; }

  // The value rounded, and as it is.
  int Value();
  void SetValue(int Value) { SetFloatVal(Value); }
  double FloatVal();
  void SetFloatVal(double Value);

  // The steps of the arrows, keys and wheel: a read-only editor beeps instead.
  void StepUp() { Step(FIncrement); }
  void StepDown() { Step(-FIncrement); }
  void BigStepUp() { Step(FIncrementBig); }
  void BigStepDown() { Step(-FIncrementBig); }

  TSEEdit* Editor() const { return FEditor; }
  TKemSpeedButton* ButtonUp() const { return FUp; }
  TKemSpeedButton* ButtonDown() const { return FDown; }
  const TSpinSettings& Settings() const { return FSettings; }

  // Whenever the editor's text changes.
  TNotifyEvent OnChange;

 protected:
  void BoundsChanged(const TRect& OldBounds) override;
  void EnabledChanged() override;
  void ColoursChanged() override;
  void FlatChanged() override;

 private:
  void Step(double By);
  void Layout();

  TSpinSettings FSettings;
  TColor FColorFill = clBtnFace;
  double FIncrement = 1.0;
  double FIncrementBig = 10.0;
  int FButtonWidth = 20;
  bool FNoKeyBeep = false;
  bool FEditorWasEnabled = true;
  TSEEdit* FEditor = nullptr;  // owned as components
  TKemSpeedButton* FUp = nullptr;
  TKemSpeedButton* FDown = nullptr;
};
