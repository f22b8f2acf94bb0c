// Language files of both formats: what our writers write reads back, the
// flag pictures, module choice, and damaged files that must leave a language
// invalid or raise a read error instead of reading wild.
#include "kem3/framework/kemlanfile.h"

#include <gtest/gtest.h>

#include "kem3/framework/kemlanblock.h"
#include "kem3/framework/kemstreamfmt.h"
#include "kem3/pictures/kemimage.h"
#include "kemlan_test_support.h"
#include "platform/graphics.h"
#include "platform/unicode_convert.h"
#include "support/temp_dir.h"

namespace {

using namespace lantest;

const char* const kEntries =
    "@credits First line\n"
    "@credits Second line\n"
    "@font Segoe UI 9\n"
    "@font Verdana 7\n"
    "@scale 1.25\n"
    "0 Greeting = Hello\n"
    "2 Farewell = Bye \\s\n"
    "3 - = Na\xC3\xAFve \xE2\x82\xAC\n"
    "@module Second\n"
    "0 Only = Zweites Modul\n";

// Three pixels: transparent, opaque red, half-transparent blue.
std::unique_ptr<TPNGImage> FlagPicture() {
  auto png = std::make_unique<TPNGImage>();
  png->SetPixelFormat(pf32bit);
  png->SetSize(3, 1);
  png->SetAlphaFormat(afDefined);
  auto* row = static_cast<std::uint8_t*>(png->ScanLine(0));
  const std::uint8_t pixels[12] = {9, 9, 9, 0, 0, 0, 255, 255, 255, 0, 0, 128};
  std::copy(std::begin(pixels), std::end(pixels), row);
  return png;
}

TColor Blended(TColor Ground, std::uint32_t Pixel) {
  const auto ground = static_cast<std::uint32_t>(((Ground & 0xFF) << 16) | (Ground & 0xFF00) | ((Ground >> 16) & 0xFF));
  const std::uint32_t mixed = BlendPixel(ground | 0xFF000000u, Pixel);
  return RGBColor((mixed >> 16) & 0xFF, (mixed >> 8) & 0xFF, mixed & 0xFF);
}

TEST(Lan3File, HeaderFieldsReadBackFromOurWriter) {
  for (bool compress : {true, false}) {
    auto language = Open(Lan3Bytes(Catalogue("DE", "Deutsch", kEntries), nullptr, compress));
    ASSERT_TRUE(language);
    EXPECT_NE(dynamic_cast<TLanguage3*>(language.get()), nullptr);
    EXPECT_EQ(language->Code, "DE");
    EXPECT_EQ(language->DisplayName, u"Deutsch");
    EXPECT_EQ(language->Credits, u"First line\r\nSecond line");
    EXPECT_EQ(language->FontNames, (std::vector<String>{"Segoe UI", "Verdana"}));
    EXPECT_EQ(language->FontSizes, (std::vector<int>{9, 7}));
    EXPECT_EQ(language->FontScale, 1.25);
    EXPECT_TRUE(language->Flag.Empty());
  }
}

TEST(Lan3File, TextsOfTheFirstOrOfANamedModule) {
  auto language = Open(Lan3Bytes(Catalogue("DE", "Deutsch", kEntries)));
  ASSERT_TRUE(language);
  TLanguageTexts first = Texts(*language);
  ASSERT_EQ(first.Texts.size(), 4u);
  EXPECT_EQ(first.Texts[0], u"Hello");
  EXPECT_EQ(first.Texts[1], u"");
  EXPECT_EQ(first.Texts[2], u"Bye  ");
  EXPECT_EQ(first.Texts[3], u"Na\u00efve \u20ac");
  EXPECT_EQ(first.Names, (std::vector<String>{"Greeting", "", "Farewell", ""}));

  TLanguageTexts second = Texts(*language, "SECOND");
  EXPECT_EQ(second.Texts, std::vector<WideString>{u"Zweites Modul"});
  EXPECT_EQ(second.Names, std::vector<String>{"Only"});
  // A module the file lacks gives no texts.
  EXPECT_TRUE(Texts(*language, "Third").Texts.empty());
}

TEST(Lan3File, FlagIsDrawnWithItsTransparencyOnTheWindowAndHighlightColours) {
  auto png = FlagPicture();
  auto language = Open(Lan3Bytes(Catalogue("US", "English", ""), png.get()));
  ASSERT_TRUE(language);
  for (auto [bitmap, ground] : {std::pair{&language->Flag, ColorToRGB(clWindow)},
                                std::pair{&language->FlagSelected, ColorToRGB(clHighlight)}}) {
    ASSERT_EQ(bitmap->Width(), 3);
    ASSERT_EQ(bitmap->Height(), 1);
    EXPECT_EQ(bitmap->PixelColor(0, 0), ground);
    EXPECT_EQ(bitmap->PixelColor(1, 0), clRed);
    EXPECT_EQ(bitmap->PixelColor(2, 0), Blended(ground, 0x800000FFu));
  }
}

TEST(Lan3File, AScaleThatIsNoSensibleNumberIsIgnored) {
  TLanCatalogue catalogue = Catalogue("XX", "X", "");
  for (double scale : {0.0, -1.0, 100.0}) {
    catalogue.Scale = scale;
    auto language = Open(Lan3Bytes(catalogue));
    ASSERT_TRUE(language);
    EXPECT_EQ(language->FontScale, 1.0) << scale;
  }
}

TEST(Lan3File, UnknownTagsAreSkippedWhateverTheirPayload) {
  std::string bytes = Lan3Bytes(Catalogue("US", "English", "0 A = a\n"), nullptr, false);
  // One more block in front of the others: unknown tag, 12-byte frame + 5 bytes.
  bytes.insert(kLan3HeaderSize, std::string("zzzz\x11\0\0\0\0\0\0\0junk!", 17));
  PutInt32(bytes, 20, static_cast<std::int32_t>(bytes[20]) + 1);
  auto language = Open(bytes);
  ASSERT_TRUE(language);
  EXPECT_EQ(language->DisplayName, u"English");
  EXPECT_EQ(Texts(*language).Texts, std::vector<WideString>{u"a"});
}

// ---- Damaged tagged files

class Lan3Damage : public testing::Test {
 protected:
  std::string Good = Lan3Bytes(Catalogue("US", "English", "0 A = a\n1 B = b\n"), nullptr, false);
  // The first block starts right after the header.
  static constexpr size_t kFirstSize = kLan3HeaderSize + 4;
};

TEST_F(Lan3Damage, TheUndamagedFileIsValid) { EXPECT_TRUE(Open(Good)); }

TEST_F(Lan3Damage, ABlockSmallerThanItsFrameMakesTheFileInvalid) {
  for (std::int32_t size : {0, 11, -12}) {
    std::string bytes = Good;
    PutInt32(bytes, kFirstSize, size);
    EXPECT_FALSE(Open(bytes)) << size;
  }
}

TEST_F(Lan3Damage, ABlockReachingPastTheFileMakesItInvalid) {
  std::string bytes = Good;
  PutInt32(bytes, kFirstSize, static_cast<std::int32_t>(bytes.size()));
  EXPECT_FALSE(Open(bytes));
  EXPECT_FALSE(Open(Good.substr(0, Good.size() - 1)));
}

TEST_F(Lan3Damage, ABlockCountTheFileCannotHoldMakesItInvalid) {
  for (std::int32_t count : {-1, 1 << 30}) {
    std::string bytes = Good;
    PutInt32(bytes, 20, count);
    EXPECT_FALSE(Open(bytes)) << count;
  }
}

TEST_F(Lan3Damage, AStringLengthBeyondItsBlockMakesTheFileInvalid) {
  std::string bytes = Good;
  // The display name's length, first thing of the first payload.
  PutInt32(bytes, kLan3HeaderSize + kLanBlockHeaderSize, 1 << 30);
  EXPECT_FALSE(Open(bytes));
  PutInt32(bytes, kLan3HeaderSize + kLanBlockHeaderSize, -5);
  EXPECT_FALSE(Open(bytes));
}

TEST_F(Lan3Damage, AModuleBlockWhoseListDisagreesWithItsCountRaisesAReadError) {
  TLanBlockModule module;
  module.Module = "";
  module.Strings = {"a", "b"};
  TStringStream payload;
  module.SaveToStream(payload);
  std::string bytes = payload.DataString();
  PutInt32(bytes, 4, 3);  // the count after the (empty) module name
  TStringStream damaged(bytes);
  TLanBlockModule read;
  EXPECT_THROW(read.LoadFromStream(damaged), EReadError);
}

TEST_F(Lan3Damage, DamagedTextsRaiseAReadErrorFromReadTexts) {
  auto language = Open(Good);
  ASSERT_TRUE(language);
  std::string bytes = Good;
  // The last block is the texts; its list count sits 4 bytes before its first string.
  const size_t textsBlock = bytes.rfind("ttxt");
  PutInt32(bytes, textsBlock + kLanBlockHeaderSize + 4, 7);
  TStringStream damaged(bytes);
  TLanguageTexts texts;
  EXPECT_THROW(language->ReadTexts(damaged, "", texts), EReadError);
}

TEST_F(Lan3Damage, ACompressedBlockThatIsNoZlibDataMakesTheFileInvalid) {
  std::string bytes = Good;
  PutInt32(bytes, kFirstSize + 4, kLanBlockZlib);
  EXPECT_FALSE(Open(bytes));
}

TEST_F(Lan3Damage, NeitherMagicIsNoLanguage) {
  std::string bytes = Good;
  bytes[3] = 'X';
  EXPECT_FALSE(Open(bytes));
  EXPECT_FALSE(Open(""));
  EXPECT_FALSE(Open("KEM3LAN"));
}

// ---- The old format

TEST(Lan2File, HeaderAndTextsReadBackWithEveryWayOfStoringThem) {
  const TLanCatalogue catalogue = Catalogue("FR",
                                            "Fran\xC3\xA7"
                                            "ais",
                                            "0 Yes = Oui\n1 ;comment = x\n2 - = D\xC3\xA9j\xC3\xA0\n");
  const std::uint32_t ways[] = {0, lan2::kNamesLzss | lan2::kTextsLzss, lan2::kNamesXor | lan2::kTextsXor,
                                lan2::kNamesLzss | lan2::kTextsXor, lan2::kNamesXor};
  for (std::uint32_t flags : ways) {
    auto language = Open(Lan2Bytes(catalogue, flags));
    ASSERT_TRUE(language) << flags;
    EXPECT_NE(dynamic_cast<TLanguage2*>(language.get()), nullptr);
    EXPECT_EQ(language->Code, "FR");
    EXPECT_EQ(language->DisplayName, u"Fran\u00e7ais");
    EXPECT_EQ(language->FontNames, (std::vector<String>{"Tahoma", "Verdana"}));
    EXPECT_EQ(language->FontSizes, (std::vector<int>{8, 8}));
    EXPECT_EQ(language->FontScale, 1.0);
    const TLanguageTexts texts = Texts(*language);
    EXPECT_EQ(texts.Texts, (std::vector<WideString>{u"Oui", u"x", u"D\u00e9j\u00e0"})) << flags;
    EXPECT_EQ(texts.Names, (std::vector<String>{"Yes", ";comment", ""})) << flags;
  }
}

TEST(Lan2File, FlagPicturesStoredPackedOrTransformed) {
  TBitmap normal, selected;
  normal.SetPixelFormat(pf24bit);
  normal.SetSize(4, 2);
  normal.SetPixelColor(1, 1, clRed);
  selected.SetPixelFormat(pf24bit);
  selected.SetSize(5, 3);
  selected.SetPixelColor(4, 2, clBlue);
  for (std::uint32_t flags : {0u, lan2::kPicturesLzss, lan2::kPicturesXor}) {
    auto language = Open(Lan2Bytes(Catalogue("US", "English", "0 A = a\n"), flags, &normal, &selected));
    ASSERT_TRUE(language) << flags;
    ASSERT_EQ(language->Flag.Width(), 4) << flags;
    EXPECT_EQ(language->Flag.PixelColor(1, 1), clRed);
    ASSERT_EQ(language->FlagSelected.Width(), 5) << flags;
    EXPECT_EQ(language->FlagSelected.PixelColor(4, 2), clBlue);
    EXPECT_EQ(Texts(*language).Texts, std::vector<WideString>{u"a"});
  }
}

TEST(Lan2File, FlagPicturesAreLeftOutWhenAskedTo) {
  TBitmap picture;
  picture.SetSize(2, 2);
  const std::string bytes = Lan2Bytes(Catalogue("US", "English", ""), 0, &picture, &picture);
  TLanguage2::SkipFlagPictures = true;
  auto language = Open(bytes);
  TLanguage2::SkipFlagPictures = false;
  ASSERT_TRUE(language);
  EXPECT_TRUE(language->Flag.Empty());
}

TEST(Lan2File, AModuleIsFoundByNameAndAnUnknownOneGivesTheFirst) {
  const TLanCatalogue catalogue =
      Catalogue("US", "English", "0 A = first\n@module Clock\n0 A = clock\n@module Bin\n0 A = bin\n");
  auto language = Open(Lan2Bytes(catalogue, lan2::kTextsLzss));
  ASSERT_TRUE(language);
  EXPECT_EQ(Texts(*language).Texts, std::vector<WideString>{u"first"});
  EXPECT_EQ(Texts(*language, "bin").Texts, std::vector<WideString>{u"bin"});
  EXPECT_EQ(Texts(*language, "Clock").Texts, std::vector<WideString>{u"clock"});
  EXPECT_EQ(Texts(*language, "Nowhere").Texts, std::vector<WideString>{u"first"});
}

class Lan2Damage : public testing::Test {
 protected:
  std::string Good = Lan2Bytes(Catalogue("US", "English", "0 A = a\n"), 0);
};

TEST_F(Lan2Damage, HeaderCountsTheFileCannotHoldMakeItInvalid) {
  EXPECT_TRUE(Open(Good));
  for (std::int32_t count : {0, -1, 2, 1 << 30}) {
    std::string bytes = Good;
    PutInt32(bytes, lan2::kCountAt, count);
    EXPECT_FALSE(Open(bytes)) << count;
  }
  EXPECT_FALSE(Open(Good.substr(0, lan2::kHeaderSize - 1)));
}

TEST_F(Lan2Damage, PictureOffsetsOutsideTheFileMakeItInvalid) {
  for (std::int32_t at : {static_cast<std::int32_t>(Good.size()) + 1, 1 << 30}) {
    std::string bytes = Good;
    PutInt32(bytes, lan2::kFlagsPicturesAt, at);
    EXPECT_FALSE(Open(bytes)) << at;
  }
}

TEST_F(Lan2Damage, TextOffsetsOutsideTheFileRaiseReadErrors) {
  auto language = Open(Good);
  ASSERT_TRUE(language);
  for (int field : {lan2::kNamesAt, lan2::kTextsAt}) {
    for (std::int32_t at : {-1, static_cast<std::int32_t>(Good.size()) + 1}) {
      std::string bytes = Good;
      PutInt32(bytes, field, at);
      TStringStream damaged(bytes);
      TLanguageTexts texts;
      EXPECT_THROW(language->ReadTexts(damaged, "", texts), EReadError) << field << " " << at;
    }
  }
}

TEST_F(Lan2Damage, PackedAndTransformedLengthsBeyondTheFileRaiseReadErrors) {
  for (std::uint32_t flags : {lan2::kTextsLzss, lan2::kTextsXor}) {
    std::string bytes = Lan2Bytes(Catalogue("US", "English", "0 A = a\n"), flags);
    std::int32_t at = 0;
    for (int i = 3; i >= 0; --i) at = (at << 8) | static_cast<std::uint8_t>(bytes[lan2::kTextsAt + i]);
    // The packed length sits at 4 in an LZSS container, the length at 0 in an XOR block.
    PutInt32(bytes, at + (flags == lan2::kTextsLzss ? 4 : 0), 1 << 30);
    auto language = Open(bytes);
    ASSERT_TRUE(language);
    TLanguageTexts texts;
    EXPECT_THROW(language->LoadTexts("", texts), EReadError) << flags;
  }
}

TEST(LanguageFile, FlagsLargerThanTheCapAreRefusedAndTheRestIsRead) {
  for (auto [width, height] : {std::pair{kMaxFlagSide, kMaxFlagSide}, {kMaxFlagSide + 1, 1}, {1, 4096}}) {
    TPNGImage png;
    png.SetPixelFormat(pf24bit);
    png.SetSize(width, height);
    const TLanCatalogue catalogue = Catalogue("US", "English", "0 A = a\n");
    const bool kept = width <= kMaxFlagSide && height <= kMaxFlagSide;
    for (const auto& language :
         {Open(Lan3Bytes(catalogue, &png)), Open(Lan2Bytes(catalogue, lan2::kPicturesLzss, &png, &png)),
          Open(Lan2Bytes(catalogue, 0, &png, &png))}) {
      ASSERT_TRUE(language) << width;
      EXPECT_EQ(language->Flag.Width(), kept ? width : 0) << height;
      EXPECT_EQ(language->FlagSelected.Height(), kept ? height : 0) << width;
      EXPECT_EQ(language->DisplayName, u"English");
      EXPECT_EQ(Texts(*language).Texts, std::vector<WideString>{u"a"});
    }
  }
}

// ---- Files

TEST(LanguageFile, OpenedFromAFileAndReadAgainFromIt) {
  TempDir dir;
  const String name = dir.file("ov3test.lan");
  WriteFile(name, Lan3Bytes(Catalogue("US", "English", "5 Five = five\n")));
  auto language = OpenLanguageFile(name);
  ASSERT_TRUE(language);
  EXPECT_EQ(language->FileName, name);
  EXPECT_EQ(Texts(*language).Texts.at(5), u"five");
  EXPECT_FALSE(OpenLanguageFile(dir.file("missing.lan")));
  WriteFile(name, "plain text, no language");
  EXPECT_FALSE(OpenLanguageFile(name));
}

}  // namespace
