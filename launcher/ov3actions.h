// The bar's actions: their ids, caption text ids and shortcuts, and the rules
// that enable and check them from the state of the bar.
#pragma once
#include <array>
#include <string_view>

struct TOvActionInfo {
  int Id;
  int LanId;                  // language text id of the caption
  std::string_view ShortCut;  // shortcut text ("Ctrl+P"), empty for none
};

inline constexpr std::array<TOvActionInfo, 25> kBarActions = {{
    {101, 146, ""},          {102, 147, ""},          {103, 148, ""},
    {104, 149, ""},          {105, 150, ""},          {106, 151, "Ctrl+P"},
    {107, 152, ""},          {108, 153, ""},          {121, 154, ""},
    {122, 155, ""},          {123, 156, ""},          {124, 157, ""},
    {125, 158, ""},          {141, 159, "Ins"},       {142, 160, ""},
    {143, 161, "Del"},       {144, 162, ""},          {146, 164, "Alt+Enter"},
    {161, 165, "Shift+Ins"}, {162, 166, "Shift+Del"}, {163, 167, "Shift+Enter"},
    {201, 168, ""},          {202, 169, ""},          {203, 170, ""},
    {204, 171, ""},
}};

// What the enabled and checked states depend on.
struct TBarActionContext {
  bool Vertical = false;  // the bar stands at a left or right edge
  bool IconSelected = false;
  bool GroupSelected = false;
  int GroupCount = 0;
  bool AutoHide = false;    // setting 121
  bool ScreenSnap = false;  // setting 131
  // The recycle bin module shows a full bin (action 204 empties it).
  bool RecycleBinFull = false;
};

struct TOvActionState {
  bool Enabled = false;
  bool Checked = false;
};

// The state of one action (by id) for the bar's current state. The module
// commands 201-203 follow their modules and are left enabled here; 204 needs
// a full bin.
TOvActionState BarActionState(int Id, const TBarActionContext& Context);
