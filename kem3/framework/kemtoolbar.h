// What a toolbar built from a comma list of action ids holds, worked out
// without any window: one button per token, separators for tokens that begin
// with "-", the rest by the registered description of their id. Also the
// names the tool bitmaps of the descriptions are stored under.
#pragma once
#include <vector>

#include "platform/types.h"

struct TToolSlot {
  bool Separator = false;
  int Id = -1;          // the token's number; -1 when it is none
  int Style = -1;       // the description's ToolStyle; -1 without one
  int ImageIndex = -1;  // the description's picture
  int Width = 0;
};

// One more than the commas: "" is one (empty) token.
int ToolTokenCount(const String& Ids);
// The buttons of the list for pictures ImageWidth wide, with MenuCount
// drop-down menus at hand. A token that is no number, or a number without a
// description, is a plain button; so is a drop-down button whose menu is not
// at hand. Separators are 8 wide, drop-down buttons the picture + 21, others
// the picture + 7.
std::vector<TToolSlot> PlanToolbar(const String& Ids, int ImageWidth, int MenuCount);

// "TOOL_" + HCL_ / HCS_ (high colour, large or small) or LCL_ / LCS_ + the id.
String ToolBitmapName(int Id, bool HighColor, bool Large);
// The descriptions of the library's own groups have their bitmaps in the
// resource library; all others in the program.
bool ToolBitmapInLibrary(int Group);
