// TKemCheckListBox: the states kept in step with the items, the check boxes
// drawn, and the toggles by mouse and Space.
#include "kem3/controls/kemchklb_win.h"

#include "platform/geometry_win.h"
#include "platform/setprop.h"

// ---- Items -------------------------------------------------------------------------

int TKemCheckListStrings::Add(const WideString& S) {
  const int i = TUcListBoxStrings::Add(S);
  FStates.Insert(i);
  return i;
}

int TKemCheckListStrings::AddObject(const WideString& S, TObject* AObject) {
  const int i = TUcListBoxStrings::AddObject(S, AObject);
  FStates.Insert(i);
  return i;
}

void TKemCheckListStrings::Insert(int Index, const WideString& S) {
  TUcListBoxStrings::Insert(Index, S);
  FStates.Insert(Index);
}

void TKemCheckListStrings::Delete(int Index) {
  TUcListBoxStrings::Delete(Index);
  FStates.Delete(Index);
}

void TKemCheckListStrings::Put(int Index, const WideString& S) {
  // Put deletes and inserts anew: the state stays with the place.
  const TCheckBoxState state = FStates.State(Index);
  const std::intptr_t data = FStates.ItemData(Index);
  TUcListBoxStrings::Put(Index, S);
  FStates.SetState(Index, state);
  FStates.SetItemData(Index, data);
}

void TKemCheckListStrings::Exchange(int Index1, int Index2) {
  if (Index1 == Index2) return;
  const TCheckBoxState state1 = FStates.State(Index1), state2 = FStates.State(Index2);
  const std::intptr_t data1 = FStates.ItemData(Index1), data2 = FStates.ItemData(Index2);
  TUcListBoxStrings::Exchange(Index1, Index2);
  FStates.SetState(Index1, state2);
  FStates.SetItemData(Index1, data2);
  FStates.SetState(Index2, state1);
  FStates.SetItemData(Index2, data1);
}

void TKemCheckListStrings::Move(int CurIndex, int NewIndex) {
  if (CurIndex == NewIndex) return;
  const TCheckBoxState state = FStates.State(CurIndex);
  const std::intptr_t data = FStates.ItemData(CurIndex);
  TUcListBoxStrings::Move(CurIndex, NewIndex);  // a delete and an insert
  FStates.SetState(NewIndex, state);
  FStates.SetItemData(NewIndex, data);
}

// ---- The list box -----------------------------------------------------------------

TKemCheckListBox::TKemCheckListBox(TComponent* AOwner)
    : TCustomListBox(AOwner), FItems(std::make_unique<TKemCheckListStrings>(*this, FStates)) {}

TKemCheckListBox::~TKemCheckListBox() = default;

int TKemCheckListBox::CheckWidth() {
  // The system's check box picture holds 4 x 3 boxes.
  static const int width = [] {
    HBITMAP boxes = LoadBitmapW(nullptr, MAKEINTRESOURCEW(32759));  // OBM_CHECKBOXES
    BITMAP info{};
    int w = 13;
    if (boxes && GetObjectW(boxes, sizeof(info), &info)) w = info.bmWidth / 4;
    if (boxes) DeleteObject(boxes);
    return w;
  }();
  return width + 2;
}

void TKemCheckListBox::Clear() {
  TCustomListBox::Clear();
  FStates.Clear();
}

void TKemCheckListBox::DeleteSelected() {
  for (int i = ItemCount() - 1; i >= 0; --i)
    if (Selected(i)) FItems->Delete(i);
}

void TKemCheckListBox::SetChecked(int Index, bool Value) {
  FStates.SetChecked(Index, Value);
  InvalidateCheck(Index);
}

void TKemCheckListBox::SetState(int Index, TCheckBoxState Value) {
  FStates.SetState(Index, Value);
  InvalidateCheck(Index);
}

void TKemCheckListBox::SetFlat(bool Value) { SetPainted(*this, FFlat, Value); }

void TKemCheckListBox::ToggleClickCheck(int Index) {
  if (!FStates.Toggle(Index, FAllowGrayed, FMultiCheck)) return;
  if (FMultiCheck)
    InvalidateCheck(Index);
  else
    Invalidate();
  if (OnClickCheck) OnClickCheck(this);
}

void TKemCheckListBox::InvalidateCheck(int Index) {
  if (!HandleAllocated()) return;
  RECT r{};
  if (SendMessageW(Handle(), LB_GETITEMRECT, static_cast<WPARAM>(Index), reinterpret_cast<LPARAM>(&r)) == LB_ERR)
    return;
  r.right = r.left + CheckWidth();
  ::InvalidateRect(Handle(), &r, FALSE);
}

void TKemCheckListBox::CreateParams(TCreateParams& Params) {
  TCustomListBox::CreateParams(Params);
  if (!(Params.Style & (LBS_OWNERDRAWFIXED | LBS_OWNERDRAWVARIABLE))) Params.Style |= LBS_OWNERDRAWFIXED;
}

void TKemCheckListBox::CreateWnd() {
  TCustomListBox::CreateWnd();
  SetStandardItemHeight();
}

void TKemCheckListBox::FontChanged() {
  TCustomListBox::FontChanged();
  SetStandardItemHeight();
}

void TKemCheckListBox::SetStandardItemHeight() {
  if (Style() != lbStandard || !HandleAllocated()) return;
  TBitmap measure;
  measure.SetSize(1, 1);
  measure.Canvas()->SetFont(*Font());
  SendMessageW(Handle(), LB_SETITEMHEIGHT, 0, MAKELPARAM(measure.Canvas()->TextHeight(u"Wg") + 4, 0));
}

void TKemCheckListBox::DrawCheck(const TRect& Box, TCheckBoxState State) {
  TCanvas* c = Canvas();
  HDC dc = c->Handle();
  UINT flags = DFCS_BUTTONCHECK;
  if (State == cbChecked) flags |= DFCS_CHECKED;
  if (State == cbGrayed) flags |= DFCS_CHECKED | DFCS_INACTIVE;
  RECT r = ToRECT(Box);
  if (!FFlat) {
    DrawFrameControl(dc, &r, DFC_BUTTON, flags);
    return;
  }
  // Flat: the box without its sunken edge, outlined one pixel in.
  const int saved = SaveDC(dc);
  IntersectClipRect(dc, Box.Left + 2, Box.Top + 2, Box.Right - 2, Box.Bottom - 2);
  DrawFrameControl(dc, &r, DFC_BUTTON, flags);
  RestoreDC(dc, saved);
  c->Brush()->SetColor(clBtnShadow);
  c->FrameRect(Rect(Box.Left + 1, Box.Top + 1, Box.Right - 1, Box.Bottom - 1));
}

void TKemCheckListBox::DrawItem(int Index, const TRect& Rect, TOwnerDrawState State) {
  TCanvas* c = Canvas();
  const int check = CheckWidth();
  TRect box = ::Rect(Rect.Left, Rect.Top, Rect.Left + check, Rect.Bottom);
  TRect text = ::Rect(Rect.Left + check, Rect.Top, Rect.Right, Rect.Bottom);
  // The check area keeps the list's colour whatever the item's state.
  const TColor brush = c->Brush()->Color();
  c->Brush()->SetColor(Color());
  c->FillRect(box);
  const int size = check - 2;
  const TRect square = ::Rect(box.Left + 1, box.Top + (box.Height() - size) / 2, box.Left + 1 + size,
                              box.Top + (box.Height() - size) / 2 + size);
  DrawCheck(square, Index < FStates.Count() ? FStates.State(Index) : cbUnchecked);
  c->Brush()->SetColor(brush);
  if (OnDrawItem) {
    OnDrawItem(this, Index, text, State);
    return;
  }
  c->FillRect(text);
  if (Index >= ItemCount()) return;
  HDC dc = c->Handle();
  SetBkMode(dc, TRANSPARENT);
  const int th = c->TextHeight(u"Wg");
  LibTabbedTextOut(dc, text.Left + 4, text.Top + (text.Height() - th) / 2, FItems->Get(Index), 0, nullptr, 0);
}

void TKemCheckListBox::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TCustomListBox::MouseDown(Button, Shift, X, Y);
  if (Button != mbLeft || X >= CheckWidth()) return;
  const int index = ItemAtPos({X, Y}, true);
  if (index >= 0) ToggleClickCheck(index);
}

void TKemCheckListBox::KeyPress(WideChar& Key) {
  TCustomListBox::KeyPress(Key);
  if (Key == u' ') ToggleClickCheck(ItemIndex());
}
