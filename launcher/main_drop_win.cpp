// Drops from other programs onto the bar: the drop target dtMain with its file
// and URL adapters, and its handlers, which highlight the group under the
// pointer and turn the dropped files or web address into icons.
#include "kem3/dialogs/kemmsg_win.h"
#include "kem3/dragdrop/dataformatadapter.h"
#include "kem3/dragdrop/dragdropfile.h"
#include "kem3/dragdrop/dragdropinternet.h"
#include "kem3/dragdrop/droptarget_win.h"
#include "kem3/framework/kemlan.h"
#include "kem3/unicode/ucsystem.h"
#include "launcher/main_win.h"
#include "launcher/ov3iconcache.h"
#include "launcher/ov3iconfactory.h"
#include "platform/clock.h"
#include "platform/format.h"
#include "platform/timer.h"
#include "platform/unicode_convert.h"

namespace {

// Posted to the bar: the note on a cut drop shows once the drop is over.
constexpr UINT kReportDropLeftOut = WM_APP + 16;
// Posted to the bar: the editor of a dropped icon opens once the drop is over.
constexpr UINT kEditDroppedIcons = WM_APP + 17;
// The time a slice of dropped icons' pictures may take, and the pause after
// it, in which the bar answers messages, input and painting.
constexpr std::uint64_t kDropPictureSlice = 50;
constexpr unsigned kDropPicturePause = 10;
// The characters of a refused address's host that its note shows.
constexpr std::size_t kDropNoteHostLength = 60;

}  // namespace

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
  dtMain->OnDrop = [this, screenPoint](TObject*, TShiftState, TPoint Pt, std::uint32_t& Effect) {
    const auto* files = static_cast<TFileDataFormat*>(dfaFile->DataFormat());
    const auto* url = static_cast<TURLDataFormat*>(dfaUrl->DataFormat());
    // A drop that made no icon (the editor cancelled, nothing usable in it)
    // tells the source that nothing was copied.
    if (!DropItems(screenPoint(Pt), files ? files->Files() : TFileNames(), url ? Utf8ToWide(url->URL) : WideString(),
                   files ? files->Unread() : 0))
      Effect = DROPEFFECT_NONE;
  };
  SetMessageHandler(kReportDropLeftOut, [this](TMessage&) { ShowDropLeftOut(); });
  SetMessageHandler(kEditDroppedIcons, [this](TMessage&) { EditDroppedIcons(); });
  tDropPictures = new TTimer(this);
  tDropPictures->SetName("tDropPictures");
  tDropPictures->SetEnabled(false);
  tDropPictures->SetInterval(kDropPicturePause);
  tDropPictures->OnTimer = [this](TObject*) { MakeDroppedPictures(); };
}

void TfMain::MakeDroppedPictures() {
  std::vector<TKemXmlTag*> made;
  const bool left =
      FIconCache && FGroupsTag && FIconCache->AddMissingEntries(FGroupsTag, TickCount() + kDropPictureSlice, made);
  ShowIconPictures(made);
  if (left) return;
  tDropPictures->SetEnabled(false);
  SaveContents(true);
}

void TfMain::ReportDropLeftOut(TDropLeftOut LeftOut) {
  FDropLeftOut = std::move(LeftOut);
  PostMessageW(Handle(), kReportDropLeftOut, 0, 0);
}

void TfMain::EditDroppedIconLater(TKemXmlTag& Group, TKemXmlTagPtr Icon) {
  FDropEdits.push_back(TDropEdit{&Group, std::move(Icon)});
  PostMessageW(Handle(), kEditDroppedIcons, 0, 0);
}

void TfMain::ShowDropLeftOut() {
  const TDropLeftOut leftOut = std::exchange(FDropLeftOut, TDropLeftOut());
  const auto count = [](std::size_t n) { return FormatArg(static_cast<int>(n)); };
  WideString text;
  if (leftOut.Total > leftOut.Taken)
    text = WideFormatOrError(Translate("Drop_LeftOut",
                                       u"Of the %d files dropped, the first %d became icons; "
                                       u"the other %d were left out."),
                             {count(leftOut.Total), count(leftOut.Taken), count(leftOut.Total - leftOut.Taken)});
  if (!leftOut.LongUrlHost.empty()) {
    // The address is named by its host, which is what a user recognises; a
    // host of thousands of characters is cut.
    WideString host = Utf8ToWide(leftOut.LongUrlHost);
    if (host.size() > kDropNoteHostLength) {
      host = host.substr(0, WholeCharsLength(host, kDropNoteHostLength)) + u"\u2026";  // a pair stays whole
    }
    if (!text.empty()) text += u"\n";
    text += WideFormatOrError(Translate("Drop_LongAddress",
                                        u"The address on %s has %d characters, more than the %d an icon can hold; "
                                        u"it made no icon."),
                              {FormatArg(host), count(leftOut.LongUrlLength), count(kMaxIconUrlLength)});
  }
  if (text.empty()) return;
  ShowMessageBox(leftOut.Total > leftOut.Taken ? Translate("Drop_LeftOut_Caption", u"Too many files")
                                               : Translate("Drop_LongAddress_Caption", u"Address too long"),
                 text, 0);
}

void TfMain::RegisterDropTarget() { dtMain->Register(this); }

void TfMain::UnregisterDropTargets() { dtMain->Unregister(nullptr); }
