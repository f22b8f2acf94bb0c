// The icons handler of the file browser: the pictures of the selected file in
// a panel list on its own preview page; and the launcher's registration of
// its three handlers.
#pragma once
#include <memory>

#include "launcher/ov3brws.h"

class TKemPanelList;

class TBPIcons : public TBPFiles {
 public:
  TBPIcons();
  ~TBPIcons() override;
  // The panel list, filling the page, borderless, in list-view style, owning its bitmaps.
  void CreatePreview(TWinControl& Parent) override;
  // The list emptied, page 0 shown.
  void ClearPreview() override;
  // The file's pictures on the handler's page; page 0 when it has none or
  // cannot be read.
  void ShowPreview(const String& FileName) override;
  // Nil until CreatePreview, and again once the browser's page is gone.
  TKemPanelList* List() const;

 private:
  class TListWatch;
  std::unique_ptr<TListWatch> FWatch;
};

// Registers TBPBlank, TBPPrograms and TBPIcons at their fixed indexes, unless
// handlers are registered already.
void RegisterLauncherPreviews();
