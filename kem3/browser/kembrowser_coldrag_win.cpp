// Dragging the browser list's columns under the mouse-area hook: while a
// header drag runs, a hook area covers the list; a release outside it puts
// the column back. The files' order is kept in the browser's state.
#include "kem3/browser/kembrowser_win.h"

#include "platform/winapi_win.h"

#include <commctrl.h>

#include "kem3/browser/kembrowser_colorder.h"
#include "kem3/controls/kemlview_win.h"
#include "kem3/framework/kemhi_win.h"

namespace {

// The one area the list holds while a column moves.
constexpr int kListArea = 0;

}  // namespace

class TdBrowser::TColumnDragPart : public TPart {
 public:
  explicit TColumnDragPart(TdBrowser& Browser) : FBrowser(Browser) {
    // The list lets every drag start and every drop inside stand; a drop
    // outside never reaches it.
    Browser.lvFiles->OnColumnDragBegin = [](TObject*, int, bool& Allow) { Allow = true; };
    Browser.lvFiles->OnColumnDragEnd = [](TObject*, int, int, bool& Finish) { Finish = true; };
  }
  ~TColumnDragPart() override { Stop(); }

  // Covers the list's screen rectangle (edges inclusive) with the area.
  void Begin() {
    const HWND list = FBrowser.lvFiles->Handle();
    RECT r{};
    GetWindowRect(list, &r);
    FArea = {r.left, r.top, r.right - 1, r.bottom - 1};
    try {
      if (!FHooked) mhInstallHook(list);
      FHooked = list;
      mhSetArea(list, kListArea, 0, 1, FArea.left, FArea.top, FArea.right, FArea.bottom);
    } catch (const Exception&) {
      // Without the hook the pointer's place at the drop decides.
    }
  }

  // Parks the area and lets go of the hook; true when the drop lay outside
  // the area. The hook posted the release before the header heard of it, so
  // its report waits in the queue; without one the pointer's place decides.
  bool Stop() {
    int outside = -1;
    if (FHooked) {
      MSG msg{};
      while (PeekMessageW(&msg, FHooked, WM_MOUSEHOOK, WM_MOUSEHOOK, PM_REMOVE))
        if (HookEventKind(msg.wParam) == hekLeftUp) outside = static_cast<int>(msg.lParam) < 0 ? 1 : 0;
      try {
        mhSetArea(FHooked, kListArea, 0, 0, 0, 0, -1, -1);
      } catch (const Exception&) {
        // The removal below lets go of the area all the same.
      }
      mhRemoveHook(FHooked);
      FHooked = nullptr;
    }
    if (outside >= 0) return outside == 1;
    POINT p{};
    GetCursorPos(&p);
    return p.x < FArea.left || p.x > FArea.right || p.y < FArea.top || p.y > FArea.bottom;
  }

  // The files' columns as the header will show them after a drop.
  void Keep(int Column, int Position) {
    if (FBrowser.FDrives || Position < 0) return;
    FBrowser.FState.ColumnOrder =
        BrowserKeptColumnOrder(BrowserMovedColumnOrder(FBrowser.lvFiles->GetColumnOrder(), Column, Position), FUsed);
  }

  // The view's filled columns; when they changed, the files' kept order or
  // the drives' own is shown.
  void Columns(int Used, bool Changed) {
    FUsed = Used;
    if (!Changed || !FBrowser.lvFiles->HandleAllocated()) return;
    static const std::vector<int> none;
    const int count = FBrowser.lvFiles->ColumnCount();
    FBrowser.lvFiles->SetColumnOrder(
        BrowserShownColumnOrder(FBrowser.FDrives ? none : FBrowser.FState.ColumnOrder, Used, count));
  }

 private:
  TdBrowser& FBrowser;
  HWND FHooked = nullptr;
  RECT FArea{0, 0, -1, -1};
  int FUsed = 0;
};

void TdBrowser::CreateColumnDrag() { FColumnDragPart = std::make_unique<TColumnDragPart>(*this); }

bool TdBrowser::ColumnDragNotify(TMessage& Message) {
  auto& part = static_cast<TColumnDragPart&>(*FColumnDragPart);
  const auto* n = reinterpret_cast<const NMHEADERW*>(Message.LParam);
  switch (n->hdr.code) {
    case HDN_BEGINDRAG:
      part.Begin();
      return false;
    case HDN_ENDDRAG:
      if (part.Stop()) {
        // Refused: the header leaves the column where it was.
        Message.Result = TRUE;
        return true;
      }
      part.Keep(n->iItem, n->pitem && (n->pitem->mask & HDI_ORDER) ? n->pitem->iOrder : -1);
      return false;
    case NM_RELEASEDCAPTURE:
      // After the end of a drag, or instead of it when the header lost the
      // pointer: the hook goes either way.
      part.Stop();
      return false;
    default:
      return false;
  }
}

void TdBrowser::ColumnsShown(int Used, bool Changed) {
  if (FColumnDragPart) static_cast<TColumnDragPart&>(*FColumnDragPart).Columns(Used, Changed);
}
