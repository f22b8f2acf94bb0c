// Wheel and group-key rules of the bar.
#include "launcher/ov3barnav.h"

int BarShiftMask(TShiftState Shift) {
  return (Shift.Contains(ssCtrl) ? 4 : 0) | (Shift.Contains(ssAlt) ? 2 : 0) | (Shift.Contains(ssShift) ? 1 : 0);
}

TWheelScrolls WheelScrolls(int Scroll, int Toggle, TShiftState Shift) {
  if (Scroll == 2) return wsNothing;
  int Modifier = 0;
  switch (Toggle) {
    case 0:
      Modifier = 4;
      break;
    case 1:
      Modifier = 2;
      break;
    case 2:
      Modifier = 1;
      break;
    default:
      break;
  }
  const bool Held = Modifier != 0 && BarShiftMask(Shift) == Modifier;
  return Held != (Scroll == 0) ? wsGroups : wsIcons;
}

int WheelStep(bool Up, bool VerticalDown) { return Up == VerticalDown ? -1 : 1; }

int WheelTarget(int Current, int Step, int Count, bool Wrap) {
  if (Count <= 0) return -1;
  const int Index = Current + Step;
  if (Wrap || Current < 0) {
    if (Index < 0) return Count - 1;
    if (Index >= Count) return 0;
    return Index;
  }
  return (Index < 0 || Index >= Count) ? -1 : Index;
}

int GroupKeyTarget(const TOvBarKey& Pressed, const TOvBarKey& Previous, const TOvBarKey& Next, int Current, int Count) {
  if (Count <= 0 || Pressed.Code == 0) return -1;
  // As the bar always did: the "previous" key steps forward, the "next" key back.
  if (Pressed == Previous) return ((Current < 0 ? -1 : Current) + 1) % Count;
  if (Pressed == Next) return ((Count + (Current < 0 ? 0 : Current) - 1) % Count);
  return -1;
}
