// TKemCheckListBox: a wide list box with a check box in front of every item,
// flat or raised, three states, toggled by a click in the box or Space, with
// states and item data that go with their items and across re-creation.
#pragma once
#include <memory>

#include "kem3/controls/kembase_win.h"
#include "kem3/controls/kemchklb_model.h"
#include "kem3/unicode/ucstdctrls_win.h"

// The list box's wide items, keeping the states in step: an added, inserted,
// deleted, moved or exchanged item takes its state and data along.
class TKemCheckListStrings : public TUcListBoxStrings {
 public:
  TKemCheckListStrings(TCustomListBox& Control, TCheckListStates& States)
      : TUcListBoxStrings(Control), FStates(States) {}
  int Add(const WideString& S) override;
  int AddObject(const WideString& S, TObject* AObject) override;
  void Insert(int Index, const WideString& S) override;
  void Delete(int Index) override;
  void Put(int Index, const WideString& S) override;
  void Exchange(int Index1, int Index2) override;
  void Move(int CurIndex, int NewIndex) override;

 private:
  TCheckListStates& FStates;
};

class TKemCheckListBox : public TCustomListBox, public IKemControl {
 public:
  explicit TKemCheckListBox(TComponent* AOwner);
  ~TKemCheckListBox() override;

  TUcStrings* Items() const { return FItems.get(); }
  void SetItems(const TWideStrings& Value) { FItems->Assign(Value); }
  void AddItem(const WideString& Item, TObject* AObject) override { FItems->AddObject(Item, AObject); }
  // Items()->Clear() comes here too.
  void Clear() override;
  void DeleteSelected() override;

  // A bad index raises the list index error.
  bool Checked(int Index) const { return FStates.Checked(Index); }
  void SetChecked(int Index, bool Value);
  TCheckBoxState State(int Index) const { return FStates.State(Index); }
  void SetState(int Index, TCheckBoxState Value);
  std::intptr_t ItemData(int Index) const { return FStates.ItemData(Index); }
  void SetItemData(int Index, std::intptr_t Value) { FStates.SetItemData(Index, Value); }

  bool AllowGrayed() const { return FAllowGrayed; }
  void SetAllowGrayed(bool Value) { FAllowGrayed = Value; }
  bool Flat() const { return FFlat; }
  void SetFlat(bool Value);
  // False: at most one item checked.
  bool MultiCheck() const { return FMultiCheck; }
  void SetMultiCheck(bool Value) { FMultiCheck = Value; }

  // The width of the check area in front of every item.
  static int CheckWidth();
  // The next state of an item, as a click in its box gives; then OnClickCheck.
  void ToggleClickCheck(int Index);

  TNotifyEvent OnClickCheck;

  void UpdateLanguage() override {}
  bool DialogKey(std::uint16_t /*Key*/, TShiftState /*Shift*/) override { return false; }
  bool DialogChar(WideChar /*Key*/, TShiftState /*Shift*/) override { return false; }

 protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void FontChanged() override;
  void DrawItem(int Index, const TRect& Rect, TOwnerDrawState State) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void KeyPress(WideChar& Key) override;

 private:
  void InvalidateCheck(int Index);
  void SetStandardItemHeight();
  void DrawCheck(const TRect& Box, TCheckBoxState State);

  TCheckListStates FStates;
  std::unique_ptr<TKemCheckListStrings> FItems;
  bool FAllowGrayed = false;
  bool FFlat = true;
  bool FMultiCheck = true;
};
