// The image list's pictures: cut from a strip, masked, padded.
#include "platform/imglist.h"

#include <gtest/gtest.h>

TEST(ImageList, AddMaskedCutsAStripAndLetsTheMaskColourThrough) {
  TImageList List(nullptr);
  List.SetWidth(4);
  List.SetHeight(3);
  TBitmap Strip;
  Strip.SetPixelFormat(pf24bit);
  Strip.SetSize(9, 2);  // two whole pictures and a stub; one row short
  for (int X = 0; X < 9; ++X)
    for (int Y = 0; Y < 2; ++Y) Strip.SetPixelColor(X, Y, X % 2 ? clFuchsia : TColor(0x102030 + X));
  EXPECT_EQ(List.AddMasked(Strip, clFuchsia), 0);
  ASSERT_EQ(List.Count(), 2);
  struct {
    int Index, X, Y;
    TColor Color;
    int Alpha;
  } Cases[] = {{0, 0, 0, 0x102030, 255},
               {0, 1, 0, clFuchsia, 0},
               {1, 0, 1, 0x102034, 255},
               {1, 3, 1, clFuchsia, 0},
               {1, 0, 2, clFuchsia, 0}};  // the missing row is transparent
  for (auto& C : Cases) {
    const TBitmap& P = List.Images(C.Index);
    EXPECT_EQ(P.PixelFormat(), pf32bit);
    EXPECT_EQ(P.PixelColor(C.X, C.Y) & 0xFFFFFF, C.Color) << C.Index << ":" << C.X << "," << C.Y;
    EXPECT_EQ(static_cast<const TRGBQuad*>(P.ScanLine(C.Y))[C.X].rgbReserved, C.Alpha);
  }
  EXPECT_EQ(List.AddMasked(Strip, clFuchsia), 2) << "the index of the first picture added";
  List.SetWidth(5);
  EXPECT_EQ(List.Count(), 0) << "a new size empties the list";
  EXPECT_THROW(List.Images(0), EListError);
}
