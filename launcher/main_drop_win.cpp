// Drops from other programs onto the bar: the drop target dtMain with its file
// and URL adapters, and its handlers, which highlight the group under the
// pointer and turn the dropped files or web address into icons.
#include "kem3/dragdrop/dataformatadapter.h"
#include "kem3/dragdrop/dragdropfile.h"
#include "kem3/dragdrop/dragdropinternet.h"
#include "kem3/dragdrop/droptarget_win.h"
#include "launcher/main_win.h"
#include "platform/unicode_convert.h"

void TfMain::CreateDropTarget() {
  dtMain = new TDropTextTarget(this);
  dtMain->SetName("dtMain");
  dtMain->DragTypes = TDragTypes{dtCopy, dtLink};
  dtMain->GetDataOnEnter = false;
  dtMain->SetShowImage(true);
  dtMain->OptimizedMove = true;
  dtMain->AllowAsyncTransfer = false;

  dfaFile = new TDataFormatAdapter(this);
  dfaFile->SetName("dfaFile");
  dfaFile->SetDragDropComponent(dtMain);
  dfaFile->SetDataFormatName("TFileDataFormat");
  dfaFile->SetEnabled(true);
  dfaUrl = new TDataFormatAdapter(this);
  dfaUrl->SetName("dfaUrl");
  dfaUrl->SetDragDropComponent(dtMain);
  dfaUrl->SetDataFormatName("TURLDataFormat");
  dfaUrl->SetEnabled(true);

  // The handlers get points in the client coordinates of the registered control.
  const auto screenPoint = [this](TPoint ClientPt) {
    TWinControl* target = dtMain->Target();
    return target ? target->ClientToScreen(ClientPt) : ClientPt;
  };
  dtMain->OnDragOver = [this, screenPoint](TObject*, TShiftState, TPoint Pt, std::uint32_t&) {
    DropTargetOver(screenPoint(Pt));
  };
  dtMain->OnLeave = [this](TObject*) { DropTargetLeave(); };
  dtMain->OnDrop = [this, screenPoint](TObject*, TShiftState, TPoint Pt, std::uint32_t&) {
    const auto* files = static_cast<TFileDataFormat*>(dfaFile->DataFormat());
    const auto* url = static_cast<TURLDataFormat*>(dfaUrl->DataFormat());
    DropItems(screenPoint(Pt), files ? files->Files() : TFileNames(), url ? Utf8ToWide(url->URL) : WideString());
  };
}

void TfMain::RegisterDropTarget() { dtMain->Register(this); }

void TfMain::UnregisterDropTargets() { dtMain->Unregister(nullptr); }
