// The bar's actions: their ids, caption text ids and shortcuts, and the rules
// that enable and check them from the state of the bar.
#pragma once
#include <array>
#include <string_view>

// Action ids. They are what the skin's menu pictures ("Icons\<id>.ico") and
// the actions' tool bitmaps are named by, so each keeps its number.
enum TOvAction : int {
  ovaIconsMenu = 101,   // the icons submenu
  ovaGroupsMenu = 102,  // the groups submenu
  ovaRebuildIconCache = 103,
  ovaAlignMenu = 104,  // the align submenu
  ovaAutoHide = 105,
  ovaPreferences = 106,
  ovaInformation = 107,
  ovaExit = 108,
  ovaScreenSnap = 121,
  ovaAlignTop = 122,
  ovaAlignBottom = 123,
  ovaAlignLeft = 124,
  ovaAlignRight = 125,
  ovaNewIcon = 141,
  ovaNewBatchIcon = 142,
  ovaDeleteIcon = 143,
  ovaCopyIcon = 144,
  ovaEditIcon = 146,
  ovaNewGroup = 161,
  ovaDeleteGroup = 162,
  ovaEditGroup = 163,
  // The modules' commands (the module table says whose).
  ovaSecondHandOn = 201,
  ovaSecondHandOff = 202,
  ovaOpenRecycleBin = 203,
  ovaEmptyRecycleBin = 204,
};

struct TOvActionInfo {
  int Id;
  int LanId;                  // language text id of the caption
  std::string_view ShortCut;  // shortcut text ("Ctrl+P"), empty for none
};

inline constexpr auto kBarActions = std::to_array<TOvActionInfo>({
    {ovaIconsMenu, 146, ""},
    {ovaGroupsMenu, 147, ""},
    {ovaRebuildIconCache, 148, ""},
    {ovaAlignMenu, 149, ""},
    {ovaAutoHide, 150, ""},
    {ovaPreferences, 151, "Ctrl+P"},
    {ovaInformation, 152, ""},
    {ovaExit, 153, ""},
    {ovaScreenSnap, 154, ""},
    {ovaAlignTop, 155, ""},
    {ovaAlignBottom, 156, ""},
    {ovaAlignLeft, 157, ""},
    {ovaAlignRight, 158, ""},
    {ovaNewIcon, 159, "Ins"},
    {ovaNewBatchIcon, 160, ""},
    {ovaDeleteIcon, 161, "Del"},
    {ovaCopyIcon, 162, ""},
    {ovaEditIcon, 164, "Alt+Enter"},
    {ovaNewGroup, 165, "Shift+Ins"},
    {ovaDeleteGroup, 166, "Shift+Del"},
    {ovaEditGroup, 167, "Shift+Enter"},
    {ovaSecondHandOn, 168, ""},
    {ovaSecondHandOff, 169, ""},
    {ovaOpenRecycleBin, 170, ""},
    {ovaEmptyRecycleBin, 171, ""},
});

// What the enabled and checked states depend on.
struct TBarActionContext {
  bool Vertical = false;  // the bar stands at a left or right edge
  bool IconSelected = false;
  bool GroupSelected = false;
  int GroupCount = 0;
  bool AutoHide = false;    // ovsAutoHide
  bool ScreenSnap = false;  // ovsScreenSnap
  // The recycle bin module shows a full bin (ovaEmptyRecycleBin empties it).
  bool RecycleBinFull = false;
};

struct TOvActionState {
  bool Enabled = false;
  bool Checked = false;
};

// The state of one action (by id) for the bar's current state. The modules'
// commands follow their modules and are left enabled here, but emptying the
// recycle bin needs a full bin.
TOvActionState BarActionState(int Id, const TBarActionContext& Context);
