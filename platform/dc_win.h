// Device contexts owned for the length of a block: a window's or the screen's
// DC released, a DC's drawing state restored and a selected object put back,
// however the block ends.
#pragma once
#include "platform/winapi_win.h"

// The DC of Window, or of the whole screen for no window.
class TWindowDC {
 public:
  explicit TWindowDC(HWND Window) : FWindow(Window), FDC(GetDC(Window)) {}
  ~TWindowDC() {
    if (FDC) ReleaseDC(FWindow, FDC);
  }
  TWindowDC(const TWindowDC&) = delete;
  TWindowDC& operator=(const TWindowDC&) = delete;
  // Null when the system had none to give.
  HDC Handle() const { return FDC; }

 private:
  HWND FWindow;
  HDC FDC;
};

// The whole screen's DC, for measuring and for reading what is on screen.
class TScreenDC : public TWindowDC {
 public:
  TScreenDC() : TWindowDC(nullptr) {}
};

// Restores a DC's state however the drawing in between ends.
class TSavedDC {
 public:
  explicit TSavedDC(HDC DC) : FDC(DC), FSaved(SaveDC(DC)) {}
  ~TSavedDC() { RestoreDC(FDC, FSaved); }
  TSavedDC(const TSavedDC&) = delete;
  TSavedDC& operator=(const TSavedDC&) = delete;

 private:
  HDC FDC;
  int FSaved;
};

// Selects an object into a device context for its lifetime.
class TSelectScope {
 public:
  TSelectScope(HDC DC, HGDIOBJ Object) : FDC(DC), FOld(SelectObject(DC, Object)) {}
  ~TSelectScope() { SelectObject(FDC, FOld); }
  TSelectScope(const TSelectScope&) = delete;
  TSelectScope& operator=(const TSelectScope&) = delete;

 private:
  HDC FDC;
  HGDIOBJ FOld;
};
