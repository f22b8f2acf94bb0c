// Reading PNG files: the chunk list, every reading rule and its errors.
#include "kem3/pictures/pngimage.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "kem3/pictures/png_test_support.h"
#include "kem3/pictures/pngrows.h"

using namespace pngtest;

namespace {

std::string Grey8(int width, int height, unsigned value = 0x80) {
  std::string raw;
  for (int y = 0; y < height; ++y) raw += '\0' + std::string(static_cast<std::size_t>(width), static_cast<char>(value));
  return raw;
}

// A 2 x 1 paletted picture of indices 0 and 1 with the given chunks between IHDR and IDAT.
std::string Paletted(const std::string& middle, int depth = 8) {
  return File(Header(2, 1, depth, 3), middle, std::string("\0", 1) + Pack({0, 1}, depth));
}

TEST(PngChunks, ANewImageHoldsHeaderDataAndEnd) {
  TPNGImage image;
  ASSERT_EQ(image.Chunks().Count(), 3);
  auto* header = dynamic_cast<TChunkIHDR*>(image.Chunks().Item(0));
  ASSERT_NE(header, nullptr);
  EXPECT_EQ(header->Width, 0u);
  EXPECT_EQ(header->BitDepth, 2);
  EXPECT_EQ(header->ColorType, 3);
  EXPECT_NE(dynamic_cast<TChunkIDAT*>(image.Chunks().Item(1)), nullptr);
  EXPECT_NE(dynamic_cast<TChunkIEND*>(image.Chunks().Item(2)), nullptr);
  EXPECT_EQ(image.Filters(), 27);
  EXPECT_FALSE(image.Interlaced());
  EXPECT_TRUE(image.Empty());
  image.SetFilters(pfUp);
  EXPECT_EQ(image.Filters(), pfUp | pfNone);
}

TEST(PngChunks, RegistryKnowsSevenTypesInOrder) {
  const char* names[] = {"IEND", "IHDR", "gAMA", "IDAT", "PLTE", "tEXt", "tRNS"};
  ASSERT_EQ(TChunkClasses::Count(), 7);
  for (int i = 0; i < 7; ++i) EXPECT_EQ(std::string(TChunkClasses::Item(i).Name.data(), 4), names[i]);
  try {
    TChunkClasses::Item(7);
    FAIL();
  } catch (const EPNGImage& e) {
    EXPECT_EQ(e.Id, PngErrChunkClassIndex);
  }
  TChunkList list;
  auto text = TChunkClasses::CreateChunk(ChunkName("tEXt"), &list);
  EXPECT_NE(dynamic_cast<TChunkTEXT*>(text.get()), nullptr);
  EXPECT_EQ(text->DataSize(), 2);  // keyword and text both empty
  auto other = TChunkClasses::CreateChunk(ChunkName("tIME"), &list);
  EXPECT_EQ(typeid(*other), typeid(TChunk));
  EXPECT_EQ(other->Name(), ChunkName("tIME"));
  TChunkGAMA gamma(&list);
  EXPECT_EQ(gamma.Gamma(), 1u);
}

TEST(PngChunks, ListGuardsItsIndicesAndMembers) {
  TPNGImage image;
  TChunkList& list = image.Chunks();
  auto expectError = [](int id, auto&& action) {
    try {
      action();
      FAIL() << "no error " << id;
    } catch (const EPNGImage& e) {
      EXPECT_EQ(e.Id, id);
    }
  };
  expectError(PngErrChunkIndex, [&] { list.Item(3); });
  expectError(PngErrChunkIndex, [&] { list.Item(-1); });
  TChunk stranger(&list);
  expectError(PngErrChunkNotInList, [&] { list.Remove(&stranger); });
  EXPECT_EQ(list.Find<TChunkIDAT>(), list.Item(1));
  EXPECT_EQ(list.Item(0)->Image(), &image);
  list.Remove(list.Item(1));
  EXPECT_EQ(list.Count(), 2);
  EXPECT_EQ(list.Find<TChunkIDAT>(), nullptr);
}

TEST(PngChunks, ErrorTextsCarryTheHandlersTitle) {
  EXPECT_EQ(PNGErrorText(PngErrCorrupt),
            "Portable Network Graphics format handler error\r\n\r\nCan't read the PNG image, it has corrupted data. ");
  try {
    RaisePNGError(PngErrUnknownInterlace);
  } catch (const EPNGImage& e) {
    EXPECT_EQ(e.Message,
              "Portable Network Graphics format handler error\r\n\r\nThe image has an unknown interlace method.");
  }
}

TEST(PngRead, SignatureHeaderAndDataAreRequired) {
  std::string good = File(Header(1, 1, 8, 0), "", Grey8(1, 1));
  EXPECT_EQ(LoadError(good), 0);
  EXPECT_EQ(LoadError(""), PngErrInvalidHeader);
  EXPECT_EQ(LoadError(good.substr(0, 7)), PngErrInvalidHeader);
  std::string wrong = good;
  wrong[1] = 'p';
  EXPECT_EQ(LoadError(wrong), PngErrInvalidHeader);
  // Signature alone: no chunks at all.
  EXPECT_EQ(LoadError(kSignature), PngErrMissingIHDR);
  EXPECT_EQ(LoadError(kSignature + Chunk("tEXt", "a\0b") + Chunk("IHDR", Header(1, 1, 8, 0)) +
                      Chunk("IDAT", Deflate(Grey8(1, 1))) + Chunk("IEND", "")),
            PngErrMissingIHDR);
  EXPECT_EQ(LoadError(kSignature + Chunk("IHDR", Header(1, 1, 8, 0)) + Chunk("IEND", "")), PngErrNoImageData);
}

TEST(PngRead, UnknownChunksCriticalFailAncillaryAreKeptInOrder) {
  std::string time = Chunk("tIME", std::string("\x07\xe6\x01\x02\x03\x04\x05", 7));
  std::string file = File(Header(1, 1, 8, 2), time + Chunk("zzZz", "own"), std::string("\0\1\2\3", 4));
  TPNGImage image;
  Load(image, file);
  ASSERT_EQ(image.Chunks().Count(), 5);
  EXPECT_EQ(image.Chunks().Item(1)->Name(), ChunkName("tIME"));
  EXPECT_EQ(typeid(*image.Chunks().Item(1)), typeid(TChunk));
  std::string saved = Save(image);
  EXPECT_EQ(ChunkTypes(saved), (std::vector<std::string>{"IHDR", "tIME", "zzZz", "IDAT", "IEND"}));
  EXPECT_EQ(ChunkData(saved, "tIME"), std::string("\x07\xe6\x01\x02\x03\x04\x05", 7));

  EXPECT_EQ(LoadError(File(Header(1, 1, 8, 0), Chunk("ZZZZ", ""), Grey8(1, 1))), PngErrUnknownCriticalChunk);
  // Chunk types are letters only.
  EXPECT_EQ(LoadError(File(Header(1, 1, 8, 0), Chunk("a1bc", ""), Grey8(1, 1))), PngErrCorrupt);
}

TEST(PngRead, ABadCrcIsCorruptData) {
  std::string file = File(Header(1, 1, 8, 0), Chunk("tEXt", "k\0v"), Grey8(1, 1));
  for (std::size_t at : {std::size_t{8 + 8 + 13}, std::size_t{8 + 25 + 4}, std::size_t{8 + 25 + 8}}) {
    std::string bad = file;
    bad[at] = static_cast<char>(bad[at] ^ 1);
    EXPECT_EQ(LoadError(bad), PngErrCorrupt) << at;
  }
}

TEST(PngRead, SeveralDataChunksReadAsOneAndAreWrittenAsOne) {
  std::string packed = Deflate(Grey8(3, 3, 0x42));
  std::string file = kSignature + Chunk("IHDR", Header(3, 3, 8, 0)) + Chunk("IDAT", packed.substr(0, 4)) +
                     Chunk("IDAT", packed.substr(4, 5)) + Chunk("IDAT", "") + Chunk("IDAT", packed.substr(9)) +
                     Chunk("IEND", "");
  TPNGImage image;
  Load(image, file);
  EXPECT_EQ(image.Chunks().Count(), 3);
  EXPECT_EQ(image.PixelColor(2, 2), RGBColor(0x42, 0x42, 0x42));
  std::string saved = Save(image);
  EXPECT_EQ(ChunkTypes(saved), (std::vector<std::string>{"IHDR", "PLTE", "IDAT", "IEND"}));
}

TEST(PngRead, EndsAtIendOrExactlyAtTheStreamsEnd) {
  std::string file = File(Header(1, 1, 8, 0), "", Grey8(1, 1));
  TStringStream withTrailer(file + "more");
  TPNGImage image;
  image.LoadFromStream(withTrailer);
  EXPECT_EQ(withTrailer.Position(), static_cast<std::int64_t>(file.size()));

  std::string noEnd = file.substr(0, file.size() - 12);
  EXPECT_EQ(LoadError(noEnd), 0);
  EXPECT_EQ(LoadError(noEnd + "x"), PngErrCorrupt);  // not even a chunk header
}

TEST(PngRead, ChunkLengthsAreCheckedAgainstWhatRemains) {
  std::string file = File(Header(1, 1, 8, 0), "", Grey8(1, 1));
  std::string longer = file;
  longer[8 + 25 + 3] = 100;  // IDAT claims more data than there is
  EXPECT_EQ(LoadError(longer), PngErrCorrupt);
  std::string huge = file;
  huge[8 + 25] = static_cast<char>(0x80);  // beyond 2^31
  EXPECT_EQ(LoadError(huge), PngErrCorrupt);
}

TEST(PngRead, HeaderFieldsOutsideTheStandardAreRejected) {
  for (int type = 0; type <= 7; ++type)
    for (int depth : {1, 2, 3, 4, 8, 16, 32}) {
      bool valid = (type == 0 && depth != 3 && depth != 32) || (type == 3 && depth <= 8 && depth != 3) ||
                   ((type == 2 || type == 4 || type == 6) && (depth == 8 || depth == 16));
      std::string middle = type == 3 ? Chunk("PLTE", std::string(6, '\x10')) : "";
      int width = 1, bits = depth * Channels(type);
      std::string raw = std::string(1, '\0') + std::string(static_cast<std::size_t>((width * bits + 7) / 8), '\0');
      int error = LoadError(File(Header(1, 1, depth, type), middle, raw));
      if (valid)
        EXPECT_EQ(error, 0) << type << "/" << depth;
      else if (type == 1 || type == 5 || type == 7)
        EXPECT_EQ(error, PngErrUnknownColorType) << type << "/" << depth;
      else
        EXPECT_EQ(error, PngErrCorrupt) << type << "/" << depth;
    }
  EXPECT_EQ(LoadError(File(Header(1, 1, 8, 0, 0, 1), "", Grey8(1, 1))), PngErrCorrupt);
  EXPECT_EQ(LoadError(File(Header(1, 1, 8, 0, 0, 0, 1), "", Grey8(1, 1))), PngErrCorrupt);
  EXPECT_EQ(LoadError(File(Header(1, 1, 8, 0, 2), "", Grey8(1, 1))), PngErrUnknownInterlace);
  EXPECT_EQ(LoadError(File(Header(1, 1, 8, 0).substr(0, 12), "", Grey8(1, 1))), PngErrCorrupt);
}

TEST(PngRead, SizesAreLimited) {
  EXPECT_EQ(LoadError(File(Header(0, 1, 8, 0), "", "")), PngErrCorrupt);
  EXPECT_EQ(LoadError(File(Header(1, 0, 8, 0), "", "")), PngErrCorrupt);
  EXPECT_EQ(LoadError(File(Header(16385, 1, 8, 0), "", Grey8(16385, 1))), PngErrCorrupt);
  EXPECT_EQ(LoadError(File(Header(1, 16385, 8, 0), "", Grey8(1, 16385))), PngErrCorrupt);
  EXPECT_EQ(LoadError(File(Header(0xFFFFFFFFu, 0xFFFFFFFFu, 8, 6), "", "")), PngErrCorrupt);
  // 16384 x 4097 is more than 2^26 pixels.
  EXPECT_EQ(LoadError(File(Header(16384, 4097, 1, 0), "", "")), PngErrCorrupt);
  TPNGImage image;
  Load(image, File(Header(16384, 1, 8, 0), "", Grey8(16384, 1)));
  EXPECT_EQ(image.Width(), 16384);
}

TEST(PngRead, DataTooShortForThePictureFailsBeforeAnyPixelIsMade) {
  // 16384 x 4096 RGBA promises 256 MB; a few bytes of data cannot hold that.
  TPNGImage image;
  try {
    Load(image, File(Header(16384, 4096, 8, 6), "", Grey8(4, 4)));
    FAIL();
  } catch (const EPNGImage& e) {
    EXPECT_EQ(e.Id, PngErrCorrupt);
  }
  EXPECT_TRUE(image.Empty());
}

TEST(PngRead, ShortDataKeepsTheRowsReadSoFar) {
  std::string raw;
  for (int y = 0; y < 4; ++y) raw += std::string(1, '\0') + std::string(3, static_cast<char>(10 * (y + 1)));
  std::string file = File(Header(3, 4, 8, 0), "", raw.substr(0, 9));  // two rows and a half
  TPNGImage image;
  try {
    Load(image, file);
    FAIL();
  } catch (const EPNGImage& e) {
    EXPECT_EQ(e.Id, PngErrCorrupt);
  }
  ASSERT_EQ(image.Height(), 4);
  EXPECT_EQ(image.PixelColor(2, 0), RGBColor(10, 10, 10));
  EXPECT_EQ(image.PixelColor(2, 1), RGBColor(20, 20, 20));
  EXPECT_EQ(image.PixelColor(2, 3), RGBColor(0, 0, 0));

  // Broken compressed data is the codec's error too, not zlib's.
  std::string broken = File(Header(3, 4, 8, 0), "", raw);
  std::size_t data = 8 + 25 + 8;
  broken[data + 2] = static_cast<char>(0xFF);
  broken[data + 3] = static_cast<char>(0xFF);
  std::string fixed = kSignature + Chunk("IHDR", Header(3, 4, 8, 0)) +
                      Chunk("IDAT", broken.substr(data, ReadBE32(broken, data - 8))) + Chunk("IEND", "");
  EXPECT_EQ(LoadError(fixed), PngErrCorrupt);
}

TEST(PngRead, UnknownFilterTypeFails) {
  EXPECT_EQ(LoadError(File(Header(1, 1, 8, 0), "", std::string("\x05\x10", 2))), PngErrUnknownFilter);
}

TEST(PngRead, EachFilterTypeIsUndone) {
  // RGB, 2 pixels, second row filtered by each type against the first row (10,20,30),(40,50,60).
  std::string first = std::string("\0", 1) + "\x0a\x14\x1e\x28\x32\x3c";
  // Target second row: (11,22,33),(44,55,66).
  const std::string filtered[5] = {
      std::string("\0\x0b\x16\x21\x2c\x37\x42", 7),
      std::string("\x01\x0b\x16\x21\x21\x21\x21", 7),  // minus the pixel to the left
      std::string("\x02\x01\x02\x03\x04\x05\x06", 7),  // minus the pixel above
      // minus the mean of left and above: (11-5, 22-10, 33-15), (44-(11+40)/2, 55-(22+50)/2, 66-(33+60)/2)
      std::string("\x03\x06\x0c\x12\x13\x13\x14", 7),
      // Paeth: both pixels predict from above, the neighbour nearest to left + above - upper left.
      std::string("\x04\x01\x02\x03\x04\x05\x06", 7),
  };
  for (int f = 0; f < 5; ++f) {
    TPNGImage image;
    Load(image, File(Header(2, 2, 8, 2), "", first + filtered[f]));
    EXPECT_EQ(image.PixelColor(0, 1), RGBColor(11, 22, 33)) << f;
    EXPECT_EQ(image.PixelColor(1, 1), RGBColor(44, 55, 66)) << f;
  }
}

TEST(PngRows, UnfilteringUndoesFilteringForEveryPixelSize) {
  std::uint32_t state = 99;
  for (int bpp : {1, 2, 3, 4, 6, 8})
    for (int filter = pftNone; filter <= pftPaeth; ++filter)
      for (std::size_t pixels : {std::size_t{1}, std::size_t{2}, std::size_t{37}}) {
        std::size_t count = pixels * static_cast<std::size_t>(bpp);
        std::vector<std::uint8_t> prior(count), row(count), filtered(count);
        for (std::size_t i = 0; i < count; ++i) {
          state = state * 1664525u + 1013904223u;
          prior[i] = static_cast<std::uint8_t>(state >> 24);
          row[i] = static_cast<std::uint8_t>(i % 5 ? state >> 16 : 250 + i % 6);
        }
        PngFilterRow(filter, row.data(), prior.data(), filtered.data(), count, bpp);
        PngUnfilterRow(filter, filtered.data(), prior.data(), count, bpp);
        ASSERT_EQ(filtered, row) << "bpp " << bpp << " filter " << filter << " pixels " << pixels;
      }
}

TEST(PngRows, FilterChoiceCountsBytesEqualToTheFourBefore) {
  const std::uint8_t repeats[] = {1, 2, 3, 4, 1, 2, 3, 4, 1, 9};
  EXPECT_EQ(PngRepeatScore(repeats, 10), 5u);
  const std::uint8_t neighbours[] = {7, 7, 7, 7, 8, 8, 8};
  EXPECT_EQ(PngRepeatScore(neighbours, 7), 0u);
  EXPECT_EQ(PngRepeatScore(repeats, 4), 0u);
  // Long rows are counted sixteen bytes at a time, with the same result.
  std::vector<std::uint8_t> period(53), rising(53);
  for (std::size_t i = 0; i < period.size(); ++i) {
    period[i] = static_cast<std::uint8_t>(i % 4);
    rising[i] = static_cast<std::uint8_t>(i);
  }
  EXPECT_EQ(PngRepeatScore(period.data(), period.size()), 49u);
  EXPECT_EQ(PngRepeatScore(rising.data(), rising.size()), 0u);
}

TEST(PngRead, SixteenBitGreyUnfiltersWithTwoBytesPerPixel) {
  // Sub filter: each sample adds the one two bytes back. Samples 0x1234, 0x2345, 0x3456.
  std::string row = std::string("\x01\x12\x34\x11\x11\x11\x11", 7);
  TPNGImage image;
  Load(image, File(Header(3, 1, 16, 0), "", row));
  EXPECT_EQ(image.PixelFormat(), pf8bit);
  EXPECT_EQ(image.PixelColor(0, 0), RGBColor(0x12, 0x12, 0x12));
  EXPECT_EQ(image.PixelColor(1, 0), RGBColor(0x23, 0x23, 0x23));
  EXPECT_EQ(image.PixelColor(2, 0), RGBColor(0x34, 0x34, 0x34));
}

TEST(PngRead, PixelFormatsByColourType) {
  struct Case {
    int Type, Depth;
    std::string Middle;
    TPixelFormat Format;
    TAlphaFormat Alpha;
  };
  std::string palette = Chunk("PLTE", std::string("\xff\0\0\0\xff\0", 6));
  const Case cases[] = {
      {0, 1, "", pf1bit, afIgnored},
      {0, 2, "", pf4bit, afIgnored},
      {0, 4, "", pf4bit, afIgnored},
      {0, 8, "", pf8bit, afIgnored},
      {0, 16, "", pf8bit, afIgnored},
      {3, 1, palette, pf1bit, afIgnored},
      {3, 2, palette, pf4bit, afIgnored},
      {3, 4, palette, pf4bit, afIgnored},
      {3, 8, palette, pf8bit, afIgnored},
      {2, 8, "", pf24bit, afIgnored},
      {2, 16, "", pf24bit, afIgnored},
      {4, 8, "", pf32bit, afDefined},
      {4, 16, "", pf32bit, afDefined},
      {6, 8, "", pf32bit, afDefined},
      {6, 16, "", pf32bit, afDefined},
      {3, 8, palette + Chunk("tRNS", "\x80"), pf32bit, afDefined},
      {0, 8, Chunk("tRNS", BE16(3)), pf32bit, afDefined},
  };
  for (const Case& c : cases) {
    TSamplePicture p = MakeSamples(5, 3, c.Depth, c.Type, 1, 1);
    TPNGImage image;
    Load(image, File(Header(5, 3, c.Depth, c.Type), c.Middle, RawData(p, false)));
    EXPECT_EQ(image.PixelFormat(), c.Format) << c.Type << "/" << c.Depth;
    EXPECT_EQ(image.AlphaFormat(), c.Alpha) << c.Type << "/" << c.Depth;
    EXPECT_EQ(image.Width(), 5);
  }
}

TEST(PngRead, GreyLevelsSpreadOverTheFullRange) {
  TPNGImage two;
  Load(two, File(Header(4, 1, 2, 0), "", std::string("\0", 1) + Pack({0, 1, 2, 3}, 2)));
  EXPECT_EQ(two.ColorTable().size(), 16u);  // four levels, repeated
  EXPECT_EQ(two.ColorTable()[5], two.ColorTable()[1]);
  const int levels[] = {0, 85, 170, 255};
  for (int x = 0; x < 4; ++x) EXPECT_EQ(two.PixelColor(x, 0), RGBColor(levels[x], levels[x], levels[x]));
  TPNGImage four;
  Load(four, File(Header(2, 1, 4, 0), "", std::string("\0", 1) + Pack({1, 15}, 4)));
  EXPECT_EQ(four.PixelColor(0, 0), RGBColor(17, 17, 17));
  EXPECT_EQ(four.PixelColor(1, 0), RGBColor(255, 255, 255));
}

TEST(PngRead, PaletteRules) {
  std::string two = std::string("\x10\x20\x30\x40\x50\x60", 6);
  TPNGImage image;
  Load(image, Paletted(Chunk("PLTE", two)));
  EXPECT_EQ(image.PixelColor(0, 0), RGBColor(0x10, 0x20, 0x30));
  EXPECT_EQ(image.PixelColor(1, 0), RGBColor(0x40, 0x50, 0x60));
  EXPECT_EQ(image.ColorTable().size(), 2u);

  EXPECT_EQ(LoadError(Paletted("")), PngErrMissingPalette);
  EXPECT_EQ(LoadError(Paletted(Chunk("PLTE", ""))), PngErrInvalidPalette);
  EXPECT_EQ(LoadError(Paletted(Chunk("PLTE", two.substr(0, 5)))), PngErrInvalidPalette);
  EXPECT_EQ(LoadError(Paletted(Chunk("PLTE", std::string(3 * 257, '\x01')))), PngErrInvalidPalette);
  EXPECT_EQ(LoadError(Paletted(Chunk("PLTE", std::string(3 * 256, '\x01')))), 0);
  EXPECT_EQ(LoadError(Paletted(Chunk("PLTE", std::string(3 * 5, '\x01')), 2)), PngErrInvalidPalette);
  EXPECT_EQ(LoadError(Paletted(Chunk("PLTE", std::string(3 * 4, '\x01')), 2)), 0);
  // A palette after the image data comes too late for it.
  std::string late = kSignature + Chunk("IHDR", Header(2, 1, 8, 3)) + Chunk("IDAT", Deflate(std::string("\0\0\1", 3))) +
                     Chunk("PLTE", two) + Chunk("IEND", "");
  EXPECT_EQ(LoadError(late), PngErrMissingPalette);
}

TEST(PngRead, IndicesBeyondThePaletteReadBlack) {
  std::string one = Chunk("PLTE", "\x10\x20\x30");
  std::string file = File(Header(2, 1, 8, 3), one, std::string("\0\0\x07", 3));
  TPNGImage image;
  Load(image, file);
  EXPECT_EQ(image.PixelColor(0, 0), RGBColor(0x10, 0x20, 0x30));
  EXPECT_EQ(image.PixelColor(1, 0), clBlack);
  TPNGImage withAlpha;
  Load(withAlpha, File(Header(2, 1, 8, 3), one + Chunk("tRNS", "\x40\x50"), std::string("\0\0\x07", 3)));
  EXPECT_EQ(Pixel(withAlpha, 0, 0), (TRGBQuad{0x30, 0x20, 0x10, 0x40}));
  EXPECT_EQ(Pixel(withAlpha, 1, 0), (TRGBQuad{0, 0, 0, 255}));
}

TEST(PngRead, TransparencyOfPalettesAndGreysBecomesAlpha) {
  std::string palette = Chunk("PLTE", std::string("\x10\x20\x30\x40\x50\x60\x70\x80\x90", 9));
  TPNGImage image;
  // Fewer alpha values than entries: the rest are opaque.
  Load(image, File(Header(3, 1, 8, 3), palette + Chunk("tRNS", std::string(1, '\0')), std::string("\0\0\1\2", 4)));
  EXPECT_EQ(Pixel(image, 0, 0), (TRGBQuad{0x30, 0x20, 0x10, 0}));
  EXPECT_EQ(Pixel(image, 1, 0), (TRGBQuad{0x60, 0x50, 0x40, 255}));
  EXPECT_EQ(Pixel(image, 2, 0), (TRGBQuad{0x90, 0x80, 0x70, 255}));

  Load(image, File(Header(3, 1, 4, 0), Chunk("tRNS", BE16(5)), std::string("\0", 1) + Pack({5, 6, 5}, 4)));
  EXPECT_EQ(Pixel(image, 0, 0), (TRGBQuad{85, 85, 85, 0}));
  EXPECT_EQ(Pixel(image, 1, 0), (TRGBQuad{102, 102, 102, 255}));
  EXPECT_EQ(Pixel(image, 2, 0).rgbReserved, 0);

  Load(image, File(Header(2, 1, 16, 0), Chunk("tRNS", BE16(0x1234)), std::string("\0\x12\x34\x12\x35", 5)));
  EXPECT_EQ(Pixel(image, 0, 0), (TRGBQuad{0x12, 0x12, 0x12, 0}));
  EXPECT_EQ(Pixel(image, 1, 0), (TRGBQuad{0x12, 0x12, 0x12, 255}));

  // A tRNS too short to say anything is ignored.
  Load(image, File(Header(1, 1, 8, 0), Chunk("tRNS", "\x01"), std::string("\0\1", 2)));
  EXPECT_EQ(image.PixelFormat(), pf8bit);
}

TEST(PngRead, GreyWithAlphaAndSixteenBitSamplesKeepTheHighByte) {
  TPNGImage image;
  Load(image, File(Header(1, 1, 8, 4), "", std::string("\0\x33\x99", 3)));
  EXPECT_EQ(Pixel(image, 0, 0), (TRGBQuad{0x33, 0x33, 0x33, 0x99}));
  Load(image, File(Header(1, 1, 16, 4), "", std::string("\0\x33\xff\x99\x01", 5)));
  EXPECT_EQ(Pixel(image, 0, 0), (TRGBQuad{0x33, 0x33, 0x33, 0x99}));
  Load(image, File(Header(1, 1, 16, 6), "", std::string("\0\x11\x01\x22\x02\x33\x03\x44\x04", 9)));
  EXPECT_EQ(Pixel(image, 0, 0), (TRGBQuad{0x33, 0x22, 0x11, 0x44}));
  Load(image, File(Header(1, 1, 16, 2), "", std::string("\0\x11\x01\x22\x02\x33\x03", 7)));
  EXPECT_EQ(Pixel(image, 0, 0), (TRGBQuad{0x33, 0x22, 0x11, 255}));
}

TEST(PngRead, TruecolourTransparencyBecomesAlphaByTheStoredSamples) {
  struct Case {
    const char* What;
    int Depth;
    std::string Trns, Middle;
    std::vector<unsigned> Pixels;  // samples of a 2 x 1 picture: key first, then a near colour
    TColor Shown;                  // TransparentColor, or clNone when the key is ignored
  };
  const std::string key8 = BE16(0x11) + BE16(0x22) + BE16(0x33);
  const Case cases[] = {
      {"8 bits", 8, key8, "", {0x11, 0x22, 0x33, 0x11, 0x22, 0x34}, RGBColor(0x11, 0x22, 0x33)},
      // Gamma shows 254 and 255 alike; the stored samples tell them apart.
      {"after gamma",
       8,
       BE16(255) + BE16(255) + BE16(255),
       Chunk("gAMA", BE32(100000)),
       {255, 255, 255, 254, 254, 254},
       RGBColor(255, 255, 255)},
      // All sixteen bits count, not only the high byte shown.
      {"16 bits",
       16,
       BE16(0x1180) + BE16(0x2280) + BE16(0x3380),
       "",
       {0x1180, 0x2280, 0x3380, 0x1181, 0x2280, 0x3380},
       RGBColor(0x11, 0x22, 0x33)},
      {"three bytes of older writers",
       8,
       "\x44\x55\x66",
       "",
       {0x44, 0x55, 0x66, 0x44, 0x55, 0x67},
       RGBColor(0x44, 0x55, 0x66)},
      {"beyond 8 bits", 8, BE16(0x111) + BE16(0x22) + BE16(0x33), "", {0x11, 0x22, 0x33, 0, 0, 0}, clNone},
      {"too short", 8, "\x44\x55", "", {0x44, 0x55, 0x66, 0, 0, 0}, clNone},
  };
  for (const Case& c : cases) {
    TPNGImage image;
    Load(image, File(Header(2, 1, c.Depth, 2), c.Middle + Chunk("tRNS", c.Trns), '\0' + Pack(c.Pixels, c.Depth)));
    bool keyed = c.Shown != clNone;
    EXPECT_EQ(image.Transparent(), keyed) << c.What;
    EXPECT_EQ(image.PixelFormat(), keyed ? pf32bit : pf24bit) << c.What;
    EXPECT_EQ(Pixel(image, 0, 0).rgbReserved, keyed ? 0 : 255) << c.What;
    EXPECT_EQ(Pixel(image, 1, 0).rgbReserved, 255) << c.What;
    if (!keyed) continue;
    EXPECT_EQ(image.AlphaFormat(), afDefined) << c.What;
    EXPECT_EQ(image.TransparentColor(), c.Shown) << c.What;
    EXPECT_EQ(image.TransparencyColor(), c.Shown) << c.What;
  }

  TPNGImage grey;
  Load(grey, File(Header(1, 1, 8, 0), "", Grey8(1, 1)));
  try {
    grey.TransparencyColor();
    FAIL();
  } catch (const EPNGImage& e) {
    EXPECT_EQ(e.Id, PngErrNotRGB);
  }
}

int Gamma(int v, double stored) {
  return static_cast<int>(std::nearbyint(255.0 * std::pow(v / 255.0, 1.0 / (stored / 100000.0 * 2.2))));
}

TEST(PngRead, GammaAppliesToColoursNeverToAlpha) {
  std::string raw = std::string("\0\x40\x80\xc0\x40", 5);
  TPNGImage image;
  Load(image, File(Header(1, 1, 8, 6), Chunk("gAMA", BE32(100000)), raw));
  EXPECT_EQ(Pixel(image, 0, 0),
            (TRGBQuad{static_cast<std::uint8_t>(Gamma(0xc0, 100000)), static_cast<std::uint8_t>(Gamma(0x80, 100000)),
                      static_cast<std::uint8_t>(Gamma(0x40, 100000)), 0x40}));
  EXPECT_NE(Gamma(0x40, 100000), 0x40);

  // Palettes and grey levels go through it too.
  Load(image, Paletted(Chunk("gAMA", BE32(100000)) + Chunk("PLTE", std::string("\x40\x80\xc0\x10\x10\x10", 6))));
  EXPECT_EQ(image.PixelColor(0, 0), RGBColor(Gamma(0x40, 100000), Gamma(0x80, 100000), Gamma(0xc0, 100000)));
  Load(image, File(Header(1, 1, 8, 0), Chunk("gAMA", BE32(100000)), std::string("\0\x40", 2)));
  EXPECT_EQ(image.PixelColor(0, 0), RGBColor(Gamma(0x40, 100000), Gamma(0x40, 100000), Gamma(0x40, 100000)));

  // Out of place after the image data: ignored, when reading as when writing.
  std::string late = kSignature + Chunk("IHDR", Header(1, 1, 8, 6)) + Chunk("IDAT", Deflate(raw)) +
                     Chunk("gAMA", BE32(100000)) + Chunk("IEND", "");
  Load(image, late);
  EXPECT_EQ(Pixel(image, 0, 0), (TRGBQuad{0xc0, 0x80, 0x40, 0x40}));
  TPNGImage again;
  Load(again, Save(image));
  EXPECT_EQ(Pixel(again, 0, 0), (TRGBQuad{0xc0, 0x80, 0x40, 0x40}));

  // A gamma of 0 or a short chunk changes nothing; neither does 1/2.2.
  for (const std::string& gama : {Chunk("gAMA", BE32(0)), Chunk("gAMA", "\x01\x86"), Chunk("gAMA", BE32(45455))}) {
    Load(image, File(Header(1, 1, 8, 6), gama, raw));
    EXPECT_EQ(Pixel(image, 0, 0), (TRGBQuad{0xc0, 0x80, 0x40, 0x40}));
  }
}

TEST(PngChunks, GammaTablesFollowTheFormulaForEveryValue) {
  // Values near 1/2.2 (where the table is the identity), far from it, and
  // alternating, so that tables kept from an earlier chunk are never mixed up.
  const std::uint32_t values[] = {45455, 45250, 45000, 100000, 45250, 22727, 250000, 45455, 100000, 1, 4000000};
  TChunkList list;
  for (std::uint32_t stored : values) {
    TChunkGAMA gamma(&list);
    gamma.SetGamma(stored);
    bool identity = true;
    for (int i = 0; i < 256; ++i) {
      int expected = std::clamp(Gamma(i, stored), 0, 255);
      ASSERT_EQ(gamma.Forward()[static_cast<std::size_t>(i)], expected) << stored << " at " << i;
      identity = identity && expected == i;
      // Saving undoes it: every value the table gives goes back to one that gives it.
      EXPECT_EQ(gamma.Forward()[gamma.Reverse()[static_cast<std::size_t>(expected)]], expected) << stored;
    }
    EXPECT_EQ(gamma.Identity(), identity) << stored;
  }
}

TEST(PngRead, InterlacedPicturesMatchPlainOnesAtEverySmallSize) {
  struct Kind {
    int Type, Depth;
  };
  const Kind kinds[] = {{0, 1}, {0, 2}, {0, 4}, {3, 8}, {2, 8}, {6, 16}, {4, 8}};
  for (const Kind& k : kinds)
    for (int w = 1; w <= 10; ++w)
      for (int h = 1; h <= 10; h += (h < 3 ? 1 : 4)) {
        TSamplePicture p = MakeSamples(w, h, k.Depth, k.Type, static_cast<unsigned>(w * 16 + h), 255);
        std::string palette;
        for (int i = 0; k.Type == 3 && i < 256; ++i)
          palette += {static_cast<char>(i), static_cast<char>(255 - i), '\x33'};
        std::string middle = k.Type == 3 ? Chunk("PLTE", palette) : "";
        TPNGImage plain, interlaced;
        Load(plain, File(Header(static_cast<std::uint32_t>(w), static_cast<std::uint32_t>(h), k.Depth, k.Type), middle,
                         RawData(p, false)));
        Load(interlaced, File(Header(static_cast<std::uint32_t>(w), static_cast<std::uint32_t>(h), k.Depth, k.Type, 1),
                              middle, RawData(p, true)));
        EXPECT_TRUE(interlaced.Interlaced());
        for (int y = 0; y < h; ++y)
          for (int x = 0; x < w; ++x)
            ASSERT_EQ(Pixel(interlaced, x, y), Pixel(plain, x, y))
                << k.Type << "/" << k.Depth << " " << w << "x" << h << " at " << x << "," << y;
      }
}

// The reader keeps one zlib state per thread: a handler that reads another
// picture while one is being read must not take it from under it.
TEST(PngRead, AProgressHandlerMayReadAnotherPicture) {
  // More image data than the reader inflates at once.
  TSamplePicture p = MakeSamples(200, 100, 8, 6, 5);
  const std::string file = File(Header(200, 100, 8, 6), "", RawData(p, false));
  TPNGImage plain;
  Load(plain, file);
  TPNGImage outer, inner;
  outer.OnProgress = [&](TObject*, int, const String&) {
    if (inner.Empty()) Load(inner, file);
  };
  Load(outer, file);
  for (const TPNGImage* image : {&outer, &inner})
    for (int y = 0; y < 100; y += 33)
      for (int x = 0; x < 200; x += 7) ASSERT_EQ(Pixel(*image, x, y), Pixel(plain, x, y)) << x << "," << y;
}

TEST(PngRead, ProgressReportsRowsOrPasses) {
  std::vector<int> seen;
  TPNGImage image;
  image.OnProgress = [&](TObject* sender, int percent, const String& msg) {
    EXPECT_EQ(sender, &image);
    EXPECT_EQ(msg, "Drawing...");
    seen.push_back(percent);
  };
  Load(image, File(Header(2, 4, 8, 0), "", Grey8(2, 4)));
  EXPECT_EQ(seen, (std::vector<int>{0, 25, 50, 75}));
  seen.clear();
  TSamplePicture p = MakeSamples(8, 8, 8, 0, 3);
  Load(image, File(Header(8, 8, 8, 0, 1), "", RawData(p, true)));
  EXPECT_EQ(seen, (std::vector<int>{0, 16, 33, 50, 66, 83, 100}));
}

}  // namespace
