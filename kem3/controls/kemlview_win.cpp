// The browser's list view: header rules and column order.
#include "kem3/controls/kemlview_win.h"

#include "kem3/controls/kembase_win.h"
#include "kem3/controls/kemlview_columns.h"

void SetHeaderBitmapMargin(HWND Header, int Margin) {
  SendMessageW(Header, HDM_SETBITMAPMARGIN, static_cast<WPARAM>(Margin), 0);
}

HWND TKemListView::HeaderHandle() { return reinterpret_cast<HWND>(SendMessageW(Handle(), LVM_GETHEADER, 0, 0)); }

void TKemListView::SetColumnOrder(const std::vector<int>& Order) {
  SendMessageW(Handle(), LVM_SETCOLUMNORDERARRAY, Order.size(), reinterpret_cast<LPARAM>(Order.data()));
  Invalidate();
}

std::vector<int> TKemListView::GetColumnOrder() {
  std::vector<int> order(static_cast<size_t>(ColumnCount()));
  if (!order.empty() &&
      !SendMessageW(Handle(), LVM_GETCOLUMNORDERARRAY, order.size(), reinterpret_cast<LPARAM>(order.data())))
    order.clear();
  return order;
}

int TKemListView::AverageCharWidth() { return TFontTextMeasure(*Font()).AverageCharWidth(); }

void TKemListView::DispatchDefault(TMessage& Message) {
  const WORD code = LOWORD(Message.WParam);
  if (Message.Msg == WM_HSCROLL && !Message.LParam && (code == SB_LINELEFT || code == SB_LINERIGHT) &&
      (GetWindowLongPtrW(Handle(), GWL_STYLE) & LVS_TYPEMASK) == LVS_REPORT) {
    const int step = AverageCharWidth();
    SendMessageW(Handle(), LVM_SCROLL, static_cast<WPARAM>(code == SB_LINELEFT ? -step : step), 0);
    Message.Result = 0;
    return;
  }
  TUcCustomListView::DispatchDefault(Message);
}

void TKemListView::CreateWnd() {
  TUcCustomListView::CreateWnd();
  SendMessageW(Handle(), LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_HEADERDRAGDROP, LVS_EX_HEADERDRAGDROP);
}

void TKemListView::HeaderNotify(TMessage& Message) {
  // The 8-bit and the wide forms share the fields read here (the item's
  // mask, width and order sit at the same places in both).
  auto* n = reinterpret_cast<NMHEADERW*>(Message.LParam);
  const int index = n->iItem;
  TListColumn* column = index >= 0 && index < ColumnCount() ? Columns(index) : nullptr;
  HDITEMW* item = n->pitem;
  const UINT code = n->hdr.code;
  // Only these carry an item: in others (a custom draw) its place holds something else.
  // The end of tracking carries the pointer's width, before the header sets it (and so
  // before the clamp of the change): kept within the limits it is the width reported.
  if ((code == HDN_TRACKW || code == HDN_TRACKA || code == HDN_ITEMCHANGINGW || code == HDN_ITEMCHANGINGA ||
       code == HDN_ENDTRACKW || code == HDN_ENDTRACKA) &&
      column && item && (item->mask & HDI_WIDTH)) {
    // Before the window sees it, so the list takes the kept width too.
    item->cxy = ClampColumnWidth(item->cxy, column->MinWidth(), column->MaxWidth());
  }
  TUcCustomListView::HeaderNotify(Message);
  if (!column) return;
  switch (code) {
    case HDN_ENDTRACKW:
    case HDN_ENDTRACKA:
      if (OnColumnSized) OnColumnSized(this, index, item && (item->mask & HDI_WIDTH) ? item->cxy : column->Width());
      return;
    case HDN_BEGINTRACKW:
    case HDN_BEGINTRACKA:
      // A column of width 0 is hidden: the user cannot pull it open.
      if (SendMessageW(Handle(), LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(index), 0) == 0) Message.Result = TRUE;
      return;
    case HDN_BEGINDRAG: {
      bool allow = false;
      if (OnColumnDragBegin) OnColumnDragBegin(this, index, allow);
      if (allow) Message.Result = 0;
      return;
    }
    case HDN_ENDDRAG: {
      bool finish = false;
      const int order = item && (item->mask & HDI_ORDER) ? item->iOrder : index;
      if (OnColumnDragEnd) OnColumnDragEnd(this, index, order, finish);
      if (finish)
        Message.Result = 0;
      else if (item)
        item->iOrder = index;
      return;
    }
    default:
      return;
  }
}
