// The preview handlers' default behaviour and their registry.
#include "kem3/browser/kembrwprev.h"

#include "kem3/framework/kemlan.h"

namespace {

std::vector<std::unique_ptr<TBrowserPreview>>& Registry() {
  static std::vector<std::unique_ptr<TBrowserPreview>> handlers;
  return handlers;
}

}  // namespace

WideString BrowserModeCaption(int Mode) {
  static const char* const names[kBrowserModeCount] = {
      "TdBrowser_CaptionOpen",   "TdBrowser_CaptionInsert", "TdBrowser_CaptionBrowse", "TdBrowser_CaptionSave",
      "TdBrowser_CaptionImport", "TdBrowser_CaptionExport", "TdBrowser_CaptionFolder"};
  if (Mode < 0 || Mode >= kBrowserModeCount) return WideString();
  return Translate(names[Mode], u"");
}

void TBrowserFileTypes::Clear() {
  FTexts.clear();
  FItemIndex = -1;
}

void TBrowserFileTypes::SetItemIndex(int Index) {
  if (FTexts.empty()) {
    FItemIndex = -1;
    return;
  }
  FItemIndex = Index >= 0 && Index < Count() ? Index : 0;
}

void TBrowserPreview::CreatePreview(TWinControl&) {}
void TBrowserPreview::FillFileTypes(TBrowserFileTypes&) {}
void TBrowserPreview::FileTypeChanged(TBrowserFileTypes&) {}
void TBrowserPreview::ShowPreview(const String&) {}
WideString TBrowserPreview::GetFieldName(int) { return WideString(); }
String TBrowserPreview::GetFieldKey(int) { return String(); }
void TBrowserPreview::GetFieldValues(const String&, TUcStrings&) {}

void TBrowserPreview::ClearPreview() {
  if (Browser) Browser->ShowPreviewPage(0);
}

WideString TBrowserPreview::GetCaption() { return Browser ? BrowserModeCaption(Browser->Mode()) : WideString(); }

int TBrowserPreview::Register(std::unique_ptr<TBrowserPreview> Handler) {
  Registry().push_back(std::move(Handler));
  return static_cast<int>(Registry().size()) - 1;
}

TBrowserPreview* GetBrowserPreview(std::uint16_t Index) {
  return Index < Registry().size() ? Registry()[Index].get() : nullptr;
}

int BrowserPreviewCount() { return static_cast<int>(Registry().size()); }

void ClearBrowserPreviews() { Registry().clear(); }
