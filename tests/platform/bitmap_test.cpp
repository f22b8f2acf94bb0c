#include "platform/bitmap.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "platform/bitmap_pixels.h"
#include "support/temp_dir.h"

namespace {

const TPixelFormat kAllFormats[] = {pfDevice, pf1bit, pf4bit, pf8bit, pf15bit, pf16bit, pf24bit, pf32bit};

const std::uint8_t* Row(const TBitmap& b, int y) { return static_cast<const std::uint8_t*>(b.ScanLine(y)); }
std::uint8_t* Row(TBitmap& b, int y) { return static_cast<std::uint8_t*>(b.ScanLine(y)); }

// Every byte of every row, top row first.
std::string Pixels(const TBitmap& b) {
  std::string out;
  for (int y = 0; y < b.Height(); ++y) out.append(reinterpret_cast<const char*>(Row(b, y)), b.ScanLineSize());
  return out;
}

// Fills the pixel bytes of each row with a pattern (padding stays zero).
void FillPattern(TBitmap& b, unsigned seed) {
  std::mt19937 random(seed);
  std::int64_t used = (static_cast<std::int64_t>(b.Width()) * BitsPerPixel(b.PixelFormat()) + 7) / 8;
  for (int y = 0; y < b.Height(); ++y) {
    std::uint8_t* row = Row(b, y);
    for (std::int64_t i = 0; i < used; ++i) row[i] = static_cast<std::uint8_t>(random());
    // Bits of a partly used last byte beyond the width are padding too.
    int spare = static_cast<int>(used * 8 - static_cast<std::int64_t>(b.Width()) * BitsPerPixel(b.PixelFormat()));
    if (spare) row[used - 1] = static_cast<std::uint8_t>(row[used - 1] & (0xFF << spare));
  }
}

std::string Save(const TBitmap& b) {
  TMemoryStream s;
  b.SaveToStream(s);
  return std::string(static_cast<const char*>(s.Memory()), static_cast<std::size_t>(s.Size()));
}

void Load(TBitmap& b, const std::string& bytes) {
  TStringStream s(bytes);
  b.LoadFromStream(s);
}

void Put16(std::string& s, std::uint32_t v) {
  s += static_cast<char>(v & 0xFF);
  s += static_cast<char>((v >> 8) & 0xFF);
}
void Put32(std::string& s, std::uint32_t v) {
  Put16(s, v & 0xFFFF);
  Put16(s, v >> 16);
}

// A BMP file put together field by field, so tests can write what no writer would.
struct TBmpFile {
  std::uint32_t headerSize = 40;
  std::int64_t width = 2;
  std::int64_t height = 2;
  std::uint16_t bits = 24;
  std::uint32_t compression = 0;
  std::uint32_t colorsUsed = 0;
  std::vector<std::uint32_t> masks;              // inside the header from 52 bytes on, else after it
  std::string table;                             // raw colour table
  std::string gap;                               // between the table and the pixels
  std::string pixels = std::string(16, '\x7F');  // 2 x 2 at 24 bits
  std::int64_t pixelOffset = -1;                 // -1: where the pixels really are

  std::string Build() const {
    std::string info;
    Put32(info, headerSize);
    if (headerSize == 12) {
      Put16(info, static_cast<std::uint32_t>(width));
      Put16(info, static_cast<std::uint32_t>(height));
      Put16(info, 1);
      Put16(info, bits);
    } else {
      Put32(info, static_cast<std::uint32_t>(width));
      Put32(info, static_cast<std::uint32_t>(height));
      Put16(info, 1);
      Put16(info, bits);
      Put32(info, compression);
      Put32(info, static_cast<std::uint32_t>(pixels.size()));
      Put32(info, 0);
      Put32(info, 0);
      Put32(info, colorsUsed);
      Put32(info, 0);
      if (headerSize >= 52)
        for (std::uint32_t m : masks) Put32(info, m);
      if (headerSize <= 124) info.resize(std::max<std::size_t>(info.size(), headerSize), '\0');
      if (headerSize < 52)
        for (std::uint32_t m : masks) Put32(info, m);
    }
    info += table;
    info += gap;
    std::string file = "BM";
    std::uint32_t offset = static_cast<std::uint32_t>(pixelOffset >= 0 ? pixelOffset : 14 + info.size());
    Put32(file, static_cast<std::uint32_t>(14 + info.size() + pixels.size()));
    Put32(file, 0);
    Put32(file, offset);
    return file + info + pixels;
  }
};

std::string Quad(int b, int g, int r) { return {static_cast<char>(b), static_cast<char>(g), static_cast<char>(r), 0}; }

}  // namespace

// ---- Layout --------------------------------------------------------------

TEST(BitmapLayout, NewBitmapIsEmptyDeviceFormat) {
  TBitmap b;
  EXPECT_TRUE(b.Empty());
  EXPECT_EQ(b.Width(), 0);
  EXPECT_EQ(b.PixelFormat(), pfDevice);
  EXPECT_EQ(b.AlphaFormat(), afIgnored);
  EXPECT_FALSE(b.Transparent());
  EXPECT_EQ(b.TransparentColor(), clDefault);
  EXPECT_THROW(b.ScanLine(0), EInvalidGraphicOperation);
  b.SetSize(5, 0);
  EXPECT_TRUE(b.Empty());
  b.SetSize(-4, 3);
  EXPECT_TRUE(b.Empty());
}

TEST(BitmapLayout, RowsAreBottomUpWithPaddedStrides) {
  struct Case {
    TPixelFormat format;
    int stride;  // for 13 pixels
  } cases[] = {{pf1bit, 4},   {pf4bit, 8},   {pf8bit, 16},  {pf15bit, 28},
               {pf16bit, 28}, {pf24bit, 40}, {pf32bit, 52}, {pfDevice, 52}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.format);
    TBitmap b;
    b.SetPixelFormat(c.format);
    b.SetSize(13, 5);
    EXPECT_EQ(b.Width(), 13);
    EXPECT_EQ(b.Height(), 5);
    EXPECT_EQ(b.ScanLineSize(), c.stride);
    EXPECT_EQ(BytesPerScanLine(13, BitsPerPixel(c.format)), c.stride);
    // The top row is stored last: each row below it lies one stride lower.
    for (int y = 0; y < 4; ++y) EXPECT_EQ(Row(b, y) - Row(b, y + 1), c.stride);
    EXPECT_THROW(b.ScanLine(5), EInvalidGraphicOperation);
    EXPECT_THROW(b.ScanLine(-1), EInvalidGraphicOperation);
    EXPECT_EQ(Pixels(b), std::string(static_cast<std::size_t>(c.stride) * 5, '\0'));
  }
}

TEST(BitmapLayout, BytesPerScanLineNeverOverflows) {
  EXPECT_EQ(BytesPerScanLine(1, 1), 4);
  EXPECT_EQ(BytesPerScanLine(32, 1), 4);
  EXPECT_EQ(BytesPerScanLine(33, 1), 8);
  EXPECT_EQ(BytesPerScanLine(3, 24), 12);
  EXPECT_EQ(BytesPerScanLine(0, 24), 0);
  EXPECT_EQ(BytesPerScanLine(INT_MAX, 32), std::int64_t{INT_MAX} * 4 + 4 - 4);
}

TEST(BitmapLayout, ThirtyTwoBitPixelsAreBlueGreenRedAlpha) {
  TBitmap b;
  b.SetPixelFormat(pf32bit);
  b.SetSize(2, 2);
  b.SetPixelColor(1, 0, RGBColor(0x11, 0x22, 0x33));
  const std::uint8_t* top = Row(b, 0);
  EXPECT_EQ(top[4], 0x33);
  EXPECT_EQ(top[5], 0x22);
  EXPECT_EQ(top[6], 0x11);
  EXPECT_EQ(top[7], 0xFF);
  auto* quads = static_cast<const TRGBQuad*>(b.ScanLine(0));
  EXPECT_EQ(quads[1], (TRGBQuad{0x33, 0x22, 0x11, 0xFF}));
  EXPECT_EQ(b.PixelColor(1, 0), RGBColor(0x11, 0x22, 0x33));
  EXPECT_EQ(b.PixelColor(1, 1), clBlack);
  EXPECT_EQ(b.PixelColor(2, 0), clNone);
  b.SetPixelColor(-1, 0, clRed);  // ignored
}

TEST(BitmapLayout, ResizingKeepsTheTopLeftPart) {
  TBitmap b;
  b.SetPixelFormat(pf24bit);
  b.SetSize(3, 2);
  b.SetPixelColor(0, 0, clRed);
  b.SetPixelColor(2, 1, clBlue);
  b.SetSize(4, 3);
  EXPECT_EQ(b.PixelColor(0, 0), clRed);
  EXPECT_EQ(b.PixelColor(2, 1), clBlue);
  EXPECT_EQ(b.PixelColor(3, 2), clBlack);
  EXPECT_EQ(b.PixelColor(3, 0), clBlack);
  b.SetSize(1, 1);
  EXPECT_EQ(b.PixelColor(0, 0), clRed);
  b.SetWidth(2);
  b.SetHeight(2);
  EXPECT_EQ(b.PixelColor(0, 0), clRed);
  EXPECT_EQ(b.PixelColor(1, 1), clBlack);

  TBitmap mono;
  mono.SetPixelFormat(pf1bit);
  mono.SetSize(9, 2);
  mono.SetPixelColor(8, 1, clWhite);
  mono.SetSize(20, 2);
  EXPECT_EQ(mono.PixelColor(8, 1), clWhite);
  EXPECT_EQ(mono.PixelColor(9, 1), clBlack);
}

// ---- Formats and conversion -----------------------------------------------

TEST(BitmapFormats, EveryFormatStoresItsExactColours) {
  struct Case {
    TPixelFormat format;
    std::vector<TColor> colours;
  } cases[] = {
      {pf1bit, {clBlack, clWhite}},
      {pf4bit, {clBlack, clMaroon, clRed, clLime, clSilver, clGray, clWhite, clTeal}},
      {pf8bit, {clBlack, RGBColor(51, 102, 255), RGBColor(204, 0, 153), clWhite, RGBColor(56, 56, 56)}},
      {pf15bit, {clBlack, clRed, clLime, clBlue, clWhite, clYellow}},
      {pf16bit, {clBlack, clRed, clLime, clBlue, clWhite, clFuchsia}},
      {pf24bit, {RGBColor(1, 2, 3), RGBColor(254, 128, 7), clWhite}},
      {pf32bit, {RGBColor(1, 2, 3), RGBColor(254, 128, 7), clWhite}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.format);
    TBitmap b;
    b.SetPixelFormat(c.format);
    b.SetSize(static_cast<int>(c.colours.size()), 3);
    for (int y = 0; y < 3; ++y)
      for (std::size_t x = 0; x < c.colours.size(); ++x) b.SetPixelColor(static_cast<int>(x), y, c.colours[x]);
    for (int y = 0; y < 3; ++y)
      for (std::size_t x = 0; x < c.colours.size(); ++x)
        EXPECT_EQ(b.PixelColor(static_cast<int>(x), y), c.colours[x]) << x << "," << y;
  }
}

TEST(BitmapFormats, PaletteFormatsGetStandardTables) {
  TBitmap b;
  b.SetPixelFormat(pf1bit);
  ASSERT_EQ(b.ColorTable().size(), 2u);
  EXPECT_EQ(b.ColorTable()[1], (TRGBQuad{255, 255, 255, 0}));
  b.SetPixelFormat(pf4bit);
  EXPECT_EQ(b.ColorTable().size(), 16u);
  b.SetPixelFormat(pf8bit);
  EXPECT_EQ(b.ColorTable().size(), 256u);
  b.SetPixelFormat(pf24bit);
  EXPECT_TRUE(b.ColorTable().empty());
  EXPECT_THROW(b.SetColorTable({TRGBQuad{}}), EInvalidGraphicOperation);
  b.SetPixelFormat(pf1bit);
  EXPECT_THROW(b.SetColorTable(std::vector<TRGBQuad>(3)), EInvalidGraphicOperation);
  EXPECT_THROW(b.SetColorTable({}), EInvalidGraphicOperation);
  b.SetSize(2, 1);
  b.SetColorTable({TRGBQuad{0, 0, 255, 9}, TRGBQuad{255, 0, 0, 9}});
  EXPECT_EQ(b.ColorTable()[0].rgbReserved, 0);  // the reserved byte is kept zero
  EXPECT_EQ(b.PixelColor(0, 0), clRed);
  Row(b, 0)[0] = 0x40;  // second pixel: index 1
  EXPECT_EQ(b.PixelColor(1, 0), clBlue);
}

TEST(BitmapFormats, ConversionKeepsWhatTheTargetCanHold) {
  TBitmap b;
  b.SetPixelFormat(pf32bit);
  b.SetSize(3, 2);
  auto* top = static_cast<TRGBQuad*>(b.ScanLine(0));
  top[0] = {0, 0, 255, 10};     // red
  top[1] = {255, 102, 51, 20};  // a cube colour
  top[2] = {200, 200, 200, 30};
  TBitmap copy;
  copy.Assign(b);

  // pf32bit and pfDevice share the layout: the alpha survives.
  b.SetPixelFormat(pfDevice);
  EXPECT_EQ(static_cast<const TRGBQuad*>(b.ScanLine(0))[2], (TRGBQuad{200, 200, 200, 30}));
  b.SetPixelFormat(pf24bit);
  EXPECT_EQ(b.PixelColor(1, 0), RGBColor(51, 102, 255));
  b.SetPixelFormat(pf32bit);
  EXPECT_EQ(static_cast<const TRGBQuad*>(b.ScanLine(0))[0], (TRGBQuad{0, 0, 255, 255}));  // new alpha is 255

  b.SetPixelFormat(pf8bit);
  EXPECT_EQ(b.PixelColor(0, 0), clRed);
  EXPECT_EQ(b.PixelColor(1, 0), RGBColor(51, 102, 255));
  b.SetPixelFormat(pf1bit);
  EXPECT_EQ(b.PixelColor(0, 0), clBlack);  // red is nearer black than white
  EXPECT_EQ(b.PixelColor(2, 0), clWhite);
  EXPECT_EQ(b.Width(), 3);
  EXPECT_EQ(b.Height(), 2);

  copy.SetPixelFormat(pf16bit);
  EXPECT_EQ(copy.PixelColor(0, 0), clRed);
  copy.SetPixelFormat(pf4bit);
  EXPECT_EQ(copy.PixelColor(0, 0), clRed);
  EXPECT_EQ(copy.PixelColor(2, 0), clSilver);
}

TEST(BitmapFormats, AssignCopiesDeeply) {
  TBitmap a;
  a.SetPixelFormat(pf8bit);
  a.SetSize(4, 3);
  FillPattern(a, 7);
  a.SetAlphaFormat(afPremultiplied);
  a.SetTransparent(true);
  a.SetTransparentColor(clFuchsia);
  TBitmap b;
  b.Assign(a);
  EXPECT_EQ(b.PixelFormat(), pf8bit);
  EXPECT_EQ(b.ColorTable(), a.ColorTable());
  EXPECT_EQ(Pixels(b), Pixels(a));
  EXPECT_EQ(b.AlphaFormat(), afPremultiplied);
  EXPECT_TRUE(b.Transparent());
  EXPECT_EQ(b.TransparentColor(), clFuchsia);
  EXPECT_NE(a.ScanLine(0), b.ScanLine(0));
  Row(a, 0)[0] ^= 0xFF;
  EXPECT_NE(Pixels(b), Pixels(a));
  b.Assign(b);
  EXPECT_EQ(b.Width(), 4);
  TBitmap empty;
  b.Assign(empty);
  EXPECT_TRUE(b.Empty());
  EXPECT_EQ(b.PixelFormat(), pfDevice);
}

TEST(BitmapFormats, HugeSizesAreRefused) {
  TBitmap b;
  b.SetPixelFormat(pf32bit);
  EXPECT_THROW(b.SetSize(100000, 100000), EOutOfResources);
  EXPECT_TRUE(b.Empty());
}

// Straight alpha made premultiplied, rounded to the nearest; into a pf32bit
// copy of a pfDevice picture (which keeps its pixels) and in place alike.
TEST(BitmapFormats, PremultiplyAlphaRoundsEachColour) {
  const struct {
    TRGBQuad In, Out;
  } kCases[] = {
      {{200, 100, 50, 255}, {200, 100, 50, 255}},
      {{255, 255, 255, 0}, {0, 0, 0, 0}},
      {{255, 128, 1, 128}, {128, 64, 1, 128}},
      {{255, 127, 128, 1}, {1, 0, 1, 1}},
  };
  TBitmap picture;
  picture.SetSize(static_cast<int>(std::size(kCases)), 1);
  auto* in = static_cast<TRGBQuad*>(picture.ScanLine(0));
  for (size_t i = 0; i < std::size(kCases); ++i) in[i] = kCases[i].In;
  const std::string before = Pixels(picture);
  TBitmap copy;
  PremultiplyAlpha(picture, copy);
  EXPECT_EQ(Pixels(picture), before);
  EXPECT_EQ(copy.PixelFormat(), pf32bit);
  EXPECT_EQ(copy.AlphaFormat(), afPremultiplied);
  PremultiplyAlpha(picture, picture);
  for (const TBitmap* result : {&copy, &picture}) {
    const auto* out = static_cast<const TRGBQuad*>(result->ScanLine(0));
    for (size_t i = 0; i < std::size(kCases); ++i) EXPECT_EQ(out[i], kCases[i].Out) << i;
  }
}

// ---- BMP files -------------------------------------------------------------

TEST(BmpFiles, EveryFormatRoundTrips) {
  for (TPixelFormat format : kAllFormats) {
    for (TAlphaFormat alpha : {afIgnored, afDefined}) {
      if (alpha != afIgnored && BitsPerPixel(format) != 32) continue;
      SCOPED_TRACE(testing::Message() << "format " << format << " alpha " << alpha);
      TBitmap a;
      a.SetPixelFormat(format);
      a.SetSize(37, 5);  // odd widths leave padding in every format
      a.SetAlphaFormat(alpha);
      if (format == pf8bit) {
        std::vector<TRGBQuad> table(7);
        for (std::size_t i = 0; i < table.size(); ++i) table[i] = {static_cast<std::uint8_t>(i * 30), 1, 2, 0};
        a.SetColorTable(table);
      }
      FillPattern(a, static_cast<unsigned>(format));
      std::string file = Save(a);
      TBitmap b;
      Load(b, file);
      EXPECT_EQ(b.Width(), 37);
      EXPECT_EQ(b.Height(), 5);
      // A device bitmap is written with its 32 bits.
      EXPECT_EQ(b.PixelFormat(), format == pfDevice ? pf32bit : format);
      EXPECT_EQ(b.AlphaFormat(), alpha);
      EXPECT_EQ(b.ColorTable(), a.ColorTable());
      EXPECT_EQ(Pixels(b), Pixels(a));
      EXPECT_EQ(Save(b), file);
    }
  }
}

TEST(BmpFiles, WrittenHeaderFields) {
  TBitmap b;
  b.SetPixelFormat(pf24bit);
  b.SetSize(3, 2);
  b.SetPixelColor(0, 0, RGBColor(1, 2, 3));  // top left: last row of the file
  std::string f = Save(b);
  ASSERT_EQ(f.size(), 54u + 12 * 2);
  auto u32 = [&](std::size_t at) {
    std::uint32_t v;
    std::memcpy(&v, f.data() + at, 4);
    return v;
  };
  EXPECT_EQ(f.substr(0, 2), "BM");
  EXPECT_EQ(u32(2), f.size());
  EXPECT_EQ(u32(10), 54u);
  EXPECT_EQ(u32(14), 40u);
  EXPECT_EQ(u32(18), 3u);
  EXPECT_EQ(u32(22), 2u);  // positive height: bottom-up
  EXPECT_EQ(u32(30), 0u);  // BI_RGB
  EXPECT_EQ(f.substr(54 + 12, 3), std::string("\3\2\1", 3));

  TBitmap empty;
  EXPECT_EQ(Save(empty), "");
  Load(b, "");
  EXPECT_TRUE(b.Empty());
}

TEST(BmpFiles, FilesOnDisk) {
  TempDir dir;
  TBitmap a;
  a.SetPixelFormat(pf4bit);
  a.SetSize(5, 5);
  FillPattern(a, 3);
  a.SaveToFile(dir.file("pictures ü.bmp"));
  TBitmap b;
  b.LoadFromFile(dir.file("pictures ü.bmp"));
  EXPECT_EQ(Pixels(b), Pixels(a));
  EXPECT_THROW(b.LoadFromFile(dir.file("missing.bmp")), EFOpenError);
}

TEST(BmpFiles, TopDownRowsAreTurned) {
  TBmpFile f;
  f.width = 1;
  f.height = -3;
  f.pixels = std::string("\xFF\0\0\0", 4) + std::string("\0\xFF\0\0", 4) + std::string("\0\0\xFF\0", 4);
  TBitmap b;
  Load(b, f.Build());
  ASSERT_EQ(b.Height(), 3);
  EXPECT_EQ(b.PixelColor(0, 0), clBlue);  // the first row of a top-down file is the top
  EXPECT_EQ(b.PixelColor(0, 1), clLime);
  EXPECT_EQ(b.PixelColor(0, 2), clRed);
  f.height = 3;
  Load(b, f.Build());
  EXPECT_EQ(b.PixelColor(0, 0), clRed);
  EXPECT_EQ(b.PixelColor(0, 2), clBlue);
}

TEST(BmpFiles, CoreHeaderWithThreeByteColours) {
  TBmpFile f;
  f.headerSize = 12;
  f.bits = 1;
  f.width = 3;
  f.height = 1;
  f.table = std::string("\0\0\xFF", 3) + std::string("\xFF\0\0", 3);
  f.pixels = std::string("\xA0\0\0\0", 4);  // 1 0 1
  TBitmap b;
  Load(b, f.Build());
  EXPECT_EQ(b.PixelFormat(), pf1bit);
  EXPECT_EQ(b.PixelColor(0, 0), clBlue);
  EXPECT_EQ(b.PixelColor(1, 0), clRed);
  EXPECT_EQ(b.PixelColor(2, 0), clBlue);
}

TEST(BmpFiles, ShortColourTablesAndIndexesBeyondThem) {
  TBmpFile f;
  f.bits = 4;
  f.width = 3;
  f.height = 1;
  f.colorsUsed = 2;
  f.table = Quad(0, 0, 255) + Quad(0, 255, 0);
  f.pixels = std::string("\x01\x50\0\0", 4);  // indexes 0, 1, 5
  TBitmap b;
  Load(b, f.Build());
  EXPECT_EQ(b.PixelFormat(), pf4bit);
  EXPECT_EQ(b.ColorTable().size(), 2u);
  EXPECT_EQ(b.PixelColor(0, 0), clRed);
  EXPECT_EQ(b.PixelColor(1, 0), clLime);
  EXPECT_EQ(b.PixelColor(2, 0), clBlack);
}

TEST(BmpFiles, BitFieldsOfSixteenBits) {
  TBmpFile f;
  f.bits = 16;
  f.width = 2;
  f.height = 1;
  f.compression = 3;
  f.masks = {0xF800, 0x07E0, 0x001F};
  f.pixels = std::string("\x00\xF8\xE0\x07", 4);  // red, green
  TBitmap b;
  Load(b, f.Build());
  EXPECT_EQ(b.PixelFormat(), pf16bit);
  EXPECT_EQ(b.PixelColor(0, 0), clRed);
  EXPECT_EQ(b.PixelColor(1, 0), clLime);

  f.masks = {0x7C00, 0x03E0, 0x001F};
  f.pixels = std::string("\x00\x7C\xE0\x03", 4);
  Load(b, f.Build());
  EXPECT_EQ(b.PixelFormat(), pf15bit);
  EXPECT_EQ(b.PixelColor(0, 0), clRed);
  EXPECT_EQ(b.PixelColor(1, 0), clLime);

  // Four bits a channel with alpha: decoded into 32 bits with straight alpha.
  f.compression = 6;  // BI_ALPHABITFIELDS
  f.masks = {0x0F00, 0x00F0, 0x000F, 0xF000};
  f.pixels = std::string("\x0F\x80\xF0\xF0", 4);  // blue at alpha 8/15, opaque green
  Load(b, f.Build());
  EXPECT_EQ(b.PixelFormat(), pf32bit);
  EXPECT_EQ(b.AlphaFormat(), afDefined);
  auto* p = static_cast<const TRGBQuad*>(b.ScanLine(0));
  EXPECT_EQ(p[0], (TRGBQuad{255, 0, 0, 136}));
  EXPECT_EQ(p[1], (TRGBQuad{0, 255, 0, 255}));
}

TEST(BmpFiles, BitFieldsOfThirtyTwoBits) {
  // Red in the lowest byte: decoded.
  TBmpFile f;
  f.bits = 32;
  f.width = 1;
  f.height = 1;
  f.compression = 3;
  f.masks = {0x000000FF, 0x0000FF00, 0x00FF0000};
  f.pixels = std::string("\x10\x20\x30\x40", 4);
  TBitmap b;
  Load(b, f.Build());
  EXPECT_EQ(b.PixelFormat(), pf32bit);
  EXPECT_EQ(b.AlphaFormat(), afIgnored);
  EXPECT_EQ(static_cast<const TRGBQuad*>(b.ScanLine(0))[0], (TRGBQuad{0x30, 0x20, 0x10, 0xFF}));

  // A V4 header with the usual masks and an alpha mask: taken as it is.
  f.headerSize = 108;
  f.masks = {0x00FF0000, 0x0000FF00, 0x000000FF, 0xFF000000};
  Load(b, f.Build());
  EXPECT_EQ(b.AlphaFormat(), afDefined);
  EXPECT_EQ(static_cast<const TRGBQuad*>(b.ScanLine(0))[0], (TRGBQuad{0x10, 0x20, 0x30, 0x40}));

  // Plain 32 bits keep the fourth byte but do not call it alpha.
  f.compression = 0;
  Load(b, f.Build());
  EXPECT_EQ(b.AlphaFormat(), afIgnored);
  EXPECT_EQ(static_cast<const TRGBQuad*>(b.ScanLine(0))[0].rgbReserved, 0x40);
}

TEST(BmpFiles, PixelOffsetsAndPositions) {
  TBmpFile f;
  f.width = 1;
  f.height = 1;
  f.gap = "gap!";
  f.pixels = std::string("\x01\x02\x03\0", 4);
  TBitmap b;
  Load(b, f.Build());
  EXPECT_EQ(b.PixelColor(0, 0), RGBColor(3, 2, 1));

  // Offset 0: the pixels follow the (unused) colour table of a true-colour file.
  f.gap.clear();
  f.colorsUsed = 2;
  f.table = Quad(9, 9, 9) + Quad(8, 8, 8);
  f.pixelOffset = 0;
  Load(b, f.Build());
  EXPECT_EQ(b.PixelColor(0, 0), RGBColor(3, 2, 1));

  // A bitmap inside a longer stream: read from the position, left after its pixels.
  f = TBmpFile{};
  f.width = 1;
  f.height = 1;
  f.pixels = std::string("\x05\x06\x07\0", 4);
  std::string file = f.Build();
  TStringStream s("prefix" + file + "tail");
  s.SetPosition(6);
  b.LoadFromStream(s);
  EXPECT_EQ(b.PixelColor(0, 0), RGBColor(7, 6, 5));
  EXPECT_EQ(s.Position(), static_cast<std::int64_t>(6 + file.size()));
}

// ---- Hostile files ---------------------------------------------------------

namespace {

// The bitmap a failed load must leave untouched.
void ExpectRejected(const std::string& bytes, const char* what) {
  SCOPED_TRACE(what);
  TBitmap b;
  b.SetPixelFormat(pf24bit);
  b.SetSize(2, 2);
  b.SetPixelColor(1, 1, clRed);
  EXPECT_THROW(Load(b, bytes), EInvalidGraphic);
  EXPECT_EQ(b.Width(), 2);
  EXPECT_EQ(b.PixelFormat(), pf24bit);
  EXPECT_EQ(b.PixelColor(1, 1), clRed);
}

TBmpFile Valid8Bit() {
  TBmpFile f;
  f.bits = 8;
  f.width = 3;
  f.height = 2;
  f.colorsUsed = 3;
  f.table = Quad(0, 0, 0) + Quad(255, 255, 255) + Quad(0, 0, 255);
  f.pixels = std::string("\0\1\2\0\2\1\0\0", 8);
  return f;
}

}  // namespace

TEST(BmpHostile, EveryTruncationIsRejected) {
  for (const TBmpFile& f : {Valid8Bit(), TBmpFile{}}) {
    std::string file = f.Build();
    TBitmap ok;
    Load(ok, file);
    for (std::size_t n = 1; n < file.size(); ++n) ExpectRejected(file.substr(0, n), "truncated");
  }
}

TEST(BmpHostile, BadHeaders) {
  std::string good = Valid8Bit().Build();
  std::string bad = good;
  bad[1] = 'X';
  ExpectRejected(bad, "magic");
  for (std::uint32_t size : {0u, 16u, 41u, 0xFFFFFFFFu}) {
    TBmpFile f = Valid8Bit();
    f.headerSize = size;
    ExpectRejected(f.Build(), "header size");
  }
  for (std::uint16_t bits : {0, 2, 7, 64}) {
    TBmpFile f = Valid8Bit();
    f.bits = bits;
    ExpectRejected(f.Build(), "bit count");
  }
  for (std::uint32_t compression : {1u, 2u, 4u, 5u, 99u}) {
    TBmpFile f = Valid8Bit();
    f.compression = compression;
    ExpectRejected(f.Build(), "compression");
  }
  TBmpFile f;
  f.compression = 3;  // bit fields with 24 bits
  f.masks = {0xFF0000, 0xFF00, 0xFF};
  ExpectRejected(f.Build(), "24-bit bit fields");
  f = TBmpFile{};
  f.headerSize = 12;
  f.bits = 32;
  ExpectRejected(f.Build(), "core header with 32 bits");
}

TEST(BmpHostile, BadSizes) {
  struct Case {
    std::int64_t width, height;
    std::uint16_t bits;
  } cases[] = {{0, 2, 24},           {-3, 2, 24},       {3, 0, 24},      {3, INT_MIN, 24}, {INT_MAX, INT_MAX, 32},
               {100000, 100000, 24}, {60000, 60000, 1}, {INT_MAX, 1, 1}, {1, INT_MAX, 8},  {1, -INT_MAX, 8}};
  for (const Case& c : cases) {
    TBmpFile f = Valid8Bit();
    f.width = c.width;
    f.height = c.height;
    f.bits = c.bits;
    f.colorsUsed = 0;
    f.table = std::string(c.bits == 1 ? 8 : c.bits == 8 ? 1024 : 0, '\0');
    ExpectRejected(f.Build(), "size");
  }
}

TEST(BmpHostile, BadOffsetsAndCounts) {
  TBmpFile f = Valid8Bit();
  f.pixelOffset = 20;  // inside the header
  ExpectRejected(f.Build(), "offset inside the header");
  f.pixelOffset = 14 + 40 + 8;  // inside the colour table
  ExpectRejected(f.Build(), "offset inside the table");
  f.pixelOffset = 100000;
  ExpectRejected(f.Build(), "offset beyond the end");
  f.pixelOffset = 0xFFFFFFFF;
  ExpectRejected(f.Build(), "offset far beyond the end");

  f = Valid8Bit();
  f.colorsUsed = 257;
  ExpectRejected(f.Build(), "too many colours");
  f.colorsUsed = 0xFFFFFFFF;
  ExpectRejected(f.Build(), "absurd colour count");
  f.colorsUsed = 200;  // allowed, but not in the file
  ExpectRejected(f.Build(), "colour table beyond the end");
  f = Valid8Bit();
  f.bits = 4;
  f.colorsUsed = 17;
  ExpectRejected(f.Build(), "more colours than 4 bits hold");

  // A core header's table is as long as the pixel offset leaves room for: none at all is no picture.
  TBmpFile core;
  core.headerSize = 12;
  core.bits = 1;
  core.pixelOffset = 14 + 12 + 2;
  core.gap = "xx";
  core.pixels = std::string(8, '\0');
  ExpectRejected(core.Build(), "core header without colours");

  TBmpFile t;
  t.colorsUsed = 0x40000000;  // the hint table of a true-colour file, far beyond the end
  t.pixelOffset = 0;
  ExpectRejected(t.Build(), "hint table");
}

TEST(BmpHostile, RandomDamageNeverEscapesAsAnythingElse) {
  std::vector<std::string> seeds = {Valid8Bit().Build(), TBmpFile{}.Build()};
  TBitmap a;
  a.SetPixelFormat(pf32bit);
  a.SetAlphaFormat(afDefined);
  a.SetSize(3, 3);
  FillPattern(a, 1);
  seeds.push_back(Save(a));
  a.SetPixelFormat(pf16bit);
  seeds.push_back(Save(a));
  std::mt19937 random(12345);
  int loaded = 0;
  for (int round = 0; round < 3000; ++round) {
    std::string bytes = seeds[static_cast<std::size_t>(round) % seeds.size()];
    int flips = 1 + static_cast<int>(random() % 4);
    for (int i = 0; i < flips; ++i) {
      std::size_t at = random() % bytes.size();
      bytes[at] = static_cast<char>(random() % 3 == 0 ? 0xFF : random());
    }
    if (random() % 5 == 0) bytes.resize(random() % bytes.size());
    TBitmap b;
    try {
      Load(b, bytes);
      ++loaded;
      if (!b.Empty()) (void)Pixels(b);
    } catch (const EInvalidGraphic&) {
    }
  }
  EXPECT_GT(loaded, 0);
}
