// The browser's calls of its preview handler, in their order.
#include "kem3/browser/kembrowser_model_order.h"

#include "kem3/browser/kembrowser_model.h"
#include "platform/clock.h"

TBrowserHandler& TBrowserSession::HandlerFor(int PreviewIndex, const std::function<TBrowserHandler*(int)>& Lookup,
                                             TBrowserHandler& Base) {
  TBrowserHandler* h = Lookup ? Lookup(PreviewIndex) : nullptr;
  return h ? *h : Base;
}

void TBrowserSession::Open(TBrowserHandler& Handler, int Mode, int FilterIndex) {
  FHandler = &Handler;
  FPending.clear();
  FShown.clear();
  FCleared = true;
  Handler.SetBrowser(FDialog.Browser());
  // A handler's preview lives on a page of its own, made the first time the
  // handler serves the browser and kept for its later uses.
  if (FWithPage.insert(&Handler).second) Handler.CreatePreview(FDialog.NewPreviewPage());
  FDialog.SetCaption(Handler.GetCaption(Mode));
  FTypes = TBrowserTypeChoice();
  Handler.FillFileTypes(FTypes);
  const int count = static_cast<int>(FTypes.Items.size());
  if (FilterIndex >= 0 && FilterIndex < count) FTypes.ItemIndex = FilterIndex;
  if (FTypes.ItemIndex < 0 || FTypes.ItemIndex >= count) FTypes.ItemIndex = count > 0 ? 0 : -1;
  FDialog.SetFileTypes(FTypes);
  // Both names are asked before either is used: a handler may take its
  // folder from its file name.
  const String folder = Handler.GetInitialFolder();
  const String name = Handler.GetInitialFileName();
  FDialog.SetInitialNames(folder, name);
  FFields.clear();
  std::vector<WideString> names;
  const int fields = Handler.GetFieldCount();
  for (int i = 0; i < fields; ++i) {
    FFields.push_back({Handler.GetFieldName(i), Handler.GetFieldKey(i)});
    names.push_back(FFields.back().Name);
  }
  FDialog.SetFieldColumns(names, fields > 0 ? Handler.GetFieldWidth() : 0);
  Handler.Prepare();
}

void TBrowserSession::SelectionChanged(const String& FileName) {
  if (!FHandler || FileName == FPending) return;
  FPending = FileName;
  FSince = TickCount();
  if (!FCleared && FileName != FShown) {
    FShown.clear();
    FCleared = true;
    FHandler->ClearPreview();
  }
}

void TBrowserSession::Tick() {
  if (!FHandler || FPending.empty() || FPending == FShown) return;
  if (TickCount() - FSince < PreviewDelay) return;
  FShown = FPending;
  FCleared = false;
  FHandler->ShowPreview(FShown);
}

int TBrowserSession::NextTick() const {
  if (!FHandler || FPending.empty() || FPending == FShown) return -1;
  const std::uint64_t gone = TickCount() - FSince;
  return gone >= PreviewDelay ? 0 : static_cast<int>(PreviewDelay - gone);
}

void TBrowserSession::FileTypeChanged(int Index) {
  if (!FHandler) return;
  if (Index >= 0 && Index < static_cast<int>(FTypes.Items.size())) FTypes.ItemIndex = Index;
  FHandler->FileTypeChanged(FTypes);
  FDialog.ListAgain();
}

void TBrowserSession::PreviewResized() {
  if (FHandler) FHandler->PreviewResized();
}

void TBrowserSession::RefreshPreview() {
  if (FHandler) FHandler->RefreshPreview();
}

void TBrowserSession::Close(bool Chosen) {
  if (!FHandler) return;
  TBrowserHandler* h = FHandler;
  FHandler = nullptr;
  FPending.clear();
  FShown.clear();
  if (Chosen) h->SetResult();
  h->Closed();
  h->SetBrowser(nullptr);
}

WideString TBrowserSession::TypeFilter() const {
  const int i = FTypes.ItemIndex;
  return i >= 0 && i < static_cast<int>(FTypes.Items.size()) ? BrowserTypeFilter(FTypes.Items[i]) : WideString(u"*.*");
}
