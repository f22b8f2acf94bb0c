// Accelerator characters of the item controls (panel list, button set): which
// modifier they answer to, what a match does, and which of several matches a
// key press picks.
#pragma once
#include <vector>

#include "platform/controls_types.h"
#include "platform/types.h"

enum TKemAccelAction { aaSelect, aaClick, aaDblClick, aaCustom };
enum TKemAccelModifier { amNone, amCtrl, amAlt, amShift };

// Whether the Shift, Ctrl and Alt keys of Shift are exactly Modifier's: amAlt
// wants Alt alone, so Alt+Shift+letter is no accelerator.
bool AccelModifierMatches(TKemAccelModifier Modifier, TShiftState Shift);

// The upper-cased key when it can be an accelerator (A-Z, 0-9), else 0.
WideChar AccelKeyChar(WideChar Key);

// Of the indexes in Matches (in display order), the one that follows Current
// cyclically, or the first when Current is none of them; -1 for no matches.
// Pressing the same key again so walks through every item it names.
int NextAccelMatch(const std::vector<int>& Matches, int Current);
