#include "platform/set.h"

#include <gtest/gtest.h>

#include <vector>

namespace {
enum TFontStyle { fsBold, fsItalic, fsUnderline, fsStrikeOut };
enum TWide { wFirst = 0, wLast = 63, wTooFar = 64 };
using TFontStyles = Set<TFontStyle>;
}  // namespace

TEST(Set, Operators) {
  constexpr TFontStyles bold{fsBold};
  constexpr TFontStyles boldItalic{fsBold, fsItalic};
  static_assert(boldItalic.Contains(fsItalic) && !boldItalic.Contains(fsUnderline));
  static_assert((boldItalic - bold) == TFontStyles{fsItalic});
  static_assert((boldItalic * TFontStyles{fsItalic, fsUnderline}) == TFontStyles{fsItalic});
  static_assert((bold + fsUnderline) == TFontStyles{fsUnderline, fsBold});
  static_assert(TFontStyles().empty() && !bold.empty());

  TFontStyles s;
  s.Include(fsStrikeOut).Include(fsBold).Include(fsBold);
  EXPECT_EQ(s.Count(), 2);
  s.Exclude(fsBold).Exclude(fsItalic);
  EXPECT_EQ(s, TFontStyles{fsStrikeOut});
  s += boldItalic;
  s -= TFontStyles{fsItalic};
  s *= TFontStyles{fsBold, fsStrikeOut, fsUnderline};
  EXPECT_EQ(s, (TFontStyles{fsBold, fsStrikeOut}));
  EXPECT_TRUE(s.ContainsAll(bold));
  EXPECT_FALSE(s.ContainsAll(boldItalic));
  EXPECT_EQ(TFontStyles::FromMask(s.ToMask()), s);

  std::vector<TFontStyle> seen(s.begin(), s.end());
  EXPECT_EQ(seen, (std::vector<TFontStyle>{fsBold, fsStrikeOut}));
}

TEST(Set, WholeRangeAndBeyond) {
  Set<TWide> w{wFirst, wLast};
  EXPECT_TRUE(w.Contains(wLast));
  EXPECT_EQ(w.Count(), 2);
  EXPECT_THROW(w.Include(wTooFar), Exception);
  EXPECT_THROW(w.Contains(static_cast<TWide>(-1)), Exception);
}
