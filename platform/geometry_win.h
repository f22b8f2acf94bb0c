// Conversions between the class layer's geometry and the system's POINT, SIZE and RECT.
#pragma once
#include "platform/geometry.h"
#include "platform/winapi_win.h"

inline RECT ToRECT(const TRect& R) { return RECT{R.Left, R.Top, R.Right, R.Bottom}; }
inline TRect FromRECT(const RECT& R) {
  return {static_cast<int>(R.left), static_cast<int>(R.top), static_cast<int>(R.right), static_cast<int>(R.bottom)};
}
inline POINT ToPOINT(const TPoint& P) { return POINT{P.X, P.Y}; }
inline TPoint FromPOINT(const POINT& P) { return {static_cast<int>(P.x), static_cast<int>(P.y)}; }
inline TSize FromSIZE(const SIZE& S) { return {static_cast<int>(S.cx), static_cast<int>(S.cy)}; }
