// The launcher's preferences dialog model.
#include "launcher/ov3prefs.h"

namespace {
std::unique_ptr<TKemConfigDlg> Model;
}  // namespace

TKemConfigDlg* OvPreferencesModel() { return Model.get(); }
void SetOvPreferencesModel(std::unique_ptr<TKemConfigDlg> Value) { Model = std::move(Value); }
