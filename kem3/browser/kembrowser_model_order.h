// The order in which the file browser calls its preview handler, without
// windows: the dialog forwards its events here and the session makes the calls.
#pragma once
#include <cstdint>
#include <functional>
#include <set>
#include <vector>

#include "platform/types.h"

class TdBrowser;

// A handler's file types and the chosen one.
struct TBrowserTypeChoice {
  std::vector<WideString> Items;
  int ItemIndex = -1;
};

// The handler operations as the browser calls them; the preview registry's
// handlers (TBrowserPreview) are bridged to this by the dialog. Every
// operation does nothing unless overridden.
class TBrowserHandler {
 public:
  virtual ~TBrowserHandler() = default;
  virtual void SetBrowser(TdBrowser* /*Browser*/) {}
  // Page is the browser's new preview page for this handler.
  virtual void CreatePreview(int /*Page*/) {}
  virtual void FillFileTypes(TBrowserTypeChoice& /*Types*/) {}
  virtual void FileTypeChanged(TBrowserTypeChoice& /*Types*/) {}
  virtual void Prepare() {}
  virtual void Closed() {}
  virtual void ClearPreview() {}
  virtual void ShowPreview(const String& /*FileName*/) {}
  virtual void RefreshPreview() {}
  virtual void PreviewResized() {}
  virtual String GetInitialFolder() { return String(); }
  virtual void SetResult() {}
  virtual String GetInitialFileName() { return String(); }
  // The registry's base handler gives the language text of the mode.
  virtual WideString GetCaption(int /*Mode*/) { return WideString(); }
  virtual int GetFieldCount() { return 0; }
  virtual WideString GetFieldName(int /*Index*/) { return WideString(); }
  virtual String GetFieldKey(int /*Index*/) { return String(); }
  virtual int GetFieldWidth() { return 50; }
};

// What the session asks of the dialog.
class TBrowserDialogSide {
 public:
  virtual ~TBrowserDialogSide() = default;
  virtual TdBrowser* Browser() = 0;
  // Makes a new preview page and gives its index.
  virtual int NewPreviewPage() = 0;
  virtual void SetCaption(const WideString& Caption) = 0;
  virtual void SetFileTypes(const TBrowserTypeChoice& Types) = 0;
  virtual void SetInitialNames(const String& Folder, const String& Name) = 0;
  // The handler's field columns after the fixed ones.
  virtual void SetFieldColumns(const std::vector<WideString>& Names, int Width) = 0;
  // Lists the shown folder again with the chosen file type.
  virtual void ListAgain() = 0;
};

// A field column's name and key.
struct TBrowserField {
  WideString Name;
  String Key;
};

class TBrowserSession {
 public:
  // How long a file stays selected before its preview is shown.
  static constexpr std::uint64_t PreviewDelay = 200;

  explicit TBrowserSession(TBrowserDialogSide& Dialog) : FDialog(Dialog) {}

  // The handler of the preview index: Lookup's, or Base when it knows none.
  static TBrowserHandler& HandlerFor(int PreviewIndex, const std::function<TBrowserHandler*(int)>& Lookup,
                                     TBrowserHandler& Base);

  // Opens the browser with Handler: sets its browser, creates its preview
  // once (on a new page), takes caption, file types (FilterIndex -1 keeps the
  // handler's choice), initial names and field columns, then prepares it.
  void Open(TBrowserHandler& Handler, int Mode, int FilterIndex);
  // The selected file changed ("" when none or not a file).
  void SelectionChanged(const String& FileName);
  // The timer's beat: shows the preview of a file selected long enough.
  void Tick();
  // Milliseconds until Tick has something to do; -1 when nothing waits.
  int NextTick() const;
  void FileTypeChanged(int Index);
  void PreviewResized();
  void RefreshPreview();
  // The browser closes: SetResult when the user chose, Closed always.
  void Close(bool Chosen);

  TBrowserHandler* Handler() const { return FHandler; }
  const TBrowserTypeChoice& FileTypes() const { return FTypes; }
  // The chosen type's filter for a listing ("*.*" without types).
  WideString TypeFilter() const;
  const std::vector<TBrowserField>& Fields() const { return FFields; }
  // Search criteria are offered only for a handler with fields.
  bool HasCriteria() const { return !FFields.empty(); }

 private:
  TBrowserDialogSide& FDialog;
  TBrowserHandler* FHandler = nullptr;
  std::set<TBrowserHandler*> FWithPage;
  TBrowserTypeChoice FTypes;
  std::vector<TBrowserField> FFields;
  String FPending;
  String FShown;
  std::uint64_t FSince = 0;
  bool FCleared = true;
};
