// The image list's pictures: cut from a strip, masked, padded.
#include "platform/imglist.h"

#include <gtest/gtest.h>

TEST(ImageList, AddMaskedCutsAStripAndLetsTheMaskColourThrough) {
  TImageList List(nullptr);
  List.SetWidth(4);
  List.SetHeight(3);
  TBitmap Strip;
  Strip.SetSize(9, 2);  // two whole pictures and a stub; one row short
  for (int X = 0; X < 9; ++X)
    for (int Y = 0; Y < 2; ++Y) Strip.SetPixelColor(X, Y, X % 2 ? clFuchsia : TColor(0x102030 + X));
  EXPECT_EQ(List.AddMasked(Strip, clFuchsia), 0);
  EXPECT_EQ(List.AddMasked(Strip, clFuchsia), 2) << "the index of the first picture added";
  // Picture, x, y, colour, alpha; the missing row is transparent.
  const std::tuple<int, int, int, TColor, int> Cases[] = {
      {0, 0, 0, 0x102030, 255}, {0, 1, 0, clFuchsia, 0}, {1, 0, 1, 0x102034, 255}, {1, 0, 2, clFuchsia, 0}};
  for (auto [I, X, Y, Color, Alpha] : Cases) {
    const TBitmap& P = List.Images(I);
    EXPECT_EQ(P.PixelColor(X, Y) & 0xFFFFFF, Color) << I << ":" << X << "," << Y;
    EXPECT_EQ(static_cast<const TRGBQuad*>(P.ScanLine(Y))[X].rgbReserved, Alpha);
  }
  List.SetWidth(5);
  EXPECT_THROW(List.Images(0), EListError) << "a new size empties the list";
}
