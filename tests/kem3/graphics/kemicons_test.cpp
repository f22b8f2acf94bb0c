// Icon files, 16-bit icon libraries and the choice of an image, with files
// made by our own writers; damaged files add nothing and bad entries are
// skipped.
#include "kem3/graphics/kemicons.h"

#include <gtest/gtest.h>

#include <chrono>
#include <fstream>

#include "kem3/graphics/icon_pixels.h"
#include "kem3/pictures/pngimage.h"
#include "support/crafted_icons.h"
#include "support/temp_dir.h"
#include "tools/common/iconwriter.h"

using namespace craftedicons;
using namespace iconwriter;

namespace {

// A 5 x 3 picture whose pixels differ by place; the mask leaves x == 4 out.
std::uint32_t Sample(int x, int y) { return 0xFF000000u | static_cast<std::uint32_t>(x * 40 + y) * 0x010305u; }
bool SampleMask(int x, int) { return x == 4; }

std::string PngBytes(int W, int H, std::uint32_t Argb) {
  TPNGImage png;
  png.SetPixelFormat(pf32bit);
  png.SetSize(W, H);
  for (int y = 0; y < H; ++y)
    for (int x = 0; x < W; ++x)
      static_cast<TRGBQuad*>(png.ScanLine(y))[x] =
          TRGBQuad{static_cast<std::uint8_t>(Argb), static_cast<std::uint8_t>(Argb >> 8),
                   static_cast<std::uint8_t>(Argb >> 16), static_cast<std::uint8_t>(Argb >> 24)};
  TMemoryStream out;
  png.SaveToStream(out);
  return std::string(static_cast<const char*>(out.Memory()), static_cast<std::size_t>(out.Size()));
}

// The memory the process holds now, where the system tells it; -1 elsewhere.
std::int64_t ResidentBytes() {
  std::ifstream status("/proc/self/status");
  for (std::string line; std::getline(status, line);)
    if (line.rfind("VmRSS:", 0) == 0) return std::stoll(line.substr(6)) * 1024;
  return -1;
}

}  // namespace

TEST(KemIcons, DecodesEveryBitDepthWithItsMask) {
  struct Case {
    int Bits;
    std::uint32_t (*Expected)(int x, int y);  // colour of an opaque pixel
    bool Alpha;
  };
  const Case cases[] = {
      {1, [](int x, int) -> std::uint32_t { return x % 2 ? 0xFFFFFFu : 0; }, false},
      {4, [](int x, int y) -> std::uint32_t { return ((x * 40 + y) * 5 & 15) * 17 * 0x010101u; }, false},
      {8, [](int x, int y) -> std::uint32_t { return ((x * 40 + y) * 5 & 255) * 0x010101u; }, false},
      {16,
       [](int x, int y) -> std::uint32_t {
         const std::uint32_t s = Sample(x, y);
         auto five = [](std::uint32_t c) { return (c >> 3 << 3) | (c >> 5); };
         return five(s >> 16 & 255) << 16 | five(s >> 8 & 255) << 8 | five(s & 255);
       },
       false},
      {24, [](int x, int y) { return Sample(x, y) & 0xFFFFFFu; }, false},
      {32, [](int x, int y) { return Sample(x, y) & 0xFFFFFFu; }, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Bits);
    auto pixel = [&](int x, int y) -> std::uint32_t {
      if (c.Bits == 1) return x % 2;
      if (c.Bits <= 8) return static_cast<std::uint32_t>((x * 40 + y) * 5);
      // The 32-bit image carries its own alpha: half transparent in column 3.
      return c.Bits == 32 && x == 3 ? (Sample(x, y) & 0xFFFFFFu) | 0x80000000u : Sample(x, y);
    };
    TKemIcons icons;
    icons.LoadIcoData(IcoFile({{5, 3, 0, 1, c.Bits, DibImage(5, 3, c.Bits, pixel, SampleMask)}}));
    ASSERT_EQ(icons.GetCount(), 1);
    const TKemIconImage& image = *icons.GetGroup(0)->Image(0);
    EXPECT_EQ(image.BitCount, c.Bits);
    EXPECT_EQ(image.Alpha, c.Alpha);
    TBitmap bitmap, mask;
    image.Draw(bitmap, mask, false, true);
    ASSERT_EQ(bitmap.Width(), 5);
    ASSERT_EQ(bitmap.Height(), 3);
    EXPECT_EQ(mask.Width(), 1);
    for (int y = 0; y < 3; ++y)
      for (int x = 0; x < 5; ++x) {
        // With an alpha channel of its own the mask plays no part.
        const std::uint32_t alpha = c.Alpha ? (x == 3 ? 0x80 : 0xFF) : (x == 4 ? 0 : 0xFF);
        EXPECT_EQ(Argb(bitmap, x, y), alpha ? alpha << 24 | c.Expected(x, y) : Argb(bitmap, x, y) & 0xFFFFFF)
            << x << "," << y;
      }
  }
}

TEST(KemIcons, PngEntriesAndSizesFromTheData) {
  TKemIcons icons;
  const std::string png = PngBytes(64, 48, 0x80FF0000u);
  std::string broken = png;
  broken[40] ^= 0x55;  // a CRC mismatch past the header: kept, but it cannot be drawn
  std::string noSize = png;
  noSize.replace(16, 4, BE32(0));  // a header without a width: skipped
  icons.LoadIcoData(IcoFile({{0, 0, 0, 1, 32, png}, {16, 16, 0, 1, 32, broken}, {0, 0, 0, 1, 32, noSize}}));
  ASSERT_EQ(icons.GetCount(), 1);
  ASSERT_EQ(icons.GetGroup(0)->Count(), 2);
  const TKemIconImage& image = *icons.GetGroup(0)->Image(0);
  EXPECT_EQ(image.Width, 64);
  EXPECT_EQ(image.Height, 48);
  EXPECT_TRUE(image.Alpha);
  TBitmap bitmap, mask;
  image.Draw(bitmap, mask, false, false);
  EXPECT_EQ(Argb(bitmap, 10, 10), 0x80FF0000u);
  EXPECT_EQ(mask.Width(), 64);  // kept without the use-alpha flag
  EXPECT_THROW(icons.GetGroup(0)->Image(1)->Draw(bitmap, mask, false, false), EPNGImage);
}

TEST(KemIcons, BestAndExactImage) {
  auto entry = [](int size, int bits) {
    return TIcoEntry{size, size, 0, 1, bits, DibImage(size, size, bits, Sample, SampleMask)};
  };
  TKemIcons icons;
  icons.LoadIcoData(IcoFile({entry(16, 4), entry(32, 4), entry(32, 8), entry(48, 32), entry(16, 32)}));
  const TKemIconGroup& g = *icons.GetGroup(0);
  struct Case {
    bool Exact;
    int Size, Bits, Index;
  };
  const Case cases[] = {
      {false, 32, 8, 2}, {false, 24, 8, 0}, {false, 8, 8, 0},  {false, 512, 32, 3}, {false, 47, 32, 2},
      {true, 32, 32, 2}, {true, 32, 4, 1},  {true, 16, 32, 4}, {true, 16, 8, 0},    {true, 24, 32, -1},
  };
  for (const Case& c : cases) {
    int index = 99;
    const TKemIconImage* image = c.Exact ? g.ExactImage(c.Size, c.Bits, &index) : g.BestImage(c.Size, c.Bits, &index);
    EXPECT_EQ(index, c.Index) << c.Exact << " " << c.Size << " " << c.Bits;
    EXPECT_EQ(image, g.Image(c.Index));
  }
  TKemIconGroup empty;
  int index = 0;
  EXPECT_EQ(empty.BestImage(32, 32, &index), nullptr);
  EXPECT_EQ(index, -1);
}

TEST(KemIcons, DrawResamplesOrCentres) {
  // An opaque 4 x 4 red picture drawn into 8 x 8 and 2 x 2 targets.
  TKemIcons icons;
  icons.LoadIcoData(IcoFile({{4, 4, 0, 1, 24,
                              DibImage(
                                  4, 4, 24, [](int, int) { return 0xFF0000u; }, [](int, int) { return false; })}}));
  const TKemIconImage& image = *icons.GetGroup(0)->Image(0);
  struct Case {
    int Target;
    bool Resample;
    int X, Y;
    std::uint32_t Expected;
    bool MaskSet;
  };
  const Case cases[] = {
      {8, true, 0, 0, 0xFFFF0000u, false},  {8, true, 7, 7, 0xFFFF0000u, false},  {8, false, 1, 1, 0, true},
      {8, false, 2, 2, 0xFFFF0000u, false}, {8, false, 5, 5, 0xFFFF0000u, false}, {8, false, 6, 6, 0, true},
      {2, false, 0, 0, 0xFFFF0000u, false}, {2, true, 1, 1, 0xFFFF0000u, false},
  };
  for (const Case& c : cases) {
    TBitmap bitmap, mask;
    bitmap.SetSize(c.Target, c.Target);
    image.Draw(bitmap, mask, c.Resample, false);
    ASSERT_EQ(bitmap.Width(), c.Target);
    ASSERT_EQ(mask.Width(), c.Target);
    // Lanczos weights are not normalised: a flat picture comes out within a few steps.
    const std::uint32_t got = Argb(bitmap, c.X, c.Y);
    for (int shift : {0, 8, 16, 24})
      EXPECT_NEAR(static_cast<int>(got >> shift & 255), static_cast<int>(c.Expected >> shift & 255), c.Resample ? 3 : 0)
          << c.Target << c.Resample << c.X;
    EXPECT_EQ(mask.PixelColor(c.X, c.Y) != 0, c.MaskSet) << c.Target << c.Resample << c.X;
  }
}

TEST(KemIcons, DamagedIconFilesSkipEntriesOrAddNothing) {
  const std::string good = DibImage(4, 4, 8, Sample, SampleMask);
  auto withField = [&](std::size_t at, std::string bytes) {
    return std::string(good).replace(at, bytes.size(), bytes);
  };
  const std::string ok = IcoFile({{4, 4, 0, 1, 8, good}});
  struct Case {
    const char* Name;
    std::string File;
    int Images;  // -1: no group at all
  };
  std::string beyond = ok;
  beyond.replace(6 + 12, 4, LE32(0x7FFFFFF0));  // offset past the end
  std::string tooLong = ok;
  tooLong.replace(6 + 8, 4, LE32(0xFFFFFFFF));  // size past the end
  std::string manyEntries = ok;
  manyEntries.replace(4, 2, LE16(0xFFFF));  // a count the directory cannot hold
  const Case cases[] = {
      {"good", ok, 1},
      {"offset beyond the file", beyond, -1},
      {"size beyond the file", tooLong, -1},
      {"count beyond the directory", manyEntries, 1},
      {"not an icon file", "MZ" + ok, -1},
      {"cursor type", std::string(ok).replace(2, 2, LE16(2)), -1},
      {"empty", "", -1},
      {"header size", IcoFile({{4, 4, 0, 1, 8, withField(0, LE32(12))}, {4, 4, 0, 1, 8, good}}), 1},
      {"bit count", IcoFile({{4, 4, 0, 1, 0, withField(14, LE16(7))}}), -1},
      {"colour count", IcoFile({{4, 4, 0, 1, 8, withField(32, LE32(257))}}), -1},
      {"huge width", IcoFile({{4, 4, 0, 1, 8, withField(4, LE32(0x40000000))}}), -1},
      {"negative height", IcoFile({{4, 4, 0, 1, 8, withField(8, LE32(0xFFFFFFF8))}}), -1},
      {"mask cut off", IcoFile({{4, 4, 0, 1, 8, good.substr(0, good.size() - 4)}}), -1},
      {"pixels cut off", IcoFile({{4, 4, 0, 1, 8, good.substr(0, 40 + 1024 + 8)}}), -1},
      {"compressed", IcoFile({{4, 4, 0, 1, 8, withField(16, LE32(1))}}), -1},
  };
  for (const Case& c : cases) {
    TKemIcons icons;
    icons.LoadIcoData(c.File);
    if (c.Images < 0) {
      EXPECT_EQ(icons.GetCount(), 0) << c.Name;
    } else {
      ASSERT_EQ(icons.GetCount(), 1) << c.Name;
      EXPECT_EQ(icons.GetGroup(0)->Count(), c.Images) << c.Name;
    }
  }
}

TEST(KemIcons, EntriesNamingOnePictureShareItAndStayWithinTheCaps) {
  // 300 entries of a 4.3 MB file name one 1024 x 1024 picture (each copy of
  // it took 4 MB: 1.3 GB at every start); smaller entries go past the images
  // a group may hold.
  const std::string big = DibImage(
      1024, 1024, 32, [](int x, int y) { return 0xFF000000u | static_cast<std::uint32_t>(x ^ y); },
      [](int, int) { return false; });
  const std::string small = DibImage(16, 16, 32, Sample, SampleMask);
  auto naming = [](const std::string& Picture, int Entries) {
    std::string s = LE16(0) + LE16(1) + LE16(static_cast<unsigned>(Entries));
    for (int i = 0; i < Entries; ++i)
      s += std::string("\0\0\0\0", 4) + LE16(1) + LE16(32) + LE32(static_cast<std::uint32_t>(Picture.size()) + 99) +
           LE32(6 + 16 * static_cast<std::uint32_t>(Entries));
    return s + Picture + std::string(99, '\0');
  };
  struct Case {
    const char* Name;
    std::string File;
    int Images;
  };
  const Case cases[] = {{"300 large", naming(big, 300), 16}, {"1,000 small", naming(small, 1000), 256}};
  for (const Case& c : cases) {
    const auto start = std::chrono::steady_clock::now();
    TKemIcons icons;
    icons.LoadIcoData(c.File);
    ASSERT_EQ(icons.GetCount(), 1) << c.Name;
    const TKemIconGroup& group = *icons.GetGroup(0);
    EXPECT_EQ(group.Count(), c.Images) << c.Name;
    std::int64_t pixelBytes = 0;
    for (const auto& image : group.Images) {
      const auto& win = static_cast<const TKemIconImageWin&>(*image);
      pixelBytes += std::int64_t{image->Width} * image->Height * 4;
      // One copy of the picture, its stated size cut to its parts.
      EXPECT_EQ(win.Data().data(), static_cast<const TKemIconImageWin&>(*group.Images[0]).Data().data()) << c.Name;
      EXPECT_EQ(win.Data().size(), c.Images == 16 ? big.size() : small.size()) << c.Name;
    }
    EXPECT_LE(pixelBytes, kMaxIconPixelBytesPerFile) << c.Name;
    TBitmap bitmap, mask;
    group.Images.back()->Draw(bitmap, mask, false, true);
    EXPECT_EQ(Argb(bitmap, 3, 5), c.Images == 16 ? 0xFF000006u : Sample(3, 5)) << c.Name;
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2)) << c.Name;
  }
}

TEST(KemIcons, NELibrariesWithNamesAndDamage) {
  auto image = [](int size) { return TIcoEntry{size, size, 0, 1, 8, DibImage(size, size, 8, Sample, SampleMask)}; };
  const std::vector<TNeGroup> groups = {{{image(16), image(32)}}, {{image(32)}}, {{image(48)}}};
  struct Case {
    const char* Name;
    std::string File;
    std::vector<std::string> Groups;
    std::vector<int> Sizes;  // of each group's first image
  };
  std::string badShift = NeLibrary(groups, {"ONE"});
  badShift.replace(64 + 64, 2, LE16(16));
  std::string noTable = NeLibrary(groups, {"ONE"});
  noTable.replace(64 + 36, 2, LE16(0));
  std::string pastEnd = NeLibrary(groups, {"ONE"});
  pastEnd.resize(pastEnd.size() - 100);
  const Case cases[] = {
      {"names after ICL", NeLibrary(groups, {"FIRST", "Second"}), {"FIRST", "Second", "Res2"}, {16, 32, 48}},
      {"no ICL, shift 0", NeLibrary(groups, {"A", "B", "C"}, false, 0), {"A", "B", "C"}, {16, 32, 48}},
      {"shift 9", NeLibrary(groups, {}, true, 9), {"Res0", "Res1", "Res2"}, {16, 32, 48}},
      {"shift above 15", badShift, {}, {}},
      {"no resource table", noTable, {}, {}},
      {"data cut off", pastEnd, {"ONE", "Res1"}, {16, 32}},
      {"not NE", std::string(NeLibrary(groups, {})).replace(64, 2, "XX"), {}, {}},
  };
  for (const Case& c : cases) {
    TKemIcons icons;
    icons.LoadNEData(c.File);
    ASSERT_EQ(icons.GetCount(), static_cast<int>(c.Groups.size())) << c.Name;
    for (int i = 0; i < icons.GetCount(); ++i) {
      EXPECT_EQ(icons.GetGroup(i)->Name, c.Groups[i]) << c.Name;
      EXPECT_EQ(icons.GetGroup(i)->Image(0)->Width, c.Sizes[i]) << c.Name;
    }
  }
  TKemIcons icons;
  icons.LoadNEData(NeLibrary(groups, {"FIRST", "Second"}));
  EXPECT_EQ(icons.FindGroup("second"), icons.GetGroup(1));
  EXPECT_EQ(icons.GetGroup(0)->Count(), 2);
}

TEST(KemIcons, NELibraryGroupsSharingOneDirectoryStayWithinTheFileBudget) {
  // Every group record may name one directory, and each group walked it
  // whole: 2,000 groups of 256 entries naming a 1 x 1 picture made 512,000
  // images (65,000 groups took 1.44 GB), and 500 groups sharing 65,535 entries
  // of a picture too large to keep walked 33 million entries (10,000 such
  // groups held a start for a minute).
  const std::string tiny = DibImage(1, 1, 32, Sample, SampleMask), head = craftedicons::PngHead(1024, 1024);
  auto icon1 = [](int) { return 1u; };
  struct Case {
    const char* Name;
    std::string File;
    int FirstImages;  // of group 0
  };
  const Case cases[] = {
      {"tiny pictures", NeLibraryOfSharedDirectory(tiny, 2000, GroupDirectory(256, icon1, 1, 1, 32, tiny.size())),
       kMaxIconImagesPerGroup},
      {"pictures never kept",
       NeLibraryOfSharedDirectory(head, 500, GroupDirectory(65535, icon1, 0, 0, 32, head.size())),
       static_cast<int>(kMaxIconPixelBytesPerFile / (1024 * 1024 * 4))},
  };
  for (const Case& c : cases) {
    const std::int64_t before = ResidentBytes();
    const auto start = std::chrono::steady_clock::now();
    TKemIcons icons;
    icons.LoadNEData(c.File);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2)) << c.Name;
    if (before >= 0) {
      EXPECT_LT(ResidentBytes() - before, std::int64_t{48} << 20) << c.Name;
    }
    // Reading stops at the budget and keeps what it read.
    ASSERT_GE(icons.GetCount(), 1) << c.Name;
    EXPECT_EQ(icons.GetGroup(0)->Count(), c.FirstImages) << c.Name;
    int images = 0;
    for (int g = 0; g < icons.GetCount(); ++g) images += icons.GetGroup(g)->Count();
    EXPECT_LE(images, kMaxIconEntriesPerFile) << c.Name;
  }
}

TEST(KemIcons, FilesGoToTheirReaderByContent) {
  TempDir dir;
  auto write = [&](const std::string& name, const std::string& bytes) {
    TStringStream s(bytes);
    s.SaveToFile(dir.file(name));
    return dir.file(name);
  };
  const std::string ico = IcoFile({{4, 4, 0, 1, 8, DibImage(4, 4, 8, Sample, SampleMask)}});
  const std::string ne = NeLibrary({{{TIcoEntry{4, 4, 0, 1, 8, DibImage(4, 4, 8, Sample, SampleMask)}}}}, {"G"});
  struct Case {
    std::string Name, Bytes;
    int Groups;
  };
  const Case cases[] = {{"a.ICO", ico, 1},          {"b.icl", ne, 1}, {"c.exe", ne, 1},
                        {"d.txt", "plain text", 0}, {"e.ico", "", 0}, {"f.dat", ico, 0}};
  for (const Case& c : cases) {
    TKemIcons icons;
    icons.LoadFromFile(write(c.Name, c.Bytes));
    EXPECT_EQ(icons.GetCount(), c.Groups) << c.Name;
  }
  TKemIcons icons;
  icons.LoadFromFile(dir.file("missing.ico"));
  EXPECT_EQ(icons.GetCount(), 0);
}

TEST(KemIcons, LargeFilesThatAreNoIconsAreNotReadWhole) {
  // What the process read from files, where the system counts it.
  auto bytesRead = [] {
    std::ifstream io("/proc/self/io");
    std::string key;
    std::int64_t value = -1;
    while (io >> key >> value)
      if (key == "rchar:") return value;
    return std::int64_t{-1};
  };
  if (bytesRead() < 0) GTEST_SKIP() << "the system does not count the bytes read";
  TempDir dir;
  for (const char* name : {"film.ico", "film.dat", "film.exe"}) {
    {
      std::ofstream file(dir.file(name), std::ios::binary);
      file << std::string(4096, 'x');
      file.seekp((std::int64_t{60} << 20) - 1);
      file.put('x');
    }
    const std::int64_t before = bytesRead();
    TKemIcons icons;
    icons.LoadFromFile(dir.file(name));
    EXPECT_EQ(icons.GetCount(), 0) << name;
    EXPECT_LT(bytesRead() - before, 1 << 20) << name;  // 60 MB at every start before
  }
}

TEST(KemIcons, ExecutableSignatures) {
  auto exe = [](std::uint32_t header, const std::string& sig, std::size_t size) {
    std::string s = "MZ" + std::string(58, '\0') + LE32(header);
    s.resize(std::max<std::size_t>(size, 64), '\0');
    if (header + sig.size() <= s.size()) s.replace(header, sig.size(), sig);
    return s;
  };
  struct Case {
    std::string Data;
    bool Executable, PE;
  };
  const Case cases[] = {
      {exe(128, std::string("PE\0\0", 4), 256), true, true},
      {exe(128, "NE", 256), true, false},
      {exe(128, "LE", 256), false, false},
      {exe(0x7FFFFFFF, "PE", 256), false, false},
      {exe(254, "NE", 256), false, false},
      {exe(20, "NE", 256), false, false},
      {"MZ", false, false},
  };
  for (const Case& c : cases) {
    bool pe = true;
    EXPECT_EQ(IsExecutableData(c.Data, pe), c.Executable) << c.Data.size();
    EXPECT_EQ(pe, c.PE);
  }
}

TEST(KemIcons, RegisteredIconLocations) {
  struct Case {
    const char* Location;
    const char* Path;
    int Index;
    bool Ok;
  };
  const Case cases[] = {
      {"C:\\Win\\shell32.dll,3", "C:\\Win\\shell32.dll", 3, true},
      {"\"C:\\Program Files\\App\\app.exe\",-101", "C:\\Program Files\\App\\app.exe", -101, true},
      {"\"C:\\App\\app.exe\" %1", "C:\\App\\app.exe", 0, true},
      {"C:\\App\\doc.ico", "C:\\App\\doc.ico", 0, true},
      {"%1", "", 0, false},
      {"", "", 0, false},
      {" notepad.exe , 2 ", "notepad.exe", 2, true},
  };
  for (const Case& c : cases) {
    String path;
    int index = 7;
    EXPECT_EQ(ParseIconLocation(c.Location, path, index), c.Ok) << c.Location;
    EXPECT_EQ(path, c.Path) << c.Location;
    EXPECT_EQ(index, c.Index) << c.Location;
  }
}
