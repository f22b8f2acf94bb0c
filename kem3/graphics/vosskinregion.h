// Regions of the skin engine, free of any window: a set of pixels kept as
// horizontal bands of spans (the form the system's own regions take), built
// from the pixels of a mask colour in a picture, combined, moved and tested.
// The Windows side turns one into a region handle in a single call.
#pragma once
#include <cstdint>
#include <functional>
#include <vector>

#include "platform/bitmap.h"
#include "platform/geometry.h"

// Left inclusive, right exclusive.
struct TVosSpan {
  int Left = 0;
  int Right = 0;
  friend constexpr bool operator==(const TVosSpan&, const TVosSpan&) = default;
};

// Rows Top to Bottom - 1 hold the same spans, sorted, apart and not touching.
struct TVosBand {
  int Top = 0;
  int Bottom = 0;
  std::vector<TVosSpan> Spans;
  friend bool operator==(const TVosBand&, const TVosBand&) = default;
};

class TVosRegion {
 public:
  TVosRegion() = default;
  // The rectangle's pixels; an empty rectangle gives an empty region.
  static TVosRegion FromRect(const TRect& Rect);
  // The pixels of Picture for which Match holds, Picture's top left at (0, 0).
  // Match is given the pixel's colour as red, green, blue (TColor order).
  static TVosRegion FromPixels(const TBitmap& Picture, const std::function<bool(TColor Color)>& Match);
  // The pixels of exactly that colour (red, green and blue compared; alpha not).
  static TVosRegion FromColor(const TBitmap& Picture, TColor Color);

  bool Empty() const { return FBands.empty(); }
  bool Contains(int X, int Y) const;
  bool Contains(TPoint P) const { return Contains(P.X, P.Y); }
  TRect BoundingBox() const;
  // One rectangle per span of each band, top to bottom, left to right.
  std::vector<TRect> Rects() const;
  const std::vector<TVosBand>& Bands() const { return FBands; }

  void Offset(int DX, int DY);
  TVosRegion Offsetted(int DX, int DY) const;
  TVosRegion Union(const TVosRegion& Other) const;
  TVosRegion Subtract(const TVosRegion& Other) const;
  TVosRegion Intersect(const TVosRegion& Other) const;

  friend bool operator==(const TVosRegion&, const TVosRegion&) = default;

 private:
  // Appends a band, joining it to the last one when it continues it with the same spans.
  void AppendBand(int Top, int Bottom, std::vector<TVosSpan> Spans);
  static TVosRegion Combine(const TVosRegion& A, const TVosRegion& B, bool (*Keep)(bool InA, bool InB));

  std::vector<TVosBand> FBands;
};
