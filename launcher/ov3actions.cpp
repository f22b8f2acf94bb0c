// Enabled and checked states of the bar's actions.
#include "launcher/ov3actions.h"

TOvActionState BarActionState(int Id, const TBarActionContext& c) {
  TOvActionState s;
  switch (Id) {
    case ovaAlignTop:
    case ovaAlignBottom:
      s.Enabled = !c.Vertical;
      break;
    case ovaAlignLeft:
    case ovaAlignRight:
      s.Enabled = c.Vertical;
      break;
    case ovaDeleteIcon:
    case ovaCopyIcon:
    case ovaEditIcon:
      s.Enabled = c.IconSelected;
      break;
    case ovaDeleteGroup:
      s.Enabled = c.GroupSelected && c.GroupCount > 1;
      break;
    case ovaEditGroup:
      s.Enabled = c.GroupSelected;
      break;
    case ovaEmptyRecycleBin:
      s.Enabled = c.RecycleBinFull;
      break;
    default:
      s.Enabled = true;
      break;
  }
  if (Id == ovaScreenSnap) s.Checked = c.ScreenSnap;
  if (Id == ovaAutoHide) s.Checked = c.AutoHide;
  return s;
}
