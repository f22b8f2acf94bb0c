// The layer's combo box, list box and their wide item lists.
#include "kem3/unicode/ucstdctrls_win.h"
#include "platform/updatescope.h"

#include <algorithm>

// ---- Item lists ------------------------------------------------------------------

WideString TUcListControlStrings::Get(int Index) const { return FControl.ItemText(Index); }

void TUcListControlStrings::SetUpdateState(bool Updating) {
  if (!FControl.HandleAllocated()) return;
  SendMessageW(FControl.Handle(), WM_SETREDRAW, Updating ? FALSE : TRUE, 0);
  if (!Updating) FControl.Invalidate();
}

WideString TUcComboBoxStrings::Get(int Index) const {
  if (Index < 0 || Index >= GetCount()) return {};
  return FControl.ItemText(Index);
}

void TUcComboBoxStrings::Clear() {
  const WideString text = FControl.Text();
  FControl.Clear();
  FControl.SetText(text);
}

void TUcListBoxStrings::Put(int Index, const WideString& S) {
  const int selected = FControl.ItemIndex();
  TObject* data = GetObject(Index);
  PutObject(Index, nullptr);
  Delete(Index);
  InsertObject(Index, S, data);
  FControl.SetItemIndex(selected);
}

void TUcListBoxStrings::Exchange(int Index1, int Index2) {
  if (Index1 == Index2) return;
  TUpdateScope<TWideStrings> scope(*this);
  const int selected = FControl.ItemIndex();
  const bool multi = ListBox().MultiSelect();
  const bool sel1 = multi && ListBox().Selected(Index1);
  const bool sel2 = multi && ListBox().Selected(Index2);
  const WideString text1 = Get(Index1);
  TObject* data1 = GetObject(Index1);
  const WideString text2 = Get(Index2);
  TObject* data2 = GetObject(Index2);
  Put(Index1, text2);
  PutObject(Index1, data2);
  Put(Index2, text1);
  PutObject(Index2, data1);
  if (multi) {
    ListBox().SetSelected(Index1, sel2);
    ListBox().SetSelected(Index2, sel1);
  } else if (selected == Index1) {
    FControl.SetItemIndex(Index2);
  } else if (selected == Index2) {
    FControl.SetItemIndex(Index1);
  }
}

void TUcListBoxStrings::Move(int CurIndex, int NewIndex) {
  if (CurIndex == NewIndex) return;
  TUpdateScope<TWideStrings> scope(*this);
  const WideString text = Get(CurIndex);
  TObject* data = GetObject(CurIndex);
  PutObject(CurIndex, nullptr);
  Delete(CurIndex);
  InsertObject(NewIndex, text, data);
}

// ---- Combo box -------------------------------------------------------------------

TUcCustomComboBox::TUcCustomComboBox(TComponent* AOwner)
    : TCustomComboBox(AOwner), FItems(std::make_unique<TUcComboBoxStrings>(*this)) {}

TUcCustomComboBox::~TUcCustomComboBox() = default;

TComboItemLookup TUcCustomComboBox::Lookup() {
  // Our own search: the system's compares only Latin letters without regard to case.
  return {[this](const WideString& Prefix, int Start) {
            const int count = ItemCount();
            for (int i = std::max(Start + 1, 0); i < count; ++i) {
              if (StartsWithItemText(ItemText(i), Prefix)) return i;
            }
            return -1;
          },
          [this](int Index) { return ItemText(Index); }};
}

void TUcCustomComboBox::SelectCompleted(int Index, bool TextChanged) {
  const bool itemChanged = ItemIndex() != Index;
  if (itemChanged) Send(CB_SETCURSEL, static_cast<WPARAM>(Index));
  if (Style() == csSimple ? TextChanged : itemChanged) {
    Click();
    DoSelect();
  }
}

bool TUcCustomComboBox::AutoCompleteChar(WideChar Key) {
  FAutoComplete.AutoDropDown = AutoDropDown;
  FAutoComplete.AutoCloseUp = AutoCloseUp;
  const TComboEditState before{Text(), SelStart(), SelLength()};
  const TComboKeyResult r = FAutoComplete.EditKey(Key, before, DroppedDown(), Lookup());
  if (r.DropDown) {
    // Opening the list selects what matches the text: text and selection stay as they were.
    SetDroppedDown(true);
    SetText(before.Text);
    Select(before.SelStart, before.SelLength);
  }
  if (r.Handled) {
    SelectCompleted(r.ItemIndex, r.Edit.Text != before.Text);
    SetText(r.Edit.Text);
    Select(r.Edit.SelStart, r.Edit.SelLength);
    if (r.Edit.Text != before.Text) Change();
  }
  if (r.CloseUp) SetDroppedDown(false);
  return r.Handled;
}

bool TUcCustomComboBox::EditKeyPress(WideChar Key) { return AutoComplete && AutoCompleteChar(Key); }

bool TUcCustomComboBox::ListAutoComplete(WideChar Key) {
  FAutoComplete.AutoDropDown = AutoDropDown;
  const TComboKeyResult r = FAutoComplete.ListKey(Key, DroppedDown(), Lookup());
  if (r.DropDown) SetDroppedDown(true);
  if (r.Handled && r.ItemIndex != ItemIndex()) {
    Send(CB_SETCURSEL, static_cast<WPARAM>(r.ItemIndex));
    Click();
    DoSelect();
    Change();
  }
  if (r.CloseUp) SetDroppedDown(false);
  return r.Handled;
}

void TUcCustomComboBox::DispatchDefault(TMessage& Message) {
  if (Message.Msg == WM_CHAR && !HasEditPart() && AutoComplete &&
      ListAutoComplete(static_cast<WideChar>(Message.WParam))) {
    Message.Result = 0;
    return;
  }
  TCustomComboBox::DispatchDefault(Message);
}

// ---- List box --------------------------------------------------------------------

TUcCustomListBox::TUcCustomListBox(TComponent* AOwner)
    : TCustomListBox(AOwner), FItems(std::make_unique<TUcListBoxStrings>(*this)) {}

TUcCustomListBox::~TUcCustomListBox() = default;

void TUcCustomListBox::AddWideItem(const WideString& Item, TObject* AObject) {
  FItems->AddObject(Item.substr(0, Item.find(u'\0')), AObject);
}
