// TKemTracker: the library's owner-drawn horizontal track bar with tick marks,
// a thumb that is dragged or pages towards the pointer, and a legend line
// that shows the value through an offset, a scale and a format pattern.
#pragma once
#include "kem3/controls/kembase_win.h"
#include "kem3/controls/kembordercolors.h"
#include "kem3/controls/kempress_win.h"
#include "kem3/controls/kemtrack_model.h"
#include "platform/setprop.h"

class TKemTracker : public TKemCustomControl, public TKemBorderColored {
 public:
  explicit TKemTracker(TComponent* AOwner);

  // The legend's format pattern, with one floating argument.
  const String& LegendFormat() const { return FLegendFormat; }
  void SetLegendFormat(const String& Value);
  // The language text that sets the legend's pattern: "<form name>_<LanId>".
  const String& LanId() const { return FLanText.LanId(); }
  void SetLanId(const String& Value);
  void UpdateLanguage() override;

  TColor ColorFill() const { return FColorFill; }
  void SetColorFill(TColor Value) { SetPainted(*this, FColorFill, Value); }
  TColor ColorFillFocus() const { return FColorFillFocus; }
  void SetColorFillFocus(TColor Value) { SetPainted(*this, FColorFillFocus, Value); }
  TColor ColorPressed() const { return FColorPressed; }
  void SetColorPressed(TColor Value) { SetPainted(*this, FColorPressed, Value); }
  // The thumb's face while it is not held: a face of its own, between button
  // face and shadow, so the thumb stands out from the track and the control's
  // colour around it (and its light edges show on it).
  TColor ColorThumb() const { return FColorThumb; }
  void SetColorThumb(TColor Value) { SetPainted(*this, FColorThumb, Value); }

  TKemTrackerStyle Style() const { return FStyle; }
  void SetStyle(TKemTrackerStyle Value) { SetPainted(*this, FStyle, Value); }
  int Min() const { return FMin; }
  void SetMin(int Value);
  int Max() const { return FMax; }
  void SetMax(int Value);
  // Kept in Min..Max; a change repaints and fires OnChange.
  int Position() const { return FPosition; }
  void SetPosition(int Value);
  int StepSmall() const { return FStepSmall; }
  void SetStepSmall(int Value) { FStepSmall = Value; }
  int StepLarge() const { return FStepLarge; }
  void SetStepLarge(int Value) { SetPainted(*this, FStepLarge, Value); }
  int TickHeight() const { return FTickHeight; }
  void SetTickHeight(int Value) { SetPainted(*this, FTickHeight, Value); }
  int SpaceVert() const { return FSpaceVert; }
  void SetSpaceVert(int Value) { SetPainted(*this, FSpaceVert, Value); }
  // 0: no legend.
  int LegendHeight() const { return FLegendHeight; }
  void SetLegendHeight(int Value) { SetPainted(*this, FLegendHeight, Value); }
  double LegendOffset() const { return FLegendOffset; }
  void SetLegendOffset(double Value) { SetPainted(*this, FLegendOffset, Value); }
  double LegendScale() const { return FLegendScale; }
  void SetLegendScale(double Value) { SetPainted(*this, FLegendScale, Value); }
  int RepeatDelay() const { return FRepeatDelay; }
  void SetRepeatDelay(int Value) { FRepeatDelay = Value; }
  int RepeatPause() const { return FRepeatPause; }
  void SetRepeatPause(int Value) { FRepeatPause = Value; }

  // The arithmetic at the current size and settings.
  TTrackerGeometry Geometry() const;
  // The legend as it shows now.
  String LegendText() const;
  // The thumb is held by a drag.
  bool Dragging() const { return FDragging; }
  bool Paging() const { return FPageRepeat.Running(); }

  TNotifyEvent OnChange;
  // While the thumb is dragged.
  TNotifyEvent OnChanging;

 protected:
  void BorderColorChanged(TColor TBorderColors::*Which) override;
  void Paint() override;
  void WndProc(TMessage& Message) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void KeyDown(std::uint16_t& Key, TShiftState Shift) override;
  void EnabledChanged() override;

 private:
  void PaintThumb(TCanvas* C, const TTrackerGeometry& G);
  void PageStep();
  void EndPress();

  String FLegendFormat;
  TControlLanText FLanText;
  TColor FColorFill = clWindow;
  TColor FColorFillFocus;
  TColor FColorPressed;
  TColor FColorThumb;
  TKemTrackerStyle FStyle = tsUp;
  int FMin = 0;
  int FMax = 100;
  int FPosition = 0;
  int FStepSmall = 1;
  int FStepLarge = 10;
  int FTickHeight = 5;
  int FSpaceVert = 4;
  int FLegendHeight = 16;
  double FLegendOffset = 0.0;
  double FLegendScale = 1.0;
  int FRepeatDelay = 400;
  int FRepeatPause = 100;
  bool FDragging = false;
  int FDragOffset = 0;
  int FPageStep = 0;
  int FPointerX = 0;
  TPressRepeat FPageRepeat{this};
  TCaptureWatch FCaptureWatch;
};
