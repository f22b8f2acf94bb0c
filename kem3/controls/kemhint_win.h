// The library's hint window and the one global hint that code shows at any
// point of the screen; it goes by itself on the next message of the thread
// that the window's IsHintMsg accepts.
#pragma once
#include "kem3/unicode/ucforms_win.h"

class TKemHintWindow : public TUcCustomHintWindow {
 public:
  using TUcCustomHintWindow::TUcCustomHintWindow;
  int InsetX = 0, InsetY = 0;
  // The point the next activation was asked for (set by ShowHintAt): the
  // hint stays inside the monitor that holds it, else the one holding the
  // hint's top left corner.
  void SetHintPoint(TPoint P) {
    FHintPoint = P;
    FHasHintPoint = true;
  }
  // Placed as asked, moved inside the monitor rather than the primary work area.
  void ActivateHint(TRect Rect, const WideString& AHint) override;
  // Whether Msg (taken off the queue) ends a hint: clicks, keys and commands.
  virtual bool IsHintMsg(const MSG& Msg) const;

 protected:
  void Paint() override;
  // The caption, then the bounds: Rect kept inside the monitor of the
  // hint's point (which is forgotten then). Returns the bounds.
  TRect SetHintBounds(TRect Rect, const WideString& AHint);

 private:
  TRect TakeHintArea(const TRect& Rect);
  TPoint FHintPoint;
  bool FHasHintPoint = false;
};

// The global hint window, made from the application's hint window class.
void CreateHintWindow();
// Hides the hint and removes its hook first, then frees the window.
void FreeHintWindow();
void RecreateHintWindow();
THintWindow* GlobalHintWindow();
// A negative width means the screen's.
void SetHintMaxWidth(int Width);
// The width hints wrap at: the one set, else the screen's.
int HintMaxWidth();
// Shows Text at P (screen) placed as HintRectAt says, with ExtraWidth and
// ExtraHeight more room inside: at most half as wide as P's monitor (and
// HintMaxWidth), the text broken into lines of that width and cut after
// kHintMaxLines of them (BreakHintLines), and to the monitor's height
// (FitHintText); every call needs a release of its own.
void ShowHintAt(const WideString& Text, TPoint P, int HAlign, int VAlign, int ExtraWidth = 0, int ExtraHeight = 0);
void ReleaseHint();
void HideHintWindow();
bool IsHintWindowShown();
