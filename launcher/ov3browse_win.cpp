// The file browser dialog behind the launcher's browse call.
#include "launcher/ov3browse_win.h"

#include "kem3/framework/kembrowser_win.h"
#include "launcher/ov3cfg.h"
#include "platform/application_win.h"

TOvFileBrowser::TOvFileBrowser() = default;

TOvFileBrowser::~TOvFileBrowser() {
  if (FDialog) FDialog->Free();
}

bool TOvFileBrowser::Execute(int Mode, int Preview, bool MultiSelect, const String& InitialPath, int FilterIndex) {
  FFiles.clear();
  // The launcher's handlers take their folder and name from the caller's text.
  if (TBrowserPreview* handler =
          Preview >= 0 && Preview <= 0xFFFF ? GetBrowserPreview(static_cast<std::uint16_t>(Preview)) : nullptr)
    handler->Text = InitialPath;
  if (!FDialog) FDialog = NewForm<TdBrowser>(nullptr);
  if (!FDialog->Execute(Mode, Preview, MultiSelect, InitialPath, FilterIndex)) return false;
  FFiles = FDialog->Files();
  return true;
}

void InstallSystemBrowser() {
  SetOvBrowser(std::make_unique<TOvFileBrowser>());
  OvFolderChooser = [](const String& Start, String& Folder) {
    TOvBrowser* browser = OvBrowser();
    if (!browser || !browser->Execute(obmFolder, kPreviewBlank, false, Start, 0)) return false;
    Folder = browser->FileName();
    return true;
  };
}
