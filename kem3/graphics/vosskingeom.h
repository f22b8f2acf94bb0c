// The arithmetic of skinned windows, free of any window: where the eight
// parts of a frame lie on a target, the resize bands of the grips, the
// rectangle of a container slot, which grip a point hits, the bounds a sizing
// drag gives, and snapping a dragged window to the edges of the screen.
#pragma once
#include <array>
#include <vector>

#include "platform/geometry.h"

// Where corner Index (0 upper-left, 1 upper-right, 2 lower-left, 3
// lower-right) of a W x H part lies on a Width x Height target.
TPoint VosCornerPosition(int Index, int Width, int Height, int W, int H);
// Where part Index (0-7, corners then edges upper, lower, left, right) lies
// in a picture of Width x Height with the parts' sizes: the position the part
// is cut from (edges at their own size).
TRect VosPartSourceRect(int Index, int Width, int Height, const std::array<TSize, 8>& Sizes);
// Where part Index is drawn on a target of Width x Height: corners at their
// size, edges spanning between their corners across their own thickness.
TRect VosPartTargetRect(int Index, int Width, int Height, const std::array<TSize, 8>& Sizes);

// Resize band of grip 5-8 (upper, lower, left, right) of a window of Width x
// Height, between the grip corners (sizes in corner order) and FrameWidth
// (sides) or FrameHeight (upper and lower) thick; empty for other grips.
TRect VosGripBand(int Grip, int Width, int Height, const std::array<TSize, 4>& Corners, int FrameWidth,
                  int FrameHeight);
// The first grip (1-8) whose region holds the point, given the regions in
// grip order; 0 for none.
template <class Region>
int VosGripAt(const std::array<Region, 8>& Regions, TPoint P) {
  for (int i = 0; i < 8; ++i)
    if (Regions[static_cast<size_t>(i)].Contains(P)) return i + 1;
  return 0;
}

// The margins of a container slot as the skin gives them.
struct TVosSlotMargins {
  int Left = 0, Top = 0, Right = 0, Bottom = 0;
  bool CenterX = false, CenterY = false;
  int Width = 0, Height = 0;
};
// The slot's rectangle in a Width x Height window: centred slots take their
// size about the middle (shifted by left or top); otherwise a negative left
// or top counts from the far edge, a non-negative right or bottom is a margin
// from it and a negative one an absolute coordinate. Division truncates toward
// zero; an empty or inverted rectangle is returned as it is.
TRect VosSlotRect(const TVosSlotMargins& Slot, int Width, int Height);

// The cursor shapes of the grips: 0 none, 1 NW-SE, 2 NE-SW, 3 N-S, 4 W-E.
int VosGripCursorKind(int Grip);

// Limits of a window's size; -1 means none.
struct TVosSizeLimits {
  int MinWidth = -1, MinHeight = -1, MaxWidth = -1, MaxHeight = -1;
};
// The bounds a sizing drag gives: Start is the window at the press, Delta how
// far the pointer moved since. Grips 1, 3, 7 move the left edge; 2, 4, 8 the
// right; 1, 2, 5 the top; 3, 4, 6 the bottom. The limits follow (a moved left
// or top edge gives way, so the opposite edge stays), then the window is kept
// at least MinSize (each of its corner widths, and 1 pixel) and its left and
// top at 0 or more (a negative one adds to the size).
TRect VosSizingBounds(const TRect& Start, TPoint Delta, int Grip, const TVosSizeLimits& Limits, TSize MinSize);

// A window dragged to Bounds moves flush with an edge of Area (the work
// area) when it comes within Distance pixels of it, on each axis the nearer
// edge; Distance 0 or less leaves it where it is.
TRect VosSnapToArea(const TRect& Bounds, const TRect& Area, int Distance);
