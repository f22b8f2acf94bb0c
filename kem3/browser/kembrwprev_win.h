// The browser's preview notebook: page 0 stays empty, shown whenever the
// handler has nothing to show; every handler that serves gets one page of its
// own, made the first time it serves, on which it creates its preview.
#pragma once
#include <map>

#include "kem3/browser/kembrwprev.h"

class TKemNotebook;

class TBrowserPreviewPages {
 public:
  // The notebook belongs to the browser; its first page is the empty one.
  explicit TBrowserPreviewPages(TKemNotebook& Notebook);
  // Gives Handler its page and lets it create its preview there, once; sets
  // the handler's PreviewPage either way. Page 0 shows.
  void Prepare(TBrowserPreview& Handler);
  // Shows a page; one the notebook lacks shows page 0.
  void Show(int Index);
  int Shown() const;

 private:
  TKemNotebook& FNotebook;
  std::map<const TBrowserPreview*, int> FPages;
};
