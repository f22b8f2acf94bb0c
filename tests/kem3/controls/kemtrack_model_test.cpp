// The tracker's geometry, paging and legend.
#include "kem3/controls/kemtrack_model.h"

#include <gtest/gtest.h>

TEST(TrackerModel, ThumbAndTrackSizes) {
  TTrackerGeometry g;            // 100 x 42, ticks 5, space 4, legend 16
  EXPECT_EQ(g.ThumbSize(), 11);  // 42 - 5 - 8 - 16 - 2 = 11
  EXPECT_EQ(g.TrackHeight(), 13);
  EXPECT_EQ(g.TrackTop(), 9);
  g.Height = 43;
  EXPECT_EQ(g.ThumbSize(), 11);  // 12 made odd
  g.Style = tsBar;
  EXPECT_EQ(g.TrackHeight(), 9);
  g.Style = tsDown;
  EXPECT_EQ(g.TrackTop(), 4);
}

TEST(TrackerModel, ValuesAndPlacesRoundTrip) {
  TTrackerGeometry g;  // thumb 11: x runs from 6 to 95
  EXPECT_EQ(g.ValueToX(0), 6);
  EXPECT_EQ(g.ValueToX(100), 95);
  EXPECT_EQ(g.ValueToX(50), 50);  // 6 + round(44.5), halves to even
  // More values than places: every place of the track names a value shown there.
  for (int x = 6; x <= 95; ++x) EXPECT_EQ(g.ValueToX(g.XToValue(x)), x) << x;
  EXPECT_EQ(g.XToValue(-50), 0);
  EXPECT_EQ(g.XToValue(500), 100);
  EXPECT_EQ(g.ThumbRect(0), Rect(1, 5, 11, 25));
}

TEST(TrackerModel, RangesWithoutRoomGiveMin) {
  TTrackerGeometry sameEnds;
  sameEnds.Min = sameEnds.Max = 7;
  TTrackerGeometry narrow;
  narrow.Width = 11;
  TTrackerGeometry flat;
  flat.Height = 20;  // thumb below 1 pixel
  for (TTrackerGeometry* g : {&sameEnds, &narrow, &flat}) {
    EXPECT_TRUE(g->Degenerate());
    EXPECT_EQ(g->XToValue(60), g->Min);
    EXPECT_EQ(g->ValueToX(g->Max), (std::max(g->ThumbSize(), 0) + 1) / 2);
  }
}

TEST(TrackerModel, PagingStopsAtThePointer) {
  int p = 0;
  const int target = 35;
  int steps = 0;
  for (int next; (next = TrackerPageStep(p, 10, target)) != p; p = next) ++steps;
  EXPECT_EQ(p, 35);
  EXPECT_EQ(steps, 4);
  EXPECT_EQ(TrackerPageStep(35, -10, 50), 35);  // leads away: no step
  EXPECT_EQ(TrackerPageStep(50, -10, 45), 45);
}

TEST(TrackerModel, LegendText) {
  EXPECT_EQ(TrackerLegend("%.1f", 30, 10, 0.5), "  10.0  ");
  EXPECT_EQ(TrackerLegend("%.2n px", 2000, 0, 1), "  2.000.00 px  ");
  EXPECT_EQ(TrackerLegend("%d", 3, 0, 1), "");  // an integer pattern does not fit a float
  EXPECT_EQ(TrackerLegend("%s %s", 3, 0, 1), "");
  EXPECT_EQ(TrackerLegend("fast", 3, 0, 1), "  fast  ");  // a text without a number
}
