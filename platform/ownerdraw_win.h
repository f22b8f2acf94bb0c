// The state of an owner-drawn entry (menu item, list or combo box item), read
// from the flags the system hands with WM_DRAWITEM.
#pragma once
#include "platform/set.h"
#include "platform/winapi_win.h"

enum TOwnerDrawStateItem {
  odSelected,
  odGrayed,
  odDisabled,
  odChecked,
  odFocused,
  odDefault,
  odComboBoxEdit,
  odNoAccel
};
using TOwnerDrawState = Set<TOwnerDrawStateItem>;

inline TOwnerDrawState OwnerDrawStateOf(UINT ItemState) {
  static constexpr struct {
    UINT Flag;
    TOwnerDrawStateItem Item;
  } kFlags[] = {{ODS_SELECTED, odSelected},         {ODS_GRAYED, odGrayed},  {ODS_DISABLED, odDisabled},
                {ODS_CHECKED, odChecked},           {ODS_FOCUS, odFocused},  {ODS_DEFAULT, odDefault},
                {ODS_COMBOBOXEDIT, odComboBoxEdit}, {ODS_NOACCEL, odNoAccel}};
  TOwnerDrawState state;
  for (const auto& f : kFlags) {
    if (ItemState & f.Flag) state.Include(f.Item);
  }
  return state;
}
