// The layer's combo box, list box and label: wide Items that talk to the
// window, the combo box's auto-complete, the list box's item moves that keep
// data and selection. The class layer's controls below hold everything else
// (the items live in the window; re-creation keeps them).
#pragma once
#include <memory>

#include "kem3/unicode/ucaccel.h"
#include "kem3/unicode/uccombo_complete.h"
#include "kem3/unicode/ucwidestrings.h"
#include "platform/stdctrls_win.h"

// A list control that takes wide items with their objects (what CopySelection adds to).
class IWideCustomListControl {
 public:
  virtual ~IWideCustomListControl() = default;
  virtual void AddWideItem(const WideString& Item, TObject* AObject) = 0;
};

// The wide items of a combo box or list box: every operation goes to the window.
class TUcListControlStrings : public TUcStrings {
 public:
  explicit TUcListControlStrings(TCustomListControl& Control) : FControl(Control) {}
  WideString Get(int Index) const override;
  int GetCount() const override { return FControl.ItemCount(); }
  TObject* GetObject(int Index) const override { return FControl.ItemObject(Index); }
  void PutObject(int Index, TObject* AObject) override { FControl.SetItemObject(Index, AObject); }
  int Add(const WideString& S) override { return FControl.AddItemText(S); }
  int AddObject(const WideString& S, TObject* AObject) override { return FControl.AddItemText(S, AObject); }
  void Insert(int Index, const WideString& S) override { FControl.InsertItemText(Index, S); }
  void Delete(int Index) override { FControl.DeleteItem(Index); }
  void Clear() override { FControl.Clear(); }
  int IndexOf(const WideString& S) const override { return FControl.FindItemExact(S); }

 protected:
  void SetUpdateState(bool Updating) override;
  TCustomListControl& FControl;
};

class TUcComboBoxStrings : public TUcListControlStrings {
 public:
  using TUcListControlStrings::TUcListControlStrings;
  // Outside the items: an empty text.
  WideString Get(int Index) const override;
  // Keeps the combo box's text.
  void Clear() override;
};

class TUcListBoxStrings : public TUcListControlStrings {
 public:
  using TUcListControlStrings::TUcListControlStrings;
  // Keeps the item's object and the item index.
  void Put(int Index, const WideString& S) override;
  // Texts and objects change places; the selection follows its item.
  void Exchange(int Index1, int Index2) override;
  void Move(int CurIndex, int NewIndex) override;

 private:
  TCustomListBox& ListBox() const { return static_cast<TCustomListBox&>(FControl); }
};

class TUcCustomComboBox : public TCustomComboBox, public IWideCustomListControl {
 public:
  explicit TUcCustomComboBox(TComponent* AOwner);
  ~TUcCustomComboBox() override;

  TUcStrings* Items() const { return FItems.get(); }
  virtual void SetItems(const TWideStrings& Value) { FItems->Assign(Value); }
  void AddWideItem(const WideString& Item, TObject* AObject) override { FItems->AddObject(Item, AObject); }
  void AddItem(const WideString& Item, TObject* AObject) override { AddWideItem(Item, AObject); }

  // A typed text equal to an item closes the drop-down.
  bool AutoCloseUp = false;

 protected:
  // Auto-complete of a character typed into the edit part (simple, drop-down):
  // true when it completed the text to an item.
  virtual bool AutoCompleteChar(WideChar Key);
  bool EditKeyPress(WideChar Key) override;
  // The drop-down-list styles complete on the combo box's own WM_CHAR.
  void DispatchDefault(TMessage& Message) override;

 private:
  TComboItemLookup Lookup();
  bool ListAutoComplete(WideChar Key);
  void SelectCompleted(int Index, bool TextChanged);

  std::unique_ptr<TUcComboBoxStrings> FItems;
  TComboAutoComplete FAutoComplete;
};

class TUcComboBox : public TUcCustomComboBox {
 public:
  using TUcCustomComboBox::TUcCustomComboBox;
};

class TUcCustomListBox : public TCustomListBox, public IWideCustomListControl {
 public:
  explicit TUcCustomListBox(TComponent* AOwner);
  ~TUcCustomListBox() override;

  TUcStrings* Items() const { return FItems.get(); }
  virtual void SetItems(const TWideStrings& Value) { FItems->Assign(Value); }
  // The text up to its first NUL character.
  void AddWideItem(const WideString& Item, TObject* AObject) override;
  void AddItem(const WideString& Item, TObject* AObject) override { AddWideItem(Item, AObject); }

 private:
  std::unique_ptr<TUcListBoxStrings> FItems;
};

class TUcListBox : public TUcCustomListBox {
 public:
  using TUcCustomListBox::TUcCustomListBox;
};

class TUcCustomLabel : public TCustomLabel {
 public:
  using TCustomLabel::TCustomLabel;
  virtual WideString GetWideLabelText() { return Caption(); }

 protected:
  WideString GetLabelText() override { return GetWideLabelText(); }
  // The layer's accelerator: the last mark of the wide text (IsWideAccel).
  bool IsLabelAccel(WideChar Key) override { return IsWideAccel(Key, GetWideLabelText()); }
};

class TUcLabel : public TUcCustomLabel {
 public:
  using TUcCustomLabel::TUcCustomLabel;
};
