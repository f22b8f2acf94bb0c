// The one preferences model of the bar. Until the bar sets one, a model of
// the seven pages with the selectors and the generated rows alone is made on
// first use.
#include "launcher/ov3prefs.h"

namespace {

std::unique_ptr<TKemConfigDlg>& Model() {
  static std::unique_ptr<TKemConfigDlg> model;
  return model;
}

// The pages by caption text, each with its settings groups; the language and
// skin selectors open the first page.
std::unique_ptr<TKemConfigDlg> SelectorsAndRowsModel() {
  static const struct {
    int Caption;
    int Groups[2];
  } kPages[] = {{173, {100, 0}}, {174, {200, 201}}, {175, {300, 301}}, {176, {400, 0}},
                {177, {500, 0}}, {178, {600, 0}},   {179, {0, 0}}};
  auto model = std::make_unique<TKemConfigDlg>();
  for (const auto& p : kPages) {
    TKemConfigDlgPage* page = model->AddPage(p.Caption);
    if (p.Caption == 173) {
      page->AddLanguageSelector(25);
      page->AddSkinSelector(25);
    }
    for (int group : p.Groups) {
      if (group) page->AddPart(group, 8, 1, 0, 100);
    }
  }
  return model;
}

}  // namespace

TKemConfigDlg* OvPreferencesModel() {
  if (!Model()) Model() = SelectorsAndRowsModel();
  return Model().get();
}

void SetOvPreferencesModel(std::unique_ptr<TKemConfigDlg> Model) { ::Model() = std::move(Model); }
