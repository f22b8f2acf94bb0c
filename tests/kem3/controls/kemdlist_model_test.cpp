// The drop-down list's moves, typed search and popup place.
#include "kem3/controls/kemdlist_model.h"

#include <gtest/gtest.h>

#include <vector>

TEST(DropDownModel, MovesStopAtTheEnds) {
  struct Case {
    TDropDownMove Move;
    int Index, Count;
    bool Moves;
    int NewIndex;
  } cases[] = {
      {dmPrevious, 0, 5, false, 0},
      {dmPrevious, 3, 5, true, 2},
      {dmPrevious, -1, 5, false, 0},
      {dmNext, 4, 5, false, 0},
      {dmNext, 1, 5, true, 2},
      {dmNext, -1, 5, true, 0},
      {dmPageUp, 0, 20, false, 0},
      {dmPageUp, 5, 20, true, 0},
      {dmPageUp, 12, 20, true, 4},
      {dmPageDown, 5, 20, true, 13},
      {dmPageDown, 15, 20, true, 19},
      {dmPageDown, 19, 20, true, 19},  // the last entry still counts as a move (OnChange)
      {dmNext, -1, 0, false, 0},
      {dmPrevious, -1, 0, false, 0},
      {dmPageUp, -1, 0, false, 0},
      {dmPageDown, -1, 0, false, 0},
  };
  for (const Case& c : cases) {
    int to = -7;
    EXPECT_EQ(DropDownMoveTo(c.Move, c.Index, c.Count, 8, to), c.Moves) << c.Move << " " << c.Index;
    if (c.Moves) {
      EXPECT_EQ(to, c.NewIndex) << c.Move << " " << c.Index;
    }
  }
}

TEST(DropDownModel, TypedCharactersSearchOnAFakeClock) {
  const std::vector<WideString> items{u"Alpha", u"Beta", u"bEll", u"Gamma", u"Βήτα", u"βΗμα"};
  auto item = [&](int i) { return items[i]; };
  const int n = static_cast<int>(items.size());
  TDropDownSearch s;
  EXPECT_EQ(s.Type(u'b', 1000, 0, n, item), 1);
  EXPECT_EQ(s.Type(u'e', 1200, 1, n, item), 2);  // "be" after Beta: the next one
  EXPECT_EQ(s.Text(), u"be");
  EXPECT_EQ(s.Type(u'g', 1700, 2, n, item), 3);  // 500 ms later a new search
  EXPECT_EQ(s.Text(), u"g");
  EXPECT_EQ(s.Type(8, 1800, 3, n, item), -1);    // Backspace empties it: nothing to find
  EXPECT_EQ(s.Type(u'Β', 1900, 3, n, item), 4);  // Greek, any case
  EXPECT_EQ(s.Type(u'Η', 2000, 4, n, item), 5);
  EXPECT_EQ(s.Type(u'b', 2000, 1, n, item), -1);  // "βηb" is in no entry

  TDropDownSearch none;
  EXPECT_EQ(none.Type(u'z', 0, -1, n, item), -1);  // nothing selected, nothing found
  EXPECT_EQ(none.Type(u'a', 5000, -1, 0, item), -1);
  TDropDownSearch only;
  EXPECT_EQ(only.Type(u'a', 0, 0, n, item), -1);  // the selected entry itself is not tested
}

TEST(DropDownModel, PopupPlaceAndOutsideAreas) {
  EXPECT_EQ(PopupHeight(8, 3, 16), 50);
  EXPECT_EQ(PopupHeight(8, 20, 16), 130);
  EXPECT_EQ(PopupHeight(8, 0, 16), 2);
  EXPECT_EQ(PopupOrigin({100, 200}, 21, 130, 768), Point(100, 220));
  // Near the bottom: above, its bottom one pixel under the control's top.
  const TPoint above = PopupOrigin({100, 700}, 21, 130, 768);
  EXPECT_EQ(above, Point(100, 700 - 130 + 1));
  const auto areas = PopupOutsideAreas(Bounds(100, 220, 80, 130), 1024, 768);
  EXPECT_EQ(areas[0], Rect(0, 0, 1024, 219));
  EXPECT_EQ(areas[1], Rect(0, 350, 1024, 768));
  EXPECT_EQ(areas[2], Rect(0, 0, 99, 768));
  EXPECT_EQ(areas[3], Rect(180, 0, 1024, 768));
}

TEST(DropDownModel, PopupWidthFollowsTheLongestEntryWithinTheScreen) {
  EXPECT_EQ(PopupWidth(120, 40, 0, 1024), 120);    // short entries: the control's width
  EXPECT_EQ(PopupWidth(76, 80, 17, 1024), 107);    // text + 2 x (border 1 + margin 2) + 4 + scroll bar
  EXPECT_EQ(PopupWidth(76, 2000, 0, 1024), 1024);  // never past the screen
  EXPECT_EQ(PopupLeft(900, 200, 1024), 824);       // moved back onto the screen
  EXPECT_EQ(PopupLeft(-20, 100, 1024), -20);       // fits: where the control is
}
