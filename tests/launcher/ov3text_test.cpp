#include "launcher/ov3text.h"

#include <gtest/gtest.h>

TEST(AutoAccelerators, ExistingMarksReserveFirstThenEachCaptionTakesItsFirstFreeCharacter) {
  std::vector<String> captions = {"Games", "&Tools", "Graphics", "Gadgets", "Tea"};
  AssignAutoAccelerators(captions);
  EXPECT_EQ(captions, (std::vector<String>{"&Games", "&Tools", "G&raphics", "G&adgets", "T&ea"}));
}

TEST(AutoAccelerators, CaseIsIgnoredAndFullyReservedCaptionsKeepNone) {
  std::vector<String> captions = {"ab", "BA", "a", "b b"};
  AssignAutoAccelerators(captions);
  EXPECT_EQ(captions, (std::vector<String>{"&ab", "&BA", "a", "b b"}));
}

TEST(AutoAccelerators, OnlyLettersAndDigitsBecomeAcceleratorsAndLiteralAmpersandsStay) {
  std::vector<String> captions = {"<Games> && Ünï", "  9 lives", "日本", "x&&y"};
  AssignAutoAccelerators(captions);
  EXPECT_EQ(captions, (std::vector<String>{"<&Games> && Ünï", "  &9 lives", "日本", "&x&&y"}));
}
