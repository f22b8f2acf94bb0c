// Frame, grip, slot, sizing and snapping arithmetic of skinned windows.
#include "kem3/graphics/vosskingeom.h"

#include <algorithm>
#include <cstdlib>

TPoint VosCornerPosition(int Index, int Width, int Height, int W, int H) {
  switch (Index) {
    case 1:
      return {Width - W, 0};
    case 2:
      return {0, Height - H};
    case 3:
      return {Width - W, Height - H};
    default:
      return {0, 0};
  }
}

TRect VosPartSourceRect(int Index, int Width, int Height, const std::array<TSize, 8>& S) {
  auto w = [&](int i) { return S[static_cast<size_t>(i)].cx; };
  auto h = [&](int i) { return S[static_cast<size_t>(i)].cy; };
  TPoint at;
  switch (Index) {
    case 4:
      at = {w(0), 0};
      break;
    case 5:
      at = {w(2), Height - h(5)};
      break;
    case 6:
      at = {0, h(0)};
      break;
    case 7:
      at = {Width - w(7), h(1)};
      break;
    default:
      at = VosCornerPosition(Index, Width, Height, w(Index), h(Index));
      break;
  }
  return Bounds(at.X, at.Y, w(Index), h(Index));
}

TRect VosPartTargetRect(int Index, int Width, int Height, const std::array<TSize, 8>& S) {
  auto w = [&](int i) { return S[static_cast<size_t>(i)].cx; };
  auto h = [&](int i) { return S[static_cast<size_t>(i)].cy; };
  switch (Index) {
    case 4:
      return {w(0), 0, Width - w(1), h(4)};
    case 5:
      return {w(2), Height - h(5), Width - w(3), Height};
    case 6:
      return {0, h(0), w(6), Height - h(2)};
    case 7:
      return {Width - w(7), h(1), Width, Height - h(3)};
    default: {
      const TPoint at = VosCornerPosition(Index, Width, Height, w(Index), h(Index));
      return Bounds(at.X, at.Y, w(Index), h(Index));
    }
  }
}

TRect VosGripBand(int Grip, int Width, int Height, const std::array<TSize, 4>& C, int FrameWidth, int FrameHeight) {
  switch (Grip) {
    case 5:
      return {C[0].cx, 0, Width - C[1].cx, FrameHeight};
    case 6:
      return {C[2].cx, Height - FrameHeight, Width - C[3].cx, Height};
    case 7:
      return {0, C[0].cy, FrameWidth, Height - C[2].cy};
    case 8:
      return {Width - FrameWidth, C[1].cy, Width, Height - C[3].cy};
    default:
      return {};
  }
}

TRect VosSlotRect(const TVosSlotMargins& S, int Width, int Height) {
  TRect r;
  if (S.CenterX) {
    r.Left = Width / 2 + S.Left - S.Width / 2;
    r.Right = r.Left + S.Width;
  } else {
    r.Left = S.Left < 0 ? S.Left + Width : S.Left;
    r.Right = S.Right >= 0 ? Width - S.Right : -S.Right;
  }
  if (S.CenterY) {
    r.Top = Height / 2 + S.Top - S.Height / 2;
    r.Bottom = r.Top + S.Height;
  } else {
    r.Top = S.Top < 0 ? S.Top + Height : S.Top;
    r.Bottom = S.Bottom >= 0 ? Height - S.Bottom : -S.Bottom;
  }
  return r;
}

int VosGripCursorKind(int Grip) {
  switch (Grip) {
    case 1:
    case 4:
      return 1;
    case 2:
    case 3:
      return 2;
    case 5:
    case 6:
      return 3;
    case 7:
    case 8:
      return 4;
    default:
      return 0;
  }
}

namespace {

// One axis of a sizing drag: Low and High are the edges, MovesLow whether the
// drag moves the low edge (else the high one, when MovesHigh).
void SizeAxis(int& Low, int& High, int Delta, bool MovesLow, bool MovesHigh, int Min, int Max, int Floor) {
  if (MovesLow) Low += Delta;
  if (MovesHigh) High += Delta;
  auto setSize = [&](int size) {
    if (MovesLow) {
      Low = High - size;
    } else {
      High = Low + size;
    }
  };
  if (Min >= 0 && High - Low < Min) setSize(Min);
  if (Max >= 0 && High - Low > Max) setSize(Max);
  if (High - Low < Floor) setSize(Floor);
}

}  // namespace

TRect VosSizingBounds(const TRect& Start, TPoint Delta, int Grip, const TVosSizeLimits& Limits, TSize MinSize) {
  TRect r = Start;
  const bool left = Grip == 1 || Grip == 3 || Grip == 7;
  const bool right = Grip == 2 || Grip == 4 || Grip == 8;
  const bool top = Grip == 1 || Grip == 2 || Grip == 5;
  const bool bottom = Grip == 3 || Grip == 4 || Grip == 6;
  SizeAxis(r.Left, r.Right, Delta.X, left, right, Limits.MinWidth, Limits.MaxWidth, std::max(MinSize.cx, 1));
  SizeAxis(r.Top, r.Bottom, Delta.Y, top, bottom, Limits.MinHeight, Limits.MaxHeight, std::max(MinSize.cy, 1));
  if (r.Left < 0) r.Left = 0;
  if (r.Top < 0) r.Top = 0;
  return r;
}

TRect VosSnapToArea(const TRect& Bounds, const TRect& Area, int Distance) {
  if (Distance <= 0) return Bounds;
  auto snap = [Distance](int low, int high, int areaLow, int areaHigh) {
    const int toLow = std::abs(low - areaLow), toHigh = std::abs(high - areaHigh);
    if (toLow <= Distance && toLow <= toHigh) return areaLow - low;
    if (toHigh <= Distance) return areaHigh - high;
    return 0;
  };
  TRect r = Bounds;
  OffsetRect(r, snap(r.Left, r.Right, Area.Left, Area.Right), snap(r.Top, r.Bottom, Area.Top, Area.Bottom));
  return r;
}
