// The bit button's arithmetic, free of any window: which half of its image
// is the face, how the face is cut into nine parts for scaling with fixed
// corners, where the glyph goes, and the automatic size.
#pragma once
#include <vector>

#include "platform/geometry.h"

enum TKemGlyphPosition {
  gpCenter,
  gpLeft,
  gpRight,
  gpTop,
  gpBottom,
  gpTopLeft,
  gpTopRight,
  gpBottomLeft,
  gpBottomRight
};

// The face in an image of two faces side by side: the left half normally,
// the right half when pressed (both ImageWidth div 2 wide).
TRect BitButtonFace(int ImageWidth, int ImageHeight, bool Pressed);

// One piece of the face and where it goes on the button.
struct TFacePart {
  TRect Source;
  TRect Dest;
  friend bool operator==(const TFacePart&, const TFacePart&) = default;
};

// The face drawn on Client: with a corner size above 0 the four corners keep
// their size in the four client corners, the edges stretch between them and
// the centre over the rest; otherwise the whole face stretches over Client.
// Parts without area are left out.
std::vector<TFacePart> FaceParts(const TRect& Face, const TRect& Client, int CornerWidth, int CornerHeight);

// The glyph's top left corner on a Width x Height button: BorderWidth from the
// edges it is placed at, centred along the others; one pixel right and down
// more when pressed or down.
TPoint BitButtonGlyphOrigin(TKemGlyphPosition Position, int Width, int Height, int GlyphWidth, int GlyphHeight,
                            int BorderWidth, bool Pressed);

// The automatic size: half the image width unless CornerWidth is set, the
// image height unless CornerHeight is set; the current size for an empty image
// and for the dimension that keeps it.
TSize BitButtonAutoSize(int ImageWidth, int ImageHeight, int CornerWidth, int CornerHeight, TSize Current);
