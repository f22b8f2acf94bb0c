// The bit button's arithmetic: faces, nine-part scaling, glyph places, size.
#include "kem3/controls/kembbt_layout.h"

#include <gtest/gtest.h>

TEST(BitButtonLayout, TheFaceIsOneHalfOfTheImage) {
  EXPECT_EQ(BitButtonFace(80, 24, false), Rect(0, 0, 40, 24));
  EXPECT_EQ(BitButtonFace(80, 24, true), Rect(40, 0, 80, 24));
  EXPECT_EQ(BitButtonFace(81, 24, true), Rect(40, 0, 80, 24));  // both halves equally wide
}

TEST(BitButtonLayout, WithoutCornersTheWholeFaceStretches) {
  const auto parts = FaceParts(Rect(0, 0, 40, 24), Rect(0, 0, 100, 30), 0, 0);
  ASSERT_EQ(parts.size(), 1u);
  EXPECT_EQ(parts[0], (TFacePart{Rect(0, 0, 40, 24), Rect(0, 0, 100, 30)}));
}

TEST(BitButtonLayout, CornersKeepTheirSizeAndTheRestStretches) {
  const auto parts = FaceParts(Rect(40, 0, 80, 24), Rect(0, 0, 100, 30), 4, 5);
  ASSERT_EQ(parts.size(), 9u);
  EXPECT_EQ(parts[0], (TFacePart{Rect(40, 0, 44, 5), Rect(0, 0, 4, 5)}));         // top left
  EXPECT_EQ(parts[1], (TFacePart{Rect(44, 0, 76, 5), Rect(4, 0, 96, 5)}));        // top edge
  EXPECT_EQ(parts[2], (TFacePart{Rect(76, 0, 80, 5), Rect(96, 0, 100, 5)}));      // top right
  EXPECT_EQ(parts[4], (TFacePart{Rect(44, 5, 76, 19), Rect(4, 5, 96, 25)}));      // centre
  EXPECT_EQ(parts[8], (TFacePart{Rect(76, 19, 80, 24), Rect(96, 25, 100, 30)}));  // bottom right
}

TEST(BitButtonLayout, OneCornerSizeAloneLeavesOutThePartsWithoutArea) {
  // Corners only across: the left and right columns keep their width, full height.
  const auto parts = FaceParts(Rect(0, 0, 40, 24), Rect(0, 0, 100, 30), 4, 0);
  ASSERT_EQ(parts.size(), 3u);
  EXPECT_EQ(parts[0], (TFacePart{Rect(0, 0, 4, 24), Rect(0, 0, 4, 30)}));
  EXPECT_EQ(parts[1], (TFacePart{Rect(4, 0, 36, 24), Rect(4, 0, 96, 30)}));
  EXPECT_EQ(parts[2], (TFacePart{Rect(36, 0, 40, 24), Rect(96, 0, 100, 30)}));
}

TEST(BitButtonLayout, TheGlyphGoesWhereItsPositionSays) {
  // A 75 x 25 button, a 16 x 10 glyph, 4 pixels from the edges.
  auto at = [](TKemGlyphPosition p, bool pressed = false) {
    return BitButtonGlyphOrigin(p, 75, 25, 16, 10, 4, pressed);
  };
  EXPECT_EQ(at(gpCenter), Point(29, 7));
  EXPECT_EQ(at(gpLeft), Point(4, 7));
  EXPECT_EQ(at(gpRight), Point(55, 7));
  EXPECT_EQ(at(gpTop), Point(29, 4));
  EXPECT_EQ(at(gpBottom), Point(29, 11));
  EXPECT_EQ(at(gpTopLeft), Point(4, 4));
  EXPECT_EQ(at(gpTopRight), Point(55, 4));
  EXPECT_EQ(at(gpBottomLeft), Point(4, 11));
  EXPECT_EQ(at(gpBottomRight), Point(55, 11));
  EXPECT_EQ(at(gpCenter, true), Point(30, 8));
  EXPECT_EQ(at(gpBottomRight, true), Point(56, 12));
}

TEST(BitButtonLayout, TheSizeFollowsTheImageWhereNoCornerIsSet) {
  const TSize current{75, 25};
  EXPECT_EQ(BitButtonAutoSize(80, 24, 0, 0, current), (TSize{40, 24}));
  EXPECT_EQ(BitButtonAutoSize(80, 24, 4, 0, current), (TSize{75, 24}));
  EXPECT_EQ(BitButtonAutoSize(80, 24, 0, 4, current), (TSize{40, 25}));
  EXPECT_EQ(BitButtonAutoSize(80, 24, 4, 4, current), current);
  EXPECT_EQ(BitButtonAutoSize(0, 0, 0, 0, current), current);  // no image: no change
}
