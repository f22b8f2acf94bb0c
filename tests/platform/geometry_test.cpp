#include "platform/geometry.h"

#include <gtest/gtest.h>

TEST(Geometry, ConstructorsAndSizes) {
  TRect r = Bounds(10, 20, 30, 40);
  EXPECT_EQ(r, Rect(10, 20, 40, 60));
  EXPECT_EQ(r.Width(), 30);
  EXPECT_EQ(r.Height(), 40);
  EXPECT_EQ(r.TopLeft(), Point(10, 20));
  EXPECT_EQ(r.BottomRight(), Point(40, 60));
  EXPECT_EQ(Rect(Point(1, 2), Point(3, 4)), Rect(1, 2, 3, 4));
  EXPECT_EQ(CenterPoint(Rect(0, 0, 11, 20)), Point(5, 10));
  EXPECT_EQ(Point(1, 2) + Point(10, 20), Point(11, 22));
  EXPECT_EQ(Point(1, 2) - Point(10, 20), Point(-9, -18));
}

TEST(Geometry, PtInRectExcludesRightAndBottom) {
  TRect r = Rect(0, 0, 10, 5);
  EXPECT_TRUE(PtInRect(r, Point(0, 0)));
  EXPECT_TRUE(PtInRect(r, Point(9, 4)));
  EXPECT_FALSE(PtInRect(r, Point(10, 4)));
  EXPECT_FALSE(PtInRect(r, Point(9, 5)));
  EXPECT_FALSE(PtInRect(r, Point(-1, 0)));
  EXPECT_FALSE(PtInRect(Rect(5, 5, 5, 5), Point(5, 5)));
}

TEST(Geometry, EmptyAndEqual) {
  EXPECT_TRUE(IsRectEmpty(TRect{}));
  EXPECT_TRUE(IsRectEmpty(Rect(0, 0, 0, 10)));
  EXPECT_TRUE(IsRectEmpty(Rect(10, 0, 5, 10)));  // inverted
  EXPECT_FALSE(IsRectEmpty(Rect(0, 0, 1, 1)));
  EXPECT_TRUE(EqualRect(Rect(1, 2, 3, 4), Rect(1, 2, 3, 4)));
  EXPECT_FALSE(EqualRect(Rect(1, 2, 3, 4), Rect(1, 2, 3, 5)));
}

TEST(Geometry, IntersectRect) {
  TRect d = Rect(9, 9, 9, 9);
  EXPECT_TRUE(IntersectRect(d, Rect(0, 0, 10, 10), Rect(5, -5, 20, 7)));
  EXPECT_EQ(d, Rect(5, 0, 10, 7));
  // Touching edges share nothing: the result is all zeros.
  d = Rect(9, 9, 9, 9);
  EXPECT_FALSE(IntersectRect(d, Rect(0, 0, 10, 10), Rect(10, 0, 20, 10)));
  EXPECT_EQ(d, TRect{});
  EXPECT_FALSE(IntersectRect(d, Rect(0, 0, 10, 10), TRect{}));
  // Dest may be one of the sources.
  TRect a = Rect(0, 0, 10, 10);
  EXPECT_TRUE(IntersectRect(a, a, Rect(2, 3, 4, 5)));
  EXPECT_EQ(a, Rect(2, 3, 4, 5));
}

TEST(Geometry, UnionRectIgnoresEmptyRectangles) {
  TRect d;
  EXPECT_TRUE(UnionRect(d, Rect(0, 0, 10, 10), Rect(20, -5, 30, 5)));
  EXPECT_EQ(d, Rect(0, -5, 30, 10));
  EXPECT_TRUE(UnionRect(d, Rect(100, 100, 100, 200), Rect(1, 2, 3, 4)));
  EXPECT_EQ(d, Rect(1, 2, 3, 4));
  EXPECT_TRUE(UnionRect(d, Rect(1, 2, 3, 4), TRect{}));
  EXPECT_EQ(d, Rect(1, 2, 3, 4));
  d = Rect(1, 1, 2, 2);
  EXPECT_FALSE(UnionRect(d, TRect{}, Rect(5, 5, 1, 1)));
  EXPECT_EQ(d, TRect{});
}

TEST(Geometry, OffsetInflateNormalize) {
  TRect r = Rect(1, 2, 3, 4);
  OffsetRect(r, 10, -2);
  EXPECT_EQ(r, Rect(11, 0, 13, 2));
  InflateRect(r, 1, 2);
  EXPECT_EQ(r, Rect(10, -2, 14, 4));
  InflateRect(r, -3, -3);
  EXPECT_EQ(r, Rect(13, 1, 11, 1));
  EXPECT_TRUE(IsRectEmpty(r));
  EXPECT_EQ(NormalizedRect(r), Rect(11, 1, 13, 1));
}
