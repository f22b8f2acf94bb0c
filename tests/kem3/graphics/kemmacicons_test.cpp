// Mac icon families and their containers: elements of every kind decoded,
// families found in resource forks, AppleSingle/AppleDouble, MacBinary and
// typed streams made by our own writers, and damaged files that end the
// reading without harm.
#include "kem3/graphics/kemmacicons.h"

#include <gtest/gtest.h>

#include <chrono>

#include "kem3/graphics/icon_pixels.h"
#include "kem3/graphics/kemtypedstream.h"
#include "support/crafted_icons.h"
#include "tools/common/iconwriter.h"

using namespace iconwriter;

namespace {

// A 32 x 32 one-bit picture and its mask: the left half black, the top half masked in.
std::string IcnHash() {
  std::string bits(128, '\0'), mask(128, '\0');
  for (int y = 0; y < 32; ++y) {
    bits[static_cast<std::size_t>(y * 4)] = '\xFF';
    bits[static_cast<std::size_t>(y * 4 + 1)] = '\xFF';
    if (y < 16)
      for (int i = 0; i < 4; ++i) mask[static_cast<std::size_t>(y * 4 + i)] = '\xFF';
  }
  return bits + mask;
}

// Packed planes of a 16 x 16 "is32": each plane of 256 bytes in two runs of 128.
std::string PackedPlanes(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
  std::string s;
  for (std::uint8_t v : {r, g, b}) s += std::string{'\xFD', static_cast<char>(v), '\xFD', static_cast<char>(v)};
  return s;
}

std::vector<std::uint32_t> Pixels(const TKemIconImage& Image) {
  TBitmap bitmap, mask;
  Image.Draw(bitmap, mask, false, true);
  return {Argb(bitmap, 0, 0), Argb(bitmap, bitmap.Width() - 1, bitmap.Height() - 1)};
}

}  // namespace

TEST(KemMacIcons, ElementsOfEveryKind) {
  const std::string l8mk(1024, '\x40');
  struct Case {
    const char* Name;
    std::vector<TIcnsElement> Elements;
    int Width;
    std::vector<std::uint32_t> Corners;  // top left, bottom right
    bool Alpha;
  };
  const Case cases[] = {
      // The 1- and 4-bit elements are no pictures; the 1-bit mask serves the others.
      {"icl8 with ICN# mask",
       {{"ICN#", IcnHash()}, {"icl4", std::string(512, '\x3D')}, {"icl8", std::string(1024, '\x05')}},
       32,
       {0xFFFFFF00u, 0x00FFFF00u},
       false},
      {"il32 unpacked with l8mk",
       {{"il32", std::string(4096, '\x00').replace(0, 4, "\x00\x11\x22\x33", 4)}, {"l8mk", l8mk}},
       32,
       {0x40112233u, 0x40000000u},
       true},
      {"is32 packed", {{"is32", PackedPlanes(0x10, 0x20, 0x30)}}, 16, {0xFF102030u, 0xFF102030u}, false},
      {"it32 packed skips four bytes",
       {{"it32", std::string(4, '\0') +
                     [] {
                       std::string s;
                       for (int i = 0; i < 3 * 128; ++i) s += "\xFF\x7F";
                       return s;
                     }()}},
       128,
       {0xFF7F7F7Fu, 0xFF7F7F7Fu},
       false},
      {"icm8 is 16 x 12", {{"icm8", std::string(192, '\xFF')}}, 16, {0xFF000000u, 0xFF000000u}, false},
  };
  for (const Case& c : cases) {
    TKemIcons icons;
    icons.LoadMacData(IcnsFamily(c.Elements));
    ASSERT_EQ(icons.GetCount(), 1) << c.Name;
    ASSERT_EQ(icons.GetGroup(0)->Count(), 1) << c.Name;
    const TKemIconImage& image = *icons.GetGroup(0)->Image(0);
    EXPECT_EQ(image.Width, c.Width) << c.Name;
    EXPECT_EQ(image.Alpha, c.Alpha) << c.Name;
    const std::vector<std::uint32_t> corners = Pixels(image);
    EXPECT_EQ(corners[0], c.Corners[0]) << c.Name;
    // A transparent pixel says nothing of its colour.
    if (c.Corners[1] >> 24)
      EXPECT_EQ(corners[1], c.Corners[1]) << c.Name;
    else
      EXPECT_EQ(corners[1] >> 24, 0u) << c.Name;
  }
}

TEST(KemMacIcons, FourBitElementsThroughTheSystemPalette) {
  TMacBinResIconImage element;
  ASSERT_TRUE(element.Decode("icl4", std::string(512, '\x3D')));
  EXPECT_EQ(Argb(element.Bitmap, 0, 0), 0xFFDD0806u);
  EXPECT_EQ(Argb(element.Bitmap, 1, 0), 0xFF808080u);
  EXPECT_EQ(MacPalette256()[215], (std::array<std::uint8_t, 3>{0xEE, 0x00, 0x00}));  // after the cube: the red ramp
}

TEST(KemMacIcons, ShortAndDamagedElements) {
  struct Case {
    const char* Name;
    std::string Family;
    int Images;
  };
  const std::string icl8(1024, '\x01');
  std::string zeroLength = IcnsFamily({{"icl8", icl8}, {"ics8", std::string(256, '\1')}});
  zeroLength.replace(8 + 4, 4, BE32(4));  // an element length below 8 ends the family
  std::string pastFamily = IcnsFamily({{"icl8", icl8}, {"ics8", std::string(256, '\1')}});
  pastFamily.replace(8 + 8 + 1024 + 4, 4, BE32(0x7FFFFFFF));
  // Runs that would go past the planes and a control byte at the end of the input.
  const std::string overlong = std::string(200, '\xFF') + "\x7F";
  const Case cases[] = {
      {"both", IcnsFamily({{"icl8", icl8}, {"ics8", std::string(256, '\1')}}), 2},
      {"icl8 one byte short", IcnsFamily({{"icl8", icl8.substr(1)}}), 0},
      {"icl4 short", IcnsFamily({{"icl4", std::string(511, '\1')}}), 0},
      {"length below 8", zeroLength, 0},
      {"length beyond the family", pastFamily, 1},
      {"runs beyond the planes", IcnsFamily({{"is32", overlong}}), 1},
      {"unknown types only", IcnsFamily({{"TOC ", "abcd"}, {"icnV", "1234"}}), 0},
      {"family length short", IcnsFamily({{"icl8", icl8}}).replace(4, 4, BE32(4)), 0},
  };
  for (const Case& c : cases) {
    TKemIcons icons;
    icons.LoadMacData(c.Family);
    EXPECT_EQ(icons.GetCount() ? icons.GetGroup(0)->Count() : 0, c.Images) << c.Name;
  }
}

TEST(KemMacIcons, FamiliesInEveryContainer) {
  const std::string a = IcnsFamily({{"icl8", std::string(1024, '\x01')}});
  const std::string b = IcnsFamily({{"ics8", std::string(256, '\x02')}, {"is32", PackedPlanes(1, 2, 3)}});
  const std::string fork = ResourceFork({a, b});
  std::string forkPastEnd = AppleSingle(fork);
  forkPastEnd.replace(26 + 8, 4, BE32(0x7FFFFFF0));
  std::string macBinaryPadded = MacBinary("data fork", fork) + std::string(128, '\0');
  std::string macBinaryNameLong = MacBinary("", fork);
  macBinaryNameLong[1] = 64;
  struct Case {
    const char* Name;
    std::string File;
    TMacFileKind Kind;
    bool Recognised;
    int Images;
  };
  const Case cases[] = {
      {"icns", a, mfkIcns, true, 1},
      {"AppleSingle", AppleSingle(fork), mfkAppleSingle, true, 3},
      {"AppleDouble", AppleSingle(fork, true), mfkAppleDouble, true, 3},
      {"MacBinary", MacBinary("data fork", fork), mfkMacBinary, true, 3},
      {"typed stream", TypedStream({a, b}), mfkTypedStream, true, 3},
      {"AppleSingle fork beyond the file", forkPastEnd, mfkAppleSingle, true, 0},
      {"MacBinary longer than its forks", macBinaryPadded, mfkMacBinary, false, 0},
      {"MacBinary name too long", macBinaryNameLong, mfkMacBinary, false, 0},
      {"plain text", std::string(300, 'x'), mfkMacBinary, false, 0},
      {"short", "abc", mfkNone, false, 0},
  };
  for (const Case& c : cases) {
    TMacBinary mac(c.File);
    EXPECT_EQ(mac.Kind(), c.Kind) << c.Name;
    EXPECT_EQ(mac.IsMacIconData(), c.Recognised) << c.Name;
    TKemIcons icons;
    icons.LoadMacData(c.File);
    EXPECT_EQ(icons.GetCount() ? icons.GetGroup(0)->Count() : 0, c.Images) << c.Name;
  }
}

TEST(KemMacIcons, ManyElementsAndReferencesStayWithinTheCaps) {
  // 10,000 tiny "it32" elements of 128 x 128 pixels in 90 KB (each kept
  // decoded: 1.3 GB).
  std::vector<TIcnsElement> tiny(10000, TIcnsElement{"it32", std::string(1, '\xFF')});
  // A resource fork whose 8,000 types lead to one family twice each.
  const std::string fork =
      craftedicons::ResourceForkOfManyTypes(IcnsFamily({{"icl8", std::string(1024, '\x01')}}), 8000, 2);
  struct Case {
    const char* Name;
    std::string File;
    int Images;
  };
  const Case cases[] = {{"tiny elements", IcnsFamily(tiny), kMaxIconImagesPerGroup},
                        {"one family by many types", AppleSingle(fork, true), 1}};
  for (const Case& c : cases) {
    const auto start = std::chrono::steady_clock::now();
    TKemIcons icons;
    icons.LoadMacData(c.File);
    ASSERT_EQ(icons.GetCount(), 1) << c.Name;
    EXPECT_EQ(icons.GetGroup(0)->Count(), c.Images) << c.Name;
    TBitmap bitmap, mask;
    icons.GetGroup(0)->Images.back()->Draw(bitmap, mask, false, true);
    EXPECT_EQ(bitmap.Width(), icons.GetGroup(0)->Images.back()->Width) << c.Name;
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2)) << c.Name;
  }
}

TEST(KemMacIcons, TypedStreamLimits) {
  auto counted = [](const std::string& s) { return std::string(1, static_cast<char>(s.size())) + s; };
  const std::string header = "\x04" + counted("typedstream") + "\x01";
  // Superclasses nested deeper than the reader allows.
  std::string deep = header + "\x84" + counted("@") + "\x84";
  for (int i = 0; i < 100; ++i) deep += "\x84\x84" + counted("C" + std::to_string(i)) + std::string(1, '\0');
  struct Case {
    const char* Name;
    std::string Stream;
    bool Header;
    bool Completes;
  };
  const Case cases[] = {
      {"array of data", TypedStream({IcnsFamily({})}), true, true},
      {"version 5", "\x05" + counted("typedstream") + "\x01", false, false},
      {"little-endian", "\x04" + counted("streamtyped") + "\x01", true, true},
      {"nested too deep", deep, true, false},
      {"string reference past the table", header + "\x99", true, false},
      {"object reference past the table", header + "\x84" + counted("@") + "\xA0", true, false},
      {"data longer than the stream",
       header + "\x84" + counted("@") + "\x84\x84\x84" + counted("NSData") + std::string(1, '\0') + "\x85" + "\x84" +
           counted("i") + "\x82\x7F\xFF\xFF\xFF",
       true, false},
      {"unknown value type", header + "\x84" + counted("f") + "1234", true, false},
  };
  for (const Case& c : cases) {
    TNXTypedStream stream(c.Stream);
    ASSERT_EQ(stream.ReadHeader(), c.Header) << c.Name;
    if (!c.Header) continue;
    bool completed = true;
    try {
      stream.ReadAll();
    } catch (const EIconError&) {
      completed = false;
    }
    EXPECT_EQ(completed, c.Completes) << c.Name;
  }
}

TEST(KemMacIcons, TypedStreamReferencesCostTheSameWhateverTheyName) {
  using namespace craftedicons;
  const std::string strings = TypedStreamStringReferences(300000, 100000);
  const std::string objects = TypedStreamClassObjects(45000, 100000);
  // More new strings than any archive holds: the reading ends.
  std::string many = TypedStreamHead();
  for (int i = 0; i < 70000; ++i) many += "\x84" + Counted("*") + "\x84" + Counted("s");
  struct Case {
    const char* Name;
    const std::string& Stream;
    bool Completes;
  };
  const Case cases[] = {{"string references", strings, true},
                        {"objects of a long class", objects, true},
                        {"table past its cap", many, false}};
  for (const Case& c : cases) {
    const auto start = std::chrono::steady_clock::now();
    TNXTypedStream stream(c.Stream);
    ASSERT_TRUE(stream.ReadHeader()) << c.Name;
    bool completed = true;
    try {
      stream.ReadAll();
    } catch (const EIconError&) {
      completed = false;
    }
    EXPECT_EQ(completed, c.Completes) << c.Name;
    // Copying the name at each reference took a minute and gigabytes.
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2)) << c.Name;
  }
}
