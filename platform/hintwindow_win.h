// THintWindow: the small pop-up that shows a control's short hint near the
// mouse, and the application's hint machinery that drives it (the hint of the
// control under the mouse, its short and long parts).
#pragma once
#include <functional>

#include "platform/controls_win.h"

// What the application knows of a hint it shows: handed to the hint window as
// the data of CalcHintRect and ActivateHintData (nullptr from other callers).
struct THintInfo {
  TControl* HintControl = nullptr;
  TPoint CursorPos;
};

class THintWindow : public TCustomControl {
 public:
  explicit THintWindow(TComponent* AOwner);

  // The rectangle (from 0, 0) the hint needs at most MaxWidth wide: word-wrapped
  // text plus 6 pixels across and 2 down. Data is what ActivateHintData is given
  // (the application gives its THintInfo).
  virtual TRect CalcHintRect(int MaxWidth, const WideString& AHint, void* AData);
  // Shows AHint at Rect (screen coordinates, kept on the work area) without
  // activating; 4 pixels taller than Rect, for the border and the margin under the text.
  virtual void ActivateHint(TRect Rect, const WideString& AHint);
  virtual void ActivateHintData(const TRect& Rect, const WideString& AHint, void* AData);
  // Hides the window and gives it back.
  void ReleaseHandle();
  bool Activating() const { return FActivating; }

 protected:
  void CreateParams(TCreateParams& Params) override;
  // The text from 2 pixels in, wrapped at words, without accelerators, in the hint font's colour.
  void Paint() override;
  // A new caption sizes the window to it (not while ActivateHint places it).
  void TextChanged() override;
  // The device context that measures for CalcHintRect: the window's own, or a memory one before it exists.
  HDC MeasureDC();
  void SetActivating(bool Value) { FActivating = Value; }

 private:
  std::unique_ptr<TBitmap> FMeasure;
  bool FActivating = false;
};

// The first non-empty hint of Control and its parents, walking up; empty when none.
WideString GetEffectiveHint(const TControl* Control);

// The control at a point of the screen: our window there, or its graphic child at the point.
TControl* FindControlAtPos(const TPoint& ScreenPos);
