// Damaged and hostile PNG files: each gives the codec's error or a picture,
// never a crash, a hang, another exception or a huge allocation.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

#include "kem3/pictures/png_test_support.h"
#include "kem3/pictures/pngimage.h"

using namespace pngtest;

namespace {

// Recomputes the CRC of every chunk that lies wholly inside the file.
std::string FixCrcs(std::string file) {
  for (std::size_t at = 8; at + 12 <= file.size();) {
    std::uint32_t length = ReadBE32(file, at);
    if (length > file.size() - at - 12) break;
    uLong crc = crc32(0, reinterpret_cast<const Bytef*>(file.data() + at + 4), length + 4);
    file.replace(at + 8 + length, 4, BE32(static_cast<std::uint32_t>(crc)));
    at += 12 + length;
  }
  return file;
}

// Loads the bytes; any failure must be EPNGImage. A picture that loads must
// save and load again to the same pixels. Returns whether it loaded.
bool Survives(const std::string& bytes) {
  TPNGImage image;
  try {
    Load(image, bytes);
  } catch (const EPNGImage&) {
    return false;
  } catch (const std::exception& e) {
    ADD_FAILURE() << "other exception: " << e.what();
    return false;
  }
  TPNGImage again;
  Load(again, Save(image));
  EXPECT_EQ(again.Width(), image.Width());
  for (int y = 0; y < image.Height(); ++y)
    for (int x = 0; x < image.Width(); ++x) {
      TRGBQuad p = Pixel(image, x, y), q = Pixel(again, x, y);
      if (image.PixelFormat() != pf32bit) p.rgbReserved = q.rgbReserved = 0;
      if (!(p == q)) {
        ADD_FAILURE() << "pixel " << x << "," << y << " differs after saving";
        return true;
      }
    }
  return true;
}

std::vector<std::string> SmallFiles() {
  std::vector<std::string> files;
  TPNGImage ours;
  ours.SetPixelFormat(pf32bit);
  ours.SetSize(6, 5);
  for (int y = 0; y < 5; ++y)
    for (int x = 0; x < 6; ++x) ours.SetPixelColor(x, y, RGBColor(x * 40, y * 50, 90));
  ours.Chunks().Insert(1, std::make_unique<TChunkTEXT>(&ours.Chunks()));
  files.push_back(Save(ours));
  TSamplePicture grey = MakeSamples(7, 6, 2, 0, 5);
  files.push_back(
      File(Header(7, 6, 2, 0, 1), Chunk("tRNS", BE16(1)) + Chunk("gAMA", BE32(50000)), RawData(grey, true)));
  TSamplePicture indices = MakeSamples(5, 4, 4, 3, 6, 9);
  files.push_back(File(Header(5, 4, 4, 3), Chunk("PLTE", std::string(30, '\x55')) + Chunk("tRNS", "\x10\x20"),
                       RawData(indices, false)));
  TSamplePicture wide = MakeSamples(3, 3, 16, 2, 7);
  files.push_back(File(Header(3, 3, 16, 2, 1), Chunk("tRNS", BE16(1) + BE16(2) + BE16(3)), RawData(wide, true)));
  return files;
}

TEST(PngHostile, EveryTruncationIsAnErrorOrEndsAfterTheImageData) {
  for (const std::string& file : SmallFiles()) {
    ASSERT_TRUE(Survives(file));
    std::size_t dataEnd = file.size() - 12;  // where IEND starts
    for (std::size_t length = 0; length < file.size(); ++length) {
      bool loaded = Survives(file.substr(0, length));
      EXPECT_EQ(loaded, length == dataEnd) << "cut at " << length;
    }
  }
}

TEST(PngHostile, EveryChangedByteWithAValidCrcIsHandled) {
  for (const std::string& file : SmallFiles())
    for (std::size_t at = 8; at < file.size(); ++at)
      for (int flip : {0x01, 0x80, 0xFF}) {
        std::string bad = file;
        bad[at] = static_cast<char>(bad[at] ^ flip);
        Survives(FixCrcs(bad));
        Survives(bad);
      }
}

TEST(PngHostile, RandomDamageIsHandled) {
  std::vector<std::string> files = SmallFiles();
  std::uint32_t state = 12345;
  auto next = [&] {
    state = state * 1664525u + 1013904223u;
    return state >> 8;
  };
  for (int round = 0; round < 3000; ++round) {
    std::string bad = files[next() % files.size()];
    for (int n = 1 + static_cast<int>(next() % 4); n > 0; --n) {
      std::size_t at = 8 + next() % (bad.size() - 8);
      switch (next() % 3) {
        case 0:
          bad[at] = static_cast<char>(next());
          break;
        case 1:
          bad.erase(at, 1 + next() % 8);
          break;
        default:
          bad.insert(at, std::string(1 + next() % 8, static_cast<char>(next())));
          break;
      }
      if (bad.size() <= 8) bad = files[0];
    }
    Survives(FixCrcs(bad));
  }
}

TEST(PngHostile, HugeDimensionsAreRefusedBeforeAllocating) {
  for (auto [w, h] : {std::pair<std::uint32_t, std::uint32_t>{16384, 16384}, {16384, 4096}, {8192, 8192}}) {
    TPNGImage image;
    try {
      Load(image, File(Header(w, h, 16, 6), "", std::string(100, '\0')));
      FAIL();
    } catch (const EPNGImage& e) {
      EXPECT_EQ(e.Id, PngErrCorrupt);
    }
    EXPECT_TRUE(image.Empty());
  }
  EXPECT_EQ(LoadError(File(Header(0x7FFFFFFF, 1, 8, 0), "", "")), PngErrCorrupt);
  EXPECT_EQ(LoadError(File(Header(1, 0x80000000u, 8, 0), "", "")), PngErrCorrupt);
}

TEST(PngHostile, DataBeyondThePictureIsNeverInflated) {
  // A 4 x 4 picture whose data would inflate to 32 MB: only the rows it needs are read.
  std::string raw = std::string(1, '\0') + std::string(16, '\x7f');
  raw += std::string(32u << 20, '\0');
  TPNGImage image;
  Load(image, File(Header(4, 4, 8, 6), "", raw));
  EXPECT_EQ(Pixel(image, 3, 0), (TRGBQuad{0x7f, 0x7f, 0x7f, 0x7f}));
  EXPECT_EQ(Pixel(image, 3, 3), (TRGBQuad{0, 0, 0, 0}));
}

TEST(PngHostile, ManyChunksAndOddLengthsAreHandled) {
  std::string many;
  for (int i = 0; i < 20000; ++i) many += Chunk("tEXt", "");
  TPNGImage image;
  Load(image, File(Header(1, 1, 8, 0), many, std::string("\0\1", 2)));
  EXPECT_EQ(image.Chunks().Count(), 20003);

  std::string empties = kSignature + Chunk("IHDR", Header(2, 1, 8, 0));
  std::string packed = Deflate(std::string("\0\1\2", 3));
  for (char c : packed) empties += Chunk("IDAT", "") + Chunk("IDAT", std::string(1, c));
  EXPECT_EQ(LoadError(empties + Chunk("IEND", "")), 0);

  // Length fields at and beyond the largest allowed.
  std::string file = File(Header(1, 1, 8, 0), "", std::string("\0\1", 2));
  for (std::uint32_t length : {0x7FFFFFFFu, 0x80000000u, 0xFFFFFFFFu}) {
    std::string bad = file;
    bad.replace(8 + 25, 4, BE32(length));
    EXPECT_EQ(LoadError(bad), PngErrCorrupt);
  }
}

// The seed corpus of the fuzz target (fuzz/seeds/png_fuzz): small files of
// every colour type and depth, interlaced and not, with the chunks the reader
// interprets. ORV_PNG_SEED_DIR=<folder> writes them there.
TEST(PngHostile, FuzzSeedsLoad) {
  std::vector<std::pair<std::string, std::string>> seeds;
  int n = 0;
  for (const std::string& file : SmallFiles()) seeds.emplace_back("small" + std::to_string(n++) + ".png", file);
  const int kinds[][2] = {{0, 1}, {0, 8}, {0, 16}, {2, 8}, {2, 16}, {3, 2}, {3, 8}, {4, 8}, {4, 16}, {6, 8}, {6, 16}};
  for (const auto& k : kinds) {
    bool interlaced = (k[0] + k[1]) % 2 == 1;
    TSamplePicture p = MakeSamples(9, 6, k[1], k[0], static_cast<unsigned>(k[0] * 100 + k[1]), 3);
    std::string middle = k[0] == 3 ? Chunk("PLTE", "\x10\x20\x30\x40\x50\x60\x70\x80\x90\xa0\xb0\xc0") : "";
    if (k[0] == 2) middle += Chunk("gAMA", BE32(100000));
    std::string file = File(Header(9, 6, k[1], k[0], interlaced ? 1 : 0), middle, RawData(p, interlaced));
    seeds.emplace_back("type" + std::to_string(k[0]) + "_" + std::to_string(k[1]) + ".png", file);
  }
  TPNGImage ours;
  ours.SetPixelFormat(pf32bit);
  ours.SetSize(12, 12);
  for (int y = 0; y < 12; ++y)
    for (int x = 0; x < 12; ++x) ours.SetPixelColor(x, y, RGBColor(x * 20, 255 - y * 20, x * y));
  seeds.emplace_back("ours_rgba.png", Save(ours));
  ours.SetPixelFormat(pf4bit);
  seeds.emplace_back("ours_4bit.png", Save(ours));

  const char* dir = std::getenv("ORV_PNG_SEED_DIR");
  for (const auto& [name, bytes] : seeds) {
    EXPECT_TRUE(Survives(bytes)) << name;
    EXPECT_LT(bytes.size(), 1024u) << name;
    if (dir) std::ofstream(std::string(dir) + "/" + name, std::ios::binary) << bytes;
  }
}

}  // namespace
