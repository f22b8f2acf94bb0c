// The panel scroller's arithmetic: setter rules, steps, thumb placement, hits
// and drags.
#include "kem3/controls/kemscroll_geometry.h"

#include <gtest/gtest.h>

#include <climits>

TEST(ScrollerRange, StartsWithTheScrollersDefaults) {
  TScrollerRange r;
  EXPECT_EQ(r.Position(), 0);
  EXPECT_EQ(r.Length(), 50);
  EXPECT_EQ(r.Step(), 8);
  EXPECT_EQ(r.PageStep(), 32);
}

TEST(ScrollerRange, PositionClampsAndRemembersTheOneBefore) {
  TScrollerRange r;
  EXPECT_TRUE(r.SetPosition(20));
  EXPECT_FALSE(r.SetPosition(20));
  EXPECT_TRUE(r.SetPosition(500));
  EXPECT_EQ(r.Position(), 49);
  EXPECT_EQ(r.LastPosition(), 20);
  EXPECT_TRUE(r.SetPosition(-3));
  EXPECT_EQ(r.Position(), 0);
  EXPECT_EQ(r.LastPosition(), 49);
}

TEST(ScrollerRange, LengthKeepsTwoAtLeastAndPushesThePositionBack) {
  TScrollerRange r;
  r.SetPosition(5);
  EXPECT_TRUE(r.SetLength(3));  // the owner hears of it
  EXPECT_EQ(r.Length(), 3);
  EXPECT_EQ(r.Position(), 2);
  EXPECT_EQ(r.LastPosition(), 5);

  EXPECT_TRUE(r.SetLength(1));  // stored as 2, yet the one position there is wins
  EXPECT_EQ(r.Length(), 2);
  EXPECT_EQ(r.Position(), 0);
  EXPECT_FALSE(r.SetLength(-7));  // already at 0: nothing to push
  EXPECT_EQ(r.Length(), 2);

  EXPECT_FALSE(r.SetLength(100));
  r.SetPosition(10);
  EXPECT_FALSE(r.SetLength(11));  // position 10 fits in 11 positions
  EXPECT_EQ(r.Position(), 10);
  EXPECT_TRUE(r.SetLength(10));
  EXPECT_EQ(r.Position(), 9);
}

TEST(ScrollerRange, StepsAndPagesStopAtTheEnds) {
  TScrollerRange r;
  r.SetLength(30);
  r.SetStep(7);
  EXPECT_EQ(r.PageStep(), 28);
  EXPECT_FALSE(r.StepBack());  // nothing at 0
  EXPECT_TRUE(r.StepForward());
  EXPECT_EQ(r.Position(), 7);
  EXPECT_TRUE(r.PageForward());
  EXPECT_EQ(r.Position(), 29);  // at most Length - 1
  EXPECT_FALSE(r.StepForward());
  EXPECT_FALSE(r.PageForward());
  EXPECT_TRUE(r.StepBack());
  EXPECT_EQ(r.Position(), 22);
  EXPECT_TRUE(r.PageBack());
  EXPECT_EQ(r.Position(), 0);

  r.SetStep(0);  // a step that would never move is taken as 1
  EXPECT_EQ(r.Step(), 1);
  EXPECT_EQ(r.PageStep(), 4);
  EXPECT_TRUE(r.StepForward());
  EXPECT_EQ(r.Position(), 1);
}

TEST(ScrollerThumb, ShrinksWithLengthDownToTheMinimumAndFollowsThePosition) {
  // 200 along, arrows of 14: a track of 172; Length 50 leaves a thumb of 122.
  TScrollerThumb t = ScrollerThumb(200, 14, 50, 0);
  EXPECT_EQ(t, (TScrollerThumb{14, 136, true}));
  // At the last position the thumb touches the far arrow.
  EXPECT_EQ(ScrollerThumb(200, 14, 50, 49), (TScrollerThumb{64, 186, true}));
  // Halfway: (172 - 122) * 24 div 49 + 14.
  EXPECT_EQ(ScrollerThumb(200, 14, 50, 24).Start, 50 * 24 / 49 + 14);

  // A long list: the thumb keeps its minimum.
  t = ScrollerThumb(200, 14, 1000, 999);
  EXPECT_EQ(t.Size(), ScrollerMinThumb);
  EXPECT_EQ(t.End, 186);
  // Without arrows the track is the whole length.
  EXPECT_EQ(ScrollerThumb(100, 0, 10, 0), (TScrollerThumb{0, 90, true}));
}

TEST(ScrollerThumb, TooShortATrackCollapsesToTheMiddle) {
  // 28 + 32 = 60: exactly the length, still no room.
  EXPECT_EQ(ScrollerThumb(60, 14, 500, 7), (TScrollerThumb{30, 30, false}));
  EXPECT_TRUE(ScrollerThumb(61, 14, 500, 7).Room);
  EXPECT_EQ(ScrollerThumb(21, 14, 5, 0), (TScrollerThumb{10, 10, false}));
  EXPECT_EQ(ScrollerThumbRect(sdVertical, 14, ScrollerThumb(60, 14, 500, 7)), TRect{});
}

TEST(ScrollerThumb, HugeLengthsDoNotOverflow) {
  TScrollerThumb t = ScrollerThumb(3000, 14, INT_MAX / 2, INT_MAX / 2 - 1);
  EXPECT_EQ(t.End, 3000 - 14);
  t = ScrollerThumb(3000, 14, INT_MAX / 2, INT_MAX / 4);
  EXPECT_GT(t.Start, 14);
  EXPECT_LT(t.End, 3000 - 14);
}

TEST(ScrollerThumb, HitsBeforeOnAndAfterTheThumb) {
  TScrollerThumb t{40, 80, true};
  EXPECT_EQ(ScrollerHitTest(t, 39), shBefore);
  EXPECT_EQ(ScrollerHitTest(t, 40), shThumb);
  EXPECT_EQ(ScrollerHitTest(t, 79), shThumb);
  EXPECT_EQ(ScrollerHitTest(t, 80), shAfter);
  // Without room nothing is the thumb: the track pages both ways.
  TScrollerThumb none{30, 30, false};
  EXPECT_EQ(ScrollerHitTest(none, 29), shBefore);
  EXPECT_EQ(ScrollerHitTest(none, 30), shAfter);
}

TEST(ScrollerThumb, RectangleLiesAcrossTheWholeThickness) {
  TScrollerThumb t{20, 60, true};
  EXPECT_EQ(ScrollerThumbRect(sdVertical, 14, t), Rect(0, 20, 14, 60));
  EXPECT_EQ(ScrollerThumbRect(sdHorizontal, 12, t), Rect(20, 0, 60, 12));
  EXPECT_EQ(ScrollerAlong(sdVertical, Point(3, 9)), 9);
  EXPECT_EQ(ScrollerAlong(sdHorizontal, Point(3, 9)), 3);
  EXPECT_EQ(ScrollerAlong(sdVertical, 14, 200), 200);
  EXPECT_EQ(ScrollerAlong(sdHorizontal, 300, 14), 300);
}

TEST(ScrollerDrag, FreeTrackSpansAllPositionsAndClamps) {
  // 200 along, arrows 14, Length 50: thumb 122, free track 50 px for 50 positions.
  TScrollerThumb t = ScrollerThumb(200, 14, 50, 10);
  EXPECT_EQ(ScrollerDragPosition(10, 0, 200, 14, t, 50), 10);
  EXPECT_EQ(ScrollerDragPosition(10, 5, 200, 14, t, 50), 15);
  EXPECT_EQ(ScrollerDragPosition(10, -4, 200, 14, t, 50), 6);
  EXPECT_EQ(ScrollerDragPosition(10, 300, 200, 14, t, 50), 49);
  EXPECT_EQ(ScrollerDragPosition(10, -300, 200, 14, t, 50), 0);

  // Length 1000 with the minimum thumb: 140 px free for 1000 positions.
  t = ScrollerThumb(200, 14, 1000, 0);
  EXPECT_EQ(ScrollerDragPosition(0, 14, 200, 14, t, 1000), 100);
  EXPECT_EQ(ScrollerDragPosition(0, 1, 200, 14, t, 1000), 7);       // 1000 div 140
  EXPECT_EQ(ScrollerDragPosition(500, -1, 200, 14, t, 1000), 493);  // truncates toward the start

  // No room: the drag never moves anything.
  t = ScrollerThumb(50, 14, 1000, 3);
  EXPECT_EQ(ScrollerDragPosition(3, 20, 50, 14, t, 1000), 3);
}
