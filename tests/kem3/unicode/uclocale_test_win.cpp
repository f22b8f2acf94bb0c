// The system's locale comparison under a sorted list: a locale the system
// refuses orders as the user's does, so no item is lost as a duplicate.
#include "kem3/unicode/uclocale.h"

#include <gtest/gtest.h>

#include "kem3/unicode/unicode_lists.h"

TEST(UcLocaleWin, ARefusedLocaleOrdersAsTheUsersDoes) {
  unicode::TWideStringList list;
  list.SetLocale(0x7FFF0);  // no locale at all
  list.SetSorted(true);
  for (const char16_t* item : {u"Pear", u"apple", u"Cherry", u"banana", u"Date", u"fig"}) list.Add(item);
  ASSERT_EQ(list.Count(), 6);
  const char16_t* sorted[] = {u"apple", u"banana", u"Cherry", u"Date", u"fig", u"Pear"};
  for (int i = 0; i < 6; ++i) EXPECT_EQ(list.Get(i), sorted[i]) << i;
  EXPECT_LT(LocaleCompare(0x7FFF0, u"a", u"B", true), 0);
}
