// The panel list's items in display order: adding, deleting and moving them,
// the selection with its rules, and the multiple selection.
#include "kem3/controls/kemplist_model.h"

#include <algorithm>

#include "platform/lists.h"
#include "platform/stringlist.h"
#include "platform/sysutils.h"
#include "platform/unicode_convert.h"

TKemPanelListModel::TKemPanelListModel() = default;

TKemPanelListModel::~TKemPanelListModel() {
  FDestroying = true;
  DestroyItems();
}

void TKemPanelListModel::DestroyItems() {
  std::vector<TKemPanelListItem*> items;
  items.swap(FItems);
  for (auto it = items.rbegin(); it != items.rend(); ++it) (*it)->Free();
}

// ---- Settings ------------------------------------------------------------------------

void TKemPanelListModel::SetStyle(TKemPanelListStyle Value) {
  if (Value == FStyle) return;
  FStyle = Value;
  LayoutChanged();
}

void TKemPanelListModel::SetOptions(TKemPanelListOptions Value) {
  if (Value == FOptions) return;
  FOptions = Value;
  LayoutChanged();
}

void TKemPanelListModel::SetShowAccelChar(bool Value) {
  if (Value == FShowAccelChar) return;
  FShowAccelChar = Value;
  LayoutChanged();
}

// ---- Items ---------------------------------------------------------------------------

TKemPanelListItem* TKemPanelListModel::Items(int Index) const {
  if (Index < 0 || Index >= Count()) ListIndexError(Index);
  return FItems[static_cast<size_t>(Index)];
}

TKemPanelListItem* TKemPanelListModel::SelectedItem() const {
  return FItemIndex >= 0 && FItemIndex < Count() ? FItems[static_cast<size_t>(FItemIndex)] : nullptr;
}

int TKemPanelListModel::IndexOfItem(const TKemPanelListItem* Item) const {
  auto it = std::find(FItems.begin(), FItems.end(), Item);
  return it == FItems.end() ? -1 : static_cast<int>(it - FItems.begin());
}

int TKemPanelListModel::IndexOf(const WideString& Caption) const {
  for (int i = 0; i < Count(); ++i) {
    if (WideSameText(FItems[static_cast<size_t>(i)]->Caption(), Caption)) return i;
  }
  return -1;
}

TKemPanelListItem* TKemPanelListModel::NewItem(int Index, const WideString& Caption) {
  if (Index < 0 || Index > Count()) ListIndexError(Index);
  auto* item = new TKemPanelListItem(this, Caption);
  FItems.insert(FItems.begin() + Index, item);
  // Indexes at and after the new item move down one place.
  if (FItemIndex >= Index) ++FItemIndex;
  if (FAnchor >= Index) ++FAnchor;
  return item;
}

TKemPanelListItem* TKemPanelListModel::Add(const WideString& Caption) { return Insert(Count(), Caption); }

TKemPanelListItem* TKemPanelListModel::Insert(int Index, const WideString& Caption) {
  TKemPanelListItem* item = NewItem(Index, Caption);
  LayoutChanged();
  return item;
}

TKemPanelListItem* TKemPanelListModel::AddItem(const WideString& Caption, const Variant& Data, TBitmap* Bitmap,
                                               TBitmap* Mask, bool Alpha) {
  return InsertItem(Count(), Caption, Data, Bitmap, Mask, Alpha);
}

TKemPanelListItem* TKemPanelListModel::InsertItem(int Index, const WideString& Caption, const Variant& Data,
                                                  TBitmap* Bitmap, TBitmap* Mask, bool Alpha) {
  TKemPanelListItem* item = NewItem(Index, Caption);
  item->Data = Data;
  item->Bitmap = Bitmap;
  item->BitmapMask = Mask;
  item->AlphaChannel = Alpha;
  return item;
}

void TKemPanelListModel::AddStrings(const std::vector<WideString>& Strings) {
  for (const WideString& s : Strings) AddItem(s, WideString(), nullptr, nullptr, false);
  Rebuild();
}

void TKemPanelListModel::AssignCaptions(const TStrings& Source) {
  for (int i = 0; i < Source.Count(); ++i) AddItem(Utf8ToWide(Source.Get(i)), WideString(), nullptr, nullptr, false);
  Rebuild();
}

void TKemPanelListModel::GetCaptions(TStrings& Target) const {
  Target.Clear();
  for (const TKemPanelListItem* item : FItems) Target.Add(WideToUtf8(item->Caption()));
}

void TKemPanelListModel::AssignCaptionsAndValues(const TStrings& Captions, const TStrings& Values) {
  for (int i = 0; i < Captions.Count(); ++i) {
    const String value = i < Values.Count() ? Values.Get(i) : String();
    AddItem(Utf8ToWide(Captions.Get(i)), value, nullptr, nullptr, false);
  }
  Rebuild();
}

void TKemPanelListModel::GetCaptionsAndValues(TStrings& Captions, TStrings& Values) const {
  Captions.Clear();
  Values.Clear();
  for (const TKemPanelListItem* item : FItems) {
    Captions.Add(WideToUtf8(item->Caption()));
    Values.Add(VarToStr(item->Data));
  }
}

void TKemPanelListModel::DeleteSubtree(int Index) {
  TKemPanelListItem* item = FItems[static_cast<size_t>(Index)];
  const std::vector<TKemPanelListItem*> children = item->Children();
  for (auto it = children.rbegin(); it != children.rend(); ++it) {
    const int child = IndexOfItem(*it);
    if (child >= 0) DeleteSubtree(child);
  }
  const int at = IndexOfItem(item);
  FItems.erase(FItems.begin() + at);
  item->Free();
  ShiftAfterRemoval(at);
}

void TKemPanelListModel::ShiftAfterRemoval(int Index) {
  if (Index == FItemIndex) {
    FItemIndex = -1;
  } else if (Index < FItemIndex) {
    --FItemIndex;
  }
  if (Index == FAnchor) {
    FAnchor = -1;
  } else if (Index < FAnchor) {
    --FAnchor;
  }
}

void TKemPanelListModel::Delete(int Index, bool WithChildren) {
  if (Index < 0 || Index >= Count()) ListIndexError(Index);
  const int selected = FItemIndex;
  if (WithChildren) {
    DeleteSubtree(Index);
  } else {
    TKemPanelListItem* item = FItems[static_cast<size_t>(Index)];
    FItems.erase(FItems.begin() + Index);
    item->Free();
    ShiftAfterRemoval(Index);
  }
  if (FItems.empty()) {
    // An emptied list reports that its selection went, whichever item it was.
    FItemIndex = -1;
    FAnchor = -1;
    if (selected != -1) {
      PaintSelection(selected, -1, true);
      FireChange();
    }
  }
  LayoutChanged();
}

void TKemPanelListModel::Clear() {
  FAnchor = -1;
  DestroyItems();
  if (!ListDestroying()) SetItemIndex(-1);
}

void TKemPanelListModel::ClearAndRebuild() {
  Clear();
  Rebuild();
}

void TKemPanelListModel::Rebuild() {
  ClearMultiSelection(false);
  LayoutChanged();
}

int TKemPanelListModel::SubtreeLength(int Index) const {
  if (Index < 0 || Index >= Count()) return 0;
  const int level = FItems[static_cast<size_t>(Index)]->Level();
  int end = Index + 1;
  while (end < Count() && FItems[static_cast<size_t>(end)]->Level() > level) ++end;
  return end - Index;
}

void TKemPanelListModel::MoveItem(int Index, int& NewIndex, bool NoRebuild) {
  if (Index == NewIndex) return;
  if (Index < 0 || Index >= Count()) ListIndexError(Index);
  if (NewIndex < 0 || NewIndex >= Count()) ListIndexError(NewIndex);
  auto move = [this](int from, int to) {
    TKemPanelListItem* item = FItems[static_cast<size_t>(from)];
    FItems.erase(FItems.begin() + from);
    FItems.insert(FItems.begin() + to, item);
  };
  TKemPanelListItem* item = FItems[static_cast<size_t>(Index)];
  if (FStyle == plsTreeview) {
    const int run = SubtreeLength(Index);
    if (NewIndex < Index) {
      for (int k = 0; k < run; ++k) move(Index + k, NewIndex + k);
    } else {
      // A subtree cannot move into itself.
      if (NewIndex < Index + run) {
        NewIndex = Index;
        return;
      }
      for (int k = 0; k < run; ++k) move(Index, NewIndex);
    }
    NewIndex = IndexOfItem(item);
  } else {
    move(Index, NewIndex);
  }
  if (!NoRebuild) Rebuild();
}

// ---- Selection -----------------------------------------------------------------------

void TKemPanelListModel::SetItemIndex(int Value) {
  const int count = Count();
  if (Value < -1 || Value >= count) Value = -1;
  if (Value == FItemIndex) return;
  const bool current = FItemIndex >= 0 && FItemIndex < count;
  if (count > 0) {
    if (Value == -1 && HasOption(ploDisallowNoSelection)) {
      if (current) return;
      Value = 0;
    }
    if (Value >= 0 && HasOption(ploDisallowEmptySelection) &&
        Trim(FItems[static_cast<size_t>(Value)]->Caption()).empty()) {
      if (current) return;
      Value = -1;
      for (int i = 0; i < count; ++i) {
        const TKemPanelListItem* item = FItems[static_cast<size_t>(i)];
        if (item->IsSelectable() && !Trim(item->Caption()).empty()) {
          Value = i;
          break;
        }
      }
    }
    if (Value >= 0 && !FItems[static_cast<size_t>(Value)]->IsSelectable()) return;
    if (Value == FItemIndex) return;
  }
  const int previous = FItemIndex;
  FItemIndex = Value;
  bool full = HasOption(ploFullSelectRepaint);
  if (Value >= 0 && ScrollIntoView(Value)) full = true;
  PaintSelection(previous, Value, full);
  FireChange();
}

void TKemPanelListModel::FireChange() {
  if (OnChange) OnChange(EventSender());
}

void TKemPanelListModel::MarkRange(int A, int B, bool ClearOthers) {
  if (A > B) std::swap(A, B);
  for (int i = 0; i < Count(); ++i) {
    TKemPanelListItem* item = FItems[static_cast<size_t>(i)];
    if (i >= A && i <= B) {
      item->MultiSelected = true;
    } else if (ClearOthers) {
      item->MultiSelected = false;
    }
  }
  PaintItems();
}

void TKemPanelListModel::SelectRange(int A, int B) { MarkRange(A, B, true); }

void TKemPanelListModel::AddRange(int A, int B) { MarkRange(A, B, false); }

void TKemPanelListModel::ClearMultiSelection(bool Repaint) {
  if (!HasOption(ploMultiSelect) || FAnchor < 0) return;
  FAnchor = -1;
  for (TKemPanelListItem* item : FItems) item->MultiSelected = false;
  if (Repaint) PaintItems();
}

void TKemPanelListModel::ClickItem(int Index) {
  SetItemIndex(Index);
  ItemClick();
  SetItemIndex(-1);
}

void TKemPanelListModel::DblClickItem(int Index) {
  SetItemIndex(Index);
  ItemDblClick();
  SetItemIndex(-1);
}

int TKemPanelListModel::LastVisibleIndex() const {
  for (int i = Count() - 1; i >= 0; --i) {
    if (FItems[static_cast<size_t>(i)]->IsVisible()) return i;
  }
  return -1;
}

int TKemPanelListModel::MinLevel(int A, int B) const {
  if (A > B) std::swap(A, B);
  A = std::max(A, 0);
  B = std::min(B, Count() - 1);
  int level = -1;
  for (int i = A; i <= B; ++i) {
    const int l = FItems[static_cast<size_t>(i)]->Level();
    if (level < 0 || l < level) level = l;
  }
  return level;
}
