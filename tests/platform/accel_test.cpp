// Accelerator characters of captions.
#include "platform/accel.h"

#include <gtest/gtest.h>

TEST(Accel, TheCharacterAfterTheFirstSingleAmpersandAnswersInAnyCase) {
  struct Case {
    const char16_t* caption;
    WideChar accel;
  };
  const Case cases[] = {
      {u"&Name", u'N'}, {u"Na&me", u'm'}, {u"&&Name", 0},   {u"R&&D &Files", u'F'},
      {u"Name&", 0},    {u"", 0},         {u"&Ζώνη", u'Ζ'}, {u"&&&Ё", u'Ё'},
  };
  for (const Case& c : cases) EXPECT_EQ(AccelCharOf(c.caption), c.accel) << static_cast<int>(c.accel);
  EXPECT_TRUE(IsAccel(u'n', u"&Name"));
  EXPECT_TRUE(IsAccel(u'ζ', u"&Ζώνη"));
  EXPECT_TRUE(IsAccel(u'ё', u"&&&Ё"));
  EXPECT_FALSE(IsAccel(u'a', u"&Name"));
  EXPECT_FALSE(IsAccel(0, u"Name"));
}
