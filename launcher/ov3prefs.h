// The launcher's preferences dialog model, built while the settings are
// defined and run by the preferences action.
#pragma once
#include <memory>

#include "kem3/dialogs/kemcfgdlg.h"

TKemConfigDlg* OvPreferencesModel();
void SetOvPreferencesModel(std::unique_ptr<TKemConfigDlg>);
