// TCustomListControl: the items in the window, owner drawing, the state kept
// across re-creation; TCustomListBox.
#include <algorithm>

#include "platform/format.h"
#include "platform/geometry_win.h"
#include "platform/stdctrls_win.h"

namespace {

const TListMessages kListBoxMessages{LB_GETTEXTLEN,   LB_GETTEXT,   LB_ADDSTRING,   LB_INSERTSTRING, LB_DELETESTRING,
                                     LB_RESETCONTENT, LB_GETCOUNT,  LB_GETITEMDATA, LB_SETITEMDATA,  LB_FINDSTRINGEXACT,
                                     LB_FINDSTRING,   LB_GETCURSEL, LB_SETCURSEL};

LPARAM TextParam(const WideString& S) { return reinterpret_cast<LPARAM>(WideCStr(S)); }

}  // namespace

// ---- TCustomListControl --------------------------------------------------------

TCustomListControl::TCustomListControl(TComponent* AOwner, const TListMessages& Messages)
    : TWinControl(AOwner), FMessages(Messages), FCanvas(std::make_unique<TCanvas>()) {
  // The system's list captures the mouse itself.
  SetControlStyle(ControlStyle() - csCaptureMouse);
  SetTabStop(true);
  SetColor(clWindow);
}

TCustomListControl::~TCustomListControl() = default;

void TCustomListControl::InsertError() { throw EOutOfResources("Unable to insert a line"); }

int TCustomListControl::ItemCount() {
  if (!HandleAllocated() && FSaved) return SavedItemCount();
  return static_cast<int>(std::max<LRESULT>(Send(FMessages.GetCount), 0));
}

WideString TCustomListControl::ItemText(int Index) {
  const LRESULT length = Send(FMessages.GetTextLen, static_cast<WPARAM>(Index));
  if (length < 0) throw EStringListError(Format("List index out of bounds (%d)", {Index}));
  WideString text(static_cast<size_t>(length) + 1, u'\0');
  const LRESULT got = Send(FMessages.GetText, static_cast<WPARAM>(Index), reinterpret_cast<LPARAM>(text.data()));
  text.resize(static_cast<size_t>(std::clamp<LRESULT>(got, 0, length)));
  return text;
}

int TCustomListControl::AddItemText(const WideString& S, TObject* AObject) {
  const LRESULT index = Send(FMessages.AddString, 0, TextParam(S));
  if (index < 0) InsertError();
  if (AObject) SetItemObject(static_cast<int>(index), AObject);
  return static_cast<int>(index);
}

void TCustomListControl::InsertItemText(int Index, const WideString& S, TObject* AObject) {
  const LRESULT index = Send(FMessages.InsertString, static_cast<WPARAM>(Index), TextParam(S));
  if (index < 0) InsertError();
  if (AObject) SetItemObject(static_cast<int>(index), AObject);
}

void TCustomListControl::DeleteItem(int Index) { Send(FMessages.DeleteString, static_cast<WPARAM>(Index)); }

TObject* TCustomListControl::ItemObject(int Index) {
  const LRESULT data = Send(FMessages.GetItemData, static_cast<WPARAM>(Index));
  return data == -1 ? nullptr : reinterpret_cast<TObject*>(data);
}

void TCustomListControl::SetItemObject(int Index, TObject* AObject) {
  Send(FMessages.SetItemData, static_cast<WPARAM>(Index), reinterpret_cast<LPARAM>(AObject));
}

int TCustomListControl::FindItemExact(const WideString& S, int Start) {
  return static_cast<int>(Send(FMessages.FindStringExact, static_cast<WPARAM>(Start), TextParam(S)));
}

int TCustomListControl::FindItemPrefix(const WideString& S, int Start) {
  return static_cast<int>(Send(FMessages.FindString, static_cast<WPARAM>(Start), TextParam(S)));
}

int TCustomListControl::ItemIndex() {
  if (!HandleAllocated() && FSaved) return FSavedIndex;
  return static_cast<int>(Send(FMessages.GetCurSel));
}

void TCustomListControl::SetItemIndex(int Value) {
  if (ItemIndex() != Value) Send(FMessages.SetCurSel, static_cast<WPARAM>(Value));
}

void TCustomListControl::Clear() { Send(FMessages.ResetContent); }

void TCustomListControl::DeleteSelected() {
  const int index = ItemIndex();
  if (index >= 0) DeleteItem(index);
}

void TCustomListControl::SaveWindowState() {
  const int count = ItemCount();
  FSavedItems.clear();
  FSavedItems.reserve(static_cast<size_t>(count));
  for (int i = 0; i < count; ++i) FSavedItems.emplace_back(ItemText(i), ItemObject(i));
  FSavedIndex = ItemIndex();
}

void TCustomListControl::RestoreWindowState() {
  for (const auto& [text, object] : FSavedItems) AddItemText(text, object);
  FSavedItems.clear();
  SetItemIndex(std::min(FSavedIndex, ItemCount() - 1));
}

void TCustomListControl::DestroyWnd() {
  if (HandleAllocated() && !ComponentState().Contains(csDestroying)) {
    SaveWindowState();
    FSaved = true;
  }
  TWinControl::DestroyWnd();
}

void TCustomListControl::CreateWnd() {
  TWinControl::CreateWnd();
  if (!FSaved) return;
  // Cleared first: the restoring calls read the window, not the saved state.
  FSaved = false;
  RestoreWindowState();
}

void TCustomListControl::DispatchDefault(TMessage& Message) {
  switch (Message.Msg) {
    case CN_DRAWITEM:
      DoDrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(Message.LParam));
      Message.Result = 1;
      return;
    case CN_MEASUREITEM: {
      auto* item = reinterpret_cast<MEASUREITEMSTRUCT*>(Message.LParam);
      int height = static_cast<int>(item->itemHeight);
      MeasureItem(static_cast<int>(item->itemID), height);
      item->itemHeight = static_cast<UINT>(std::max(height, 1));
      Message.Result = 1;
      return;
    }
    default:
      TWinControl::DispatchDefault(Message);
      return;
  }
}

void TCustomListControl::DoDrawItem(const DRAWITEMSTRUCT& Item) {
  const TOwnerDrawState state = OwnerDrawStateOf(Item.itemState);
  const TRect rect = FromRECT(Item.rcItem);
  FCanvas->SetHandle(Item.hDC);
  struct TGiveBack {
    TCanvas& canvas;
    ~TGiveBack() { canvas.SetHandle(nullptr); }
  } giveBack{*FCanvas};
  FCanvas->SetFont(*Font());
  if (state.Contains(odSelected)) {
    FCanvas->Brush()->SetColor(clHighlight);
    FCanvas->Font()->SetColor(clHighlightText);
  } else {
    FCanvas->Brush()->SetColor(Color());
  }
  if (static_cast<int>(Item.itemID) >= 0) {
    DrawItem(static_cast<int>(Item.itemID), rect, state);
  } else {
    FCanvas->FillRect(rect);
  }
  if (state.Contains(odFocused)) {
    RECT r = Item.rcItem;
    DrawFocusRect(Item.hDC, &r);
  }
}

void TCustomListControl::DrawItem(int Index, const TRect& Rect, TOwnerDrawState State) {
  if (OnDrawItem) {
    OnDrawItem(this, Index, Rect, State);
  } else {
    DefaultDrawItem(Index, Rect, State);
  }
}

void TCustomListControl::MeasureItem(int Index, int& Height) {
  if (OnMeasureItem) OnMeasureItem(this, Index, Height);
}

// ---- TCustomListBox --------------------------------------------------------------

TCustomListBox::TCustomListBox(TComponent* AOwner) : TCustomListControl(AOwner, kListBoxMessages) {
  SetBounds(0, 0, 121, 97);
}

void TCustomListBox::CreateParams(TCreateParams& Params) {
  TCustomListControl::CreateParams(Params);
  CreateSubClass(Params, u"LISTBOX");
  Params.Style |= WS_VSCROLL | WS_HSCROLL | LBS_NOTIFY | LBS_USETABSTOPS;
  switch (FStyle) {
    case lbStandard:
      Params.Style |= LBS_HASSTRINGS;
      break;
    case lbOwnerDrawFixed:
      Params.Style |= LBS_OWNERDRAWFIXED | LBS_HASSTRINGS;
      break;
    case lbOwnerDrawVariable:
      Params.Style |= LBS_OWNERDRAWVARIABLE | LBS_HASSTRINGS;
      break;
    case lbVirtual:
    case lbVirtualOwnerDraw:
      Params.Style |= LBS_NODATA | LBS_OWNERDRAWFIXED;
      break;
  }
  if (FSorted && !IsVirtual()) Params.Style |= LBS_SORT;
  if (FMultiSelect) Params.Style |= FExtendedSelect ? LBS_EXTENDEDSEL : LBS_MULTIPLESEL;
  if (!FIntegralHeight) Params.Style |= LBS_NOINTEGRALHEIGHT;
  if (FBorderStyle == lbsSingle) Params.ExStyle |= WS_EX_CLIENTEDGE;
}

void TCustomListBox::SetStyle(TListBoxStyle Value) {
  if (FStyle == Value) return;
  FStyle = Value;
  RecreateWnd();
}

void TCustomListBox::SetMultiSelect(bool Value) {
  if (FMultiSelect == Value) return;
  FMultiSelect = Value;
  RecreateWnd();
}

void TCustomListBox::SetExtendedSelect(bool Value) {
  if (FExtendedSelect == Value) return;
  FExtendedSelect = Value;
  RecreateWnd();
}

void TCustomListBox::SetSorted(bool Value) {
  if (FSorted == Value) return;
  FSorted = Value;
  RecreateWnd();
}

void TCustomListBox::SetBorderStyle(TListBorderStyle Value) {
  if (FBorderStyle == Value) return;
  FBorderStyle = Value;
  RecreateWnd();
}

void TCustomListBox::SetIntegralHeight(bool Value) {
  if (FIntegralHeight == Value) return;
  FIntegralHeight = Value;
  RecreateWnd();
}

int TCustomListBox::ItemHeight() {
  if (HandleAllocated()) return static_cast<int>(Send(LB_GETITEMHEIGHT));
  return FItemHeight;
}

void TCustomListBox::SetItemHeight(int Value) {
  if (Value <= 0 || FItemHeight == Value) return;
  FItemHeight = Value;
  if (HandleAllocated()) Send(LB_SETITEMHEIGHT, 0, MAKELPARAM(Value, 0));
}

void TCustomListBox::SetCount(int Value) {
  if (IsVirtual()) Send(LB_SETCOUNT, static_cast<WPARAM>(std::max(Value, 0)));
}

int TCustomListBox::TopIndex() {
  if (!HandleAllocated() && HasSavedState()) return FSavedTop;
  return static_cast<int>(Send(LB_GETTOPINDEX));
}

void TCustomListBox::SetTopIndex(int Value) {
  if (TopIndex() != Value) Send(LB_SETTOPINDEX, static_cast<WPARAM>(Value));
}

bool TCustomListBox::Selected(int Index) {
  const LRESULT r = Send(LB_GETSEL, static_cast<WPARAM>(Index));
  if (r < 0) throw EStringListError(Format("List index out of bounds (%d)", {Index}));
  return r != 0;
}

void TCustomListBox::SetSelected(int Index, bool Value) {
  if (FMultiSelect) {
    Send(LB_SETSEL, Value ? TRUE : FALSE, Index);
  } else if (Value) {
    SetItemIndex(Index);
  } else if (ItemIndex() == Index) {
    SetItemIndex(-1);
  }
}

int TCustomListBox::SelCount() {
  if (!FMultiSelect) return ItemIndex() >= 0 ? 1 : 0;
  return static_cast<int>(Send(LB_GETSELCOUNT));
}

int TCustomListBox::ItemAtPos(const TPoint& Pos, bool Existing) {
  const LRESULT r = Send(LB_ITEMFROMPOINT, 0, MAKELPARAM(Pos.X, Pos.Y));
  const int index = LOWORD(r);
  if (HIWORD(r) != 0) return Existing ? -1 : index;
  return index;
}

int TCustomListBox::ItemIndex() {
  if (FMultiSelect && HandleAllocated()) return static_cast<int>(Send(LB_GETCARETINDEX));
  return TCustomListControl::ItemIndex();
}

void TCustomListBox::SetItemIndex(int Value) {
  if (!FMultiSelect) {
    TCustomListControl::SetItemIndex(Value);
    return;
  }
  Send(LB_SETSEL, FALSE, -1);
  if (Value >= 0) Send(LB_SETSEL, TRUE, Value);
  Send(LB_SETCARETINDEX, static_cast<WPARAM>(Value), FALSE);
}

void TCustomListBox::CopySelection(TCustomListControl* Destination) {
  if (!Destination) return;
  const int count = ItemCount();
  for (int i = 0; i < count; ++i) {
    if (FMultiSelect ? Selected(i) : i == ItemIndex()) Destination->AddItem(ItemText(i), ItemObject(i));
  }
}

void TCustomListBox::DeleteSelected() {
  if (!FMultiSelect) {
    TCustomListControl::DeleteSelected();
    return;
  }
  for (int i = ItemCount() - 1; i >= 0; --i) {
    if (Selected(i)) DeleteItem(i);
  }
}

void TCustomListBox::SaveWindowState() {
  FSavedTop = TopIndex();
  if (!IsVirtual()) {
    TCustomListControl::SaveWindowState();
    return;
  }
  // The texts come from OnData: only the number of items is the window's.
  FSavedCount = ItemCount();
  FSavedItems.clear();
  FSavedIndex = ItemIndex();
}

void TCustomListBox::RestoreWindowState() {
  if (IsVirtual()) SetCount(FSavedCount);
  TCustomListControl::RestoreWindowState();
  SetTopIndex(FSavedTop);
}

int TCustomListBox::SavedItemCount() const { return IsVirtual() ? FSavedCount : TCustomListControl::SavedItemCount(); }

bool TCustomListBox::GetItemData(int Index, WideString& Data) {
  if (!OnData) return false;
  OnData(this, Index, Data);
  return true;
}

void TCustomListBox::VirtualText(TMessage& Message) {
  const int index = static_cast<int>(Message.WParam);
  WideString text;
  if (index < 0 || index >= ItemCount() || !GetItemData(index, text)) {
    Message.Result = LB_ERR;
    return;
  }
  if (Message.Msg == LB_GETTEXT && Message.LParam) {
    auto* out = reinterpret_cast<WideChar*>(Message.LParam);
    std::copy(text.begin(), text.end(), out);
    out[text.size()] = 0;
  }
  Message.Result = static_cast<LRESULT>(text.size());
}

void TCustomListBox::DispatchDefault(TMessage& Message) {
  switch (Message.Msg) {
    case LB_GETTEXT:
    case LB_GETTEXTLEN:
      if (IsVirtual()) {
        VirtualText(Message);
        return;
      }
      break;
    case CN_COMMAND:
      if (HIWORD(Message.WParam) == LBN_SELCHANGE) Click();
      if (HIWORD(Message.WParam) == LBN_DBLCLK) DblClick();
      Message.Result = 0;
      return;
    default:
      break;
  }
  TCustomListControl::DispatchDefault(Message);
}

void TCustomListBox::DefaultDrawItem(int Index, const TRect& Rect, TOwnerDrawState /*State*/) {
  TCanvas* canvas = Canvas();
  canvas->FillRect(Rect);
  if (Index >= ItemCount()) return;
  WideString text;
  if (IsVirtual()) {
    if (!GetItemData(Index, text)) return;
  } else {
    text = ItemText(Index);
  }
  RECT r = ToRECT(Rect);
  r.left += 2;
  SetBkMode(canvas->Handle(), TRANSPARENT);
  DrawTextW(canvas->Handle(), WideCStr(text), static_cast<int>(text.size()), &r,
            DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
}
