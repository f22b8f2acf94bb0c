#include "kem3/pictures/jpegimage.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <random>
#include <string>

#include "kem3/pictures/jpeg_test_encoder.h"
#include "support/temp_dir.h"

namespace {

const std::uint8_t* Bytes(const std::string& s) { return reinterpret_cast<const std::uint8_t*>(s.data()); }

// The pixel as red, green, blue.
std::vector<int> Rgb(const TBitmap& b, int X, int Y) {
  auto* p = static_cast<const std::uint8_t*>(b.ScanLine(Y)) + 3 * X;
  return {p[2], p[1], p[0]};
}

void ExpectNear(const std::vector<int>& Actual, const std::vector<int>& Expected, int Tolerance) {
  ASSERT_EQ(Actual.size(), Expected.size());
  for (std::size_t i = 0; i < Actual.size(); ++i)
    EXPECT_LE(std::abs(Actual[i] - Expected[i]), Tolerance) << "channel " << i;
}

// The offset of the SOF0/SOF2 marker's height field in a file from the encoder.
std::size_t FrameSizeOffset(const std::string& Jpeg) {
  for (std::size_t i = 2; i + 9 < Jpeg.size(); ++i)
    if (static_cast<unsigned char>(Jpeg[i]) == 0xFF &&
        (static_cast<unsigned char>(Jpeg[i + 1]) == 0xC0 || static_cast<unsigned char>(Jpeg[i + 1]) == 0xC2))
      return i + 5;
  return 0;
}

}  // namespace

TEST(JPEGImage, DecodesColourToBlueGreenRed) {
  for (bool progressive : {false, true}) {
    SCOPED_TRACE(progressive);
    std::string file = EncodeTestJpeg(24, 16, 3, JCS_RGB, TestRgbBlocks(24, 16), 95, progressive);
    TJPEGImage jpeg;
    jpeg.LoadFromBytes(Bytes(file), file.size());
    ASSERT_EQ(jpeg.Width(), 24);
    ASSERT_EQ(jpeg.Height(), 16);
    EXPECT_EQ(jpeg.PixelFormat(), pf24bit);
    ExpectNear(Rgb(jpeg, 3, 3), {220, 40, 50}, 4);   // block 0
    ExpectNear(Rgb(jpeg, 12, 3), {30, 200, 50}, 4);  // block 1
    ExpectNear(Rgb(jpeg, 20, 3), {30, 40, 210}, 4);  // block 2
    ExpectNear(Rgb(jpeg, 3, 12), {30, 200, 50}, 4);
  }
}

TEST(JPEGImage, GreyAndCmykBecomeRgb) {
  std::vector<std::uint8_t> grey(16 * 8);
  for (std::size_t i = 0; i < grey.size(); ++i) grey[i] = i % 16 < 8 ? 40 : 200;
  std::string greyFile = EncodeTestJpeg(16, 8, 1, JCS_GRAYSCALE, grey);
  TJPEGImage jpeg;
  jpeg.LoadFromBytes(Bytes(greyFile), greyFile.size());
  ExpectNear(Rgb(jpeg, 2, 2), {40, 40, 40}, 3);
  ExpectNear(Rgb(jpeg, 12, 5), {200, 200, 200}, 3);
  std::vector<int> p = Rgb(jpeg, 12, 5);
  EXPECT_TRUE(p[0] == p[1] && p[1] == p[2]);

  // The encoder marks CMYK files as Adobe's, whose ink values are stored inverted.
  std::vector<std::uint8_t> cmyk;
  for (int i = 0; i < 8 * 8; ++i) cmyk.insert(cmyk.end(), {255, 0, 0, 255});  // no cyan, no black: red
  std::string cmykFile = EncodeTestJpeg(8, 8, 4, JCS_CMYK, cmyk);
  jpeg.LoadFromBytes(Bytes(cmykFile), cmykFile.size());
  ExpectNear(Rgb(jpeg, 4, 4), {255, 0, 0}, 4);
}

TEST(JPEGImage, StreamFromItsPositionAndFiles) {
  std::string file = EncodeTestJpeg(8, 8, 3, JCS_RGB, TestRgbBlocks(8, 8));
  TStringStream stream("junk" + file);
  stream.SetPosition(4);
  TJPEGImage jpeg;
  jpeg.LoadFromStream(stream);
  EXPECT_EQ(jpeg.Width(), 8);
  TempDir dir;
  {
    TFileStream out(dir.file("a.jpg"), fmCreate);
    out.WriteBytes(file);
  }
  TJPEGImage fromFile;
  fromFile.LoadFromFile(dir.file("a.jpg"));
  EXPECT_EQ(fromFile.Height(), 8);
  int w = 0, h = 0;
  EXPECT_TRUE(JpegImageSize(Bytes(file), file.size(), w, h));
  EXPECT_EQ(w, 8);
  EXPECT_EQ(h, 8);
  EXPECT_FALSE(JpegImageSize(Bytes(file), 10, w, h));
}

TEST(JPEGImage, DamagedDataRaisesAndKeepsThePicture) {
  std::string good = EncodeTestJpeg(16, 16, 3, JCS_RGB, TestRgbBlocks(16, 16));
  TJPEGImage jpeg;
  jpeg.LoadFromBytes(Bytes(good), good.size());
  std::vector<int> before = Rgb(jpeg, 1, 1);
  const std::string bad[] = {"", "not a jpeg at all", good.substr(0, 2), good.substr(0, good.size() / 8),
                             std::string("\xFF\xD8\xFF\xD9", 4)};
  for (const std::string& data : bad) {
    EXPECT_THROW(jpeg.LoadFromBytes(Bytes(data), data.size()), EJPEG) << data.size();
    EXPECT_EQ(jpeg.Width(), 16);
    EXPECT_EQ(Rgb(jpeg, 1, 1), before);
  }
  try {
    jpeg.LoadFromBytes(Bytes(bad[1]), bad[1].size());
  } catch (const EInvalidGraphic& e) {
    EXPECT_NE(e.Message.find("JPEG"), std::string::npos) << e.Message;
  }
}

TEST(JPEGImage, HugeDeclaredSizesAreRefused) {
  std::string file = EncodeTestJpeg(8, 8, 3, JCS_RGB, TestRgbBlocks(8, 8));
  std::size_t at = FrameSizeOffset(file);
  ASSERT_NE(at, 0u);
  file[at] = file[at + 1] = file[at + 2] = file[at + 3] = static_cast<char>(0xEA);  // 60138 x 60138
  TJPEGImage jpeg;
  try {
    jpeg.LoadFromBytes(Bytes(file), file.size());
    FAIL() << "no exception";
  } catch (const EJPEG& e) {
    EXPECT_NE(e.Message.find("too large"), std::string::npos) << e.Message;
  }
}

TEST(JPEGImage, MutatedFilesNeverCrash) {
  // Every outcome is a picture or EJPEG; ASan watches the reads.
  std::string good = EncodeTestJpeg(24, 16, 3, JCS_RGB, TestRgbBlocks(24, 16), 80, true);
  std::mt19937 random(3);
  int loaded = 0, refused = 0;
  for (int round = 0; round < 300; ++round) {
    std::string data = good;
    int changes = 1 + static_cast<int>(random() % 6);
    for (int i = 0; i < changes; ++i) data[random() % data.size()] = static_cast<char>(random());
    if (round % 5 == 0) data.resize(random() % data.size());
    TJPEGImage jpeg;
    try {
      jpeg.LoadFromBytes(Bytes(data), data.size());
      ++loaded;
    } catch (const EJPEG&) {
      ++refused;
    }
  }
  EXPECT_EQ(loaded + refused, 300);
  EXPECT_GT(refused, 0);
}
