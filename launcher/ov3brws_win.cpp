// The icons handler's previews and the registration of the launcher's handlers.
#include "launcher/ov3brws_win.h"

#include "kem3/controls/kemplist_win.h"
#include "launcher/editicon_win.h"

// The list belongs to the browser's page and goes with it: the watch hears
// of that, so the handler never reaches a freed list.
class TBPIcons::TListWatch : public TComponent {
 public:
  TListWatch() : TComponent(nullptr) {}
  void Watch(TKemPanelList* Value) {
    if (List) List->RemoveFreeNotification(this);
    List = Value;
    if (List) List->FreeNotification(this);
  }
  TKemPanelList* List = nullptr;

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override {
    TComponent::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == List) List = nullptr;
  }
};

TBPIcons::TBPIcons() : TBPFiles(kPreviewIcons), FWatch(std::make_unique<TListWatch>()) {}

TBPIcons::~TBPIcons() = default;

TKemPanelList* TBPIcons::List() const { return FWatch->List; }

void TBPIcons::CreatePreview(TWinControl& Parent) {
  auto* list = new TKemPanelList(&Parent);
  list->SetParent(&Parent);
  list->SetAlign(alClient);
  list->SetBorder(plbNone);
  list->SetStyle(plsListview);
  list->SetOptions(TKemPanelListOptions{ploBitmapOwner});
  FWatch->Watch(list);
}

void TBPIcons::ClearPreview() {
  if (TKemPanelList* list = List()) {
    list->Clear();
    list->Rebuild();
  }
  TBPFiles::ClearPreview();
}

void TBPIcons::ShowPreview(const String& FileName) {
  TKemPanelList* list = List();
  if (!list) return TBPFiles::ClearPreview();
  bool shown = false;
  try {
    FillImagePreviews(FileName, *list);
    shown = list->Count() > 0;
  } catch (const Exception&) {
    // Whatever the file holds, the browser stays usable: it shows the empty page.
  }
  if (!Browser) return;
  Browser->ShowPreviewPage(shown ? PreviewPage : 0);
}

void RegisterLauncherPreviews() {
  if (BrowserPreviewCount() > 0) return;
  TBrowserPreview::Register(std::make_unique<TBPBlank>());
  TBrowserPreview::Register(std::make_unique<TBPPrograms>());
  TBrowserPreview::Register(std::make_unique<TBPIcons>());
}
