// The character database as the program reads it: from the UnicodeData folder
// natively, from the executable's "UNICODEDATA" resources on Windows; its
// case folding behind every caseless match.
#include "kem3/unicode/unicode.h"

#include <gtest/gtest.h>

#include "kem3/unicode/uccombo_complete.h"
#include "platform/accel.h"
#include "platform/sysutils.h"
#include "platform/unicode_convert.h"
#include "platform/wide_case.h"

namespace {

TEST(UnicodeDataTest, HangulCompositionAndCaseEdges) {
  const struct {
    WideString in;
    TNormalizationForm form;
    WideString out;
  } cases[] = {
      {u"\uAC01", nfD, u"\u1100\u1161\u11A8"},
      {u"\u1100\u1161\u11A8", nfC, u"\uAC01"},
      {u"\uAC00\u11A7", nfC, u"\uAC00\u11A7"},  // U+11A7 is no trailing consonant
      {u"\uAC00\u11A8", nfC, u"\uAC01"},
      {u"e\u0301", nfC, u"\u00E9"},
      {u"\u00E9", nfD, u"e\u0301"},
      {u"a\u0301\u0316", nfD, u"a\u0316\u0301"},
      {u"\uFB01", nfKC, u"fi"},
      {u"\uFB01", nfC, u"\uFB01"},
      {u"x\U0001F600", nfKD, u"x\U0001F600"},
  };
  for (const auto& c : cases) EXPECT_EQ(NormalizeText(c.in, c.form), c.out) << int(c.form);
  EXPECT_EQ(UnicodeUpperCase(u"stra\u00DFe i \u0436"), u"STRASSE I \u0416");
  EXPECT_EQ(CombiningClassOf(0x0316), 220);
}

// The program carries the category and number tables too (natively they are files).
TEST(UnicodeDataTest, CategoriesAndNumbersAreCarried) {
  EXPECT_EQ(UnicodeCategoryOf(u'\u0416'), ccLetterUppercase);
  EXPECT_EQ(UnicodeCategoryOf(0x4E00), ccLetterOther);
  TNumericValue v;
  ASSERT_TRUE(UnicodeNumericValue(0x00BD, v));
  EXPECT_EQ(v.Numerator * 2, static_cast<std::int32_t>(v.Denominator));
  EXPECT_FALSE(UnicodeNumericValue(u'A', v));
}

}  // namespace

// Installed, the database's folding is behind every caseless match: each
// character of the plane meets what it folds to (Vietnamese, polytonic
// Greek and Georgian included), in accelerators, typed searches and text.
TEST(UnicodeDataTest, CaselessMatchesFoldAsTheDatabaseDoes) {
  InstallUnicodeCaseFolding();
  int pairs = 0, unmatched = 0;
  for (char32_t c = 0; c <= 0xFFFF; ++c) {
    const WideString fold = UnicodeCharFold(static_cast<WideChar>(c));
    if (fold.size() != 1 || fold[0] == c) continue;
    ++pairs;
    if (!IsAccelChar(static_cast<WideChar>(c), fold[0])) ++unmatched;
  }
  EXPECT_GE(pairs, 1100);
  EXPECT_EQ(unmatched, 0);
  const struct {
    const char16_t *A, *B;
  } kSame[] = {{u"\u1EA0", u"\u1EA1"}, {u"\u1F08", u"\u1F00"}, {u"\u10A0", u"\u2D00"}, {u"\u1E9E", u"\u00DF"},
               {u"\u017F", u"S"},      {u"\u0130", u"i"},      {u"\u212A", u"k"},      {u"\u1FBC", u"\u1FB3"}};
  for (const auto& s : kSame) {
    EXPECT_TRUE(WideSameText(s.A, s.B)) << WideToUtf8(s.A);
    EXPECT_TRUE(SameItemText(s.A, s.B)) << WideToUtf8(s.A);
    EXPECT_TRUE(IsAccelChar(s.A[0], s.B[0])) << WideToUtf8(s.A);
  }
  EXPECT_FALSE(WideSameText(u"\u1EA0", u"a"));
  SetWideCharFolds(nullptr);
}
