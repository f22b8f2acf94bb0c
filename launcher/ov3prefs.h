// The bar's preferences dialog: the model built while the settings are
// registered, run by action 106 (Ctrl+P) and freed when the bar goes.
#pragma once
#include <memory>

#include "kem3/framework/kemcfgdlg.h"

// The model the preferences action runs. Until one is set, a model of the
// seven pages with the selectors and the generated rows alone is made on
// first use (the bar's own custom pages join when the model is set).
TKemConfigDlg* OvPreferencesModel();
// Replaces (and frees) the model; nullptr frees it.
void SetOvPreferencesModel(std::unique_ptr<TKemConfigDlg> Model);
