// Saves a window as the screen shows it, as a BMP file in the folder that
// ORV_SHOTS names (nothing without it): pictures of dialogs to look at.
#pragma once
#include <windows.h>

#include <cstdlib>
#include <string>

#include "platform/bitmap.h"
#include "platform/canvas_win.h"

inline void SaveShot(HWND Window, const char* Name) {
  const char* folder = std::getenv("ORV_SHOTS");
  if (!folder) return;
  RECT r;
  GetWindowRect(Window, &r);
  TBitmap shot;
  shot.SetPixelFormat(pf24bit);
  shot.SetSize(r.right - r.left, r.bottom - r.top);
  HDC screen = GetDC(nullptr);
  BitBlt(shot.Canvas()->Handle(), 0, 0, shot.Width(), shot.Height(), screen, r.left, r.top, SRCCOPY);
  ReleaseDC(nullptr, screen);
  shot.SaveToFile(std::string(folder) + "/" + Name + ".bmp");
}
