// The popup menu's arithmetic, free of any window: measuring entries with the
// skin's menu metrics (or the plain ones), stacking them in a column, keeping
// the menu inside its monitor, the hook areas of entries and ancestors, the
// keyboard's moves and the plain check mark.
#pragma once
#include <cstdint>
#include <vector>

#include "kem3/graphics/vosskin.h"
#include "platform/bitmap.h"
#include "platform/geometry.h"

// Entry kinds: a clickable item, a caption that cannot be clicked, a separator.
enum TKemMenuEntryKind : std::uint8_t { mekItem = 1, mekText = 2, mekSeparator = 3 };

// The hook library keeps areas 1..100 per window and at most six rectangles
// per area: entries beyond 100 get no area, and a submenu deeper than five
// levels below an item adds nothing to that item's area.
inline constexpr int kMenuMaxHookArea = 100;
inline constexpr int kMenuMaxAncestorDepth = 5;
constexpr bool MenuEntryHasHookArea(int Area) { return Area >= 1 && Area <= kMenuMaxHookArea; }

// Margins and the metrics measuring needs, from the skin or the plain defaults.
struct TKemMenuMetrics {
  bool Skinned = false;
  TVosIndents Outer, Frame, Icon;  // shadow, frame, icon margins
  TVosIndents Item, Text;          // item and text indents (skinned only)
  TVosIndents Separator;           // separator indents (skinned only)
  int SeparatorHeight = 0;
  int SubmenuMarkWidth = 0, SpaceSubmenu = 0, SpaceShortcut = 0;
  int LogoWidth = 0;
  // How much of the logo strip's picture, from its bottom, holds ink: the
  // menu is at least this tall inside its frame, so the banner is not cut.
  int LogoHeight = 0;
};
// The plain metrics: outer 0, frame 2, icon margin 3 on every side.
TKemMenuMetrics PlainMenuMetrics();
// The skin's menu metrics; LogoName picks the logo strip's width.
TKemMenuMetrics SkinMenuMetrics(const TVosSkin& Skin, const String& LogoName);

// What measuring an entry needs to know of it.
struct TKemMenuEntryText {
  TSize Caption;          // extent of the caption in the menu font
  int ShortcutWidth = 0;  // 0 without a shortcut
  bool Submenu = false;
  TSize Icon;  // 0x0 without an icon
};
struct TKemMenuEntrySize {
  int Width = 0, Height = 0, IconWidth = 0;
  friend bool operator==(const TKemMenuEntrySize&, const TKemMenuEntrySize&) = default;
};
TKemMenuEntrySize MeasureMenuEntry(TKemMenuEntryKind Kind, const TKemMenuEntryText& Text, const TKemMenuMetrics& M);

// One entry in the column: filled in by LayoutMenu.
struct TKemMenuSlot {
  bool Visible = true;
  TKemMenuEntrySize Size;  // measured
  TRect Bounds;            // in the menu window
};
struct TKemMenuLayout {
  int Width = 0, Height = 0, IconColumn = 0;
};
// The rows of a picture from its first one with any ink (alpha above 0 in a
// 32-bit picture with alpha; every row of any other) down to its bottom.
int InkedHeight(const TBitmap& Picture);

// Stacks the visible entries; each gets the widest width plus the icon column.
// The menu is never shorter than its logo's ink.
TKemMenuLayout LayoutMenu(std::vector<TKemMenuSlot>& Slots, const TKemMenuMetrics& M);

// Where a menu of Size requested at Pos goes so that it stays inside Monitor:
// past the right edge a top-level menu ends at the edge and a submenu opens to
// the left of its parent (ParentLeft + outer right margin − width); past the
// bottom it moves up; left and top stay inside the monitor.
TPoint KeepMenuInside(TPoint Pos, TSize Size, const TRect& Monitor, bool Submenu, int ParentLeft, int OuterRight);

// The menu's frame in screen coordinates with inclusive right and bottom, as
// the hook keeps areas.
TRect MenuFrameArea(TPoint Pos, TSize Size, const TVosIndents& Outer);
// An entry's area: its screen rectangle, right and bottom inclusive.
TRect MenuEntryArea(TPoint MenuPos, const TRect& Bounds);

// Keyboard. Selectable[i]: entry i is a visible clickable item. The next
// selectable index from Current upwards or downwards, wrapping; from -1 Down
// starts at the first and Up at the last. -1 when nothing is selectable.
int NextMenuKeyIndex(const std::vector<bool>& Selectable, int Current, bool Down);
enum TKemMenuKey { mkExecute, mkLeft, mkUp, mkDown, mkRight, mkClose };
TKemMenuKey ClassifyMenuKey(std::uint16_t Key);

// The plain 9×9 check mark: whether pixel (X, Y) is set.
bool MenuCheckMarkPixel(int X, int Y);
