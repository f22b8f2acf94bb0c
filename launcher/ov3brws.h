// The launcher's preview handlers of the file browser, at fixed registry
// indexes: kPreviewBlank (any file), kPreviewPrograms (program files) and
// kPreviewIcons (pictures and icon libraries, previewed; ov3brws_win.h).
#pragma once
#include "kem3/browser/kembrwprev.h"
#include "launcher/ov3browse.h"

// The file types of one of the launcher's uses, the type kept in its setting
// (none for the blank handler: the first), and for programs and icons the
// folder and name of the caller's text.
class TBPFiles : public TBrowserPreview {
 public:
  explicit TBPFiles(int Preview) : FPreview(Preview) {}
  void FillFileTypes(TBrowserFileTypes& Types) override;
  void FileTypeChanged(TBrowserFileTypes& Types) override;
  String GetInitialFolder() override;
  String GetInitialFileName() override;
  int Preview() const { return FPreview; }

 private:
  int FPreview;
};

class TBPBlank : public TBPFiles {
 public:
  TBPBlank() : TBPFiles(kPreviewBlank) {}
  // The empty page: nothing of a file shows.
  void ShowPreview(const String& FileName) override;
};

class TBPPrograms : public TBPFiles {
 public:
  TBPPrograms() : TBPFiles(kPreviewPrograms) {}
};
