// The panel's and frame's arithmetic free of any window: gradient colours and
// bands, texture dots, the children's area and the automatic width of the
// panel; the pieces of the frame's nine-part image and where they go.
#pragma once
#include <vector>

#include "platform/controls_types.h"
#include "platform/geometry.h"
#include "platform/types.h"

enum TFillStyle { fsSolid, fsGradHorz, fsGradHorzInv, fsGradVert, fsGradVertInv, fsCustom };
enum TTexture { ptNone, ptDots, ptGrid };
enum TStyle3D { s3dNone, s3dLowered, s3dRaised };
enum TTextStyle { tsFlat, tsRaised, tsLowered };

// The number of bands painted for GradientColors: 0 paints as 64, others
// are kept in 2..256.
int GradientBandCount(int GradientColors);
// Band i of N: each channel front + (back - front) * i div (N - 1).
std::vector<TColor> GradientTable(TColor Front, TColor Back, int N);
// The N bands across R, band i from round(i * size / N) to round((i + 1) * size / N),
// along the width or (Vertical) the height.
std::vector<TRect> GradientBands(const TRect& R, int N, bool Vertical);

// The texture's pixel pairs: a shadow pixel at each point, a highlight pixel
// one down and right of it.
std::vector<TPoint> TexturePoints(TTexture Texture, const TRect& R, int DotSpace);

struct TPanelFrame {
  TBevelCut BevelOuter = bvRaised;
  TBevelCut BevelInner = bvNone;
  int BevelWidth = 1;
  int BorderWidth = 0;
  TStyle3D Style3D = s3dNone;
  int SpaceLeft = 0, SpaceTop = 0, SpaceRight = 0, SpaceBottom = 0;
};
// Where the children go in a panel with the client rectangle Client.
TRect PanelChildArea(const TRect& Client, const TPanelFrame& Frame);
// The width AutoSize gives for a caption TextWidth wide.
int PanelAutoWidth(int TextWidth, const TPanelFrame& Frame);

// The frame's image pieces (Cw x Ch corners, Ew x Eh edges).
struct TFrameSizes {
  int CornerWidth = 6, CornerHeight = 6;
  int EdgeWidth = 4, EdgeHeight = 4;
};
struct TFramePiece {
  TRect Source;  // in the image
  TRect Dest;    // on the control
  friend bool operator==(const TFramePiece&, const TFramePiece&) = default;
};
// Corners in their corners, edges tiled between them (bottom and right edges
// from their far end); pieces whose source lies outside the image are left out.
std::vector<TFramePiece> FramePieces(const TFrameSizes& Sizes, TSize Image, TSize Control);
// The image pixel that holds the inside colour.
TPoint FrameCentrePixel(const TFrameSizes& Sizes);
// The two rectangles of the inside.
std::vector<TRect> FrameInside(const TFrameSizes& Sizes, TSize Control);
