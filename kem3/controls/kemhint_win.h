// The library's hint window and the one global hint that code shows at any
// point of the screen; it goes by itself on the next message of the thread
// that the window's IsHintMsg accepts.
#pragma once
#include "kem3/unicode/ucforms_win.h"

class TKemHintWindow : public TUcCustomHintWindow {
 public:
  using TUcCustomHintWindow::TUcCustomHintWindow;
  int InsetX = 0, InsetY = 0;
  // Whether Msg (taken off the queue) ends a hint: clicks, keys and commands.
  virtual bool IsHintMsg(const MSG& Msg) const;

 protected:
  void Paint() override;
};

// The global hint window, made from the application's hint window class.
void CreateHintWindow();
// Hides the hint and removes its hook first, then frees the window.
void FreeHintWindow();
void RecreateHintWindow();
THintWindow* GlobalHintWindow();
// A negative width means the screen's.
void SetHintMaxWidth(int Width);
// Shows Text at P (screen) placed as HintRectAt says, with ExtraWidth and
// ExtraHeight more room inside; every call needs a release of its own.
void ShowHintAt(const WideString& Text, TPoint P, int HAlign, int VAlign, int ExtraWidth = 0, int ExtraHeight = 0);
void ReleaseHint();
void HideHintWindow();
bool IsHintWindowShown();
