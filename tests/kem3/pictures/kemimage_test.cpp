#include "kem3/pictures/kemimage.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <memory>
#include <random>
#include <thread>
#include <vector>

#include "kem3/pictures/kemresample.h"

namespace {

std::unique_ptr<TBitmap> Make(int W, int H, TPixelFormat Format = pf32bit) {
  auto b = std::make_unique<TBitmap>();
  b->SetPixelFormat(Format);
  b->SetSize(W, H);
  return b;
}

std::uint32_t Px(const TBitmap& b, int X, int Y) {
  std::uint32_t v;
  std::memcpy(&v, static_cast<const std::uint8_t*>(b.ScanLine(Y)) + 4 * X, 4);
  return v;
}

void SetPx(TBitmap& b, int X, int Y, std::uint32_t V) {
  std::memcpy(static_cast<std::uint8_t*>(b.ScanLine(Y)) + 4 * X, &V, 4);
}

void Fill(TBitmap& b, std::uint32_t V) {
  for (int y = 0; y < b.Height(); ++y)
    for (int x = 0; x < b.Width(); ++x) SetPx(b, x, y, V);
}

void FillRandom(TBitmap& b, unsigned Seed) {
  std::mt19937 random(Seed);
  int bytes = BitsPerPixel(b.PixelFormat()) / 8;
  for (int y = 0; y < b.Height(); ++y) {
    auto* row = static_cast<std::uint8_t*>(b.ScanLine(y));
    for (int i = 0; i < b.Width() * bytes; ++i) row[i] = static_cast<std::uint8_t>(random());
  }
}

std::vector<std::uint8_t> Bytes(const TBitmap& b) {
  std::vector<std::uint8_t> out;
  int used = (b.Width() * BitsPerPixel(b.PixelFormat()) + 7) / 8;
  for (int y = 0; y < b.Height(); ++y) {
    auto* row = static_cast<const std::uint8_t*>(b.ScanLine(y));
    out.insert(out.end(), row, row + used);
  }
  return out;
}

// One channel of the blend as written in words: (a s + (255 - a) d + 128) >> 8.
unsigned Channel(unsigned a, unsigned s, unsigned d) { return (a * s + (255 - a) * d + 128) >> 8; }

TColor FakeSysColor(int Index) {
  if (Index == 15) return RGBColor(0x11, 0x80, 0x20);  // face
  if (Index == 20) return RGBColor(0x00, 0xF1, 0x20);  // highlight
  return DefaultSysColor(Index);
}

}  // namespace

TEST(KemImageBlend, ExactValues) {
  EXPECT_EQ(BlendPixel(0x40102030, 0x80FF4020), 0x60873028u);
  EXPECT_EQ(BlendPixel(0x12345678, 0xFF000000), 0xFF000000u);  // alpha 255 copies
  EXPECT_EQ(BlendPixel(0x12345678, 0x00FFFFFF), 0x12345678u);  // alpha 0 keeps
  // Alpha 254 on white over black is not white: the formula, not a copy.
  EXPECT_EQ(BlendPixel(0x00000000, 0xFEFFFFFF) & 0xFF, 253u);
  for (unsigned a = 1; a < 255; ++a)
    for (unsigned s = 0; s < 256; s += 15)
      for (unsigned d = 0; d < 256; d += 17) {
        std::uint32_t result = BlendPixel(d * 0x010101u | (d << 24), a << 24 | s * 0x010101u);
        ASSERT_EQ(result & 0xFF, Channel(a, s, d)) << a << " " << s << " " << d;
        ASSERT_EQ((result >> 8) & 0xFF, Channel(a, s, d));
        ASSERT_EQ((result >> 24) & 0xFF, Channel(a, a, d));
      }
}

TEST(KemImageBlend, OpacityScalesAlpha) {
  // (255 x 1) >> 8 = 0 and 255 < 256: unchanged.
  EXPECT_EQ(BlendPixelOpacity(0x11223344, 0xFFFFFFFF, 1), 0x11223344u);
  // 128 x 2 = 256: effective alpha 1.
  std::uint32_t r = BlendPixelOpacity(0x00000000, 0x80FFFFFF, 2);
  EXPECT_EQ(r & 0xFF, Channel(1, 255, 0));
  EXPECT_EQ(r >> 24, Channel(1, 128, 0));
  // Full opacity still scales: 255 x 255 >> 8 = 254, never a copy.
  EXPECT_EQ(BlendPixelOpacity(0, 0xFFFFFFFF, 255) & 0xFF, Channel(254, 255, 0));
  EXPECT_EQ(BlendPixelOpacity(0x01020304, 0xFFFFFFFF, -5), 0x01020304u);  // clamped to 0
}

TEST(KemImageBlend, RowsMatchThePixelFormulaAtEveryLength) {
  std::mt19937 random(1);
  for (int width : {1, 3, 4, 5, 8, 17}) {
    auto dest = Make(width, 3), source = Make(width, 3);
    FillRandom(*dest, random());
    FillRandom(*source, random());
    // Some fully transparent and fully opaque pixels among the random ones.
    SetPx(*source, 0, 0, Px(*source, 0, 0) | 0xFF000000u);
    SetPx(*source, width - 1, 1, Px(*source, width - 1, 1) & 0x00FFFFFFu);
    for (int opacity : {-1, 0, 1, 100, 255}) {
      auto expected = Make(width, 3), actual = Make(width, 3);
      expected->Assign(*dest);
      actual->Assign(*dest);
      for (int y = 0; y < 3; ++y)
        for (int x = 0; x < width; ++x)
          SetPx(*expected, x, y,
                opacity < 0 ? BlendPixel(Px(*dest, x, y), Px(*source, x, y))
                            : BlendPixelOpacity(Px(*dest, x, y), Px(*source, x, y), opacity));
      if (opacity < 0) {
        AlphaBlendBitmap(*actual, 0, 0, *source);
      } else {
        AlphaBlendBitmapOpacity(*actual, 0, 0, opacity, *source);
      }
      EXPECT_EQ(Bytes(*actual), Bytes(*expected)) << width << " " << opacity;
    }
  }
}

TEST(KemImageBlend, OnlyTheOverlapIsBlended) {
  auto dest = Make(4, 3), source = Make(3, 3);
  Fill(*dest, 0x01010101);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 3; ++x) SetPx(*source, x, y, 0xFF000000u | static_cast<std::uint32_t>(y * 3 + x));
  AlphaBlendBitmap(*dest, -1, 1, *source);
  // Source pixels (1..2, 0..1) land on dest (0..1, 1..2).
  EXPECT_EQ(Px(*dest, 0, 1), 0xFF000001u);
  EXPECT_EQ(Px(*dest, 1, 1), 0xFF000002u);
  EXPECT_EQ(Px(*dest, 0, 2), 0xFF000004u);
  EXPECT_EQ(Px(*dest, 1, 2), 0xFF000005u);
  for (int x = 0; x < 4; ++x) EXPECT_EQ(Px(*dest, x, 0), 0x01010101u);
  EXPECT_EQ(Px(*dest, 2, 1), 0x01010101u);
  // Entirely outside: nothing, also with positions near the integer limits.
  auto before = Bytes(*dest);
  AlphaBlendBitmap(*dest, 4, 0, *source);
  AlphaBlendBitmap(*dest, INT32_MIN, INT32_MIN, *source);
  AlphaBlendBitmap(*dest, INT32_MAX, 0, *source);
  EXPECT_EQ(Bytes(*dest), before);
}

TEST(KemImageBlend, SourceRectangleIsClippedToTheSource) {
  auto dest = Make(5, 5), source = Make(3, 3);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 3; ++x) SetPx(*source, x, y, 0xFF000000u | static_cast<std::uint32_t>(y * 3 + x + 1));
  // The rectangle starts one pixel left of and above the source: that part is not there.
  AlphaBlendBitmapRect(*dest, 1, 1, Rect(-1, -1, 2, 2), *source);
  EXPECT_EQ(Px(*dest, 1, 1), 0u);
  EXPECT_EQ(Px(*dest, 2, 2), 0xFF000001u);
  EXPECT_EQ(Px(*dest, 3, 3), 0xFF000005u);
  EXPECT_EQ(Px(*dest, 4, 4), 0u);
  auto other = Make(5, 5);
  AlphaBlendBitmapRectOpacity(*other, 0, 0, 255, Rect(2, 2, 100, 100), *source);
  EXPECT_EQ(Px(*other, 0, 0), BlendPixelOpacity(0, 0xFF000009u, 255));
  EXPECT_EQ(Px(*other, 1, 0), 0u);
  // The source's own top left lies far beyond the dest then: nothing to blend.
  AlphaBlendBitmapRect(*other, 0, 0, Rect(INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX), *source);
  EXPECT_EQ(Px(*other, 2, 2), 0u);
}

TEST(KemImageBlend, BitmapOntoItself) {
  auto b = Make(3, 1);
  SetPx(*b, 0, 0, 0xFF0000AA);
  SetPx(*b, 1, 0, 0xFF0000BB);
  AlphaBlendBitmap(*b, 1, 0, *b);
  EXPECT_EQ(Px(*b, 1, 0), 0xFF0000AAu);
  EXPECT_EQ(Px(*b, 2, 0), 0xFF0000BBu);
}

TEST(KemImagePixels, ConversionTo32BitGivesAlphaZero) {
  auto b = Make(2, 1, pf24bit);
  b->SetPixelColor(0, 0, RGBColor(1, 2, 3));
  MakeBitmap32(*b);
  EXPECT_EQ(b->PixelFormat(), pf32bit);
  EXPECT_EQ(Px(*b, 0, 0), 0x00010203u);
  auto device = Make(1, 1, pfDevice);
  SetPx(*device, 0, 0, 0x80112233);
  MakeBitmap32(*device);
  EXPECT_EQ(Px(*device, 0, 0), 0x80112233u);
  auto palette = Make(3, 1, pf8bit);
  palette->SetPixelColor(2, 0, clWhite);
  InvertBitmap(*palette);  // made pf32bit (alpha 0), then inverted
  EXPECT_EQ(Px(*palette, 2, 0), 0xFF000000u);
}

TEST(KemImagePixels, ImageSizeByFormat) {
  struct {
    TPixelFormat Format;
    int Expected;
  } cases[] = {{pf1bit, 8},   {pf4bit, 8},   {pf8bit, 8},   {pf15bit, 16},
               {pf16bit, 16}, {pf24bit, 24}, {pf32bit, 24}, {pfDevice, 24}};
  for (auto c : cases) EXPECT_EQ(GetImageSize(*Make(3, 2, c.Format)), c.Expected) << c.Format;
  EXPECT_EQ(GetImageSize(TBitmap()), 0);
}

TEST(KemImagePixels, AlphaOfOnePixel) {
  auto b = Make(2, 2);
  SetPx(*b, 1, 1, 0x7F000000);
  EXPECT_EQ(GetPixelAlpha(*b, 1, 1), 0x7F);
  EXPECT_EQ(GetPixelAlpha(*b, 2, 1), 0);
  EXPECT_EQ(GetPixelAlpha(*b, -1, 0), 0);
  EXPECT_EQ(GetPixelAlpha(*Make(2, 2, pf24bit), 0, 0), 0);
}

TEST(KemImagePixels, CornerColour) {
  auto b = Make(3, 3, pf24bit);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 3; ++x) b->SetPixelColor(x, y, clRed);
  b->SetPixelColor(2, 2, clBlue);
  EXPECT_EQ(GetCornerColor(*b), clRed);
  b->SetPixelColor(2, 0, clLime);  // the three top/left corners differ now
  EXPECT_EQ(GetCornerColor(*b), clBlue);
  EXPECT_EQ(GetCornerColor(TBitmap()), 0);
  SetCornerTransparentColor(*b);
  EXPECT_EQ(b->TransparentColor(), clBlue);
  b->SetTransparentColor(clYellow);  // fixed by its owner: kept
  SetCornerTransparentColor(*b);
  EXPECT_EQ(b->TransparentColor(), clYellow);
}

TEST(KemImagePixels, ChannelsAndAlpha) {
  auto source = Make(3, 2), dest = Make(2, 3);
  SetPx(*source, 1, 1, 0x44332211);
  SetPx(*dest, 1, 1, 0x00ABCDEF);
  for (int channel = 0; channel < 4; ++channel) {
    CopyChannelToAlpha(*dest, *source, channel);
    EXPECT_EQ(Px(*dest, 1, 1), 0x00ABCDEFu | static_cast<std::uint32_t>(0x11 * (channel + 1)) << 24);
  }
  EXPECT_THROW(CopyChannelToAlpha(*dest, *source, 4), EInvalidGraphicOperation);
  AlphaToGrey(*dest, *source);
  EXPECT_EQ(Px(*dest, 1, 1), 0x44444444u);
  EXPECT_EQ(Px(*dest, 1, 2), 0u);  // outside the source: untouched
  InvertBitmap(*dest);
  EXPECT_EQ(Px(*dest, 1, 1), 0xBBBBBBBBu);
}

TEST(KemImagePixels, ScaleAlphaRoundsHalvesToEven) {
  auto b = Make(4, 1);
  SetPx(*b, 0, 0, 0x05000000);
  SetPx(*b, 1, 0, 0x07000000);
  SetPx(*b, 2, 0, 0xC8000000);
  SetPx(*b, 3, 0, 0x0A000000);
  ScaleAlpha(*b, 0.5);
  EXPECT_EQ(Px(*b, 0, 0) >> 24, 2u);  // 2.5
  EXPECT_EQ(Px(*b, 1, 0) >> 24, 4u);  // 3.5
  EXPECT_EQ(Px(*b, 2, 0) >> 24, 100u);
  ScaleAlpha(*b, 3.0);
  EXPECT_EQ(Px(*b, 2, 0) >> 24, 255u);  // clamped
  ScaleAlpha(*b, -1.0);
  EXPECT_EQ(Px(*b, 2, 0) >> 24, 0u);
}

TEST(KemImagePixels, AlphaGradients) {
  auto b = Make(5, 3);
  Fill(*b, 0x00123456);
  SetHorizontalAlphaGradient(*b, 0, 200);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 5; ++x) EXPECT_EQ(Px(*b, x, y), 0x00123456u | static_cast<std::uint32_t>(50 * x) << 24);
  SetVerticalAlphaGradient(*b, 255, 0);
  EXPECT_EQ(Px(*b, 4, 0) >> 24, 255u);
  EXPECT_EQ(Px(*b, 0, 1) >> 24, 128u);  // 255 + (-255 / 2), toward zero
  EXPECT_EQ(Px(*b, 2, 2) >> 24, 0u);
  auto one = Make(1, 1);
  SetHorizontalAlphaGradient(*one, 300, 0);  // one column takes the left value, clamped
  EXPECT_EQ(Px(*one, 0, 0) >> 24, 255u);
}

TEST(KemImagePixels, FaceHighlightMidColour) {
  SetSysColorFunction(FakeSysColor);
  // Red: 0x11 + (0 - 0x11) / 2 = 17 - 8 (toward zero); green 0x80 + 0x71 / 2; blue equal.
  EXPECT_EQ(GetFaceHighlightMidColor(), RGBColor(9, 0x80 + 0x38, 0x20));
  SetSysColorFunction(nullptr);
}

TEST(KemImagePixels, BitmapLike) {
  auto b = Make(5, 4, pf8bit);
  std::vector<TRGBQuad> table(3, TRGBQuad{1, 2, 3, 0});
  b->SetColorTable(table);
  auto like = CreateBitmapLike(*b);
  EXPECT_EQ(like->Width(), 5);
  EXPECT_EQ(like->Height(), 4);
  EXPECT_EQ(like->PixelFormat(), pf8bit);
  EXPECT_EQ(like->ColorTable(), b->ColorTable());
  EXPECT_TRUE(CreateBitmapLike(TBitmap())->Empty());
}

TEST(KemImageShrink, BoxAverageByTheWidthFactor) {
  auto source = Make(4, 4), dest = Make(2, 2);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 4; ++x) SetPx(*source, x, y, static_cast<std::uint32_t>(x + 4 * y) * 0x01010101u);
  ShrinkBitmap(*dest, *source);
  // Block (0,0): 0, 1, 4, 5 -> 10 / 4 = 2 (truncated).
  EXPECT_EQ(Px(*dest, 0, 0), 0x02020202u);
  EXPECT_EQ(Px(*dest, 1, 0), 0x04040404u);
  EXPECT_EQ(Px(*dest, 0, 1), 0x0A0A0A0Au);
  EXPECT_EQ(Px(*dest, 1, 1), 0x0C0C0C0Cu);
}

TEST(KemImageShrink, BlocksAreClippedToTheSource) {
  // Factor 5 div 2 = 2: the second row of blocks has one source row; a third row none.
  auto source = Make(5, 3), dest = Make(2, 3);
  Fill(*source, 0x10101010);
  SetPx(*source, 0, 2, 0x20202020);
  SetPx(*dest, 0, 2, 0xDEADBEEF);
  ShrinkBitmap(*dest, *source);
  EXPECT_EQ(Px(*dest, 0, 0), 0x10101010u);
  EXPECT_EQ(Px(*dest, 0, 1), 0x18181818u);  // (0x20 + 0x10) / 2
  EXPECT_EQ(Px(*dest, 1, 1), 0x10101010u);
  EXPECT_EQ(Px(*dest, 0, 2), 0xDEADBEEFu);
}

TEST(KemImageShrink, VariantsAndNoOps) {
  auto source = Make(4, 2, pf24bit), dest = Make(2, 1, pf32bit);
  source->SetPixelColor(0, 0, RGBColor(100, 0, 0));
  source->SetPixelColor(1, 1, RGBColor(200, 0, 4));
  ShrinkBitmap(*dest, *source);
  EXPECT_EQ(dest->PixelFormat(), pf24bit);
  EXPECT_EQ(dest->PixelColor(0, 0), RGBColor(75, 0, 1));
  // Not narrower: nothing happens.
  auto same = Make(4, 2, pf8bit);
  ShrinkBitmap(*same, *source);
  EXPECT_EQ(same->PixelFormat(), pf8bit);
  TBitmap empty;
  ShrinkBitmap(empty, *source);
  EXPECT_TRUE(empty.Empty());
}

TEST(KemImageRotate, QuarterTurnsOfEveryCopiedFormat) {
  for (TPixelFormat format : {pf8bit, pf16bit, pf24bit, pf32bit}) {
    SCOPED_TRACE(format);
    auto source = Make(3, 2, format);
    FillRandom(*source, 5);
    int bytes = BitsPerPixel(format) / 8;
    auto at = [&](const TBitmap& b, int x, int y) {
      auto* p = static_cast<const std::uint8_t*>(b.ScanLine(y)) + x * bytes;
      return std::vector<std::uint8_t>(p, p + bytes);
    };
    auto r90 = Make(1, 1), r180 = Make(1, 1), r270 = Make(1, 1);
    RotateBitmap90(*r90, *source);
    RotateBitmap180(*r180, *source);
    RotateBitmap270(*r270, *source);
    ASSERT_EQ(r90->Width(), 2);
    ASSERT_EQ(r90->Height(), 3);
    EXPECT_EQ(r90->PixelFormat(), format);
    EXPECT_EQ(r180->Width(), 3);
    for (int y = 0; y < 2; ++y)
      for (int x = 0; x < 3; ++x) {
        EXPECT_EQ(at(*r90, 1 - y, x), at(*source, x, y));  // top left goes to the top right
        EXPECT_EQ(at(*r180, 2 - x, 1 - y), at(*source, x, y));
        EXPECT_EQ(at(*r270, y, 2 - x), at(*source, x, y));
      }
    auto back = Make(1, 1);
    RotateBitmap270(*back, *r90);
    EXPECT_EQ(Bytes(*back), Bytes(*source));
  }
}

TEST(KemImageRotate, PaletteAndSmallFormats) {
  auto source = Make(2, 1, pf8bit);
  std::vector<TRGBQuad> table = {{1, 2, 3, 0}, {4, 5, 6, 0}};
  source->SetColorTable(table);
  static_cast<std::uint8_t*>(source->ScanLine(0))[1] = 1;
  auto turned = Make(1, 1);
  RotateBitmap90(*turned, *source);
  EXPECT_EQ(turned->ColorTable(), source->ColorTable());
  EXPECT_EQ(turned->PixelColor(0, 1), RGBColor(6, 5, 4));
  auto mono = Make(9, 2, pf1bit);
  mono->SetPixelColor(8, 0, clWhite);
  RotateBitmap180(*turned, *mono);
  EXPECT_EQ(mono->PixelFormat(), pf24bit);
  EXPECT_EQ(turned->PixelFormat(), pf24bit);
  EXPECT_EQ(turned->PixelColor(0, 1), clWhite);
  TBitmap empty;
  RotateBitmap90(*turned, empty);
  EXPECT_TRUE(turned->Empty());
}

TEST(KemImageRotate, FreeRotationAboutACentre) {
  auto source = Make(5, 5);
  FillRandom(*source, 8);
  auto quarter = Make(1, 1), turned = Make(1, 1);
  RotateBitmap90(*quarter, *source);
  RotateBitmap(*turned, *source, Point(2, 2), 90);
  EXPECT_EQ(Bytes(*turned), Bytes(*quarter));
  RotateBitmap(*turned, *source, Point(2, 2), 0);
  EXPECT_EQ(Bytes(*turned), Bytes(*source));
  // Turned about a corner, half of the picture comes from outside: black.
  RotateBitmap(*turned, *source, Point(0, 0), 180);
  EXPECT_EQ(Px(*turned, 0, 0), Px(*source, 0, 0));
  EXPECT_EQ(Px(*turned, 4, 4), 0u);
  // An angle that is no number turns nothing in: all black.
  RotateBitmap(*turned, *source, Point(2, 2), std::nan(""));
  EXPECT_EQ(Bytes(*turned), std::vector<std::uint8_t>(5 * 5 * 4, 0));
  auto rgb = Make(4, 3, pf24bit);
  RotateBitmap(*turned, *rgb, Point(1, 1), 33);
  EXPECT_EQ(turned->PixelFormat(), pf24bit);
  EXPECT_EQ(turned->Width(), 4);
}

TEST(KemImageTiles, GridOriginWrapsOffsets) {
  TRect r = Rect(10, 20, 50, 60);
  EXPECT_EQ(TileGridOrigin(r, 8, 6, 0, 0), Point(10, 20));
  EXPECT_EQ(TileGridOrigin(r, 8, 6, 3, 2), Point(7, 18));
  EXPECT_EQ(TileGridOrigin(r, 8, 6, 8 * 5 + 3, 6 * 7 + 2), Point(7, 18));  // larger than the tile
  EXPECT_EQ(TileGridOrigin(r, 8, 6, -1, -6), Point(3, 20));                // negative: 7 and 0
  EXPECT_EQ(TileGridOrigin(r, 8, 6, INT32_MIN, INT32_MIN), Point(10, 16));
  EXPECT_EQ(TileGridOrigin(r, 0, 0, 5, 5), Point(10, 20));
}

TEST(KemImageThreads, RoutinesRunSideBySide) {
  // Each thread works on its own bitmaps: the routines share nothing.
  auto work = [](unsigned seed, std::vector<std::uint8_t>& out) {
    auto a = Make(40, 30), b = Make(40, 30), c = Make(17, 9);
    FillRandom(*a, seed);
    FillRandom(*b, seed + 1);
    AlphaBlendBitmap(*a, 3, -2, *b);
    ResampleBitmap(*c, *a, rfLanczos3, 0);
    out = Bytes(*c);
  };
  std::vector<std::vector<std::uint8_t>> alone(4), together(4);
  for (unsigned i = 0; i < 4; ++i) work(i * 7, alone[i]);
  std::vector<std::thread> threads;
  for (unsigned i = 0; i < 4; ++i) threads.emplace_back(work, i * 7, std::ref(together[i]));
  for (auto& t : threads) t.join();
  EXPECT_EQ(together, alone);
}
