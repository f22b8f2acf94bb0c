#include "kem3/controls/kemsplit_geometry.h"

#include <gtest/gtest.h>

TEST(SplitGeometry, NeighboursAndLimits) {
  const TRect bar = Bounds(10, 20, 100, 3);
  EXPECT_EQ(SplitProbe(alTop, bar), Point(10, 19));
  EXPECT_EQ(SplitProbe(alBottom, bar), Point(10, 23));
  EXPECT_EQ(SplitProbe(alLeft, bar), Point(9, 20));
  EXPECT_EQ(SplitProbe(alRight, bar), Point(110, 20));
  // 400 px parent, 30 left free, 100 + 3 aligned on the axis of which the neighbour holds 100.
  EXPECT_EQ(SplitLimit(400, 30, 103, 100), 367);
}

TEST(SplitGeometry, DragsClampAndCorrectTheOffset) {
  struct Row {
    TAlign align;
    int start, offset, minSize, limit, size, offset2;
  } rows[] = {
      {alTop, 100, 20, 30, 300, 120, 20},
      {alBottom, 100, 20, 30, 300, 80, 20},      // a bottom neighbour shrinks as the bar goes down
      {alLeft, 100, -90, 30, 300, 30, -70},      // stops at MinSize, the offset with it
      {alRight, 100, -250, 30, 300, 300, -200},  // and at the limit
      {alLeft, 100, 50, 30, 29, 100, 0},         // a limit below MinSize: no move
  };
  for (const Row& r : rows) {
    const TSplitMove m = SplitDrag(r.align, r.start, r.offset, r.minSize, r.limit);
    EXPECT_EQ(m.Size, r.size) << r.align << " " << r.offset;
    EXPECT_EQ(m.Offset, r.offset2) << r.align << " " << r.offset;
  }
}

TEST(SplitGeometry, RelativeRatio) {
  EXPECT_DOUBLE_EQ(SplitRatio(100, 403, 3, -1), 0.25);
  EXPECT_DOUBLE_EQ(SplitRatio(0, 3, 3, 0.25), 0.25);  // a parent no larger than the bar: kept
  EXPECT_EQ(SplitRelativeSize(803, 3, 0.25, 30), 200);
  EXPECT_EQ(SplitRelativeSize(105, 3, 0.25, 30), 30);  // 25.5 rounds to 26, below MinSize
  EXPECT_EQ(SplitRelativeSize(7, 3, 0.375, 0), 2);     // 1.5 rounds away from 0
}

TEST(SplitGeometry, CrossingSplitters) {
  const TRect across = Bounds(0, 100, 400, 3);  // a top splitter
  struct Row {
    TAlign align;
    TRect bounds;
    bool cross;
  } rows[] = {
      {alLeft, Bounds(200, 0, 3, 99), true},      // a gap of one pixel: each grown by one, they meet
      {alLeft, Bounds(200, 0, 3, 98), false},     // two pixels apart
      {alBottom, Bounds(0, 103, 400, 3), false},  // parallel ones never cross
      {alClient, Bounds(200, 0, 3, 100), false},  // not a splitter's alignment
  };
  for (const Row& r : rows) {
    EXPECT_EQ(SplittersCross(alTop, across, r.align, r.bounds), r.cross) << r.bounds.Top << "+" << r.bounds.Height();
    EXPECT_EQ(SplittersCross(r.align, r.bounds, alTop, across), r.cross);
  }
}

TEST(SplitGeometry, GripsAndBody) {
  EXPECT_EQ(SplitGripStarts(31, 10, 3), (std::vector<int>{1, 11, 21}));  // 0.5 rounds up
  EXPECT_TRUE(SplitGripStarts(100, 10, 0).empty());
  // Source, place and length of each piece: a 30 px image on 50 px, then on 12 px (ends only).
  auto pieces = [](int image, int length) {
    std::vector<int> out;
    for (const TSplitBodyPiece& p : SplitBodyPieces(image, length)) out.insert(out.end(), {p.Source, p.Dest, p.Length});
    return out;
  };
  EXPECT_EQ(pieces(30, 50), (std::vector<int>{0, 0, 10, 10, 10, 10, 10, 20, 10, 10, 30, 10, 20, 40, 10}));
  EXPECT_EQ(pieces(30, 12), (std::vector<int>{0, 0, 6, 24, 6, 6}));
}
