#include "kem3/controls/kemlview_columns.h"

#include <gtest/gtest.h>

TEST(ListViewColumns, WidthsKeepToTheirLimits) {
  struct Row {
    int width, minWidth, maxWidth, kept;
  } rows[] = {
      {10, 60, 200, 60}, {300, 60, 200, 200}, {100, 60, 200, 100}, {300, 60, 0, 300},  // 0: no limit
      {10, 0, 5, 5},     {0, 0, 0, 0},
  };
  for (const Row& r : rows) EXPECT_EQ(ClampColumnWidth(r.width, r.minWidth, r.maxWidth), r.kept) << r.width;
}
