// The bar's placement around the launcher's settings.
#include "launcher/ov3cfg_win.h"

#include "kem3/framework/kemcfg_win.h"

void LoadMainFormSettings(TCustomForm& Form) {
  cfgLoadFormPlacement("MainForm", &Form, false, nullptr, wsNormal, OvBarMinSize);
  LoadSettingsValues();
}

void SaveMainFormSettings(TCustomForm& Form, const TPoint* Home) {
  TcfgWindowPlacement placement = cfgFormPlacement(Form);
  if (Home) {
    placement.Bounds = Bounds(Home->X, Home->Y, placement.Bounds.Width(), placement.Bounds.Height());
  }
  SaveSettingsValues(placement);
}
