// Item images and edge fades on the panel list's 32-bit view.
#include "kem3/controls/kemplist_pixels.h"

#include <gtest/gtest.h>

#include "platform/graphics.h"

namespace {

void Fill(TBitmap& b, int w, int h, TColor color, TPixelFormat format = pf32bit) {
  b.SetPixelFormat(format);
  b.SetSize(w, h);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) b.SetPixelColor(x, y, color);
  }
}

}  // namespace

TEST(KemPlistPixels, FadesRunFromTheEdgeColourIntoTheContent) {
  TBitmap view;
  Fill(view, 10, 6, clBlack);
  FadePanelListEdge(view, Rect(0, 0, 10, 6), false, true, 4, clWhite);
  EXPECT_EQ(view.PixelColor(0, 3), clWhite);
  EXPECT_EQ(view.PixelColor(1, 3), RGBColor(191, 191, 191));
  EXPECT_EQ(view.PixelColor(3, 3), RGBColor(63, 63, 63));
  EXPECT_EQ(view.PixelColor(4, 3), clBlack);
  FadePanelListEdge(view, Rect(0, 1, 10, 5), true, false, 2, RGBColor(0, 0, 200));
  EXPECT_EQ(view.PixelColor(6, 4), RGBColor(0, 0, 200));
  EXPECT_EQ(view.PixelColor(6, 3), RGBColor(0, 0, 100));
  EXPECT_EQ(view.PixelColor(6, 2), clBlack);
  EXPECT_EQ(view.PixelColor(6, 5), clBlack) << "outside the area";
  TBitmap before;
  Fill(before, 4, 4, clRed);
  FadePanelListEdge(before, Rect(0, 0, 4, 4), true, true, 0, clWhite);
  EXPECT_EQ(before.PixelColor(0, 0), clRed) << "a width of 0 draws no fade";
}

TEST(KemPlistPixels, ImagesBlendByAlphaAndStrength) {
  TBitmap view;
  Fill(view, 8, 8, clWhite);
  TBitmap image;
  image.SetPixelFormat(pf32bit);
  image.SetSize(2, 2);
  image.SetAlphaFormat(afDefined);
  for (int y = 0; y < 2; ++y) {
    auto* row = static_cast<TRGBQuad*>(image.ScanLine(y));
    row[0] = {0, 0, 0, 255};  // opaque black
    row[1] = {0, 0, 0, 0};    // clear
  }
  DrawPanelListImage(view, Rect(0, 0, 8, 8), 3, 3, image, pimAlpha);
  EXPECT_EQ(view.PixelColor(3, 3), clBlack);
  EXPECT_EQ(view.PixelColor(4, 3), clWhite);
  DrawPanelListImage(view, Rect(0, 0, 8, 8), 0, 0, image, pimAlpha, nullptr, 128);
  EXPECT_EQ(view.PixelColor(0, 0), RGBColor(127, 127, 127)) << "half strength";
  // Clipped: only the part inside Clip is drawn.
  DrawPanelListImage(view, Rect(0, 0, 8, 6), 6, 5, image, pimOpaque);
  EXPECT_EQ(view.PixelColor(6, 5), clBlack);
  EXPECT_EQ(view.PixelColor(6, 6), clWhite);
}

TEST(KemPlistPixels, ImagesThroughAMaskOrWithATransparentColour) {
  TBitmap view;
  Fill(view, 4, 4, clWhite);
  TBitmap image;
  Fill(image, 2, 2, clRed, pf24bit);
  image.SetPixelColor(0, 1, clLime);  // bottom left: the transparent colour
  DrawPanelListImage(view, Rect(0, 0, 4, 4), 0, 0, image, pimTransparent);
  EXPECT_EQ(view.PixelColor(0, 0), clRed);
  EXPECT_EQ(view.PixelColor(0, 1), clWhite);
  image.SetTransparentColor(clRed);
  DrawPanelListImage(view, Rect(0, 0, 4, 4), 2, 2, image, pimTransparent);
  EXPECT_EQ(view.PixelColor(2, 2), clWhite);
  EXPECT_EQ(view.PixelColor(2, 3), clLime);

  TBitmap masked;
  Fill(masked, 4, 4, clWhite);
  TBitmap mask;
  Fill(mask, 2, 2, clWhite, pf24bit);
  mask.SetPixelColor(1, 0, clBlack);
  DrawPanelListImage(masked, Rect(0, 0, 4, 4), 0, 0, image, pimMask, &mask);
  EXPECT_EQ(masked.PixelColor(1, 0), clRed);
  EXPECT_EQ(masked.PixelColor(0, 0), clWhite);
}
