// Accelerator rules: exact modifiers, accelerator keys, cycling through matches.
#include "kem3/controls/kemaccel.h"

#include <gtest/gtest.h>

TEST(KemAccel, ModifiersMustMatchExactly) {
  EXPECT_TRUE(AccelModifierMatches(amNone, {}));
  EXPECT_FALSE(AccelModifierMatches(amNone, {ssShift}));
  EXPECT_TRUE(AccelModifierMatches(amAlt, {ssAlt}));
  EXPECT_FALSE(AccelModifierMatches(amAlt, {ssAlt, ssShift}));  // Alt+Shift+letter is no accelerator
  EXPECT_FALSE(AccelModifierMatches(amAlt, {}));
  EXPECT_TRUE(AccelModifierMatches(amCtrl, {ssCtrl}));
  EXPECT_FALSE(AccelModifierMatches(amCtrl, {ssCtrl, ssAlt}));
  EXPECT_TRUE(AccelModifierMatches(amShift, {ssShift}));
  EXPECT_FALSE(AccelModifierMatches(amShift, {ssShift, ssCtrl}));
  // Mouse buttons and double clicks are not modifiers.
  EXPECT_TRUE(AccelModifierMatches(amNone, {ssLeft, ssDouble}));
  EXPECT_TRUE(AccelModifierMatches(amAlt, {ssAlt, ssRight}));
}

TEST(KemAccel, OnlyLettersAndDigitsAreKeys) {
  EXPECT_EQ(AccelKeyChar(u'a'), u'A');
  EXPECT_EQ(AccelKeyChar(u'Z'), u'Z');
  EXPECT_EQ(AccelKeyChar(u'7'), u'7');
  EXPECT_EQ(AccelKeyChar(u'-'), 0);
  EXPECT_EQ(AccelKeyChar(u' '), 0);
  EXPECT_EQ(AccelKeyChar(u'\u00e9'), 0);  // é: a letter, but not A-Z
}

TEST(KemAccel, RepeatedKeysCycleThroughTheMatches) {
  const std::vector<int> matches{1, 4, 6};
  EXPECT_EQ(NextAccelMatch(matches, -1), 1);
  EXPECT_EQ(NextAccelMatch(matches, 1), 4);
  EXPECT_EQ(NextAccelMatch(matches, 4), 6);
  EXPECT_EQ(NextAccelMatch(matches, 6), 1);
  EXPECT_EQ(NextAccelMatch(matches, 5), 1);  // the current item is none of them
  EXPECT_EQ(NextAccelMatch({3}, 3), 3);
  EXPECT_EQ(NextAccelMatch({}, 0), -1);
}
