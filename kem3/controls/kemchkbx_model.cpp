// The checkbox's state changes, box and caption places and check mark.
#include "kem3/controls/kemchkbx_model.h"

TCheckBoxState CheckBoxClicked(TCheckBoxState State) { return State == cbChecked ? cbUnchecked : cbChecked; }

TCheckBoxState CheckBoxToggled(TCheckBoxState State, bool AllowGrayed) {
  switch (State) {
    case cbUnchecked:
      return AllowGrayed ? cbGrayed : cbChecked;
    case cbChecked:
      return cbUnchecked;
    case cbGrayed:
      return cbChecked;
  }
  return cbUnchecked;
}

TPoint CheckBoxOrigin(TLeftRight Alignment, int Width, int Height) {
  return {Alignment == taRightJustify ? 0 : Width - kCheckBoxSize, (Height - kCheckBoxSize) / 2};
}

TRect CheckBoxCaptionRect(TLeftRight Alignment, int Width, int Height) {
  return Alignment == taRightJustify ? Rect(18, 0, Width, Height) : Rect(1, 0, Width - 18, Height);
}

const char* const kCheckMarkGlyph[9] = {".........", ".......#.", "......##.", ".#...###.", ".##.###..",
                                        ".#####...", "..###....", "...#.....", "........."};
