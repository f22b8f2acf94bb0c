// The spin edit's value: limits, rounding, formats, reading and layout.
#include "kem3/controls/kemsedit_model.h"

#include <gtest/gtest.h>

TEST(SpinValue, WrittenValuesAreClampedRoundedAndFormatted) {
  const TSpinSettings integer{nmInteger, "%g", 0, 100};
  const TSpinSettings free{nmInteger, "%g", -1, -1};
  const TSpinSettings fixed1{nmFloat, "%.1f", -1, -1};
  const TSpinSettings badPattern{nmFloat, "%d %s", -1, -1};
  const TSpinSettings noArg{nmFloat, "items", -1, -1};
  struct Case {
    const TSpinSettings& Settings;
    double Value;
    const char* Text;
  } cases[] = {
      {integer, 2.5, "2"},      {integer, 3.5, "4"},    {integer, -5, "0"},       {integer, 250, "100"},
      {free, -5, "-5"},         {free, 1e6, "1000000"}, {fixed1, 3.14159, "3.1"}, {fixed1, -0.25, "-0.3"},
      {badPattern, 1.5, "1.5"}, {noArg, 2.25, "2.25"},
  };
  for (const Case& c : cases) EXPECT_EQ(SpinText(c.Settings, c.Value), c.Text) << c.Value;
}

TEST(SpinValue, TextReadsWithEitherDecimalPoint) {
  struct Case {
    const char* Text;
    bool Ok;
    double Value;
  } cases[] = {{"2,5", true, 2.5}, {" 2.5 ", true, 2.5}, {"-3", true, -3},   {"1,2,3", false, 0},
               {"", false, 0},     {"abc", false, 0},    {"1e999", false, 0}};
  for (const Case& c : cases) {
    double v = 0;
    EXPECT_EQ(TryReadSpinNumber(c.Text, v), c.Ok) << c.Text;
    if (c.Ok) {
      EXPECT_EQ(v, c.Value) << c.Text;
    }
  }
  EXPECT_EQ(SpinValue({nmInteger, "%g", 5, 10}, "x"), 5);   // unreadable: the lower limit
  EXPECT_EQ(SpinValue({nmInteger, "%g", -1, 10}, "x"), 0);  // without one: 0
  EXPECT_EQ(SpinValue({nmInteger, "%g", 0, 10}, "2,5"), 2);
  EXPECT_EQ(SpinValue({nmFloat, "%g", 0, 10}, "2,5"), 2.5);
}

TEST(SpinValue, TenStepsOfATenthReadOne) {
  const TSpinSettings s{nmFloat, "%g", 0, 100};
  String text = SpinText(s, 0);
  for (int i = 0; i < 10; ++i) text = SpinText(s, SpinValue(s, text) + 0.1);
  EXPECT_EQ(text, "1");
  EXPECT_EQ(SpinValue(s, text), 1.0);
}

TEST(SpinValue, LeavingTheFieldClampsAndRewritesUnreadableText) {
  const TSpinSettings s{nmInteger, "%g", 0, 10};
  struct Case {
    const char* Text;
    bool Rewrite;
    const char* NewText;
  } cases[] = {{"12", true, "10"}, {"7", false, ""}, {"-3", true, "0"}, {"abc", true, "0"}, {"2.5", false, ""}};
  for (const Case& c : cases) {
    String text;
    EXPECT_EQ(SpinExitText(s, c.Text, text), c.Rewrite) << c.Text;
    if (c.Rewrite) {
      EXPECT_EQ(text, c.NewText) << c.Text;
    }
  }
}

TEST(SpinValue, TypedCharacters) {
  EXPECT_TRUE(SpinCharAccepted(u'7', nmInteger, true));
  EXPECT_TRUE(SpinCharAccepted(u'-', nmInteger, true));
  EXPECT_TRUE(SpinCharAccepted(8, nmInteger, true));
  EXPECT_FALSE(SpinCharAccepted(13, nmInteger, true));  // Enter is swallowed…
  EXPECT_FALSE(SpinCharBeeps(13));                      // …without a beep
  EXPECT_FALSE(SpinCharAccepted(u'.', nmInteger, true));
  EXPECT_TRUE(SpinCharAccepted(u'.', nmFloat, true));
  EXPECT_TRUE(SpinCharAccepted(u',', nmFloat, true));
  EXPECT_FALSE(SpinCharAccepted(u'a', nmFloat, true));
  EXPECT_TRUE(SpinCharBeeps(u'a'));
  EXPECT_FALSE(SpinCharAccepted(u'7', nmInteger, false));
  EXPECT_FALSE(SpinCharAccepted(8, nmInteger, false));
  EXPECT_TRUE(SpinCharAccepted(3, nmInteger, false));  // Ctrl+C still copies
}

TEST(SpinValue, LayoutAtHeight21) {
  const TSpinLayout l = SpinLayout(80, 21, 20);
  EXPECT_EQ(l.Holder, Rect(3, 3, 58, 18));
  EXPECT_EQ(l.Up, Rect(58, 2, 78, 10));     // round(17 / 2) = 8, halves to even
  EXPECT_EQ(l.Down, Rect(58, 10, 78, 19));  // 8 + 21 mod 2
}
