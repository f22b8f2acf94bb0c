#include <gtest/gtest.h>

#include "kem3/pictures/jpeg_test_encoder.h"
#include "kem3/pictures/jpegimage.h"
#include "kem3/pictures/kemimage.h"
#include "kem3/pictures/pngimage.h"
#include "support/temp_dir.h"

namespace {

void WriteBytes(const String& FileName, const std::string& Bytes) {
  TFileStream out(FileName, fmCreate);
  out.WriteBytes(Bytes);
}

}  // namespace

TEST(LoadBitmapFromFile, ByExtension) {
  TempDir dir;
  TBitmap bmp;
  bmp.SetPixelFormat(pf24bit);
  bmp.SetSize(3, 2);
  bmp.SetPixelColor(1, 1, clRed);
  bmp.SaveToFile(dir.file("a.bmp"));
  TPNGImage png;
  png.SetPixelFormat(pf32bit);
  png.SetSize(5, 4);
  png.SetPixelColor(4, 3, clLime);
  png.SaveToFile(dir.file("b.PNG"));
  WriteBytes(dir.file("c.JPEG"), EncodeTestJpeg(8, 8, 3, JCS_RGB, TestRgbBlocks(8, 8)));

  TBitmap b;
  LoadBitmapFromFile(b, dir.file("a.bmp"));
  EXPECT_EQ(b.Width(), 3);
  EXPECT_EQ(b.PixelColor(1, 1), clRed);
  LoadBitmapFromFile(b, dir.file("b.PNG"));
  EXPECT_EQ(b.Width(), 5);
  EXPECT_EQ(b.PixelFormat(), pf32bit);
  EXPECT_EQ(b.PixelColor(4, 3), clLime);
  LoadBitmapFromFile(b, dir.file("c.JPEG"));
  EXPECT_EQ(b.Width(), 8);
  EXPECT_EQ(b.PixelFormat(), pf24bit);
}

TEST(LoadBitmapFromFile, UnknownAndDamagedFilesLeaveItEmpty) {
  TempDir dir;
  WriteBytes(dir.file("x.txt"), "hello");
  WriteBytes(dir.file("x.jpg"), "hello");
  TBitmap b;
  b.SetSize(4, 4);
  EXPECT_THROW(LoadBitmapFromFile(b, dir.file("x.txt")), EInvalidGraphic);
  EXPECT_TRUE(b.Empty());
  b.SetSize(4, 4);
  EXPECT_THROW(LoadBitmapFromFile(b, dir.file("x.jpg")), EJPEG);
  EXPECT_TRUE(b.Empty());
  EXPECT_THROW(LoadBitmapFromFile(b, dir.file("missing.bmp")), EFOpenError);
}
