// Input of the panel list: presses and releases with their selection, live
// reordering by dragging and dropping on the button set, hot tracking, double
// clicks (tree expansion, check boxes), the wheel, keys and accelerators.
// The rules themselves are OS-free (kemplist_nav.cpp); this file feeds them
// from the window's messages.
#include <cstdlib>

#include "kem3/controls/kembtns_win.h"
#include "kem3/controls/kemplist_win.h"
#include "kem3/pictures/kemcursors.h"
#include "platform/screen_win.h"

void TKemPanelList::WndProc(TMessage& Message) {
  switch (Message.Msg) {
    case WM_GETDLGCODE:
      TKemScrolledPanel::WndProc(Message);
      if (!HasOption(ploDisableKeyboard)) Message.Result |= DLGC_WANTARROWS;
      return;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      TKemScrolledPanel::WndProc(Message);
      Invalidate();
      return;
    default:
      break;
  }
  if (Message.Msg >= WM_MOUSEFIRST && Message.Msg <= WM_MOUSELAST && Message.Msg != WM_MOUSEWHEEL &&
      Message.Msg != WM_MOUSEHWHEEL) {
    FMousePoint = Point(MessageX(Message.LParam), MessageY(Message.LParam));
  }
  if (FCaptureWatch.Pass(*this, Message, [this](TMessage& m) { TKemScrolledPanel::WndProc(m); })) CancelDrag();
}

// ---- Buttons -------------------------------------------------------------------------

void TKemPanelList::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TKemScrolledPanel::MouseDown(Button, Shift, X, Y);
  if (Button != mbLeft && Button != mbRight) return;
  FLeftHeld = Button == mbLeft;
  FDragging = false;
  FDropButton = -1;
  FPressPoint = ClientToScreen(Point(X, Y));
  SetMouseCapture(true);
  const bool afterDblClick = FAfterDblClick;
  FAfterDblClick = false;
  if (!FLayout.InItemsArea(Point(X, Y))) return;
  if (afterDblClick) {
    // The second press of a double click: the double click did the work.
    if (Style() == plsTreeview && FPressedIndex >= 0 && FPressedIndex < Count() &&
        (HasOption(ploTreeviewDoubleClick) || FExpandHit)) {
      ClearMultiSelection(true);
      Items(FPressedIndex)->ToggleExpanded();
    }
    return;
  }
  if (!HasOption(ploDisableKeyboard) && CanFocus() && !Focused()) SetFocus();
  FPressedIndex = ItemAtPos(X, Y);
  if (Style() == plsTreeview && FPressedIndex >= 0 && FExpandHit) {
    Items(FPressedIndex)->ToggleExpanded();
    ClearMultiSelection(true);
    if (!HasOption(ploTreeviewCheckSelects)) return;
  }
  PressSelect(FPressedIndex, Button == mbRight, Shift);
}

void TKemPanelList::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TKemScrolledPanel::MouseUp(Button, Shift, X, Y);
  if (Button != mbLeft && Button != mbRight) return;
  FLeftHeld = false;
  if (!HasOption(ploHotTracking)) SetMouseCapture(false);
  if (Button == mbLeft && HasOption(ploClearSelection)) SetItemIndex(-1);
  FPressedIndex = -1;
  if (FDragging) {
    const int button = FDropButton;
    EndDrag();
    if (button >= 0) {
      SetItemIndexDirect(-1);
      Invalidate();
      if (OnDropIcon) OnDropIcon(this, FDragOrigin, button);
    } else if (OnReorder) {
      OnReorder(this, FDragOrigin, ItemIndex());
    }
    return;
  }
  if (HasOption(ploHotTracking)) MouseMove(Shift, X, Y);
}

void TKemPanelList::EndDrag() {
  FDragging = false;
  FDropButton = -1;
  if (Screen) Screen->SetCursor(crDefault);
  if (FButtonSet) FButtonSet->HighlightButton(-1);
}

void TKemPanelList::EndPress() {
  FLeftHeld = false;
  FPressedIndex = -1;
  if (FDragging) EndDrag();
}

void TKemPanelList::CancelDrag() {
  if (FDragging) {
    // Its moves were never reported: the owner knows the order from before the drag.
    ReturnDragged();
    RefreshView(true);
  }
  EndPress();
}

void TKemPanelList::ReturnDragged() {
  if (FDragOrigin < 0 || FDragOrigin >= Count()) return;
  if (ItemIndex() >= 0 && ItemIndex() != FDragOrigin) {
    int target = FDragOrigin;
    if (Style() == plsTreeview && ItemIndex() < FDragOrigin) target += SubtreeLength(ItemIndex()) - 1;
    MoveItem(ItemIndex(), target, true);
    FLayout.Arrange(*this);
  }
  SetItemIndexDirect(FDragOrigin);
}

// ---- Moves ---------------------------------------------------------------------------

void TKemPanelList::MouseMove(TShiftState Shift, int X, int Y) {
  TKemScrolledPanel::MouseMove(Shift, X, Y);
  FHotTimer->SetEnabled(false);
  if (ItemIndex() < 0) FLeftHeld = false;
  const TPoint p = Point(X, Y);
  const int index = FLayout.InItemsArea(p) ? ItemAtPos(X, Y) : -1;
  FHoverIndex = index;
  if (FPressedIndex >= 0 && HasOption(ploButtonItems)) SetItemIndex(index == FPressedIndex ? FPressedIndex : -1);
  if (index < 0 && !HasOption(ploDragReorder) && !HasOption(ploHotTracking)) return;

  TKemPanelListItem* selected = SelectedItem();
  if (HasOption(ploDragReorder) && FLeftHeld && selected && selected->Draggable) {
    const TPoint screen = ClientToScreen(p);
    if (!FDragging &&
        (std::abs(screen.X - FPressPoint.X) > DragThreshold || std::abs(screen.Y - FPressPoint.Y) > DragThreshold)) {
      FDragging = true;
      SetMouseCapture(false);
      SetMouseCapture(true);
      if (Screen) Screen->SetCursor(crKemHand);
      FDragOrigin = ItemIndex();
    }
    if (FDragging) {
      if (index < 0) {
        DragOverButtonSet(screen);
      } else {
        if (FButtonSet) FButtonSet->HighlightButton(-1);
        FDropButton = -1;
        if (index != ItemIndex() && DragMoveTo(index)) {
          FLayout.Arrange(*this);
          RefreshView(true);
        }
      }
    }
  }

  // An item that cannot be selected is never hot (and does not report again on every move).
  const int hot = index >= 0 && Items(index)->IsSelectable() ? index : -1;
  if (HasOption(ploHotTracking) && !FDragging && FHotIndex != hot && !FLeftHeld) {
    FHotIndex = hot;
    if (!HasOption(ploDisableKeyboard) && CanFocus() && !Focused()) SetFocus();
    RefreshView(true);
    if (FHotIndex != ItemIndex()) FHotTimer->SetEnabled(true);
    if (OnHotTrack) OnHotTrack(this);
  }

  if (index >= 0) {
    SetMouseCapture(true);
  } else if (!FLeftHeld) {
    SetMouseCapture(false);
  }
}

void TKemPanelList::DragOverButtonSet(const TPoint& ScreenPoint) {
  if (!FButtonSet) return;
  const TPoint origin = FButtonSet->ClientToScreen(Point(0, 0));
  const bool inside = ScreenPoint.X > origin.X && ScreenPoint.X < origin.X + FButtonSet->Width() &&
                      ScreenPoint.Y > origin.Y && ScreenPoint.Y < origin.Y + FButtonSet->Height();
  FDropButton = -1;
  if (inside) {
    const TPoint local = FButtonSet->ScreenToClient(ScreenPoint);
    FDropButton = FButtonSet->ButtonAtPos(local.X, local.Y);
  }
  if (FDropButton >= 0) {
    bool can = true;
    if (OnCanDropIcon) OnCanDropIcon(this, FDragOrigin, FDropButton, can);
    if (can) {
      // The item goes back to where the drag began: it leaves for another group.
      ReturnDragged();
      RefreshView(true);
    } else {
      FDropButton = -1;
    }
  }
  FButtonSet->HighlightButton(FDropButton);
}

void TKemPanelList::HotTrackTimer(TObject* /*Sender*/) {
  FHotTimer->SetEnabled(false);
  SetItemIndex(FHotIndex);
}

// ---- Clicks --------------------------------------------------------------------------

void TKemPanelList::Click() {
  if (FDragging || !Enabled()) return;
  TKemPanelListItem* selected = SelectedItem();
  if (selected && selected->Link) {
    selected->Link->LinkClick();
  } else {
    TKemScrolledPanel::Click();
  }
}

void TKemPanelList::DblClick() {
  FPressedIndex = FLayout.InItemsArea(FMousePoint) ? ItemAtPos(FMousePoint.X, FMousePoint.Y) : -1;
  if (Style() == plsTreeview && FPressedIndex >= 0 && FExpandHit) return;
  FAfterDblClick = true;
  TKemScrolledPanel::DblClick();
  ToggleSelectedCheck();
}

// ---- Wheel and keys ------------------------------------------------------------------

bool TKemPanelList::DoMouseWheelDown(TShiftState Shift, TPoint MousePos) {
  if (TKemScrolledPanel::DoMouseWheelDown(Shift, MousePos)) return true;
  if (HasOption(ploNoWheelScrollBars) || !PtInRect(ClientRect(), ScreenToClient(MousePos))) return false;
  if (!Scroller()->Visible()) return false;
  Scroller()->StepForward();
  return true;
}

bool TKemPanelList::DoMouseWheelUp(TShiftState Shift, TPoint MousePos) {
  if (TKemScrolledPanel::DoMouseWheelUp(Shift, MousePos)) return true;
  if (HasOption(ploNoWheelScrollBars) || !PtInRect(ClientRect(), ScreenToClient(MousePos))) return false;
  if (!Scroller()->Visible()) return false;
  Scroller()->StepBack();
  return true;
}

void TKemPanelList::KeyDown(std::uint16_t& Key, TShiftState Shift) {
  TKemScrolledPanel::KeyDown(Key, Shift);
  // The dragged item is the selected one: a key must not pick another under the drag.
  if (Key == 0 || HasOption(ploDisableKeyboard) || FDragging) return;
  if (FHotIndex != -1) {
    // The key ends the hot item, and its pending selection with it.
    FHotIndex = -1;
    FHotTimer->SetEnabled(false);
    Invalidate();
  }
  if (NavigateKey(Key, Shift, FLayout.Grid(Height()))) Key = 0;
}

bool TKemPanelList::DialogChar(WideChar Key, TShiftState Shift) {
  if (!Enabled()) return false;
  return Accelerator(Key, Shift);
}
