// The file browser dialog behind the launcher's browse call.
#include "launcher/ov3browse_win.h"

#include "kem3/browser/kembrowser_win.h"
#include "launcher/ov3cfg.h"
#include "platform/application_win.h"

// Forgets the dialog when its owner frees it first.
class TOvFileBrowser::TDialogWatch : public TComponent {
 public:
  explicit TDialogWatch(TOvFileBrowser& Browser) : TComponent(nullptr), FBrowser(Browser) {}

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override {
    TComponent::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FBrowser.FDialog) FBrowser.FDialog = nullptr;
  }

 private:
  TOvFileBrowser& FBrowser;
};

TOvFileBrowser::TOvFileBrowser() : FWatch(std::make_unique<TDialogWatch>(*this)) {}

TOvFileBrowser::~TOvFileBrowser() {
  if (FDialog) FDialog->Free();
}

bool TOvFileBrowser::Execute(int Mode, int Preview, bool MultiSelect, const String& InitialPath, int FilterIndex) {
  FFiles.clear();
  // The launcher's handlers take their folder and name from the caller's text.
  if (TBrowserPreview* handler =
          Preview >= 0 && Preview <= 0xFFFF ? GetBrowserPreview(static_cast<std::uint16_t>(Preview)) : nullptr)
    handler->Text = InitialPath;
  // The programs and icons uses start with the type they keep (a caller's
  // index would override it on every use, so the kept one never showed).
  const int filter = BrowseFileTypeSetting(Preview) ? -1 : FilterIndex;
  if (!MakeDialog().Execute(Mode, Preview, MultiSelect, InitialPath, filter)) return false;
  FFiles = FDialog->Files();
  return true;
}

TdBrowser& TOvFileBrowser::MakeDialog() {
  if (!FDialog) {
    // The application's: a bar shown in one application and gone with it
    // leaves no dialog behind for the next.
    FDialog = NewForm<TdBrowser>(Application);
    FDialog->FreeNotification(FWatch.get());
  }
  return *FDialog;
}

void InstallFileBrowser() {
  SetOvBrowser(std::make_unique<TOvFileBrowser>());
  OvFolderChooser = [](const String& Start, String& Folder) {
    TOvBrowser* browser = OvBrowser();
    if (!browser || !browser->Execute(obmFolder, kPreviewBlank, false, Start, 0)) return false;
    Folder = browser->FileName();
    return true;
  };
}
