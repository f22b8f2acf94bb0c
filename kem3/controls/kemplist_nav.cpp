// What the panel list's input does to its items, free of any window: keyboard
// moves in the list and in the list view grid, reordering by Ctrl+arrows and by
// dragging (a tree item stays among its siblings), the selection a press makes
// with the multiple selection, check boxes and accelerators.
#include <algorithm>

#include "kem3/controls/kemplist_model.h"
#include "platform/keys.h"

namespace {

TShiftState Modifiers(TShiftState Shift) { return Shift * TShiftState{ssShift, ssCtrl, ssAlt}; }
bool OnlyCtrl(TShiftState Shift) { return Modifiers(Shift) == TShiftState{ssCtrl}; }
bool CtrlOrCtrlShift(TShiftState Shift) {
  const TShiftState m = Modifiers(Shift);
  return m == TShiftState{ssCtrl} || m == TShiftState{ssCtrl, ssShift};
}

bool IsNavigationKey(std::uint16_t Key) {
  switch (Key) {
    case VK_SPACE:
    case VK_PRIOR:
    case VK_NEXT:
    case VK_END:
    case VK_HOME:
    case VK_LEFT:
    case VK_UP:
    case VK_RIGHT:
    case VK_DOWN:
      return true;
    default:
      return false;
  }
}

}  // namespace

int TKemPanelListModel::NearestSelectable(int From, int Step) const {
  for (int i = From; i >= 0 && i < Count(); i += Step) {
    const TKemPanelListItem* item = FItems[static_cast<size_t>(i)];
    if (item->IsVisible() && item->IsSelectable()) return i;
  }
  return -1;
}

bool TKemPanelListModel::ToggleSelectedCheck() {
  TKemPanelListItem* item = SelectedItem();
  if (!HasOption(ploChecklist) || !item || !item->HasCheckbox || !item->CheckEnabled) return false;
  item->Checked = !item->Checked;
  if (OnCheckChange) OnCheckChange(EventSender());
  PaintItems();
  return true;
}

// List box and tree view: the target of a key, or false when the key moves nothing.
bool TKemPanelListModel::ListTarget(std::uint16_t Key, const TPanelListGrid& Grid, int& Target, int& Step) {
  TKemPanelListItem* item = FItems[static_cast<size_t>(FItemIndex)];
  const bool tree = FStyle == plsTreeview;
  switch (Key) {
    case VK_PRIOR:
      Target = FItemIndex - std::max(1, Grid.Page);
      if (Target < 0) {
        Target = 0;
        Step = 1;
        return true;
      }
      Target = NearestSelectable(Target, -1);
      Step = -1;
      return Target >= 0;
    case VK_NEXT:
      Target = FItemIndex + std::max(1, Grid.Page);
      if (Target >= Count()) {
        Target = LastVisibleIndex();
        Step = -1;
        return Target >= 0;
      }
      Target = NearestSelectable(Target, 1);
      Step = 1;
      return Target >= 0;
    case VK_UP:
      Target = NearestSelectable(FItemIndex - 1, -1);
      Step = -1;
      return Target >= 0;
    case VK_DOWN:
      Target = NearestSelectable(FItemIndex + 1, 1);
      Step = 1;
      return Target >= 0;
    case VK_LEFT:
      if (!tree) return false;
      if (item->Expanded && !item->Children().empty()) {
        item->Expanded = false;
        Rebuild();
        return false;
      }
      Target = FItemIndex - 1;
      while (Target >= 0 && FItems[static_cast<size_t>(Target)]->Level() >= item->Level()) --Target;
      Step = 0;
      return Target >= 0;
    case VK_RIGHT:
      if (!tree || item->Children().empty()) return false;
      if (!item->Expanded) {
        item->Expanded = true;
        Rebuild();
        return false;
      }
      Target = FItemIndex + 1;
      Step = 0;
      return Target < Count();
    default:
      return false;
  }
}

// List view: the grid moves, by columns with ploListviewArrangeVert, else by rows.
bool TKemPanelListModel::GridTarget(std::uint16_t Key, const TPanelListGrid& Grid, int& Target, int& Step) const {
  const int index = FItemIndex, count = Count();
  const int rows = std::max(1, Grid.Rows), columns = std::max(1, Grid.Columns), page = std::max(1, Grid.Page);
  const bool byColumns = HasOption(ploListviewArrangeVert);
  Step = 0;
  Target = -1;
  switch (Key) {
    case VK_PRIOR:
      Target = page < index ? index - page : 0;
      Step = -1;
      break;
    case VK_NEXT:
      Target = index + page < count ? index + page : count - 1;
      Step = 1;
      break;
    case VK_LEFT:
      if (byColumns) {
        if (index >= rows) Target = index - rows;
      } else if (index % columns != 0) {
        Target = index - 1;
      }
      break;
    case VK_UP:
      if (byColumns) {
        if (index > 0) Target = index - 1;
      } else if (index >= columns) {
        Target = index - columns;
      }
      break;
    case VK_RIGHT:
      if (byColumns) {
        if (index + rows < count) Target = index + rows;
      } else if (index % columns != columns - 1 && index + 1 < count) {
        Target = index + 1;
      }
      break;
    case VK_DOWN:
      if (byColumns) {
        if (index + 1 < count) Target = index + 1;
      } else if (index + columns < count) {
        Target = index + columns;
      }
      break;
    default:
      break;
  }
  return Target >= 0;
}

bool TKemPanelListModel::NavigateKey(std::uint16_t Key, TShiftState Shift, const TPanelListGrid& Grid) {
  if (!IsNavigationKey(Key)) return false;
  if (Count() == 0) return true;
  if (FItemIndex < 0 || FItemIndex >= Count()) {
    SetItemIndex(Key == VK_END ? LastVisibleIndex() : 0);
    return true;
  }
  if (Key == VK_SPACE) {
    if (ToggleSelectedCheck()) return true;
    if (HasOption(ploMultiSelect) && CtrlOrCtrlShift(Shift)) {
      if (FAnchor >= 0) {
        TKemPanelListItem* item = FItems[static_cast<size_t>(FItemIndex)];
        item->MultiSelected = !item->MultiSelected;
      }
      FAnchor = FItemIndex;
      PaintItems();
    }
    return true;
  }
  int target = -1, step = 0;
  bool found = false;
  if (Key == VK_END) {
    target = LastVisibleIndex();
    step = -1;
    found = target >= 0;
  } else if (Key == VK_HOME) {
    target = 0;
    step = 1;
    found = true;
  } else if (FStyle == plsListview) {
    found = GridTarget(Key, Grid, target, step);
  } else {
    found = ListTarget(Key, Grid, target, step);
  }
  if (found) MoveOrReorder(target, step, Shift);
  return true;
}

// Keeps a tree item among its siblings: moving up, the target skips back over
// deeper items to a sibling; moving down, the item passes the next sibling's
// whole subtree. False when no sibling lies that way.
bool TKemPanelListModel::TreeReorderTarget(int& Target) const {
  const TKemPanelListItem* item = FItems[static_cast<size_t>(FItemIndex)];
  const int level = item->Level();
  if (Target < FItemIndex) {
    while (Target > 0 && FItems[static_cast<size_t>(Target)]->Level() > level) --Target;
    const TKemPanelListItem* other = FItems[static_cast<size_t>(Target)];
    return other->Level() == level && other->Parent() == item->Parent();
  }
  const int end = FItemIndex + SubtreeLength(FItemIndex);
  int t = std::max(Target, end);
  if (t >= Count()) return false;
  while (t > end && FItems[static_cast<size_t>(t)]->Level() > level) --t;
  const TKemPanelListItem* sibling = FItems[static_cast<size_t>(t)];
  if (sibling->Level() != level || sibling->Parent() != item->Parent()) return false;
  Target = t + SubtreeLength(t) - 1;
  return true;
}

void TKemPanelListModel::MoveOrReorder(int Target, int Step, TShiftState Shift) {
  TKemPanelListItem* selected = SelectedItem();
  if (OnlyCtrl(Shift) && HasOption(ploDragReorder) && selected && selected->Draggable) {
    if (Target < 0 || Target >= Count() || Target == FItemIndex) return;
    if (FStyle == plsTreeview && !TreeReorderTarget(Target)) return;
    if (OnCanReorder) {
      bool can = true;
      OnCanReorder(EventSender(), FItemIndex, Target, can);
      if (!can) return;
    }
    ClearMultiSelection(true);
    MoveItem(FItemIndex, Target);
    SetItemIndex(Target);
    return;
  }
  MoveTo(Target, Step, Shift);
}

void TKemPanelListModel::MoveTo(int Target, int Step, TShiftState Shift) {
  if (HasOption(ploMultiSelect)) {
    const TShiftState m = Modifiers(Shift);
    if (m == TShiftState{ssShift}) {
      if (FAnchor < 0) FAnchor = FItemIndex;
      if (FAnchor >= 0 && Target >= 0) SelectRange(FAnchor, Target);
    } else if (CtrlOrCtrlShift(Shift)) {
      if (FAnchor < 0 && FItemIndex >= 0) {
        FAnchor = FItemIndex;
        SelectRange(FAnchor, FAnchor);
      }
    } else {
      ClearMultiSelection(true);
    }
    SetItemIndex(Target);
    return;
  }
  ClearMultiSelection(true);
  // Walking on, items hidden in a collapsed branch are passed over too.
  while (Target >= 0 && Target < Count()) {
    if (Step == 0 || FItems[static_cast<size_t>(Target)]->IsVisible()) SetItemIndex(Target);
    if (Step == 0 || FItemIndex == Target) break;
    Target += Step;
  }
}

void TKemPanelListModel::PressSelect(int Pressed, bool RightButton, TShiftState Shift) {
  if (HasOption(ploDisableMouseSel) || (RightButton && !HasOption(ploRightClicks))) return;
  if (Pressed >= Count()) Pressed = -1;
  if (Pressed >= 0 && !FItems[static_cast<size_t>(Pressed)]->IsSelectable()) return;
  if (!HasOption(ploMultiSelect)) {
    ClearMultiSelection(true);
  } else if (Pressed >= 0 && Shift.Contains(ssShift)) {
    if (FAnchor < 0) FAnchor = FItemIndex >= 0 ? FItemIndex : Pressed;
    if (Shift.Contains(ssCtrl)) {
      AddRange(FAnchor, Pressed);
    } else {
      SelectRange(FAnchor, Pressed);
    }
  } else if (Pressed >= 0 && Shift.Contains(ssCtrl)) {
    TKemPanelListItem* pressed = FItems[static_cast<size_t>(Pressed)];
    if (FAnchor < 0) {
      // The first Ctrl+click starts a multiple selection from what was selected.
      if (FItemIndex != Pressed) {
        if (TKemPanelListItem* selected = SelectedItem()) selected->MultiSelected = true;
        pressed->MultiSelected = true;
        PaintItems();
      }
    } else {
      pressed->MultiSelected = !pressed->MultiSelected;
      PaintItems();
    }
    FAnchor = Pressed;
  } else if (!RightButton || FAnchor < 0) {
    ClearMultiSelection(true);
  }
  SetItemIndex(Pressed);
}

bool TKemPanelListModel::DragMoveTo(int Target) {
  const int current = FItemIndex;
  if (current < 0 || current >= Count() || Target < 0 || Target >= Count() || Target == current) return false;
  if (FStyle == plsTreeview) {
    const int level = FItems[static_cast<size_t>(current)]->Level();
    const TKemPanelListItem* over = FItems[static_cast<size_t>(Target)];
    if (MinLevel(current, Target) != level) return false;
    bool allowed;
    if (Target < current) {
      allowed = over->Level() == level;
    } else {
      const int lastVisible = LastVisibleIndex();
      allowed = (over->VisibleChildCount() == 0 && over->Level() == level) ||
                (Target < Count() - 1 && level >= FItems[static_cast<size_t>(Target) + 1]->Level()) ||
                Target == lastVisible;
      if (Target == lastVisible) Target = Count() - 1;
    }
    if (!allowed) return false;
  }
  if (OnCanReorder) {
    bool can = true;
    OnCanReorder(EventSender(), current, Target, can);
    if (!can) return false;
  }
  MoveItem(current, Target, true);
  if (Target == current) return false;
  FItemIndex = Target;
  return true;
}

bool TKemPanelListModel::Accelerator(WideChar Key, TShiftState Shift) {
  if (!FShowAccelChar || !AccelModifierMatches(FAccelModifier, Shift)) return false;
  const WideChar ch = AccelKeyChar(Key);
  if (ch == 0) return false;
  std::vector<int> matches;
  for (int i = 0; i < Count(); ++i) {
    if (FItems[static_cast<size_t>(i)]->MatchesAccel(ch)) matches.push_back(i);
  }
  if (matches.empty()) return false;
  const int chosen = NextAccelMatch(matches, FItemIndex);
  switch (FAccelAction) {
    case aaSelect:
      SetItemIndex(chosen);
      break;
    case aaClick:
      ClickItem(chosen);
      break;
    case aaDblClick:
      DblClickItem(chosen);
      break;
    case aaCustom:
      if (OnAccelerator) OnAccelerator(EventSender(), chosen, static_cast<int>(matches.size()));
      break;
  }
  return true;
}
