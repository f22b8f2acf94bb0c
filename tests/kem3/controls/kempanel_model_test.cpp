// The panel's gradient bands, textures, areas; the frame's pieces.
#include "kem3/controls/kempanel_model.h"

#include <gtest/gtest.h>

#include "platform/graphics.h"

TEST(PanelModel, GradientBandsCoverTheWidthExactly) {
  for (int n : {0, 1, 2, 64, 100, 255, 256, 1000}) {
    const int expected = n == 0 ? 64 : std::clamp(n, 2, 256);
    for (bool vertical : {false, true}) {
      const TRect r = Rect(5, 7, 105, 107);
      const auto bands = GradientBands(r, n, vertical);
      ASSERT_EQ(static_cast<int>(bands.size()), expected) << n;
      int at = vertical ? r.Top : r.Left;
      for (const TRect& b : bands) {
        EXPECT_EQ(vertical ? b.Top : b.Left, at);
        at = vertical ? b.Bottom : b.Right;
        if (n == 64) {
          EXPECT_TRUE((vertical ? b.Height() : b.Width()) == 1 || (vertical ? b.Height() : b.Width()) == 2);
        }
      }
      EXPECT_EQ(at, vertical ? r.Bottom : r.Right) << n;
    }
  }
}

TEST(PanelModel, GradientTableRunsFromFrontToBack) {
  const auto t = GradientTable(RGBColor(0, 100, 200), RGBColor(255, 100, 0), 3);
  ASSERT_EQ(t.size(), 3u);
  EXPECT_EQ(t[0], RGBColor(0, 100, 200));
  EXPECT_EQ(t[1], RGBColor(127, 100, 100));
  EXPECT_EQ(t[2], RGBColor(255, 100, 0));
  EXPECT_EQ(GradientTable(0, 0xFFFFFF, 0).size(), 64u);
}

TEST(PanelModel, TexturesAndAreas) {
  const auto dots = TexturePoints(ptDots, Rect(0, 0, 16, 9), 4);
  const std::vector<TPoint> expected{{0, 0}, {8, 0}, {4, 4}, {12, 4}, {0, 8}, {8, 8}};
  EXPECT_EQ(dots, expected);
  EXPECT_EQ(TexturePoints(ptGrid, Rect(0, 0, 8, 8), 4).size(), 4u);
  EXPECT_TRUE(TexturePoints(ptGrid, Rect(0, 0, 8, 8), 0).empty());
  TPanelFrame f;
  f.BevelInner = bvLowered;
  f.BorderWidth = 3;
  f.Style3D = s3dRaised;
  f.SpaceLeft = 10;
  EXPECT_EQ(PanelChildArea(Rect(0, 0, 185, 41), f), Rect(17, 7, 178, 34));
  EXPECT_EQ(PanelAutoWidth(50, f), 50 + 10 + 6 + 2 + 2 + 4);
  EXPECT_EQ(PanelAutoWidth(50, TPanelFrame{bvNone}), 50);
}

TEST(FrameModel, PiecesTileBetweenTheCorners) {
  const TFrameSizes s;  // corners 6 x 6, edges 4 x 4: the image is 16 x 16
  const auto pieces = FramePieces(s, {16, 16}, {20, 30});
  EXPECT_EQ(pieces[1], (TFramePiece{Rect(10, 0, 16, 6), Rect(14, 0, 20, 6)}));
  // Top edge: 8 pixels between the corners, two tiles from the left.
  EXPECT_EQ(pieces[4], (TFramePiece{Rect(6, 0, 10, 4), Rect(6, 0, 10, 4)}));
  EXPECT_EQ(pieces[5], (TFramePiece{Rect(6, 0, 10, 4), Rect(10, 0, 14, 4)}));
  // Left edge: 18 pixels, four whole tiles and a cut one at the far end.
  EXPECT_EQ(pieces[12], (TFramePiece{Rect(0, 6, 4, 8), Rect(0, 22, 4, 24)}));
  EXPECT_EQ(pieces.size(), 4u + 2 + 2 + 5 + 5);
  // A smaller image: the pieces beyond it are left out.
  for (const TFramePiece& p : FramePieces(s, {12, 12}, {20, 30})) EXPECT_LE(p.Source.Right, 12);
  EXPECT_EQ(FrameCentrePixel(s), Point(8, 8));
}
