// Pixel work of the skin engine, free of any window: cutting parts out of a
// skin picture, stretching a texture's cache picture, and putting pictures on a
// 32-bit target (copied, alpha-blended, or with the skin's key colours left
// out; stretched or tiled on a grid), plus solid fills. Sources are pf24bit or
// pf32bit; the target is pf32bit.
#pragma once
#include <memory>

#include "kem3/graphics/vosskingeom.h"
#include "platform/bitmap.h"
#include "platform/geometry.h"

// The skin's key colours: magenta lies outside the window, pure blue lets the
// texture show through (compared on red, green and blue).
inline constexpr TColor kVosOutsideColor = 0xFF00FF;
inline constexpr TColor kVosShowThroughColor = 0xFF0000;

// A picture as the skin keeps it: pf32bit stays, anything else becomes pf24bit.
void VosNormalizePicture(TBitmap& Picture);
// A copy of Rect of Source (clipped to it; nil when nothing is left), in Source's format.
std::unique_ptr<TBitmap> VosCopyRect(const TBitmap& Source, const TRect& Rect);
// Dest becomes Source stretched to Width x Height, nearest pixel (as
// COLORONCOLOR does), in Source's format.
void VosStretchCopy(TBitmap& Dest, const TBitmap& Source, int Width, int Height);

enum TVosDrawMode {
  vdmCopy,   // the pixels as they are (alpha 255)
  vdmBlend,  // by the source's alpha (255 for pictures without), times the opacity
  vdmKeyed,  // copied, the key colours left out
};

// Puts Source on DestRect of Target, clipped to Clip and to Target: with
// Stretch scaled to fill DestRect, else tiled with a tile's top left at Grid
// (any point of the tile grid, in target coordinates).
void VosDrawPicture(TBitmap& Target, const TRect& DestRect, const TRect& Clip, const TBitmap& Source, TVosDrawMode Mode,
                    bool Stretch, TPoint Grid, int Opacity = 255);
// Source at its size with its top left at X, Y.
void VosDrawPictureAt(TBitmap& Target, int X, int Y, const TBitmap& Source, TVosDrawMode Mode, int Opacity = 255);
// Rect of Target (clipped) in a solid colour, alpha 255.
void VosFillRect(TBitmap& Target, const TRect& Rect, TColor Color);
// Every pixel of the bitmap, alpha included, set to one value.
void VosClear(TBitmap& Target, TColor Color, int Alpha = 255);
// The pixels of Rect of Target as their own picture, and back.
std::unique_ptr<TBitmap> VosGrab(const TBitmap& Target, const TRect& Rect);
void VosPut(TBitmap& Target, int X, int Y, const TBitmap& Source);
