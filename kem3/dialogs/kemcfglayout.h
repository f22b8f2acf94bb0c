// The generated rows of a settings page, free of any window: where each group
// frame, caption and control of a page goes, the limits and unit lists the
// controls get, and how the states they show are read back into the items.
// kemcfgpage_win.cpp makes the controls from it.
#pragma once
#include <cstdint>
#include <vector>

#include "kem3/controls/kemtextmeasure.h"
#include "kem3/framework/kemcfg.h"
#include "platform/geometry.h"

// One placed entry of a page.
struct TcfgRow {
  TcfgDbGroup* Group = nullptr;  // a group frame, or
  TcfgDbItem* Item = nullptr;    // an item's row (by its Type)
  // The group row (an index into the same list) whose frame holds this row;
  // -1 for the page's parent. Rectangles are in that parent's client area.
  int Parent = -1;
  // The check box standing in a group frame's caption line: sized to its text.
  bool InCaption = false;
  TRect Label;    // the caption label's place; empty when the row has none
  TRect Control;  // the control (a group: its frame)
  TRect UnitBox;  // a float with a unit: the unit box right of the spin edit; empty otherwise
  int Advance = 0;
  int ColumnRight = 0;  // the right edge of the row's column: a list may grow up to it to show its texts
};

struct TcfgPageLayout {
  std::vector<TcfgRow> Rows;  // in creation order: a group before its contents
  int Height = 0;             // from Top to the bottom of the lowest row
};

// Every group and item registered for PageId, in registration order, in
// Columns columns on a parent ParentWidth wide. Groups hold their own pages
// (the group's id) in their frames. Colour items (type 6) have no row.
TcfgPageLayout cfgLayoutPage(int ParentWidth, int PageId, int Top, int Columns, int LeftPercent, int WidthPercent,
                             int LeftMargin, int RightMargin, int ColumnGap);

// The fixed sizes of the rows.
inline constexpr int cfgRowHeight = 21;
inline constexpr int cfgCheckHeight = 17;
inline constexpr int cfgTrackerHeight = 42;
inline constexpr int cfgUnitBoxWidth = 48;

// ---- Spin edits and their units.

// Limits and steps of an item's spin edit shown in Unit. "No limit" (-1 on
// either side as registered) is decided before any conversion, so a converted
// limit never reads as -1 by chance, nor a -1 as a limit.
struct TcfgSpinLimits {
  bool Limited = false;  // Min and Max apply
  double Min = -1, Max = -1;
  double Step = 1, BigStep = 10;
};
TcfgSpinLimits cfgSpinLimits(const TcfgDbItem& Item, TUnit Unit);

// The entries of a unit box: every unit of the category in table order; entry
// i is unit FirstUnitOf(Category) + i.
std::vector<WideString> cfgUnitNames(TUnitCategory Category);
// The entry of Unit in its category's list; -1 when it is of another category.
int cfgUnitEntry(TUnitCategory Category, TUnit Unit);
// The unit of an entry; the item's own DisplayUnit for an entry out of range.
TUnit cfgUnitOfEntry(const TcfgDbItem& Item, int Entry);
// The user picked another unit: Shown (in the old DisplayUnit) becomes the
// same quantity in NewUnit, and DisplayUnit becomes NewUnit.
double cfgSwitchUnit(TcfgDbItem& Item, TUnit NewUnit, double Shown);
// What a spin edit of a float item shows: Value from ValueUnit in DisplayUnit.
double cfgShownNumber(const TcfgDbItem& Item);

// ---- Value lists and check lists.

// The entry of the item's value in Values; -1 when it is none of them.
int cfgValueEntry(const TcfgDbItem& Item);
// The tick of each stored value from the value text ("a=1;b=0"); a value the
// text does not name is unticked.
std::vector<bool> cfgCheckListTicks(const TcfgDbItem& Item);

// ---- Read-back.

// What a control shows, as far as its item's type needs it.
struct TcfgShown {
  double Number = 0;         // 1, 2: the spin edit
  bool Checked = false;      // 3
  int Position = 0;          // 4: the tracker
  String Text;               // 5, 11, 12: the edit
  int Index = -1;            // 7, 8, 10: the selected entry (-1 none)
  std::vector<bool> Ticks;   // 9: the tick of each entry
  std::uint32_t Colour = 0;  // 6
};
// Reads a control's state into its item: integer and tracker items as rounded
// integers, a float in DisplayUnit (which becomes its ValueUnit), a list
// without selection keeps the value. When the unit or the value changed, the
// item is marked Changed and true is returned (the caller counts the change).
bool cfgReadBack(TcfgDbItem& Item, const TcfgShown& Shown);

// Between a caption's text and the field beside it, wherever a page puts them.
inline constexpr int cfgCaptionGap = 6;

// ---- Lists side by side (a shortcut's modifier lists, in the preferences
// and in the icon editor alike).

inline constexpr int cfgListGap = 4;
inline constexpr int cfgListPitch = 24;  // from one line of lists to the next
// Beside a list's text: its drop button and frame, and a little room.
inline constexpr int cfgListExtra = 21 + 8;

struct TcfgListFlow {
  int Lines = 0;
  std::vector<TRect> Places;  // one per list, cfgRowHeight high
};
// Lists of the texts Texts[i], all as wide as the widest text measured, from
// Left to Right and Gap apart, on as few lines as show every text whole, the
// lines as evenly filled as their count allows. With Lines above 0 the lists
// take that many lines, whatever their texts need (a row whose height is given).
TcfgListFlow cfgFlowLists(ITextMeasure& Measure, const std::vector<std::vector<WideString>>& Texts, int Left, int Right,
                          int Top, int Lines = 0);
