// Loading and saving the launcher's settings with the bar's placement.
#pragma once
#include "launcher/ov3cfg.h"
#include "platform/forms_win.h"

// Restores the bar's placement from [MainForm] (its size from the file too),
// then reads every setting (LoadSettingsValues).
void LoadMainFormSettings(TCustomForm& Form);
// Holds the bar to the work area of its monitor (OvHoldBarToWorkArea): after
// its placement is read and whenever it is turned for its skin.
void HoldBarToWorkArea(TCustomForm& Form);
// Writes the bar's placement, the version and every setting in one save. Home,
// when given, is where the bar stands when shown: a hidden or sliding bar
// stores that position, never the one off screen.
void SaveMainFormSettings(TCustomForm& Form, const TPoint* Home = nullptr);
