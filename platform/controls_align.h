// The arithmetic of aligned controls, without windows: which child gets which
// edge of the parent's client area, in the class library's order.
#pragma once
#include <vector>

#include "platform/controls_types.h"
#include "platform/geometry.h"

// One child as the arrangement sees it, in the parent's list order.
struct TAlignItem {
  TAlign Align = alNone;
  TRect Bounds;  // the child's bounds; the arrangement writes the new ones here
  bool Visible = true;
};

// Places the visible items with Align alTop, alBottom, alLeft, alRight and
// alClient inside Client, in that order of kinds; Client shrinks by each edge
// taken and is what is left at the end. Among items of one kind the order
// follows their bounds: alTop by Top, alLeft by Left, alBottom from the lowest
// Bottom up, alRight from the rightmost Right leftwards; ties keep list order
// (alTop, alLeft) or reverse it (alBottom, alRight). First is the index of the
// item whose change asked for the arrangement, or -1: it is placed before the
// others of its kind unless their bounds put them in front of it. An item keeps
// its own height (alTop, alBottom) or width (alLeft, alRight); the extent across
// is Client's, never below 0. alClient items all get what is left. alNone and
// alCustom items are not moved.
void ArrangeAlignedControls(std::vector<TAlignItem>& Items, TRect& Client, int First = -1);
