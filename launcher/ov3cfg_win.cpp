// The bar's placement around the launcher's settings.
#include "launcher/ov3cfg_win.h"

#include "kem3/framework/kemcfg_win.h"

void LoadMainFormSettings(TCustomForm& Form) {
  cfgLoadFormPlacement("MainForm", &Form, false, nullptr, wsNormal, OvBarMinSize);
  HoldBarToWorkArea(Form);
  LoadSettingsValues();
}

void HoldBarToWorkArea(TCustomForm& Form) {
  const TRect bounds = Form.BoundsRect();
  const TRect held = OvHoldBarToWorkArea(bounds, cfgWorkAreaNearest(bounds));
  if (!(held == bounds)) Form.SetBoundsRect(held);
}

void SaveMainFormSettings(TCustomForm& Form, const TPoint* Home) {
  TcfgWindowPlacement placement = cfgFormPlacement(Form);
  if (Home) {
    placement.Bounds = Bounds(Home->X, Home->Y, placement.Bounds.Width(), placement.Bounds.Height());
  }
  SaveSettingsValues(placement);
}
