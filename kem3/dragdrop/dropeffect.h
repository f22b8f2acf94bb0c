// The drop effect a target reports: chosen from the keys held during the drag
// and the effects both sides allow.
#pragma once
#include <cstdint>

#include "platform/controls_types.h"
#include "platform/set.h"

// The same names and values as the system's headers, so either may come first.
#ifndef DROPEFFECT_NONE
#define DROPEFFECT_NONE 0
#define DROPEFFECT_COPY 1
#define DROPEFFECT_MOVE 2
#define DROPEFFECT_LINK 4
#define DROPEFFECT_SCROLL 0x80000000
#endif
#ifndef MK_LBUTTON
#define MK_LBUTTON 0x0001
#define MK_RBUTTON 0x0002
#define MK_SHIFT 0x0004
#define MK_CONTROL 0x0008
#define MK_MBUTTON 0x0010
#endif
#ifndef MK_ALT
#define MK_ALT 0x0020
#endif

// The effects a target accepts: dtCopy, dtMove, dtLink are the bits 1, 2 and 4.
enum TDragType { dtCopy, dtMove, dtLink };
using TDragTypes = Set<TDragType>;

TShiftState ShiftStateFromKeys(std::uint32_t KeyState);
// Shift+Ctrl: link; Ctrl: copy; no key or Shift: move; when that is not
// allowed, the first allowed of copy, move, link; 0 when none is.
std::uint32_t ChooseDropEffect(TShiftState Shift, std::uint32_t Allowed);
// The effect offered by the source limited to the drag types, chosen by the
// keys. The source's scroll bit never takes part: with auto-scroll over a
// control with scroll bars it is set when the point lies outside the inner
// scroll rectangle.
std::uint32_t ValidDropEffect(TShiftState Shift, std::uint32_t Effect, TDragTypes DragTypes, bool ScrollZone,
                              bool InInnerRect);
