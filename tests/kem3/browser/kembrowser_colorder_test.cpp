// The browser list's column order: the header's moves and the kept order.
#include <gtest/gtest.h>

#include "kem3/browser/kembrowser_colorder.h"

using TOrder = std::vector<int>;

TEST(BrowserColumnOrder, MovesAndKeptOrders) {
  EXPECT_EQ(BrowserMovedColumnOrder({0, 1, 2, 3}, 3, 0), (TOrder{3, 0, 1, 2}));
  for (auto [column, position] : {std::pair{5, 0}, {1, 3}, {1, -1}})  // not there: no move
    EXPECT_EQ(BrowserMovedColumnOrder({0, 1, 2}, column, position), (TOrder{0, 1, 2}));
  // The kept order fits only the columns it was kept for; empty ones stay last.
  EXPECT_EQ(BrowserShownColumnOrder({2, 0, 1}, 3, 5), (TOrder{2, 0, 1, 3, 4}));
  EXPECT_EQ(BrowserShownColumnOrder({2, 0, 1}, 4, 5), (TOrder{0, 1, 2, 3, 4}));
  EXPECT_EQ(BrowserKeptColumnOrder({4, 2, 0, 3, 1}, 3), (TOrder{2, 0, 1}));
}
