// Pixel work of the panel list on its 32-bit off-screen view, free of any
// window: item images put on with per-pixel alpha (at a strength), through a
// mask, with a transparent colour or copied, and the fades at the scrolled ends.
#pragma once
#include "platform/bitmap.h"
#include "platform/geometry.h"
#include "platform/types.h"

enum TPanelListImageMode {
  pimOpaque,       // copied unchanged
  pimAlpha,        // blended by its alpha (straight unless the bitmap says premultiplied), times Strength / 255
  pimMask,         // pixels where Mask is black are copied
  pimTransparent,  // pixels of the transparent colour are left out
};

// Puts Image on Dest (pf32bit) with its top left at X, Y, clipped to Clip and
// to Dest. The transparent colour is the bitmap's own, or (clDefault) the
// colour of its bottom left pixel.
void DrawPanelListImage(TBitmap& Dest, const TRect& Clip, int X, int Y, const TBitmap& Image, TPanelListImageMode Mode,
                        const TBitmap* Mask = nullptr, int Strength = 255);

// Fades the content of Area in Dest (pf32bit) into Color over Width pixels from
// one edge: the start (top or left) or the end (bottom or right) along the
// scroll direction. The pixels at the edge take Color itself.
void FadePanelListEdge(TBitmap& Dest, const TRect& Area, bool Vertical, bool AtStart, int Width, TColor Color);
