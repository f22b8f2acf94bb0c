// The panel list's item: its place in the tree, its caption and accelerator,
// and the visibility and selectability rules.
#include <algorithm>

#include "kem3/controls/kemplist_model.h"
#include "kem3/framework/kemutil.h"

TKemPanelListItem::TKemPanelListItem(TKemPanelListModel* AList, const WideString& ACaption) : FList(AList) {
  SetCaption(ACaption);
  if (FList) FontStyle = FList->DefaultFontStyle();
}

TKemPanelListItem::~TKemPanelListItem() {
  if (FList && FList->HasOption(ploBitmapOwner)) {
    FreeAndNil(Bitmap);
    FreeAndNil(BitmapSelected);
    FreeAndNil(BitmapMask);
  }
  SetParent(nullptr);
  const std::vector<TKemPanelListItem*> children = FChildren;
  for (TKemPanelListItem* child : children) child->SetParent(nullptr);
}

void TKemPanelListItem::SetParent(TKemPanelListItem* NewParent) {
  if (FParent) {
    auto& siblings = FParent->FChildren;
    siblings.erase(std::remove(siblings.begin(), siblings.end(), this), siblings.end());
  }
  FParent = NewParent;
  int level = 0;
  if (FParent) {
    FParent->FChildren.push_back(this);
    for (TKemPanelListItem* p = FParent; p; p = p->FParent) ++level;
  }
  UpdateLevel(level);
}

// A subtree keeps its shape when its root moves: every descendant's level follows.
void TKemPanelListItem::UpdateLevel(int Level) {
  FLevel = Level;
  for (TKemPanelListItem* child : FChildren) child->UpdateLevel(Level + 1);
}

void TKemPanelListItem::SetCaption(const WideString& Value) {
  if (Value == FCaption) return;
  FCaption = Value;
  Measured = false;
  FAccelChar = GetAccelCharW(FCaption);
}

TKemPanelListItem* TKemPanelListItem::AddChild(const WideString& ACaption) {
  TKemPanelListItem* item = FList->Add(ACaption);
  item->SetParent(this);
  return item;
}

TKemPanelListItem* TKemPanelListItem::AddChildItem(const WideString& ACaption, const Variant& AData, TBitmap* ABitmap) {
  TKemPanelListItem* item = FList->AddItem(ACaption, AData, ABitmap, nullptr, false);
  item->SetParent(this);
  return item;
}

std::intptr_t TKemPanelListItem::GetDataAsInteger() const { return static_cast<std::intptr_t>(Data.AsInt64()); }

bool TKemPanelListItem::IsVisible() const {
  if (!FParent) return Visible;
  return FParent->Expanded && FParent->IsVisible();
}

int TKemPanelListItem::VisibleChildCount() const {
  return static_cast<int>(
      std::count_if(FChildren.begin(), FChildren.end(), [](const TKemPanelListItem* c) { return c->IsVisible(); }));
}

bool TKemPanelListItem::MatchesAccel(WideChar Ch) const {
  return FList && FList->ShowAccelChar() && Ch != 0 && Ch == FAccelChar;
}

bool TKemPanelListItem::IsSelectable() const { return Enabled && !IsSeparator && (!Link || Link->LinkEnabled()); }

void TKemPanelListItem::ToggleExpanded() {
  Expanded = !Expanded;
  if (!FList) return;
  // Lay out first, so the selection scrolls into view by the new arrangement.
  FList->Rebuild();
  int i = std::min(FList->ItemIndex(), FList->Count() - 1);
  while (i >= 0 && !FList->Items(i)->IsVisible()) --i;
  if (i != FList->ItemIndex()) FList->SetItemIndex(i);
}
