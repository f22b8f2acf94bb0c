// The launcher's browse call served by the file browser dialog (TdBrowser),
// also behind the folder setting's chooser (OvFolderChooser, mode 6).
#pragma once
#include <memory>

#include "launcher/ov3browse.h"

class TdBrowser;

class TOvFileBrowser : public TOvBrowser {
 public:
  TOvFileBrowser();
  ~TOvFileBrowser() override;
  bool Execute(int Mode, int Preview, bool MultiSelect, const String& InitialPath, int FilterIndex) override;
  String FileName() const override { return FFiles.empty() ? String() : FFiles.front(); }
  std::vector<String> Files() const override { return FFiles; }
  // The dialog, made at the first use or by MakeDialog; nil before, and again
  // once the application that owns it has gone.
  TdBrowser* Dialog() const { return FDialog; }
  TdBrowser& MakeDialog();

 private:
  class TDialogWatch;
  TdBrowser* FDialog = nullptr;
  std::vector<String> FFiles;
  std::unique_ptr<TDialogWatch> FWatch;
};

// Puts the file browser in place (OvBrowser) and makes the folder setting's
// chooser (OvFolderChooser) go through it.
void InstallFileBrowser();
