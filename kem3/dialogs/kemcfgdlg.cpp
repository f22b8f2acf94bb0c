// The preferences dialog's model, and one run of it: pages built in order,
// OK, Apply and Cancel step by step.
#include "kem3/dialogs/kemcfgdlg.h"

#include <algorithm>

#include "kem3/dialogs/kemcustompage.h"
#include "kem3/framework/kemcfg.h"
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

int TKemConfigDlg::NotebookPageCount() const {
  const int pages = static_cast<int>(Pages.size());
  return pages == 1 ? 2 : pages;
}

// ---- One run ------------------------------------------------------------------------

TKemConfigDlgRun::TKemConfigDlgRun(TKemConfigDlg& Model, TKemConfigDlgHost& Host) : FModel(Model), FHost(Host) {}

TKemConfigDlgRun::~TKemConfigDlgRun() {
  try {
    Finish();
  } catch (...) {
    // A page failing to close while the dialog goes away has nobody to tell.
  }
}

void TKemConfigDlgRun::BuildPages() {
  FModel.RunningPage = 0;
  for (const auto& page : FModel.Pages) BuildPage(*page);
  AlignPages();
}

int TKemConfigDlgRun::BuildPage(TKemConfigDlgPage& Page) {
  Page.NotebookIndex = FModel.RunningPage;
  FHost.BuildPageFrame(Page);
  std::vector<TItemPlace>& places = FPlaces[&Page];
  places.clear();
  int sum = 0;
  for (const auto& item : Page.Items) {
    const int before = sum;
    int top = 0;
    switch (item->Kind) {
      case kciPart: {
        auto& part = static_cast<TKemConfigItemPart&>(*item);
        top = part.Top;
        sum += FHost.BuildPart(Page, part, part.Top + sum);
        break;
      }
      case kciLanguage: {
        auto& lan = static_cast<TKemConfigItemLan&>(*item);
        top = lan.Top;
        FHost.BuildLanguageSelector(Page, lan, lan.Top + sum);
        sum += KemSelectorRowHeight;
        break;
      }
      case kciSkin: {
        auto& skin = static_cast<TKemConfigItemSkin&>(*item);
        top = skin.Top;
        const int skinTop = skin.Top + sum;
        sum += KemSelectorRowHeight;
        FHost.BuildSkinSelector(Page, skin, skinTop, skin.Top + sum);
        sum += KemLayoutRowHeight;
        break;
      }
      case kciCustomPage: {
        auto& custom = static_cast<TKemConfigItemCustomPage&>(*item);
        std::unique_ptr<TKemCustomDlgPage> instance = custom.PageClass();
        TKemCustomDlgPage& page = *instance;
        // Held before its controls exist, so a page that fails half-way is still closed and freed.
        FCustomPages.push_back(std::move(instance));
        custom.Instance = &page;
        page.SetParam(custom.Param);
        top = custom.Top;
        FHost.PlaceCustomPage(Page, page, custom.Top + sum - page.GetTopOffset());
        const int height = page.GetHeight();
        sum += height - page.GetTopOffset();
        break;
      }
      default:
        break;
    }
    places.push_back({item.get(), top + before, sum - before, FHost.ControlMark(Page)});
  }
  ++FModel.RunningPage;
  return sum;
}

int TKemConfigDlgRun::AlignPage(TKemConfigDlgPage& Page) {
  std::vector<TKemCustomDlgPage*> custom;
  for (const auto& item : Page.Items) {
    if (item->Kind != kciCustomPage) continue;
    if (TKemCustomDlgPage* instance = static_cast<TKemConfigItemCustomPage&>(*item).Instance)
      custom.push_back(instance);
  }
  int column = FHost.FieldColumn(Page);
  for (TKemCustomDlgPage* page : custom) column = std::max(column, page->FieldColumn());
  FHost.SetFieldColumn(Page, column);
  for (TKemCustomDlgPage* page : custom) page->SetFieldColumn(column);
  // A page of the program's own that needs more lines now pushes the items
  // below it down (and one that needs fewer lets them up).
  int bottom = 0, shift = 0;
  for (TItemPlace& place : FPlaces[&Page]) {
    place.Top += shift;
    if (place.Item->Kind == kciCustomPage) {
      if (TKemCustomDlgPage* page = static_cast<const TKemConfigItemCustomPage&>(*place.Item).Instance) {
        const int height = page->GetHeight() - page->GetTopOffset();
        if (height != place.Height) FHost.ShiftControls(Page, place.EndMark, height - place.Height);
        shift += height - place.Height;
        place.Height = height;
      }
    }
    bottom = std::max(bottom, place.Top + place.Height);
  }
  return bottom;
}

void TKemConfigDlgRun::AlignPages() {
  int bottom = 0;
  for (const auto& page : FModel.Pages) {
    if (page->NotebookIndex >= 0) bottom = std::max(bottom, AlignPage(*page));
  }
  FHost.FitPagesHeight(bottom);
}

void TKemConfigDlgRun::ActionExecute(int Id) {
  if (Id == kcaOk || Id == kcaApply) {
    Confirm(Id);
  } else if (Id == kcaCancel) {
    FHost.NotifyMainForm(KemConfigCancelled, 1);
  }
}

void TKemConfigDlgRun::Confirm(int Id) {
  FHost.NotifyMainForm(KemConfigBeforeApply, Id);
  FHost.LockRedraw(true);
  try {
    FHost.ReadGeneratedRows();
    // A selector without a selection keeps what is selected now.
    // The selections are written with the settings: another language, or
    // another layout of the same skin, changes no setting, and the bar keeps
    // its size, so nothing else would ask for that save.
    const int language = FHost.ChosenLanguage();
    if (language >= 0 && FHost.SelectLanguage(language)) cfgRequestSave();
    const int skin = FHost.ChosenSkin();
    if (skin >= 0 && FHost.SelectSkin(skin, FHost.ChosenLayout())) {
      cfgRequestSave();
      FHost.NotifyMainForm(KemConfigSkinChanged, String());
    }
    for (const auto& page : FCustomPages) page->Apply();
    cfgApplyChanges([this](int SettingId, const Variant& Value) { return FHost.NotifyMainForm(SettingId, Value); });
  } catch (...) {
    // The dialog must not stay frozen because one step failed.
    FHost.LockRedraw(false);
    throw;
  }
  FHost.LockRedraw(false);
  FHost.NotifyMainForm(KemConfigAfterApply, Id);
}

void TKemConfigDlgRun::LanguageChanged() {
  for (const auto& page : FModel.Pages) {
    if (page->NotebookIndex < 0) continue;
    page->GetCaption();
    FHost.RelabelPage(*page);
    for (const auto& item : page->Items) {
      if (item->Kind != kciCustomPage) continue;
      if (TKemCustomDlgPage* instance = static_cast<TKemConfigItemCustomPage&>(*item).Instance) {
        instance->UpdateLanguage();
      }
    }
  }
  AlignPages();
}

void TKemConfigDlgRun::Finish() {
  // Nothing of this run may be reached through the model once it is over.
  for (const auto& page : FModel.Pages) {
    page->Header = nullptr;
    page->NotebookIndex = -1;
    for (const auto& item : page->Items) {
      if (item->Kind == kciCustomPage) static_cast<TKemConfigItemCustomPage&>(*item).Instance = nullptr;
    }
  }
  FPlaces.clear();
  std::vector<std::unique_ptr<TKemCustomDlgPage>> pages = std::move(FCustomPages);
  FCustomPages.clear();
  for (auto& page : pages) {
    page->Close();
    page.reset();
  }
}
