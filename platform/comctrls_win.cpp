// TCustomListView and TCustomTreeView on the system's windows.
#include "platform/comctrls_win.h"

#include <algorithm>
#include <string>

#include "platform/exceptions.h"

namespace {

// Copies Text into a window's buffer of Size characters: at most Size - 1 and
// a terminator; nothing at all for a size of 0 or less.
// Adds or removes the style that lets the window edit labels in place.
void SetEditLabelsStyle(HWND Window, LONG_PTR Style, bool On) {
  const LONG_PTR style = GetWindowLongPtrW(Window, GWL_STYLE);
  SetWindowLongPtrW(Window, GWL_STYLE, On ? style | Style : style & ~Style);
}

void CopyToBuffer(const WideString& Text, wchar_t* Buffer, int Size) {
  if (!Buffer || Size <= 0) return;
  const size_t n = std::min(Text.size(), static_cast<size_t>(Size) - 1);
  std::copy_n(Text.data(), n, reinterpret_cast<char16_t*>(Buffer));
  Buffer[n] = L'\0';
}

}  // namespace

// ---- TListColumn and TListItem ------------------------------------------------

void TListColumn::SetCaption(const WideString& Value) {
  if (FCaption == Value) return;
  FCaption = Value;
  if (!FOwner->HandleAllocated()) return;
  LVCOLUMNW column{};
  column.mask = LVCF_TEXT;
  column.pszText = const_cast<wchar_t*>(WideCStr(FCaption));
  SendMessageW(FOwner->Handle(), LVM_SETCOLUMNW, static_cast<WPARAM>(FIndex), reinterpret_cast<LPARAM>(&column));
}

void TListColumn::SetWidth(int Value) {
  if (FWidth == Value) return;
  FWidth = Value;
  if (FOwner->HandleAllocated()) SendMessageW(FOwner->Handle(), LVM_SETCOLUMNWIDTH, static_cast<WPARAM>(FIndex), Value);
}

void TListItem::SetCaption(const WideString& Value) {
  if (FCaption == Value) return;
  FCaption = Value;
  FOwner->RefreshItem(this);
}

void TListItem::SetSubItems(std::vector<WideString> Value) {
  FSubItems = std::move(Value);
  FOwner->RefreshItem(this);
}

int TListItem::Index() const { return FOwner->IndexOf(this); }

bool TListItem::Selected() const { return FSelected; }

void TListItem::SetSelected(bool Value) {
  FSelected = Value;
  if (!FOwner->HandleAllocated()) return;
  LVITEMW item{};
  item.stateMask = LVIS_SELECTED;
  item.state = Value ? LVIS_SELECTED : 0;
  SendMessageW(FOwner->Handle(), LVM_SETITEMSTATE, static_cast<WPARAM>(Index()), reinterpret_cast<LPARAM>(&item));
}

void TListItem::EditCaption() {
  if (FOwner->HandleAllocated()) SendMessageW(FOwner->Handle(), LVM_EDITLABELW, static_cast<WPARAM>(Index()), 0);
}

// ---- TCustomListView ----------------------------------------------------------

TCustomListView::TCustomListView(TComponent* AOwner) : TWinControl(AOwner) {
  SetControlStyle({csClickEvents, csDoubleClicks});
  SetTabStop(true);
  SetColor(clWindow);
  SetBounds(0, 0, 250, 150);
}

// The window goes while the items it points at still exist.
TCustomListView::~TCustomListView() { DestroyHandle(); }

TListColumn* TCustomListView::Columns(int Index) const { return FColumns.at(static_cast<size_t>(Index)).get(); }

TListColumn* TCustomListView::AddColumn() {
  FColumns.push_back(std::make_unique<TListColumn>(this, ColumnCount()));
  TListColumn* column = FColumns.back().get();
  if (!HandleAllocated()) return column;
  InsertColumnWindow(*column);
  // The items there are ask for their texts of the new column too.
  for (int i = 0; !FOwnerData && i < ItemCount(); ++i) AskForSubItem(i, column->FIndex);
  return column;
}

TListItem* TCustomListView::Items(int Index) const {
  if (!FOwnerData) return FItems.at(static_cast<size_t>(Index)).get();
  if (Index < 0 || Index >= FDataCount) throw EListError("List index out of bounds (" + std::to_string(Index) + ")");
  auto* self = const_cast<TCustomListView*>(this);
  if (!FDataItem) FDataItem = std::make_unique<TListItem>(self);
  FDataIndex = Index;
  FDataItem->FCaption.clear();
  FDataItem->FSubItems.clear();
  FDataItem->FData = nullptr;
  FDataItem->FImageIndex = -1;
  FDataItem->FSelected =
      HandleAllocated() &&
      (SendMessageW(self->Handle(), LVM_GETITEMSTATE, static_cast<WPARAM>(Index), LVIS_SELECTED) & LVIS_SELECTED);
  if (OnData) OnData(self, FDataItem.get());
  return FDataItem.get();
}

void TCustomListView::SetOwnerData(bool Value) {
  if (FOwnerData == Value) return;
  FItems.clear();
  FDataCount = 0;
  FOwnerData = Value;
  RecreateWnd();
}

void TCustomListView::SetItemCount(int Count) {
  if (!FOwnerData) throw EInvalidOperation("The item count is set only for owner data");
  FDataCount = std::max(Count, 0);
  if (HandleAllocated()) SendMessageW(Handle(), LVM_SETITEMCOUNT, static_cast<WPARAM>(FDataCount), 0);
}

TListItem* TCustomListView::AddItem() {
  if (FOwnerData) throw EInvalidOperation("Owner data items are not added");
  FItems.push_back(std::make_unique<TListItem>(this));
  if (HandleAllocated()) InsertItemWindow(ItemCount() - 1);
  return FItems.back().get();
}

void TCustomListView::DeleteItem(int Index) {
  if (FOwnerData) throw EInvalidOperation("Owner data items are not deleted");
  (void)Items(Index);
  if (HandleAllocated()) SendMessageW(Handle(), LVM_DELETEITEM, static_cast<WPARAM>(Index), 0);
  FItems.erase(FItems.begin() + Index);
}

void TCustomListView::ClearItems() {
  if (HandleAllocated()) SendMessageW(Handle(), LVM_DELETEALLITEMS, 0, 0);
  FItems.clear();
}

int TCustomListView::IndexOf(const TListItem* Item) const {
  if (FOwnerData) return Item && Item == FDataItem.get() ? FDataIndex : -1;
  auto it = std::find_if(FItems.begin(), FItems.end(), [&](const auto& i) { return i.get() == Item; });
  return it == FItems.end() ? -1 : static_cast<int>(it - FItems.begin());
}

TListItem* TCustomListView::Selected() const {
  if (FOwnerData) {
    if (!HandleAllocated()) return nullptr;
    const auto index = static_cast<int>(SendMessageW(const_cast<TCustomListView*>(this)->Handle(), LVM_GETNEXTITEM,
                                                     static_cast<WPARAM>(-1), LVNI_SELECTED));
    return index >= 0 ? Items(index) : nullptr;
  }
  for (const auto& item : FItems) {
    if (item->FSelected) return item.get();
  }
  return nullptr;
}

void TCustomListView::AlphaSort() {
  if (FOwnerData) return;  // the owner keeps the order
  std::stable_sort(FItems.begin(), FItems.end(), [this](const auto& a, const auto& b) {
    int compare = 0;
    if (OnCompare) {
      OnCompare(this, a.get(), b.get(), 0, compare);
    } else {
      compare = lstrcmpW(WideCStr(a->FCaption), WideCStr(b->FCaption));
    }
    return compare < 0;
  });
  if (!HandleAllocated()) return;
  SendMessageW(Handle(), LVM_DELETEALLITEMS, 0, 0);
  for (int i = 0; i < ItemCount(); ++i) InsertItemWindow(i);
}

void TCustomListView::SetReadOnly(bool Value) {
  if (FReadOnly == Value) return;
  FReadOnly = Value;
  if (HandleAllocated()) SetEditLabelsStyle(Handle(), LVS_EDITLABELS, !Value);
}

HWND TCustomListView::EditHandle() const {
  if (!HandleAllocated()) return nullptr;
  return reinterpret_cast<HWND>(SendMessageW(const_cast<TCustomListView*>(this)->Handle(), LVM_GETEDITCONTROL, 0, 0));
}

void TCustomListView::CreateParams(TCreateParams& Params) {
  TWinControl::CreateParams(Params);
  CreateSubClass(Params, u"SysListView32");
  Params.Style |= LVS_REPORT | LVS_SHOWSELALWAYS | LVS_SHAREIMAGELISTS;
  if (FOwnerData) Params.Style |= LVS_OWNERDATA;
  if (!FReadOnly) Params.Style |= LVS_EDITLABELS;
  Params.ExStyle |= WS_EX_CLIENTEDGE;
}

void TCustomListView::CreateWnd() {
  TWinControl::CreateWnd();
  // Wide notifications from the window and its header, whatever the parent says.
  SendMessageW(Handle(), CCM_SETUNICODEFORMAT, TRUE, 0);
  SendMessageW(Handle(), LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
  for (const auto& column : FColumns) InsertColumnWindow(*column);
  if (FOwnerData) {
    SendMessageW(Handle(), LVM_SETITEMCOUNT, static_cast<WPARAM>(FDataCount), 0);
    return;
  }
  for (int i = 0; i < ItemCount(); ++i) InsertItemWindow(i);
}

void TCustomListView::DestroyWnd() {
  // The window's widths may differ from ours (the user dragged them).
  for (const auto& column : FColumns) {
    column->FWidth =
        static_cast<int>(SendMessageW(Handle(), LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(column->FIndex), 0));
  }
  TWinControl::DestroyWnd();
}

void TCustomListView::InsertColumnWindow(const TListColumn& Column) {
  LVCOLUMNW column{};
  column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
  column.cx = Column.FWidth;
  column.pszText = const_cast<wchar_t*>(WideCStr(Column.FCaption));
  column.iSubItem = Column.FIndex;
  SendMessageW(Handle(), LVM_INSERTCOLUMNW, static_cast<WPARAM>(Column.FIndex), reinterpret_cast<LPARAM>(&column));
}

void TCustomListView::InsertItemWindow(int Index) {
  TListItem* source = Items(Index);
  LVITEMW item{};
  item.mask = LVIF_TEXT | LVIF_PARAM | LVIF_IMAGE | LVIF_STATE;
  item.iItem = Index;
  item.pszText = LPSTR_TEXTCALLBACKW;
  item.iImage = I_IMAGECALLBACK;
  item.lParam = reinterpret_cast<LPARAM>(source);
  item.stateMask = LVIS_SELECTED;
  item.state = source->FSelected ? LVIS_SELECTED : 0;
  const auto at = static_cast<int>(SendMessageW(Handle(), LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
  for (int column = 1; column < ColumnCount(); ++column) AskForSubItem(at, column);
}

// The window asks for sub-item texts only where they are marked as asked for.
void TCustomListView::AskForSubItem(int Item, int Column) {
  LVITEMW sub{};
  sub.iSubItem = Column;
  sub.pszText = LPSTR_TEXTCALLBACKW;
  SendMessageW(Handle(), LVM_SETITEMTEXTW, static_cast<WPARAM>(Item), reinterpret_cast<LPARAM>(&sub));
}

void TCustomListView::RefreshItem(const TListItem* Item) {
  // OnData fills the owner data item while the window asks for it.
  if (!HandleAllocated() || Item == FDataItem.get()) return;
  const int index = IndexOf(Item);
  if (index >= 0) SendMessageW(Handle(), LVM_REDRAWITEMS, static_cast<WPARAM>(index), index);
}

WideString TCustomListView::ItemText(const TListItem* Item, int Column) const {
  if (Column == 0) return Item->FCaption;
  const auto sub = static_cast<size_t>(Column - 1);
  return sub < Item->FSubItems.size() ? Item->FSubItems[sub] : WideString();
}

void TCustomListView::ColumnResized(TListColumn* Column) {
  if (OnColumnResize) OnColumnResize(this, Column);
}

void TCustomListView::HeaderNotify(TMessage& Message) {
  TWinControl::DispatchDefault(Message);
  switch (reinterpret_cast<const NMHDR*>(Message.LParam)->code) {
    case HDN_ENDTRACKW:
    case HDN_DIVIDERDBLCLICKW:
    case HDN_ITEMCHANGEDW:
      // Whichever of them tells first: each column whose width changed is resized once.
      for (const auto& column : FColumns) {
        const int width =
            static_cast<int>(SendMessageW(Handle(), LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(column->FIndex), 0));
        if (width == column->FWidth) continue;
        column->FWidth = width;
        ColumnResized(column.get());
      }
      return;
    default:
      return;
  }
}

void TCustomListView::ItemNotify(TMessage& Message) {
  const auto* header = reinterpret_cast<const NMHDR*>(Message.LParam);
  switch (header->code) {
    case LVN_GETDISPINFOW: {
      auto* info = reinterpret_cast<NMLVDISPINFOW*>(Message.LParam);
      // Our own item: the window holds only items of this list, each removed before it is freed.
      TListItem* item = reinterpret_cast<TListItem*>(info->item.lParam);
      if (FOwnerData) {
        if (info->item.iItem < 0 || info->item.iItem >= FDataCount) return;
        item = Items(info->item.iItem);
      }
      if (!item) return;
      if (info->item.mask & LVIF_TEXT) {
        CopyToBuffer(ItemText(item, info->item.iSubItem), info->item.pszText, info->item.cchTextMax);
      }
      if (info->item.mask & LVIF_IMAGE) info->item.iImage = item->FImageIndex;
      return;
    }
    case LVN_BEGINLABELEDITW: {
      auto* item = reinterpret_cast<TListItem*>(reinterpret_cast<const NMLVDISPINFOW*>(Message.LParam)->item.lParam);
      bool allow = !FReadOnly && item;
      if (allow && OnEditing) OnEditing(this, item, allow);
      FEditing = allow;
      Message.Result = allow ? FALSE : TRUE;
      return;
    }
    case LVN_ENDLABELEDITW: {
      const auto* info = reinterpret_cast<const NMLVDISPINFOW*>(Message.LParam);
      auto* item = reinterpret_cast<TListItem*>(info->item.lParam);
      // As in the tree view: only the first end of one editing counts, and
      // the item keeps its caption itself (Result stays FALSE).
      if (!FEditing) return;
      FEditing = false;
      if (!item || !info->item.pszText) return;
      WideString text(reinterpret_cast<const char16_t*>(info->item.pszText));
      if (OnEdited) OnEdited(this, item, text);
      item->SetCaption(text);
      return;
    }
    case LVN_ODFINDITEMW: {
      const auto* find = reinterpret_cast<const NMLVFINDITEMW*>(Message.LParam);
      int index = -1;
      if (OnDataFind && (find->lvfi.flags & (LVFI_STRING | LVFI_PARTIAL)) && find->lvfi.psz) {
        OnDataFind(this, WideString(reinterpret_cast<const char16_t*>(find->lvfi.psz)),
                   (find->lvfi.flags & LVFI_PARTIAL) != 0, find->iStart, index);
      }
      Message.Result = index;
      return;
    }
    case LVN_ITEMCHANGED: {
      const auto* change = reinterpret_cast<const NMLISTVIEW*>(Message.LParam);
      if (FOwnerData || !(change->uChanged & LVIF_STATE) || change->iItem < 0 || change->iItem >= ItemCount()) return;
      Items(change->iItem)->FSelected = (change->uNewState & LVIS_SELECTED) != 0;
      return;
    }
    default:
      TWinControl::DispatchDefault(Message);
      return;
  }
}

void TCustomListView::DispatchDefault(TMessage& Message) {
  if (Message.Msg == CN_NOTIFY) {
    ItemNotify(Message);
    return;
  }
  if (Message.Msg == WM_NOTIFY && Message.LParam &&
      reinterpret_cast<const NMHDR*>(Message.LParam)->hwndFrom ==
          reinterpret_cast<HWND>(SendMessageW(Handle(), LVM_GETHEADER, 0, 0))) {
    HeaderNotify(Message);
    return;
  }
  TWinControl::DispatchDefault(Message);
}

// ---- TTreeNode ----------------------------------------------------------------

void TTreeNode::SetText(const WideString& Value) {
  if (FText == Value) return;
  FText = Value;
  if (!FItemId) return;
  TVITEMW item{};
  item.mask = TVIF_TEXT;
  item.hItem = FItemId;
  item.pszText = LPSTR_TEXTCALLBACKW;
  SendMessageW(FOwner->FOwner->Handle(), TVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&item));
}

int TTreeNode::Index() const {
  const auto& siblings = FOwner->Siblings(FParent);
  for (size_t i = 0; i < siblings.size(); ++i) {
    if (siblings[i].get() == this) return static_cast<int>(i);
  }
  return -1;
}

int TTreeNode::Level() const {
  int level = 0;
  for (const TTreeNode* n = FParent; n; n = n->FParent) ++level;
  return level;
}

bool TTreeNode::Expanded() const {
  if (!FItemId) return FExpanded;
  const auto state =
      SendMessageW(FOwner->FOwner->Handle(), TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(FItemId), TVIS_EXPANDED);
  return (state & TVIS_EXPANDED) != 0;
}

void TTreeNode::Expand() {
  FExpanded = true;
  if (FItemId) SendMessageW(FOwner->FOwner->Handle(), TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(FItemId));
}

void TTreeNode::EditText() {
  if (FItemId) SendMessageW(FOwner->FOwner->Handle(), TVM_EDITLABELW, 0, reinterpret_cast<LPARAM>(FItemId));
}

// ---- TTreeNodes ---------------------------------------------------------------

TTreeNodes::~TTreeNodes() = default;

std::unique_ptr<TTreeNode> TTreeNodes::CreateNode(TTreeNode* Parent) {
  return std::make_unique<TTreeNode>(this, Parent);
}

TTreeNode* TTreeNodes::AddChild(TTreeNode* Parent, const WideString& Text) {
  return AddChildObject(Parent, Text, nullptr);
}

TTreeNode* TTreeNodes::AddChildObject(TTreeNode* Parent, const WideString& Text, void* Data) {
  auto& siblings = Siblings(Parent);
  siblings.push_back(CreateNode(Parent));
  TTreeNode* node = siblings.back().get();
  node->FText = Text;
  node->FData = Data;
  if (FOwner->HandleAllocated() && (!Parent || Parent->FItemId)) FOwner->InsertNodeWindow(node);
  return node;
}

void TTreeNodes::Delete(TTreeNode* Node) {
  if (!Node) return;
  for (TTreeNode* n = FOwner->FSelected; n; n = n->FParent) {
    if (n == Node) FOwner->FSelected = nullptr;
  }
  if (Node->FItemId) SendMessageW(FOwner->Handle(), TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(Node->FItemId));
  auto& siblings = Siblings(Node->FParent);
  siblings.erase(siblings.begin() + Node->Index());
}

void TTreeNodes::Clear() {
  FOwner->FSelected = nullptr;
  if (FOwner->HandleAllocated()) SendMessageW(FOwner->Handle(), TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(TVI_ROOT));
  FRoots.clear();
}

std::vector<TTreeNode*> TTreeNodes::AllNodes() const {
  std::vector<TTreeNode*> out;
  std::vector<TTreeNode*> pending;
  for (auto it = FRoots.rbegin(); it != FRoots.rend(); ++it) pending.push_back(it->get());
  while (!pending.empty()) {
    TTreeNode* node = pending.back();
    pending.pop_back();
    out.push_back(node);
    for (auto it = node->FChildren.rbegin(); it != node->FChildren.rend(); ++it) pending.push_back(it->get());
  }
  return out;
}

int TTreeNodes::Count() const { return static_cast<int>(AllNodes().size()); }

void TTreeNodes::BeginUpdate() {
  if (FUpdateCount++ == 0 && FOwner->HandleAllocated()) SendMessageW(FOwner->Handle(), WM_SETREDRAW, FALSE, 0);
}

void TTreeNodes::EndUpdate() {
  if (FUpdateCount == 0 || --FUpdateCount > 0 || !FOwner->HandleAllocated()) return;
  SendMessageW(FOwner->Handle(), WM_SETREDRAW, TRUE, 0);
  FOwner->Invalidate();
}

// ---- TCustomTreeView ----------------------------------------------------------

TCustomTreeView::TCustomTreeView(TComponent* AOwner) : TWinControl(AOwner) {
  SetControlStyle({csClickEvents, csDoubleClicks});
  SetTabStop(true);
  SetColor(clWindow);
  SetBounds(0, 0, 120, 120);
}

TCustomTreeView::~TCustomTreeView() { DestroyHandle(); }

TTreeNodes* TCustomTreeView::Items() {
  if (!FNodes) FNodes = CreateTreeNodes();
  return FNodes.get();
}

std::unique_ptr<TTreeNodes> TCustomTreeView::CreateTreeNodes() { return std::make_unique<TTreeNodes>(this); }

void TCustomTreeView::SetReadOnly(bool Value) {
  if (FReadOnly == Value) return;
  FReadOnly = Value;
  if (HandleAllocated()) SetEditLabelsStyle(Handle(), TVS_EDITLABELS, !Value);
}

TTreeNode* TCustomTreeView::Selected() const { return FSelected; }

void TCustomTreeView::SetSelected(TTreeNode* Node) {
  TTreeNode* previous = FSelected;
  FSelected = Node;
  if (HandleAllocated() &&
      !SendMessageW(Handle(), TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(Node ? Node->FItemId : nullptr))) {
    // OnChanging refused the move.
    FSelected = previous;
  }
}

HWND TCustomTreeView::EditHandle() const {
  if (!HandleAllocated()) return nullptr;
  return reinterpret_cast<HWND>(SendMessageW(const_cast<TCustomTreeView*>(this)->Handle(), TVM_GETEDITCONTROL, 0, 0));
}

int TCustomTreeView::CompareNodes(TTreeNode* Node1, TTreeNode* Node2) {
  int compare = 0;
  if (OnCompare) {
    OnCompare(this, Node1, Node2, 0, compare);
  } else {
    compare = lstrcmpW(WideCStr(Node1->FText), WideCStr(Node2->FText));
  }
  return compare;
}

namespace {

int CALLBACK CompareTreeItems(LPARAM Node1, LPARAM Node2, LPARAM Data) {
  // The window sorts in the same order as the nodes were sorted.
  auto* order = reinterpret_cast<std::vector<TTreeNode*>*>(Data);
  auto at = [&](LPARAM n) { return std::find(order->begin(), order->end(), reinterpret_cast<TTreeNode*>(n)); };
  return at(Node1) < at(Node2) ? -1 : at(Node1) > at(Node2) ? 1 : 0;
}

}  // namespace

void TCustomTreeView::AlphaSort() {
  TTreeNodes* nodes = Items();
  auto sortSiblings = [&](std::vector<std::unique_ptr<TTreeNode>>& Siblings, HTREEITEM Parent) {
    std::stable_sort(Siblings.begin(), Siblings.end(),
                     [&](const auto& a, const auto& b) { return CompareNodes(a.get(), b.get()) < 0; });
    if (!HandleAllocated() || !Parent) return;
    std::vector<TTreeNode*> order;
    for (const auto& n : Siblings) order.push_back(n.get());
    TVSORTCB sort{Parent, CompareTreeItems, reinterpret_cast<LPARAM>(&order)};
    SendMessageW(Handle(), TVM_SORTCHILDRENCB, 0, reinterpret_cast<LPARAM>(&sort));
  };
  sortSiblings(nodes->FRoots, TVI_ROOT);
  for (TTreeNode* node : nodes->AllNodes()) sortSiblings(node->FChildren, node->FItemId);
}

void TCustomTreeView::CreateParams(TCreateParams& Params) {
  TWinControl::CreateParams(Params);
  CreateSubClass(Params, u"SysTreeView32");
  Params.Style |= TVS_HASLINES | TVS_HASBUTTONS | TVS_LINESATROOT | TVS_SHOWSELALWAYS;
  if (!FReadOnly) Params.Style |= TVS_EDITLABELS;
  Params.ExStyle |= WS_EX_CLIENTEDGE;
}

void TCustomTreeView::CreateWnd() {
  TWinControl::CreateWnd();
  SendMessageW(Handle(), CCM_SETUNICODEFORMAT, TRUE, 0);
  TTreeNodes* nodes = Items();
  TTreeNode* selected = FSelected;
  for (const auto& root : nodes->FRoots) InsertNodeWindow(root.get());
  if (selected) SetSelected(selected);
}

void TCustomTreeView::DestroyWnd() {
  if (FNodes) {
    for (TTreeNode* node : FNodes->AllNodes()) {
      node->FExpanded = node->Expanded();
      node->FItemId = nullptr;
    }
  }
  TWinControl::DestroyWnd();
}

void TCustomTreeView::InsertNodeWindow(TTreeNode* Node) {
  TVINSERTSTRUCTW insert{};
  insert.hParent = Node->FParent ? Node->FParent->FItemId : TVI_ROOT;
  insert.hInsertAfter = TVI_LAST;
  insert.item.mask = TVIF_TEXT | TVIF_PARAM | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
  insert.item.pszText = LPSTR_TEXTCALLBACKW;
  insert.item.iImage = I_IMAGECALLBACK;
  insert.item.iSelectedImage = I_IMAGECALLBACK;
  insert.item.lParam = reinterpret_cast<LPARAM>(Node);
  Node->FItemId =
      reinterpret_cast<HTREEITEM>(SendMessageW(Handle(), TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&insert)));
  for (const auto& child : Node->FChildren) InsertNodeWindow(child.get());
  if (Node->FExpanded) Node->Expand();
}

bool TCustomTreeView::CanEdit(TTreeNode* Node) {
  bool allow = true;
  if (OnEditing) OnEditing(this, Node, allow);
  return allow;
}

void TCustomTreeView::Edit(TTreeNode* Node, WideString Text) {
  if (OnEdited) OnEdited(this, Node, Text);
  Node->SetText(Text);
}

void TCustomTreeView::Notify(TMessage& Message) {
  const auto* header = reinterpret_cast<const NMHDR*>(Message.LParam);
  switch (header->code) {
    case TVN_GETDISPINFOW: {
      auto* info = reinterpret_cast<NMTVDISPINFOW*>(Message.LParam);
      auto* node = reinterpret_cast<TTreeNode*>(info->item.lParam);
      if (!node) return;
      if (info->item.mask & TVIF_TEXT) CopyToBuffer(node->FText, info->item.pszText, info->item.cchTextMax);
      if (info->item.mask & TVIF_IMAGE) info->item.iImage = node->ImageIndex;
      if (info->item.mask & TVIF_SELECTEDIMAGE) info->item.iSelectedImage = node->SelectedIndex;
      return;
    }
    case TVN_SELCHANGINGW: {
      const auto* change = reinterpret_cast<const NMTREEVIEWW*>(Message.LParam);
      bool allow = true;
      if (OnChanging) OnChanging(this, reinterpret_cast<TTreeNode*>(change->itemNew.lParam), allow);
      Message.Result = allow ? FALSE : TRUE;
      return;
    }
    case TVN_SELCHANGEDW: {
      const auto* change = reinterpret_cast<const NMTREEVIEWW*>(Message.LParam);
      FSelected = reinterpret_cast<TTreeNode*>(change->itemNew.lParam);
      if (OnChange) OnChange(this, FSelected);
      return;
    }
    case TVN_BEGINLABELEDITW: {
      auto* node = reinterpret_cast<TTreeNode*>(reinterpret_cast<const NMTVDISPINFOW*>(Message.LParam)->item.lParam);
      FEditing = !FReadOnly && node && CanEdit(node);
      Message.Result = FEditing ? FALSE : TRUE;
      return;
    }
    case TVN_ENDLABELEDITW: {
      const auto* info = reinterpret_cast<const NMTVDISPINFOW*>(Message.LParam);
      auto* node = reinterpret_cast<TTreeNode*>(info->item.lParam);
      Message.Result = FALSE;
      // Taking the editor down ends the editing once more (the window's own
      // handling of the editor losing the focus): only the first end counts.
      if (!FEditing) return;
      FEditing = false;
      if (node && info->item.pszText) {
        Edit(node, WideString(reinterpret_cast<const char16_t*>(info->item.pszText)));
      } else if (node && OnCancelEdit) {
        OnCancelEdit(this, node);
      }
      // The node keeps its text itself (the window goes on asking for it): Result stays FALSE.
      return;
    }
    default:
      TWinControl::DispatchDefault(Message);
      return;
  }
}

void TCustomTreeView::DispatchDefault(TMessage& Message) {
  if (Message.Msg == CN_NOTIFY) {
    Notify(Message);
    return;
  }
  TWinControl::DispatchDefault(Message);
}
