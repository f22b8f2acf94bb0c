// Enabled and checked states of the bar's actions.
#include "launcher/ov3actions.h"

TOvActionState BarActionState(int Id, const TBarActionContext& c) {
  TOvActionState s;
  switch (Id) {
    case 122:
    case 123:
      s.Enabled = !c.Vertical;
      break;
    case 124:
    case 125:
      s.Enabled = c.Vertical;
      break;
    case 143:
    case 144:
    case 146:
      s.Enabled = c.IconSelected;
      break;
    case 162:
      s.Enabled = c.GroupSelected && c.GroupCount > 1;
      break;
    case 163:
      s.Enabled = c.GroupSelected;
      break;
    case 204:
      s.Enabled = c.RecycleBinFull;
      break;
    default:
      s.Enabled = true;
      break;
  }
  if (Id == 121) s.Checked = c.ScreenSnap;
  if (Id == 105) s.Checked = c.AutoHide;
  return s;
}
