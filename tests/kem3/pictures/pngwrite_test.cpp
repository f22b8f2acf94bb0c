// Writing PNG files: round trips of every pixel format, the chunk list as it is
// written, transparency, gamma and the row filters.
#include <gtest/gtest.h>

#include "kem3/pictures/png_test_support.h"
#include "kem3/pictures/pngimage.h"
#include "support/temp_dir.h"

using namespace pngtest;

namespace {

// A picture with every kind of pixel the format can hold.
void Paint(TBitmap& b, TPixelFormat format, int width, int height, unsigned seed) {
  b.SetPixelFormat(format);
  b.SetSize(width, height);
  if (IsPaletteFormat(format)) {
    std::vector<TRGBQuad> table;
    for (int i = 0; i < (1 << BitsPerPixel(format)); ++i)
      table.push_back(TRGBQuad{static_cast<std::uint8_t>(i * 37), static_cast<std::uint8_t>(255 - i),
                               static_cast<std::uint8_t>(i * 5 + 1), 0});
    b.SetColorTable(table);
  }
  std::uint32_t state = seed;
  std::int64_t used = (std::int64_t{width} * BitsPerPixel(format) + 7) / 8;
  for (int y = 0; y < height; ++y) {
    auto* row = static_cast<std::uint8_t*>(b.ScanLine(y));
    for (std::int64_t i = 0; i < used; ++i) {
      state = state * 1664525u + 1013904223u;
      row[i] = (i / 6 + y) % 4 == 0 ? static_cast<std::uint8_t>(state >> 24) : static_cast<std::uint8_t>(i + y);
    }
  }
}

// One row of grey 0 (any depth up to 8), filter byte first.
std::string Grey(int width) { return std::string(static_cast<std::size_t>(width) + 1, '\0'); }

void ExpectSamePixels(const TBitmap& a, const TBitmap& b, bool alpha) {
  ASSERT_EQ(a.Width(), b.Width());
  ASSERT_EQ(a.Height(), b.Height());
  for (int y = 0; y < a.Height(); ++y)
    for (int x = 0; x < a.Width(); ++x) {
      TRGBQuad p = Pixel(a, x, y), q = Pixel(b, x, y);
      if (!alpha) p.rgbReserved = q.rgbReserved = 0;
      ASSERT_EQ(p, q) << x << "," << y;
    }
}

TEST(PngWrite, EveryPixelFormatRoundTrips) {
  struct Case {
    TPixelFormat Format;
    int ColorType, Depth;
    TPixelFormat ReadAs;
  };
  const Case cases[] = {
      {pf1bit, 3, 1, pf1bit},   {pf4bit, 3, 4, pf4bit},   {pf8bit, 3, 8, pf8bit},    {pf15bit, 2, 8, pf24bit},
      {pf16bit, 2, 8, pf24bit}, {pf24bit, 2, 8, pf24bit}, {pfDevice, 2, 8, pf24bit}, {pf32bit, 6, 8, pf32bit},
  };
  for (const Case& c : cases)
    for (int size : {1, 3, 17}) {
      TPNGImage image;
      Paint(image, c.Format, size, size + 2, static_cast<unsigned>(size));
      std::string file = Save(image);
      std::string header = ChunkData(file, "IHDR");
      ASSERT_EQ(header.size(), 13u);
      EXPECT_EQ(header[8], c.Depth);
      EXPECT_EQ(header[9], c.ColorType);
      EXPECT_EQ(header[12], 0);
      // Formats the file cannot hold are turned into truecolour in the bitmap too.
      EXPECT_EQ(image.PixelFormat(), c.ReadAs) << c.Format;
      TPNGImage back;
      Load(back, file);
      EXPECT_EQ(back.PixelFormat(), c.ReadAs) << c.Format;
      ExpectSamePixels(image, back, c.Format == pf32bit);
      if (IsPaletteFormat(c.Format)) {
        EXPECT_EQ(back.ColorTable(), image.ColorTable());
      }
      EXPECT_EQ(back.AlphaFormat(), c.Format == pf32bit ? afDefined : afIgnored);
    }
}

TEST(PngWrite, ChunksAreOrderedAsTheStandardAsks) {
  // A truecolour file with a suggested palette: the palette is not written back.
  std::string rgb = std::string("\0\1\2\3", 4);
  TPNGImage image;
  Load(image, File(Header(1, 1, 8, 2), Chunk("PLTE", "\1\2\3"), rgb));
  EXPECT_EQ(ChunkTypes(Save(image)), (std::vector<std::string>{"IHDR", "IDAT", "IEND"}));

  // Chunks added after IEND and a palette after the data end up in their places.
  TPNGImage paletted;
  Paint(paletted, pf8bit, 4, 4, 1);
  paletted.Chunks().Add<TChunkTEXT>();
  paletted.Chunks().Insert(0, std::make_unique<TChunkIEND>(&paletted.Chunks()));
  paletted.Chunks().Add<TChunkIDAT>();
  paletted.Chunks().Add<TChunkPLTE>();
  std::string file = Save(paletted);
  EXPECT_EQ(ChunkTypes(file), (std::vector<std::string>{"IHDR", "PLTE", "IDAT", "tEXt", "IEND"}));
  TPNGImage back;
  Load(back, file);
  ExpectSamePixels(paletted, back, false);

  // No header at all: one is put first.
  TPNGImage bare;
  Paint(bare, pf24bit, 2, 2, 1);
  bare.Chunks().Clear();
  EXPECT_EQ(ChunkTypes(Save(bare)), (std::vector<std::string>{"IHDR", "IDAT", "IEND"}));
}

TEST(PngWrite, AnInterlacedFileIsWrittenPlain) {
  TSamplePicture p = MakeSamples(9, 7, 8, 6, 2);
  TPNGImage image;
  Load(image, File(Header(9, 7, 8, 6, 1), "", RawData(p, true)));
  EXPECT_TRUE(image.Interlaced());
  std::string file = Save(image);
  EXPECT_FALSE(image.Interlaced());
  EXPECT_EQ(ChunkData(file, "IHDR")[12], 0);
  TPNGImage back;
  Load(back, file);
  ExpectSamePixels(image, back, true);
}

TEST(PngWrite, TransparentColourIsWrittenAsSixBytesForTruecolourOnly) {
  TPNGImage image;
  Paint(image, pf24bit, 3, 3, 4);
  image.SetTransparent(true);
  image.SetTransparentColor(RGBColor(0x12, 0x34, 0x56));
  std::string file = Save(image);
  EXPECT_EQ(ChunkData(file, "tRNS"), std::string("\0\x12\0\x34\0\x56", 6));
  EXPECT_EQ(ChunkTypes(file), (std::vector<std::string>{"IHDR", "tRNS", "IDAT", "IEND"}));
  TPNGImage back;
  Load(back, file);
  EXPECT_TRUE(back.Transparent());
  EXPECT_EQ(back.TransparentColor(), RGBColor(0x12, 0x34, 0x56));

  // A file's transparent colour is read as alpha, and written as that alpha.
  TPNGImage keyed;
  Load(keyed, File(Header(2, 1, 8, 2), Chunk("tRNS", "\x44\x55\x66"), std::string("\0\x44\x55\x66\1\2\3", 7)));
  std::string saved = Save(keyed);
  EXPECT_EQ(ChunkData(saved, "IHDR")[9], 6);
  TPNGImage reread;
  Load(reread, saved);
  EXPECT_EQ(Pixel(reread, 0, 0), (TRGBQuad{0x66, 0x55, 0x44, 0}));
  EXPECT_EQ(Pixel(reread, 1, 0), (TRGBQuad{3, 2, 1, 255}));

  // Not transparent, or not truecolour: no tRNS.
  back.SetTransparent(false);
  EXPECT_EQ(ChunkData(Save(back), "tRNS"), "");
  TPNGImage alpha;
  Paint(alpha, pf32bit, 2, 2, 1);
  alpha.SetTransparent(true);
  EXPECT_EQ(ChunkTypes(Save(alpha)), (std::vector<std::string>{"IHDR", "IDAT", "IEND"}));
}

TEST(PngWrite, GammaIsUndoneWhenSaving) {
  TSamplePicture p = MakeSamples(6, 4, 8, 6, 9);
  TPNGImage image;
  Load(image, File(Header(6, 4, 8, 6), Chunk("gAMA", BE32(100000)), RawData(p, false)));
  std::string file = Save(image);
  EXPECT_EQ(ChunkData(file, "gAMA"), BE32(100000));
  TPNGImage back;
  Load(back, file);
  ExpectSamePixels(image, back, true);

  TPNGImage paletted;
  Load(paletted, File(Header(2, 1, 8, 3), Chunk("gAMA", BE32(100000)) + Chunk("PLTE", "\x10\x20\x30\x08\x18\x28"),
                      std::string("\0\0\1", 3)));
  EXPECT_EQ(ChunkData(Save(paletted), "PLTE"), "\x10\x20\x30\x08\x18\x28");
}

// Each row takes the allowed filter whose output repeats the byte four back
// most often; None first, the earliest wins a tie.
TEST(PngWrite, EachRowTakesTheFilterWithTheMostRepeats) {
  enum TKind { kRamp, kSameRows };
  struct Case {
    const char* What;
    TKind Kind;
    TPixelFormat Format;
    int Width;
    std::uint8_t Filters;
    std::string Expected;  // filter byte of each row
  };
  const Case cases[] = {
      // A ramp along each row, steeper in each: Sub leaves one value repeated, Up does not.
      {"ramp, default filters", kRamp, pf24bit, 20, 27, std::string(5, '\1')},
      {"ramp, Up allowed first", kRamp, pf24bit, 20, pfUp | pfSub, std::string(5, '\1')},
      {"ramp, only None", kRamp, pf24bit, 20, 0, std::string(5, '\0')},
      // Rows repeating the one above: Up gives zeros after the first row, which ties with None.
      {"same rows, Up allowed", kSameRows, pf32bit, 9, pfUp, std::string("\0\2\2\2\2", 5)},
      // Palette indices are filtered as any samples are.
      {"palette", kRamp, pf8bit, 20, 31, std::string(5, '\1')},
      // Rows of four bytes or fewer take None.
      {"narrow", kRamp, pf32bit, 1, 31, std::string(5, '\0')},
  };
  for (const Case& c : cases) {
    TPNGImage image;
    Paint(image, c.Format, c.Width, 5, 7);
    int bytes = c.Width * BitsPerPixel(c.Format) / 8;
    for (int y = 0; y < 5; ++y) {
      auto* row = static_cast<std::uint8_t*>(image.ScanLine(y));
      for (int i = 0; i < bytes; ++i)
        if (c.Kind == kRamp)
          row[i] = static_cast<std::uint8_t>(i * (y + 3) * 7);
        else if (c.Kind == kSameRows)
          row[i] = static_cast<std::uint8_t>(i * i * 31 + i / 3);
    }
    image.SetFilters(c.Filters);
    std::string file = Save(image);
    std::string raw = Inflate(file);
    ASSERT_EQ(raw.size(), 5u * (static_cast<std::size_t>(bytes) + 1)) << c.What;
    std::string chosen;
    for (int y = 0; y < 5; ++y) chosen += raw[static_cast<std::size_t>(y) * (static_cast<std::size_t>(bytes) + 1)];
    EXPECT_EQ(chosen, c.Expected) << c.What;
    TPNGImage back;
    Load(back, file);
    ExpectSamePixels(image, back, true);
  }
}

TEST(PngWrite, ImageDataIsDeflatedAtZlibsDefaultLevel) {
  TPNGImage image;
  Paint(image, pf32bit, 64, 64, 2);
  for (int y = 0; y < 64; ++y)
    for (int i = 0; i < 256; ++i)
      static_cast<std::uint8_t*>(image.ScanLine(y))[i] = static_cast<std::uint8_t>(i / 4 + y);
  std::string data = ChunkData(Save(image), "IDAT");
  // The level sits in the top two bits of zlib's second header byte: 2 for the default.
  ASSERT_GE(data.size(), 2u);
  EXPECT_EQ(static_cast<std::uint8_t>(data[1]) >> 6, 2);
  // A smooth picture shrinks to a small fraction of its 16 KB.
  EXPECT_LT(data.size(), 64u * 64u * 4u / 16u);
}

// Background colour, significant bits and histogram follow a change of the
// colour type or depth the picture is saved in: converted, or left out.
TEST(PngWrite, ChunksDescribingSamplesFollowTheSavedLayout) {
  const std::string palette = Chunk("PLTE", std::string("\x10\x20\x30\x40\x50\x60\x70\x80\x90", 9));
  const std::string hist = Chunk("hIST", BE16(1) + BE16(1) + BE16(0));
  const std::string indices = std::string("\0", 1) + Pack({0, 1}, 8);
  struct Case {
    const char* What;
    std::string File;
    std::string Background, Bits;  // as saved, "" for none
    bool Histogram;
    std::vector<std::string> Types;
  };
  const Case cases[] = {
      {"palette kept",
       File(Header(2, 1, 8, 3), Chunk("sBIT", "\5\6\7") + palette + Chunk("bKGD", "\1") + hist, indices),
       "\1",
       "\5\6\7",
       true,
       {"IHDR", "sBIT", "PLTE", "bKGD", "hIST", "IDAT", "IEND"}},
      {"palette with alpha saved as RGBA",
       File(Header(2, 1, 8, 3),
            Chunk("sBIT", "\5\6\7") + palette + Chunk("bKGD", "\1") + hist + Chunk("tRNS", std::string(1, '\0')),
            indices),
       std::string("\0\x40\0\x50\0\x60", 6),
       "\5\6\7\x08",
       false,
       {"IHDR", "sBIT", "bKGD", "IDAT", "IEND"}},
      {"background beyond the palette",
       File(Header(2, 1, 8, 3), palette + Chunk("bKGD", "\7"), indices),
       "",
       "",
       false,
       {"IHDR", "PLTE", "IDAT", "IEND"}},
      {"16-bit truecolour saved with 8 bits",
       File(Header(1, 1, 16, 2),
            Chunk("sBIT", "\x0c\x0c\x0b") + Chunk("bKGD", BE16(0x1234) + BE16(0x5678) + BE16(0x9abc)),
            std::string(7, '\0')),
       std::string("\0\x12\0\x56\0\x9a", 6),
       "\x08\x08\x08",
       false,
       {"IHDR", "sBIT", "bKGD", "IDAT", "IEND"}},
      // Grey levels become a palette: the background is the entry of its level.
      {"grey saved as palette",
       File(Header(1, 1, 8, 0), Chunk("sBIT", "\5") + Chunk("bKGD", BE16(0x40)), Grey(1)),
       "\x40",
       "\5\5\5",
       false,
       {"IHDR", "sBIT", "PLTE", "bKGD", "IDAT", "IEND"}},
      {"grey with alpha saved as RGBA",
       File(Header(1, 1, 4, 0), Chunk("sBIT", "\3") + Chunk("tRNS", BE16(2)) + Chunk("bKGD", BE16(5)), Grey(1)),
       std::string("\0\x55\0\x55\0\x55", 6),
       "\3\3\3\x08",
       false,
       {"IHDR", "sBIT", "bKGD", "IDAT", "IEND"}},
  };
  for (const Case& c : cases) {
    TPNGImage image;
    Load(image, c.File);
    std::string file = Save(image);
    EXPECT_EQ(ChunkTypes(file), c.Types) << c.What;
    EXPECT_EQ(ChunkData(file, "bKGD"), c.Background) << c.What;
    EXPECT_EQ(ChunkData(file, "sBIT"), c.Bits) << c.What;
    EXPECT_EQ(ChunkData(file, "hIST") != "", c.Histogram) << c.What;
  }
}

TEST(PngWrite, AssignCopiesChunksFiltersAndPicture) {
  TPNGImage source;
  Load(source, File(Header(3, 2, 8, 2), Chunk("tEXt", std::string("Title\0Orvanel", 13)) + Chunk("gAMA", BE32(45455)),
                    std::string("\0\1\2\3\4\5\6\7\x08\x09\0\1\2\3\4\5\6\7\x08\x09", 20)));
  source.SetFilters(pfPaeth);
  TPNGImage copy;
  copy.Assign(source);
  ASSERT_EQ(copy.Chunks().Count(), source.Chunks().Count());
  for (int i = 0; i < copy.Chunks().Count(); ++i) {
    EXPECT_EQ(typeid(*copy.Chunks().Item(i)), typeid(*source.Chunks().Item(i)));
    EXPECT_EQ(copy.Chunks().Item(i)->Owner(), &copy.Chunks());
  }
  EXPECT_EQ(copy.Chunks().Find<TChunkGAMA>()->Gamma(), 45455u);
  EXPECT_EQ(copy.Filters(), pfPaeth | pfNone);
  ExpectSamePixels(copy, source, true);
  EXPECT_EQ(Save(copy), Save(source));

  // From a plain bitmap: only the picture.
  TBitmap plain;
  Paint(plain, pf32bit, 2, 2, 5);
  copy.Assign(plain);
  EXPECT_EQ(copy.PixelFormat(), pf32bit);
  ExpectSamePixels(copy, plain, true);
}

TEST(PngWrite, EmptyImageWritesNothingAndFilesWork) {
  TPNGImage empty;
  EXPECT_EQ(Save(empty), "");

  TempDir dir;
  TPNGImage image;
  Paint(image, pf32bit, 5, 4, 8);
  image.SaveToFile(dir.file("pic ü.png"));
  TPNGImage back;
  back.LoadFromFile(dir.file("pic ü.png"));
  ExpectSamePixels(image, back, true);
}

}  // namespace
