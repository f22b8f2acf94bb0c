// The launcher's browse call served by the file browser dialog (TdBrowser),
// also behind the folder setting's chooser (OvFolderChooser, mode 6).
#pragma once
#include "launcher/ov3browse.h"

class TdBrowser;

class TOvFileBrowser : public TOvBrowser {
 public:
  TOvFileBrowser();
  ~TOvFileBrowser() override;
  bool Execute(int Mode, int Preview, bool MultiSelect, const String& InitialPath, int FilterIndex) override;
  String FileName() const override { return FFiles.empty() ? String() : FFiles.front(); }
  std::vector<String> Files() const override { return FFiles; }
  // The dialog, made at the first use; nil before.
  TdBrowser* Dialog() const { return FDialog; }

 private:
  TdBrowser* FDialog = nullptr;
  std::vector<String> FFiles;
};

// Puts the file browser in place (OvBrowser) and makes the folder setting's
// chooser (OvFolderChooser) go through it.
void InstallSystemBrowser();
