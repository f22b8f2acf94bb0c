// How the wheel and the group keys move through the bar's groups and icons:
// the rules alone, so they are tested without windows.
#pragma once
#include "launcher/ov3hotkeytext.h"
#include "platform/controls_types.h"

// Ctrl = 4, Alt = 2, Shift = 1, as the group keys are stored.
int BarShiftMask(TShiftState Shift);

enum TWheelScrolls { wsNothing, wsGroups, wsIcons };
// Scroll is ovsWheelScroll (0 groups, 1 icons, 2 off), Toggle ovsWheelToggle
// (the modifier that swaps them: 0 Ctrl, 1 Alt, 2 Shift, 3 none).
TWheelScrolls WheelScrolls(int Scroll, int Toggle, TShiftState Shift);
// A wheel step: +1 up, -1 down; the other way round when the group buttons run downwards.
int WheelStep(bool Up, bool VerticalDown);
// The index a step leads to, or -1 when the selection stays. With wrapping, or
// when nothing is selected (Current < 0), the ends run round.
int WheelTarget(int Current, int Step, int Count, bool Wrap);
// The group a group key selects, or -1 when Pressed is neither key.
int GroupKeyTarget(const TOvBarKey& Pressed, const TOvBarKey& Previous, const TOvBarKey& Next, int Current, int Count);
