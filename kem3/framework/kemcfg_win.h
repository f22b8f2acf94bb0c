// Window placements of forms in the settings file: the form side of the
// placement code in kemcfg.h.
#pragma once
#include "kem3/framework/kemcfg.h"
#include "platform/forms_win.h"

// The form as the placement code sees it; a maximised or minimised form gives
// its restored bounds (from the system's window placement).
TcfgWindowPlacement cfgFormPlacement(TCustomForm& Form);
// The work area of the monitor nearest a rectangle (the primary one's without
// a screen object).
TRect cfgWorkAreaNearest(const TRect& Rect);

// Restores a form from its section: bounds (when given) first, size unless
// KeepSize (sizeable styles), position unless centred, fitted into the work
// area of the monitor nearest the saved rectangle, never smaller than
// MinSize, then "State".
void cfgLoadFormPlacement(const String& Section, TCustomForm* Form, bool KeepSize, const TRect* Bounds = nullptr,
                          TWindowState DefaultState = wsNormal, TSize MinSize = {1, 1});
// Stores a form's placement; a maximised form stores its restored bounds and State 1.
void cfgSaveFormPlacement(const String& Section, TCustomForm* Form, bool KeepSize);
