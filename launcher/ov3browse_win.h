// The browser the launcher uses until its own file browser exists: the
// system's open dialog with the file types of the preview handler, and the
// system's folder chooser for mode 6 (also behind OvFolderChooser).
#pragma once
#include "launcher/ov3browse.h"

class TOvSystemBrowser : public TOvBrowser {
 public:
  bool Execute(int Mode, int Preview, bool MultiSelect, const String& InitialPath, int FilterIndex) override;
  String FileName() const override { return FFileName; }

 private:
  bool ChooseFile(int Mode, int Preview, bool MultiSelect, const String& InitialPath, int FilterIndex);
  bool ChooseFolder(const String& InitialPath);
  String FFileName;
};

// Puts the system's browser in place (OvBrowser) and makes the folder setting's
// chooser (OvFolderChooser) go through it.
void InstallSystemBrowser();
