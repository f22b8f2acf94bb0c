// The blank and program handlers, and what the icons handler shares with them.
#include "launcher/ov3brws.h"

#include "kem3/framework/kemcfg.h"
#include "platform/sysutils.h"

void TBPFiles::FillFileTypes(TBrowserFileTypes& Types) {
  for (const TOvFileType& type : BrowseFileTypes(FPreview)) Types.Add(type.Text);
  const int setting = BrowseFileTypeSetting(FPreview);
  Types.SetItemIndex(setting ? cfgGetInt(setting, 0) : 0);
}

void TBPFiles::FileTypeChanged(TBrowserFileTypes& Types) {
  const int setting = BrowseFileTypeSetting(FPreview);
  if (setting && Types.ItemIndex() >= 0) cfgSetValue(setting, Types.ItemIndex());
}

// The blank handler serves no file of its own: it starts wherever the browser does.
String TBPFiles::GetInitialFolder() { return FPreview == kPreviewBlank ? String() : ExtractFileDir(Text); }

String TBPFiles::GetInitialFileName() { return FPreview == kPreviewBlank ? String() : ExtractFileName(Text); }

void TBPBlank::ShowPreview(const String&) { ClearPreview(); }
