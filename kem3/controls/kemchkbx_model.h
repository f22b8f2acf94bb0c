// The checkbox's states and places free of any window; the check list box
// toggles its items the same way.
#pragma once
#include "platform/controls_types.h"
#include "platform/geometry.h"

// A click sets Checked to its opposite: a grey box becomes checked.
TCheckBoxState CheckBoxClicked(TCheckBoxState State);
// The accelerator and the check list box pass through grey when allowed:
// unchecked -> grey (or checked), checked -> unchecked, grey -> checked.
TCheckBoxState CheckBoxToggled(TCheckBoxState State, bool AllowGrayed);

inline constexpr int kCheckBoxSize = 13;

// The 13 x 13 box's top left: at the left end when the caption stands to its
// right (taRightJustify), else at the right end; centred vertically.
TPoint CheckBoxOrigin(TLeftRight Alignment, int Width, int Height);
// Where the caption goes, beside the box.
TRect CheckBoxCaptionRect(TLeftRight Alignment, int Width, int Height);
// The 9 x 9 check mark, row by row, '#' for the mark.
extern const char* const kCheckMarkGlyph[9];
