// Points, rectangles and sizes as the class library keeps them, with the rectangle
// helpers of the system (right and bottom edges exclusive). Layout code uses them
// without any operating system; geometry_win.h converts to and from POINT/RECT.
#pragma once
#include <algorithm>

struct TPoint {
  int X = 0;
  int Y = 0;
  friend constexpr bool operator==(const TPoint&, const TPoint&) = default;
  friend constexpr TPoint operator+(TPoint a, TPoint b) { return {a.X + b.X, a.Y + b.Y}; }
  friend constexpr TPoint operator-(TPoint a, TPoint b) { return {a.X - b.X, a.Y - b.Y}; }
};

struct TSize {
  int cx = 0;
  int cy = 0;
  friend constexpr bool operator==(const TSize&, const TSize&) = default;
};

struct TRect {
  int Left = 0;
  int Top = 0;
  int Right = 0;
  int Bottom = 0;

  constexpr int Width() const { return Right - Left; }
  constexpr int Height() const { return Bottom - Top; }
  constexpr TPoint TopLeft() const { return {Left, Top}; }
  constexpr TPoint BottomRight() const { return {Right, Bottom}; }
  friend constexpr bool operator==(const TRect&, const TRect&) = default;
};

constexpr TPoint Point(int X, int Y) { return {X, Y}; }
constexpr TRect Rect(int Left, int Top, int Right, int Bottom) { return {Left, Top, Right, Bottom}; }
constexpr TRect Rect(TPoint TopLeft, TPoint BottomRight) {
  return {TopLeft.X, TopLeft.Y, BottomRight.X, BottomRight.Y};
}
constexpr TRect Bounds(int Left, int Top, int Width, int Height) { return {Left, Top, Left + Width, Top + Height}; }

// A rectangle with no area (an inverted one included) is empty.
constexpr bool IsRectEmpty(const TRect& R) { return R.Right <= R.Left || R.Bottom <= R.Top; }
constexpr bool EqualRect(const TRect& A, const TRect& B) { return A == B; }

// Left and top edges belong to the rectangle, right and bottom ones do not.
constexpr bool PtInRect(const TRect& R, const TPoint& P) {
  return P.X >= R.Left && P.X < R.Right && P.Y >= R.Top && P.Y < R.Bottom;
}

// The common part; an empty result is all zeros and gives false, as the system's call does.
constexpr bool IntersectRect(TRect& Dest, const TRect& A, const TRect& B) {
  TRect r{std::max(A.Left, B.Left), std::max(A.Top, B.Top), std::min(A.Right, B.Right), std::min(A.Bottom, B.Bottom)};
  if (IsRectEmpty(r)) {
    Dest = TRect{};
    return false;
  }
  Dest = r;
  return true;
}

// The smallest rectangle holding both; an empty one does not count. Both empty:
// all zeros and false.
constexpr bool UnionRect(TRect& Dest, const TRect& A, const TRect& B) {
  bool emptyA = IsRectEmpty(A), emptyB = IsRectEmpty(B);
  if (emptyA && emptyB) {
    Dest = TRect{};
    return false;
  }
  if (emptyA) {
    Dest = B;
  } else if (emptyB) {
    Dest = A;
  } else {
    Dest = TRect{std::min(A.Left, B.Left), std::min(A.Top, B.Top), std::max(A.Right, B.Right),
                 std::max(A.Bottom, B.Bottom)};
  }
  return true;
}

constexpr bool OffsetRect(TRect& R, int DX, int DY) {
  R.Left += DX;
  R.Right += DX;
  R.Top += DY;
  R.Bottom += DY;
  return true;
}

// Grows each edge outward by DX and DY (negative values shrink it).
constexpr bool InflateRect(TRect& R, int DX, int DY) {
  R.Left -= DX;
  R.Right += DX;
  R.Top -= DY;
  R.Bottom += DY;
  return true;
}

// Brings a rectangle with swapped edges into order.
constexpr TRect NormalizedRect(const TRect& R) {
  return {std::min(R.Left, R.Right), std::min(R.Top, R.Bottom), std::max(R.Left, R.Right), std::max(R.Top, R.Bottom)};
}

constexpr TPoint CenterPoint(const TRect& R) { return {R.Left + R.Width() / 2, R.Top + R.Height() / 2}; }
