// The file browser's preview handlers: TBrowserPreview names the browser's
// caption, initial folder and file name, file types and extra columns for one
// use, and draws the preview of the selected file; the process-wide registry
// holds the handlers the program registers at start-up, by index.
#pragma once
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/object.h"
#include "platform/types.h"

class TUcStrings;
class TWinControl;

// The browser as its handlers see it. The file browser dialog (TdBrowser) is
// one; a handler must work with none at all (Browser nil) too.
class TBrowserHost {
 public:
  virtual ~TBrowserHost() = default;
  // 0 open, 1 insert, 2 browse, 3 save, 4 import, 5 export, 6 choose a folder.
  virtual int Mode() const = 0;
  // Shows a page of the preview notebook; page 0 is the empty one.
  virtual void ShowPreviewPage(int Index) = 0;
};

inline constexpr int kBrowserModeCount = 7;
// The caption of a browser mode in the current language; empty for an unknown mode.
WideString BrowserModeCaption(int Mode);

// The file types the browser offers in its type list, and the chosen one.
class TBrowserFileTypes {
 public:
  void Add(const WideString& Text) { FTexts.push_back(Text); }
  void Clear();
  int Count() const { return static_cast<int>(FTexts.size()); }
  const WideString& Text(int Index) const { return FTexts.at(static_cast<size_t>(Index)); }
  // -1 while there are no types.
  int ItemIndex() const { return FItemIndex; }
  // An index outside the types (one kept from a longer list, or a damaged
  // setting) selects the first.
  void SetItemIndex(int Index);

 private:
  std::vector<WideString> FTexts;
  int FItemIndex = -1;
};

class TBrowserPreview : public TObject {
 public:
  TBrowserPreview() = default;
  TBrowserPreview(const TBrowserPreview&) = delete;
  TBrowserPreview& operator=(const TBrowserPreview&) = delete;

  // The browser this handler serves, set by the browser while in use.
  TBrowserHost* Browser = nullptr;
  // The browser's own state: the preview page it made for this handler (0: none yet).
  int PreviewPage = 0;
  // Set by the caller before it opens the browser (the launcher: the current file name).
  String Text;

  // Once per browser, on the handler's new preview page.
  virtual void CreatePreview(TWinControl& Parent);
  // Adds the handler's types and selects the one to start with.
  virtual void FillFileTypes(TBrowserFileTypes& Types);
  // The user chose another type; the browser lists the folder again afterwards.
  virtual void FileTypeChanged(TBrowserFileTypes& Types);
  virtual void Prepare() {}
  // Always called when the browser closes, chosen or not.
  virtual void Closed() {}
  // No file is selected: the empty preview page.
  virtual void ClearPreview();
  // A file stayed selected for a moment.
  virtual void ShowPreview(const String& FileName);
  virtual void RefreshPreview() {}
  virtual void PreviewResized() {}
  virtual String GetInitialFolder() { return String(); }
  // The user confirmed the choice.
  virtual void SetResult() {}
  virtual String GetInitialFileName() { return String(); }
  // The text of the browser's mode.
  virtual WideString GetCaption();
  // Extra detail columns after the fixed ones; the browser's criteria use
  // their keys.
  virtual int GetFieldCount() { return 0; }
  virtual WideString GetFieldName(int Index);
  virtual String GetFieldKey(int Index);
  virtual int GetFieldWidth() { return 50; }
  // Called on the browser's column worker, not on the interface thread: once
  // for every listed file, with its full path and an empty list; each text
  // added becomes one column. What it raises is ignored.
  virtual void GetFieldValues(const String& FileName, TUcStrings& Values);

  // Appends the handler to the registry, which owns it; gives its index.
  static int Register(std::unique_ptr<TBrowserPreview> Handler);
};

// The handler with that index; nil before any registration or for an index
// not below the number of handlers.
TBrowserPreview* GetBrowserPreview(std::uint16_t Index);
int BrowserPreviewCount();
// Frees every handler (at the end of the program, and between tests).
void ClearBrowserPreviews();
