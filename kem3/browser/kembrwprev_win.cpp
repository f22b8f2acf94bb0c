// The preview notebook's pages, one per handler.
#include "kem3/browser/kembrwprev_win.h"

#include "kem3/controls/kemnote_win.h"
#include "platform/sysutils.h"

TBrowserPreviewPages::TBrowserPreviewPages(TKemNotebook& Notebook) : FNotebook(Notebook) {
  if (FNotebook.PageCount() == 0) FNotebook.AddPage("Default");
}

void TBrowserPreviewPages::Prepare(TBrowserPreview& Handler) {
  auto found = FPages.find(&Handler);
  if (found == FPages.end()) {
    const int index = FNotebook.PageCount();
    TKemNote* page = FNotebook.AddPage("Preview" + IntToStr(index));
    found = FPages.emplace(&Handler, index).first;
    Handler.PreviewPage = index;
    Handler.CreatePreview(*page);
  }
  Handler.PreviewPage = found->second;
  Show(0);
}

void TBrowserPreviewPages::Show(int Index) {
  FNotebook.SetPageIndex(Index >= 0 && Index < FNotebook.PageCount() ? Index : 0);
}

int TBrowserPreviewPages::Shown() const { return FNotebook.PageIndex(); }
