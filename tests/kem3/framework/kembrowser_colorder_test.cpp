// The browser list's column order: the header's moves and the kept order.
#include <gtest/gtest.h>

#include "kem3/framework/kembrowser_colorder.h"

using TOrder = std::vector<int>;

TEST(BrowserColumnOrder, MovesAsTheHeaderDoes) {
  struct {
    TOrder Order;
    int Column, Position;
    TOrder Moved;
  } cases[] = {
      {{0, 1, 2, 3}, 3, 0, {3, 0, 1, 2}}, {{3, 0, 1, 2}, 3, 3, {0, 1, 2, 3}}, {{2, 0, 1}, 0, 2, {2, 1, 0}},
      {{0, 1, 2}, 1, 1, {0, 1, 2}},       {{0, 1, 2}, 5, 0, {0, 1, 2}},  // a column it does not hold
      {{0, 1, 2}, 1, 3, {0, 1, 2}},                                      // a place past the end
      {{0, 1, 2}, 1, -1, {0, 1, 2}},                                     // none
  };
  for (const auto& c : cases) EXPECT_EQ(BrowserMovedColumnOrder(c.Order, c.Column, c.Position), c.Moved);
}

TEST(BrowserColumnOrder, KeptOrderFitsOnlyTheColumnsItWasKeptFor) {
  struct {
    TOrder Kept;
    int Used, Count;
    TOrder Shown;
  } cases[] = {
      {{2, 0, 1}, 3, 3, {2, 0, 1}},
      {{2, 0, 1}, 3, 5, {2, 0, 1, 3, 4}},  // the empty columns stay at the end
      {{2, 0, 1}, 4, 5, {0, 1, 2, 3, 4}},  // a handler's column more: their own order
      {{}, 3, 3, {0, 1, 2}},
      {{0, 0, 1}, 3, 3, {0, 1, 2}},
  };
  for (const auto& c : cases) EXPECT_EQ(BrowserShownColumnOrder(c.Kept, c.Used, c.Count), c.Shown);
  EXPECT_EQ(BrowserKeptColumnOrder({4, 2, 0, 3, 1}, 3), (TOrder{2, 0, 1}));
  EXPECT_TRUE(BrowserIsPermutation({}));
  EXPECT_FALSE(BrowserIsPermutation({1, 2}));
}
