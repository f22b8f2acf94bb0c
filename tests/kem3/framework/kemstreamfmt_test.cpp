// Stream strings, string lists and image blocks: round trips, the exact
// bytes, and lengths, counts and sizes that the stream cannot hold.
#include "kem3/framework/kemstreamfmt.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "kem3/pictures/jpeg_test_encoder.h"
#include "kem3/pictures/jpegimage.h"
#include "kem3/pictures/pngimage.h"
#include "platform/bitmap.h"
#include "platform/exceptions.h"

namespace {

std::string Int32(std::int32_t v) {
  TStringStream s;
  s.WriteLE<std::int32_t>(v);
  return s.DataString();
}

// A pf32bit picture with a few distinct pixels and alphas.
void Paint(TBitmap& bitmap, int width, int height) {
  bitmap.SetPixelFormat(pf32bit);
  bitmap.SetSize(width, height);
  for (int y = 0; y < height; ++y) {
    auto* row = static_cast<TRGBQuad*>(bitmap.ScanLine(y));
    for (int x = 0; x < width; ++x)
      row[x] = {static_cast<std::uint8_t>(x * 20), static_cast<std::uint8_t>(y * 30), 200,
                static_cast<std::uint8_t>(255 - x * 10)};
  }
  bitmap.SetAlphaFormat(afDefined);
}

}  // namespace

TEST(StreamFormats, StringsAreALengthAndTheirBytes) {
  TStringStream s;
  WriteStreamString(s, "abc");
  WriteStreamString(s, "");
  WriteStreamString(s, std::string("z\0y", 3));
  EXPECT_EQ(s.DataString(), Int32(3) + "abc" + Int32(0) + Int32(3) + std::string("z\0y", 3));
  s.SetPosition(0);
  EXPECT_EQ(ReadStreamString(s), "abc");
  EXPECT_EQ(ReadStreamString(s), "");
  EXPECT_EQ(ReadStreamString(s), std::string("z\0y", 3));
}

TEST(StreamFormats, StringLengthsTheStreamCannotHoldRaise) {
  for (const std::string& bytes :
       {Int32(-1) + "abc", Int32(4) + "abc", Int32(0x7FFFFFFF) + "abc", std::string("\1\0", 2)}) {
    TStringStream s(bytes);
    EXPECT_THROW(ReadStreamString(s), EReadError);
  }
}

TEST(StreamFormats, StringListsClearFirstAndRoundTrip) {
  TStringList source;
  source.Add("one");
  source.Add("");
  source.Add("three");
  TStringStream s;
  WriteStreamStrings(s, source);
  EXPECT_EQ(s.DataString(), Int32(3) + Int32(3) + "one" + Int32(0) + Int32(5) + "three");
  s.SetPosition(0);
  TStringList dest;
  dest.Add("old");
  ReadStreamStrings(s, dest);
  ASSERT_EQ(dest.Count(), 3);
  EXPECT_EQ(dest[0], "one");
  EXPECT_EQ(dest[1], "");
  EXPECT_EQ(dest[2], "three");

  s.SetPosition(0);
  EXPECT_EQ(ReadStreamStringVector(s), (std::vector<String>{"one", "", "three"}));
  TStringStream v;
  WriteStreamStringVector(v, {"one", "", "three"});
  EXPECT_EQ(v.DataString(), s.DataString());
}

TEST(StreamFormats, StringListCountsTheStreamCannotHoldRaise) {
  // Every string needs at least its four length bytes.
  for (const std::string& bytes : {Int32(-2), Int32(3) + Int32(0) + Int32(0), Int32(0x40000000) + Int32(0)}) {
    TStringStream s(bytes);
    TStringList list;
    EXPECT_THROW(ReadStreamStrings(s, list), EReadError);
    s.SetPosition(0);
    EXPECT_THROW(ReadStreamStringVector(s), EReadError);
  }
  TStringStream s(Int32(2) + Int32(1) + "a" + Int32(9) + "b");
  TStringList list;
  EXPECT_THROW(ReadStreamStrings(s, list), EReadError);
}

TEST(ImageBlock, AnAbsentImageIsEightBytesAndLeavesThePictureAlone) {
  TBitmap empty;
  TStringStream s;
  WriteImageBlock(s, empty);
  EXPECT_EQ(s.DataString(), Int32(0) + Int32(8));

  TPNGImage image;
  Paint(image, 3, 2);
  TStringStream r(s.DataString() + "next");
  EXPECT_FALSE(ReadImageBlock(r, image));
  EXPECT_EQ(r.Position(), 8);
  EXPECT_EQ(image.Width(), 3);
  // A flag below 1 ends the block whatever its size field says.
  TStringStream odd(Int32(-5) + Int32(12345));
  EXPECT_FALSE(ReadImageBlock(odd, image));
  EXPECT_EQ(odd.Position(), 8);
}

TEST(ImageBlock, PngRoundTripWithTheSizeFilledIn) {
  TPNGImage image;
  Paint(image, 5, 4);
  TStringStream s(std::string("lead"));
  s.Seek(0, soEnd);
  WriteImageBlock(s, image);
  EXPECT_EQ(s.Position(), s.Size());
  const std::string bytes = s.DataString();
  TStringStream check(bytes);
  check.SetPosition(4);
  EXPECT_EQ(check.ReadLE<std::int32_t>(), 1);
  EXPECT_EQ(check.ReadLE<std::int32_t>(), static_cast<std::int32_t>(bytes.size() - 4));
  EXPECT_EQ(bytes.substr(12, 4), "\x89PNG");

  check.SetPosition(4);
  TPNGImage back;
  EXPECT_TRUE(ReadImageBlock(check, back));
  EXPECT_EQ(back.Width(), 5);
  EXPECT_EQ(back.Height(), 4);
  EXPECT_EQ(back.PixelColor(4, 3), image.PixelColor(4, 3));
}

TEST(ImageBlock, TheReaderEndsAtTheBlocksEndWhateverTheImageConsumed) {
  TBitmap bitmap;
  bitmap.SetPixelFormat(pf24bit);
  bitmap.SetSize(2, 2);
  bitmap.SetPixelColor(1, 1, 0x123456);
  TStringStream image;
  bitmap.SaveToStream(image);
  // Padding inside the block after the picture, then the next field.
  const std::string data = image.DataString() + "padding";
  TStringStream s(Int32(1) + Int32(static_cast<std::int32_t>(8 + data.size())) + data + Int32(77));
  TBitmap back;
  EXPECT_TRUE(ReadImageBlock(s, back));
  EXPECT_EQ(back.PixelColor(1, 1), 0x123456);
  EXPECT_EQ(s.ReadLE<std::int32_t>(), 77);
}

TEST(ImageBlock, BitmapAndJpegBlocks) {
  TBitmap bitmap;
  bitmap.SetPixelFormat(pf24bit);
  bitmap.SetSize(3, 3);
  bitmap.SetPixelColor(2, 0, 0x00FF00);
  TStringStream s;
  WriteImageBlock(s, bitmap);
  s.SetPosition(0);
  TBitmap back;
  ASSERT_TRUE(ReadImageBlock(s, back));
  EXPECT_EQ(back.PixelColor(2, 0), 0x00FF00);

  const std::string jpeg = EncodeTestJpeg(16, 8, 3, JCS_RGB, std::vector<std::uint8_t>(16 * 8 * 3, 128));
  TStringStream j;
  WriteImageBlock(j, true, [&](TStream& out) { out.WriteBytes(jpeg); });
  j.SetPosition(0);
  TJPEGImage decoded;
  ASSERT_TRUE(ReadImageBlock(j, decoded));
  EXPECT_EQ(decoded.Width(), 16);
  EXPECT_EQ(decoded.Height(), 8);
}

TEST(ImageBlock, SizesOutsideTheStreamRaiseBeforeTheImageIsRead) {
  bool loaded = false;
  auto load = [&](TStream&) { loaded = true; };
  for (const std::string& bytes : {Int32(1) + Int32(7), Int32(1) + Int32(-8), Int32(1) + Int32(20) + "short",
                                   Int32(1) + Int32(0x7FFFFFFF), Int32(1)}) {
    TStringStream s(bytes);
    EXPECT_THROW(ReadImageBlock(s, load), EReadError);
  }
  EXPECT_FALSE(loaded);
  // Exactly 8 bytes with the flag set: an image of no bytes.
  TStringStream s(Int32(1) + Int32(8));
  EXPECT_TRUE(ReadImageBlock(s, [&](TStream& data) { EXPECT_EQ(data.Size(), 0); }));
}
