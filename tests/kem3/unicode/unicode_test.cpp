// The character database as the program reads it: from the UnicodeData folder
// natively, from the executable's "UNICODEDATA" resources on Windows.
#include "kem3/unicode/unicode.h"

#include <gtest/gtest.h>

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
