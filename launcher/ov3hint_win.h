// The bar's hint window: the library's, except that the pointer never ends
// a hint (the bar hides it itself when the pointer leaves); keys and
// commands do.
#pragma once
#include "kem3/controls/kemhint_win.h"

class TOvHintWindow : public TKemHintWindow {
 public:
  using TKemHintWindow::TKemHintWindow;
  bool IsHintMsg(const MSG& Msg) const override;
};

// Makes TOvHintWindow the application's hint window class and the global
// hint window one of it.
void InstallBarHintWindow();
