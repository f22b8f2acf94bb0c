// The library hint's rectangle at a point.
#include "kem3/controls/kemhint.h"

#include <gtest/gtest.h>

TEST(KemHint, RectangleByAlignment) {
  struct {
    int H, V;
    TRect Expected;
  } Cases[] = {{0, 0, Rect(100, 66, 107, 71)}, {1, 0, Rect(96, 66, 103, 71)},  {2, 0, Rect(93, 66, 100, 71)},
               {9, 9, Rect(100, 66, 107, 71)}, {0, 1, Rect(100, 63, 107, 68)}, {0, 2, Rect(100, 61, 107, 66)}};
  // Width 7, height 5: centred puts the odd pixel before the point.
  for (auto& C : Cases) EXPECT_EQ(HintRectAt({100, 50}, {7, 5}, C.H, C.V), C.Expected) << C.H << C.V;
}
