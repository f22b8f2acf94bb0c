// The short and long parts of a hint.
#include "platform/hints.h"

#include <gtest/gtest.h>

TEST(Hints, ShortAndLongPartsSplitAtTheFirstBar) {
  struct Case {
    const char16_t* hint;
    const char16_t* shortPart;
    const char16_t* longPart;
  };
  const Case cases[] = {
      {u"", u"", u""},
      {u"Ωμέγα", u"Ωμέγα", u"Ωμέγα"},
      {u"Open|Opens the file", u"Open", u"Opens the file"},
      {u"a|b|c", u"a", u"b|c"},
      {u"|Only long", u"", u"Only long"},
      {u"Only short|", u"Only short", u""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(GetShortHint(c.hint), c.shortPart);
    EXPECT_EQ(GetLongHint(c.hint), c.longPart);
  }
}
