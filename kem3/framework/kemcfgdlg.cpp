#include "kem3/framework/kemcfgdlg.h"

#include "kem3/framework/kemlan.h"

void TKemConfigDlgPage::AddPart(int PageId, int Top, int Columns, int LeftPercent, int WidthPercent) {
  Items.push_back(
      std::make_unique<TKemConfigItemPart>(PageId, Top + KemConfigHeaderHeight, Columns, LeftPercent, WidthPercent));
}

void TKemConfigDlgPage::AddLanguageSelector(int LabelPercent) {
  Items.push_back(std::make_unique<TKemConfigItemLan>(LabelPercent));
}

void TKemConfigDlgPage::AddSkinSelector(int LabelPercent) {
  Items.push_back(std::make_unique<TKemConfigItemSkin>(LabelPercent));
}

void TKemConfigDlgPage::AddCustomPage(TKemCustomPageFactory PageClass, int Param) {
  Items.push_back(std::make_unique<TKemConfigItemCustomPage>(std::move(PageClass), Param));
}

const WideString& TKemConfigDlgPage::GetCaption() {
  if (CaptionIndex >= 0) Caption = TranslateIndex(CaptionIndex, WideString());
  return Caption;
}

TKemConfigDlgPage* TKemConfigDlg::AddPage(int CaptionIndex) {
  Pages.push_back(std::make_unique<TKemConfigDlgPage>(CaptionIndex));
  return Pages.back().get();
}
