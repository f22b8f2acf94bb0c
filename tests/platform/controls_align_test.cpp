// The arrangement of aligned controls, without windows.
#include "platform/controls_align.h"

#include <gtest/gtest.h>

namespace {

TAlignItem Item(TAlign align, int left, int top, int width, int height, bool visible = true) {
  return TAlignItem{align, Bounds(left, top, width, height), visible};
}

}  // namespace

TEST(ControlsAlign, KindsTakeTheirEdgesInTheLibraryOrder) {
  // Listed in an order unlike the arrangement: client first, right, left, bottom, top.
  std::vector<TAlignItem> items = {Item(alClient, 0, 0, 5, 5),  Item(alRight, 0, 0, 30, 5), Item(alLeft, 0, 0, 20, 5),
                                   Item(alBottom, 0, 0, 5, 10), Item(alTop, 0, 0, 5, 15),   Item(alNone, 7, 8, 9, 10)};
  TRect client = Rect(0, 0, 200, 100);
  ArrangeAlignedControls(items, client);
  EXPECT_EQ(items[4].Bounds, Bounds(0, 0, 200, 15));    // top spans the width
  EXPECT_EQ(items[3].Bounds, Bounds(0, 90, 200, 10));   // bottom spans it too
  EXPECT_EQ(items[2].Bounds, Bounds(0, 15, 20, 75));    // left: between top and bottom
  EXPECT_EQ(items[1].Bounds, Bounds(170, 15, 30, 75));  // right
  EXPECT_EQ(items[0].Bounds, Rect(20, 15, 170, 90));    // client: what is left
  EXPECT_EQ(items[5].Bounds, Bounds(7, 8, 9, 10));      // alNone stays
  EXPECT_EQ(client, Rect(20, 15, 170, 90));
}

TEST(ControlsAlign, SameKindFollowsPositionWithTiesInListOrder) {
  // Three alTop items: the one lower down stays lower whatever the list order.
  std::vector<TAlignItem> items = {Item(alTop, 0, 40, 10, 5), Item(alTop, 0, 0, 10, 7), Item(alTop, 0, 0, 10, 9),
                                   Item(alLeft, 50, 0, 4, 1), Item(alLeft, 10, 0, 6, 1)};
  TRect client = Rect(0, 0, 100, 100);
  ArrangeAlignedControls(items, client);
  EXPECT_EQ(items[1].Bounds.Top, 0);  // tie at 0: list order
  EXPECT_EQ(items[2].Bounds.Top, 7);
  EXPECT_EQ(items[0].Bounds.Top, 16);
  EXPECT_EQ(items[4].Bounds, Bounds(0, 21, 6, 79));
  EXPECT_EQ(items[3].Bounds, Bounds(6, 21, 4, 79));
}

TEST(ControlsAlign, BottomAndRightStackFromTheirEdge) {
  std::vector<TAlignItem> items = {Item(alBottom, 0, 80, 1, 10), Item(alBottom, 0, 90, 1, 10),
                                   Item(alBottom, 0, 70, 1, 5), Item(alRight, 60, 0, 10, 1),
                                   Item(alRight, 90, 0, 10, 1)};
  TRect client = Rect(0, 0, 100, 100);
  ArrangeAlignedControls(items, client);
  // The lowest one keeps the very bottom; equal bottoms (items 0 and 2 at 90 and 75 differ) stack upwards.
  EXPECT_EQ(items[1].Bounds.Top, 90);
  EXPECT_EQ(items[0].Bounds.Top, 80);
  EXPECT_EQ(items[2].Bounds.Top, 75);
  EXPECT_EQ(items[4].Bounds.Left, 90);
  EXPECT_EQ(items[3].Bounds.Left, 80);
  // Equal bottoms: the later one in the list goes nearer the edge.
  std::vector<TAlignItem> tie = {Item(alBottom, 0, 0, 1, 3), Item(alBottom, 0, 0, 1, 3)};
  TRect c2 = Rect(0, 0, 10, 10);
  ArrangeAlignedControls(tie, c2);
  EXPECT_EQ(tie[1].Bounds.Top, 7);
  EXPECT_EQ(tie[0].Bounds.Top, 4);
}

TEST(ControlsAlign, TheMovedControlWinsTiesAndHiddenOnesTakeNothing) {
  // Item 1 was just moved to Top 0, where item 0 already is: it goes first.
  std::vector<TAlignItem> items = {Item(alTop, 0, 0, 1, 10), Item(alTop, 0, 0, 1, 20), Item(alTop, 0, 0, 1, 30, false)};
  TRect client = Rect(0, 0, 50, 50);
  ArrangeAlignedControls(items, client, 1);
  EXPECT_EQ(items[1].Bounds.Top, 0);
  EXPECT_EQ(items[0].Bounds.Top, 20);
  EXPECT_EQ(items[2].Bounds, Bounds(0, 0, 1, 30));  // invisible: untouched
  EXPECT_EQ(client.Top, 30);
}

TEST(ControlsAlign, SpaceRunsOutWithoutNegativeSizes) {
  std::vector<TAlignItem> items = {Item(alLeft, 0, 0, 80, 1), Item(alRight, 0, 0, 80, 1), Item(alClient, 0, 0, 1, 1),
                                   Item(alClient, 0, 0, 1, 1)};
  TRect client = Rect(0, 0, 100, 40);
  ArrangeAlignedControls(items, client);
  EXPECT_EQ(items[1].Bounds, Bounds(20, 0, 80, 40));
  EXPECT_EQ(items[2].Bounds, Bounds(80, 0, 0, 40));  // the two alClient items share what is left: nothing
  EXPECT_EQ(items[3].Bounds, items[2].Bounds);
}
