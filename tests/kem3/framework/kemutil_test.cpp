#include "kem3/framework/kemutil.h"

#include <gtest/gtest.h>

TEST(KemUtil, AccelCharIsTheUpperCaseCharacterAfterTheFirstSingleAmpersand) {
  EXPECT_EQ(GetAccelChar("&File"), U'F');
  EXPECT_EQ(GetAccelChar("Save &as"), U'A');
  EXPECT_EQ(GetAccelChar("Fish && &chips"), U'C');
  EXPECT_EQ(GetAccelChar("no mark"), 0u);
  EXPECT_EQ(GetAccelChar("trailing &"), 0u);
  EXPECT_EQ(GetAccelChar("&&"), 0u);
  EXPECT_EQ(GetAccelChar("&über"), U'Ü');
  EXPECT_EQ(GetAccelCharW(u"Ga&mes"), u'M');
  EXPECT_EQ(GetAccelCharW(u"&&x"), 0);
}

TEST(KemUtil, StripAccelCharsKeepsDoubledAmpersandsAsOne) {
  EXPECT_EQ(StripAccelChars("Save && &Exit"), "Save & Exit");
  EXPECT_EQ(StripAccelChars("&&&a&"), "&a");
  EXPECT_EQ(StripAccelChars("plain"), "plain");
  EXPECT_EQ(StripAccelCharsW(u"&Ünï && cødé"), u"Ünï & cødé");
}
