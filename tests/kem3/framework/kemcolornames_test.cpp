// The colour name table: English defaults and the refresh from a language.
#include "kem3/framework/kemcolornames.h"

#include <gtest/gtest.h>

#include <map>

namespace {

class ColorNames : public testing::Test {
 protected:
  void SetUp() override { ResetColorNames(); }
  void TearDown() override { ResetColorNames(); }

  // A language that holds exactly these texts.
  static TColorTextLookup Language(std::map<String, WideString> Texts) {
    return [Texts = std::move(Texts)](const String& name) -> std::optional<WideString> {
      auto found = Texts.find(name);
      if (found == Texts.end()) return std::nullopt;
      return found->second;
    };
  }
};

TEST_F(ColorNames, DefaultsAreTheEnglishNamesInTableOrder) {
  EXPECT_EQ(ColorName(0), u"Black");
  EXPECT_EQ(ColorName(15), u"White");
  EXPECT_EQ(ColorName(16), u"Gray 80%");
  EXPECT_EQ(ColorName(23), u"Blue gray");
  EXPECT_EQ(ColorName(24), u"Red 1");
  EXPECT_EQ(ColorName(39), u"Magenta 8");
  EXPECT_EQ(ColorName(40), u"Blue 1");
  EXPECT_EQ(ColorName(55), u"Turquoise 8");
  EXPECT_EQ(ColorName(56), u"Green 1");
  EXPECT_EQ(ColorName(71), u"Yellow 8");
  EXPECT_EQ(ColorName(72), u"Brown 1");
  EXPECT_EQ(ColorName(79), u"Orange 4");
  EXPECT_EQ(ColorName(80), u"Violet");
  EXPECT_EQ(ColorName(87), u"Pale aqua");
  EXPECT_EQ(ColorName(-1), u"");
  EXPECT_EQ(ColorName(88), u"");
  for (const WideString& name : ColorNameTable()) EXPECT_FALSE(name.empty());
}

TEST_F(ColorNames, ALanguageWithoutColourTextsChangesNothing) {
  RefreshColorNames(Language({}));
  EXPECT_EQ(ColorNameTable(), DefaultColorNames());
}

TEST_F(ColorNames, AFullFirstGroupReplacesExactlyItsSixteenPlaces) {
  RefreshColorNames(Language({{"ColorNames", u"a|b|c|d|e|f|g|h|i|j|k|l|m|n|o|p"}}));
  EXPECT_EQ(ColorName(0), u"a");
  EXPECT_EQ(ColorName(15), u"p");
  for (int i = 16; i < kColorNameCount; ++i) EXPECT_EQ(ColorName(i), DefaultColorNames()[i]) << i;
}

TEST_F(ColorNames, AShortGroupCannotShiftTheNamesOfLaterGroups) {
  RefreshColorNames(Language({{"ColorNames", u"Schwarz|Braun"}, {"ColorNamesExt1", u"Grau 80%"}}));
  EXPECT_EQ(ColorName(0), u"Schwarz");
  EXPECT_EQ(ColorName(1), u"Braun");
  EXPECT_EQ(ColorName(2), u"Green");
  EXPECT_EQ(ColorName(16), u"Grau 80%");
  EXPECT_EQ(ColorName(17), u"Gray 70%");
}

TEST_F(ColorNames, ExtraNamesAreCutAtTheGroupsEnd) {
  RefreshColorNames(Language({{"ColorNamesExt1", u"1|2|3|4|5|6|7|8|9|10"}}));
  EXPECT_EQ(ColorName(23), u"8");
  EXPECT_EQ(ColorName(24), u"Red 1");
}

TEST_F(ColorNames, EmptyNamesAndAMissingGroupKeepTheNamesOfTheLanguageBefore) {
  RefreshColorNames(Language({{"ColorNamesExt3", u"B1|B2|B3|B4|B5|B6|B7|B8|T1|T2|T3|T4|T5|T6|T7|T8"}}));
  RefreshColorNames(Language({{"ColorNamesExt3", u"|Bleu 2"}, {"ColorNames", u""}}));
  EXPECT_EQ(ColorName(40), u"B1");
  EXPECT_EQ(ColorName(41), u"Bleu 2");
  EXPECT_EQ(ColorName(55), u"T8");
  EXPECT_EQ(ColorName(0), u"Black");
}

}  // namespace
