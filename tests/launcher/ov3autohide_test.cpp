// Auto-hide with a fake window, pointer and screen.
#include "launcher/ov3autohide.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/exceptions.h"

namespace {

class TFakePlace : public TOvBarPlace {
 public:
  TRect BarBounds() override { return Bar; }
  void MoveBar(int Left, int Top) override { Bar = Bounds(Left, Top, Bar.Width(), Bar.Height()); }
  TPoint CursorPos() override { return Cursor; }
  TSize ScreenSize() override { return {1024, 768}; }
  bool HideBlocked() override { return Blocked; }
  void BringToFront() override { ++Fronts; }
  void CloseHint() override {}
  TRect Bar = Bounds(200, 0, 560, 96);
  TPoint Cursor{500, 500};
  bool Blocked = false;
  int Fronts = 0;
};

}  // namespace

TEST(AutoHide, AreaRectanglesAndSets) {
  struct {
    int Area;
    TRect R;
  } Areas[] = {{0, Rect(5, 0, 1019, 3)},      {1, Rect(5, 765, 1019, 768)},   {2, Rect(0, 5, 3, 763)},
               {3, Rect(1021, 5, 1024, 763)}, {4, Rect(0, 0, 5, 5)},          {5, Rect(1019, 0, 1024, 5)},
               {6, Rect(0, 763, 5, 768)},     {7, Rect(1019, 763, 1024, 768)}};
  for (auto& A : Areas) EXPECT_EQ(ScreenAreaRect(A.Area, 1024, 768, 3, 5), A.R) << A.Area;
  // Automatic: the hide edge and its corners; custom: whatever the text names.
  const char* Expected[4] = {"10001100", "01000011", "00101010", "00010101"};
  for (int Edge = 0; Edge < 4; ++Edge)
    for (int Area = 0; Area < 8; ++Area) {
      EXPECT_EQ(AreaInSet(Area, 0, TOvHideEdge(Edge), "0,4,5"), Expected[Edge][Area] == '1') << Edge << Area;
      EXPECT_EQ(AreaInSet(Area, 1, TOvHideEdge(Edge), "0,4,5"), Area == 0 || Area == 4 || Area == 5);
    }
  EXPECT_FALSE(AreaInSet(8, 1, heTop, "8"));
  EXPECT_TRUE(PointInArea(Rect(5, 0, 1019, 3), {1019, 3}));
}

TEST(AutoHide, HideEdgeFollowsTheHalfOfTheScreen) {
  struct {
    bool Vertical;
    TPoint Pos;
    TOvHideEdge Edge;
  } Cases[] = {{false, {0, 383}, heTop},
               {false, {0, 384}, heBottom},
               {true, {511, 700}, heLeft},
               {true, {512, 0}, heRight},
               {false, {900, -50}, heTop}};
  for (auto& C : Cases) EXPECT_EQ(ChooseHideEdge(C.Vertical, C.Pos, 1024, 768), C.Edge);
  // A turned bar docks to the edge of its new orientation nearer the centre it had.
  const TRect Work = Rect(0, 0, 1024, 740);
  struct {
    bool Vertical;
    TRect Before;
    TOvHideEdge Edge;
  } Turns[] = {{true, Bounds(232, 0, 560, 96), heLeft},  // centred at the top: a tie
               {true, Bounds(233, 644, 560, 96), heRight},
               {false, Bounds(0, 322, 96, 96), heTop},
               {false, Bounds(928, 323, 96, 500), heBottom}};
  for (auto& T : Turns) EXPECT_EQ(TurnedBarEdge(T.Vertical, T.Before, Work), T.Edge) << T.Before.Left;
  EXPECT_EQ(ClampSlideStep(0), 1);
  EXPECT_EQ(ClampSlideStep(99), 20);
  EXPECT_EQ(ClampSlideInterval(-5), 1);
  EXPECT_EQ(ClampSlideInterval(500), 100);
}

// A bar at each edge hides after the countdown, leaves the screen, and comes
// back exactly home when the pointer rests in its edge area.
TEST(AutoHide, HidesSlidesAndComesHome) {
  struct {
    bool Vertical, AtOnce;
    TRect Bar;
    int Step;
    TOvHideEdge Edge;
    int Area;
  } Cases[] = {{false, false, Bounds(200, 0, 560, 96), 7, heTop, 0},
               {false, false, Bounds(200, 672, 560, 96), 0, heBottom, 6},
               {true, false, Bounds(3, 100, 96, 500), -3, heLeft, 2},
               {true, true, Bounds(928, 100, 96, 500), 20, heRight, 7}};
  for (auto& C : Cases) {
    TFakePlace Place;
    Place.Bar = C.Bar;
    TOvAutoHide A(Place);
    A.Vertical = C.Vertical;
    A.Settings.AutoHide = true;
    A.Settings.AtOnce = C.AtOnce;
    A.Settings.SlideStep = C.Step;
    A.AutoHideChanged();
    EXPECT_EQ(A.Countdown(), 8);
    int Ticks = 0;
    while (!A.Hidden() && Ticks < 20) A.HideTick(), ++Ticks;
    EXPECT_EQ(Ticks, 9) << "8 idle ticks, then the hide";
    EXPECT_EQ(A.Edge(), C.Edge);
    for (int I = 0; A.SlideTimerOn() && I < 2000; ++I) A.SlideTick();
    const TRect Off = Place.Bar;
    EXPECT_TRUE(Off.Bottom < 1 || Off.Top >= 768 || Off.Right < 1 || Off.Left >= 1024) << C.Edge;
    EXPECT_FALSE(A.HideTimerOn());
    // The pointer reaches the area; after the show delay it is still there.
    Place.Cursor = ScreenAreaRect(C.Area, 1024, 768, 3, 5).TopLeft();
    EXPECT_TRUE(A.AreaEntered(C.Area, ScreenAreaRect(C.Area, 1024, 768, 3, 5)));
    EXPECT_TRUE(A.ShowTimerOn());
    A.ShowTick();
    for (int I = 0; A.Hidden() && I < 2000; ++I) A.SlideTick();
    EXPECT_EQ(Place.Bar, C.Bar);
    EXPECT_FALSE(A.Hidden());
    EXPECT_FALSE(A.ForcedHide()) << "shown again, the pointer on the bar keeps it";
    EXPECT_TRUE(A.HideTimerOn());
    EXPECT_EQ(Place.Fronts, 1);
  }
}

TEST(AutoHide, WhatKeepsTheBar) {
  TFakePlace Place;
  TOvAutoHide A(Place);
  A.Settings.AutoHide = true;
  A.Settings.HideDelay = 500;
  A.AutoHideChanged();
  Place.Cursor = {300, 50};  // on the bar
  for (int I = 0; I < 5; ++I) A.HideTick();
  EXPECT_FALSE(A.Hidden());
  Place.Cursor = {300, 500};
  Place.Blocked = true;  // a menu open or the bar being moved
  for (int I = 0; I < 5; ++I) A.HideTick();
  EXPECT_FALSE(A.Hidden());
  // Only a hidden bar is shown; a pointer that left the area during the delay brings nothing.
  A.ShowBar();
  EXPECT_EQ(Place.Fronts, 0);
  Place.Blocked = false;
  A.Settings.AtOnce = true;
  A.HideNow();
  EXPECT_TRUE(A.Hidden());
  EXPECT_FALSE(A.AreaEntered(1, ScreenAreaRect(1, 1024, 768, 3, 5)));
  EXPECT_TRUE(A.AreaEntered(4, ScreenAreaRect(4, 1024, 768, 3, 5)));
  A.ShowTick();
  EXPECT_TRUE(A.Hidden());
  // Another hide method while hidden keeps the way home.
  A.Settings.AtOnce = false;
  A.AutoHideChanged();
  EXPECT_FALSE(A.HideTimerOn());
  // Turning auto-hide off brings it home at once.
  A.Settings.AutoHide = false;
  A.AutoHideChanged();
  EXPECT_FALSE(A.Hidden());
  EXPECT_EQ(Place.Bar.TopLeft(), (TPoint{200, 0}));
}

// Auto-hide switched on with hiding at once, and the bar sent away.
static void HideAtOnce(TOvAutoHide& A) {
  A.Settings.AutoHide = true;
  A.Settings.AtOnce = true;
  A.AutoHideChanged();
  A.HideNow();
}

// Without the mouse hook no area could call the bar back: it never leaves,
// whatever asks it to, and a bar already gone comes home.
TEST(AutoHide, WithoutAWayBackTheBarStaysHome) {
  TFakePlace Place;
  TOvAutoHide A(Place);
  HideAtOnce(A);
  ASSERT_TRUE(A.Hidden());
  A.SetCanComeBack(false);
  EXPECT_FALSE(A.Hidden());
  EXPECT_EQ(Place.Bar.TopLeft(), (TPoint{200, 0}));
  for (const char* Step : {"setting", "ticks", "hotkey"}) {
    const std::string S = Step;
    if (S == "setting") A.AutoHideChanged();
    if (S == "ticks")
      for (int I = 0; I < 20; ++I) A.HideTick();
    if (S == "hotkey") A.HideNow();
    EXPECT_FALSE(A.Hidden()) << Step;
    EXPECT_FALSE(A.HideTimerOn()) << Step;
    EXPECT_EQ(Place.Bar.TopLeft(), (TPoint{200, 0})) << Step;
  }
  // A hook installed after all: the countdown runs again.
  A.SetCanComeBack(true);
  EXPECT_TRUE(A.HideTimerOn());
  EXPECT_EQ(A.Countdown(), 8);
}

// The hook is there but refuses an area (its tables are full, or the library
// cannot set them): that area could never call the bar back, so the bar stays
// home as without the hook until every area is set.
TEST(AutoHide, AreasTheHookRefusesKeepTheBarHome) {
  TFakePlace Place;
  TOvAutoHide A(Place);
  HideAtOnce(A);
  ASSERT_TRUE(A.Hidden());
  std::vector<TRect> Given;
  auto Refusing = [&](int Area, const TRect& R) {
    if (Area == 3) throw Exception("table full");
    Given.push_back(R);
  };
  EXPECT_THROW(A.SetScreenAreas({1024, 768}, 3, 5, Refusing), Exception);
  EXPECT_EQ(Given.size(), 3u);
  EXPECT_FALSE(A.CanComeBack());
  EXPECT_FALSE(A.Hidden());
  EXPECT_EQ(Place.Bar.TopLeft(), (TPoint{200, 0}));
  for (int I = 0; I < 20; ++I) A.HideTick();
  A.HideNow();
  A.SetCanComeBack(true);  // the hook alone is no way back
  EXPECT_FALSE(A.Hidden());
  EXPECT_FALSE(A.HideTimerOn());
  // Every area set at last, in order: the countdown runs again, and setting
  // them once more (a new resolution) does not start it over.
  Given.clear();
  A.SetScreenAreas({1024, 768}, 3, 5, [&](int, const TRect& R) { Given.push_back(R); });
  ASSERT_EQ(Given.size(), 8u);
  for (int N = 0; N < 8; ++N) EXPECT_EQ(Given[N], ScreenAreaRect(N, 1024, 768, 3, 5)) << N;
  EXPECT_TRUE(A.CanComeBack());
  EXPECT_TRUE(A.HideTimerOn());
  A.HideTick();
  EXPECT_EQ(A.Countdown(), 7);
  A.SetScreenAreas({1024, 768}, 3, 5, [](int, const TRect&) {});
  EXPECT_EQ(A.Countdown(), 7);
}
