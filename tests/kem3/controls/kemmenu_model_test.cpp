// The popup menu's measuring, stacking, monitor clamping, hook areas, keys
// and check mark.
#include "kem3/controls/kemmenu_model.h"

#include <gtest/gtest.h>

#include "platform/keys.h"

namespace {

TKemMenuMetrics Skinned() {
  TKemMenuMetrics m;
  m.Skinned = true;
  m.Outer = {4, 3, 6, 7};
  m.Frame = {2, 2, 2, 2};
  m.Icon = {1, 2, 3, 4};
  m.Item = {1, 1, 1, 1};
  m.Text = {5, 2, 5, 2};
  m.Separator = {2, 1, 2, 1};
  m.SeparatorHeight = 3;
  m.SubmenuMarkWidth = 7;
  m.SpaceSubmenu = 4;
  m.SpaceShortcut = 12;
  m.LogoWidth = 20;
  return m;
}

}  // namespace

TEST(MenuModel, MeasuresEntriesPlainAndSkinned) {
  const TKemMenuMetrics plain = PlainMenuMetrics();
  const TKemMenuMetrics skin = Skinned();
  struct Case {
    TKemMenuEntryKind Kind;
    TKemMenuEntryText Text;
    const TKemMenuMetrics& M;
    TKemMenuEntrySize Want;
  } cases[] = {
      {mekItem, {{40, 13}, 0, false, {}}, plain, {70, 21, 0}},
      {mekItem, {{40, 13}, 25, false, {}}, plain, {110, 21, 0}},  // shortcut + 15
      {mekItem, {{40, 13}, 25, true, {}}, plain, {70, 21, 0}},    // submenu hides the shortcut
      {mekText, {{40, 13}, 25, false, {}}, plain, {70, 21, 0}},   // a text has no shortcut
      {mekItem, {{40, 13}, 0, false, {16, 16}}, plain, {70, 22, 22}},
      {mekSeparator, {{40, 13}, 0, false, {}}, plain, {1, 15, 0}},
      // The shortcut space and the submenu space the skin keeps right of a shortcut.
      {mekItem, {{40, 13}, 25, false, {}}, skin, {40 + 10 + 25 + 12 + 4 + 2, 13 + 4 + 2, 0}},
      {mekItem, {{40, 13}, 25, true, {}}, skin, {40 + 10 + 7 + 4 + 2, 13 + 4 + 2, 0}},
      {mekItem, {{40, 13}, 0, false, {16, 16}}, skin, {40 + 10 + 2, 16 + 6 + 2, 20}},
      {mekSeparator, {}, skin, {14, 5, 0}},
  };
  for (const Case& c : cases) EXPECT_EQ(MeasureMenuEntry(c.Kind, c.Text, c.M), c.Want) << c.Text.Caption.cx;
}

TEST(MenuModel, StacksVisibleEntriesAtOneWidth) {
  TKemMenuMetrics m = Skinned();
  std::vector<TKemMenuSlot> slots(3);
  slots[0].Size = {50, 20, 0};
  slots[1].Visible = false;
  slots[1].Size = {300, 20, 0};
  slots[2].Size = {30, 10, 22};
  const TKemMenuLayout l = LayoutMenu(slots, m);
  const int x = 4 + 2 + 20;  // outer, frame, logo
  EXPECT_EQ(slots[0].Bounds, Bounds(x, 5, 72, 20));
  EXPECT_EQ(slots[2].Bounds, Bounds(x, 25, 72, 10));
  EXPECT_EQ(l.Width, x + 72 + 6 + 2);
  EXPECT_EQ(l.Height, 35 + 7 + 2);
  EXPECT_EQ(l.IconColumn, 22);
  // A logo whose ink is taller than the entries makes the menu as tall as the ink.
  m.LogoHeight = 100;
  EXPECT_EQ(LayoutMenu(slots, m).Height, 5 + 100 + 7 + 2);
  m.LogoHeight = 20;
  EXPECT_EQ(LayoutMenu(slots, m).Height, 35 + 7 + 2);
  m.Skinned = false;  // the logo belongs to the skin
  m.LogoHeight = 100;
  EXPECT_EQ(LayoutMenu(slots, m).Height, 35 + 7 + 2);
  EXPECT_EQ(slots[0].Bounds.Left, 6);
}

TEST(MenuModel, InkedHeightCountsFromTheFirstRowWithAlpha) {
  TBitmap b;
  b.SetPixelFormat(pf32bit);
  b.SetSize(4, 10);
  b.SetAlphaFormat(afDefined);
  for (int y = 0; y < 10; ++y)
    for (int x = 0; x < 4; ++x) static_cast<TRGBQuad*>(b.ScanLine(y))[x] = {};
  EXPECT_EQ(InkedHeight(b), 0);
  static_cast<TRGBQuad*>(b.ScanLine(6))[2].rgbReserved = 1;
  EXPECT_EQ(InkedHeight(b), 4);
  b.SetAlphaFormat(afIgnored);  // no alpha: all of it shows
  EXPECT_EQ(InkedHeight(b), 10);
}

TEST(MenuModel, KeepsInsideTheMonitorOfItsPoint) {
  const TRect second = Rect(1024, 0, 2048, 768);  // a monitor right of the first
  struct Case {
    TPoint Pos;
    bool Submenu;
    TPoint Want;
  } cases[] = {
      {{1100, 100}, false, {1100, 100}},
      {{2000, 100}, false, {2048 - 120, 100}},     // ends at the right edge
      {{2000, 100}, true, {1900 + 6 - 120, 100}},  // opens left of its parent
      {{1100, 700}, false, {1100, 768 - 200}},     // moves up
      {{1000, -20}, false, {1024, 0}},             // not onto the neighbour monitor
  };
  for (const Case& c : cases)
    EXPECT_EQ(KeepMenuInside(c.Pos, {120, 200}, second, c.Submenu, 1900, 6), c.Want) << c.Pos.X << "," << c.Pos.Y;
}

TEST(MenuModel, AreasAreInclusiveAndLimited) {
  EXPECT_EQ(MenuFrameArea({100, 50}, {80, 60}, {4, 3, 6, 7}), Rect(104, 53, 173, 102));
  EXPECT_EQ(MenuEntryArea({100, 50}, Rect(6, 5, 78, 25)), Rect(106, 55, 177, 74));
  EXPECT_FALSE(MenuEntryHasHookArea(0));
  EXPECT_TRUE(MenuEntryHasHookArea(1));
  EXPECT_TRUE(MenuEntryHasHookArea(100));
  EXPECT_FALSE(MenuEntryHasHookArea(101));
}

TEST(MenuModel, KeyMovesWrapAndSkip) {
  const std::vector<bool> sel{false, true, false, true, false};  // separator first
  struct Case {
    int Current;
    bool Down;
    int Want;
  } cases[] = {{-1, true, 1}, {-1, false, 3}, {1, true, 3}, {3, true, 1}, {1, false, 3}, {3, false, 1}};
  for (const Case& c : cases) EXPECT_EQ(NextMenuKeyIndex(sel, c.Current, c.Down), c.Want) << c.Current << c.Down;
  EXPECT_EQ(NextMenuKeyIndex({false, false}, -1, true), -1);
  EXPECT_EQ(NextMenuKeyIndex({}, -1, false), -1);
  EXPECT_EQ(ClassifyMenuKey(VK_RETURN), mkExecute);
  EXPECT_EQ(ClassifyMenuKey(VK_RIGHT), mkRight);
  EXPECT_EQ(ClassifyMenuKey(VK_ESCAPE), mkClose);
  EXPECT_EQ(ClassifyMenuKey('A'), mkClose);
}

TEST(MenuModel, CheckMarkPixels) {
  const char* rows[9] = {".........", ".......#.", "......##.", ".#...###.", ".##.###..",
                         ".#####...", "..###....", "...#.....", "........."};
  for (int y = 0; y < 9; ++y)
    for (int x = 0; x < 9; ++x) EXPECT_EQ(MenuCheckMarkPixel(x, y), rows[y][x] == '#') << x << "," << y;
  EXPECT_FALSE(MenuCheckMarkPixel(9, 3));
}
