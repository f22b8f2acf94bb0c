// Choosing the drop effect.
#include "kem3/dragdrop/dropeffect.h"

TShiftState ShiftStateFromKeys(std::uint32_t KeyState) {
  TShiftState shift;
  if (KeyState & MK_SHIFT) shift.Include(ssShift);
  if (KeyState & MK_CONTROL) shift.Include(ssCtrl);
  if (KeyState & MK_LBUTTON) shift.Include(ssLeft);
  if (KeyState & MK_RBUTTON) shift.Include(ssRight);
  if (KeyState & MK_MBUTTON) shift.Include(ssMiddle);
  if (KeyState & MK_ALT) shift.Include(ssAlt);
  return shift;
}

std::uint32_t ChooseDropEffect(TShiftState Shift, std::uint32_t Allowed) {
  std::uint32_t wanted = DROPEFFECT_MOVE;
  if (Shift.Contains(ssShift) && Shift.Contains(ssCtrl)) {
    wanted = DROPEFFECT_LINK;
  } else if (Shift.Contains(ssCtrl)) {
    wanted = DROPEFFECT_COPY;
  }
  if (Allowed & wanted) return wanted;
  for (std::uint32_t effect : {DROPEFFECT_COPY, DROPEFFECT_MOVE, DROPEFFECT_LINK}) {
    if (Allowed & effect) return effect;
  }
  return DROPEFFECT_NONE;
}

std::uint32_t ValidDropEffect(TShiftState Shift, std::uint32_t Effect, TDragTypes DragTypes, bool ScrollZone,
                              bool InInnerRect) {
  const std::uint32_t allowed = Effect & static_cast<std::uint32_t>(DragTypes.ToMask()) & 7;
  std::uint32_t result = ChooseDropEffect(Shift, allowed);
  if (ScrollZone && !InInnerRect) result |= DROPEFFECT_SCROLL;
  return result;
}
