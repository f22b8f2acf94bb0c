// The check list box's states and item data.
#include "kem3/controls/kemchklb_model.h"

#include "kem3/controls/kemchkbx_model.h"
#include "platform/lists.h"

const TCheckListStates::TItem& TCheckListStates::Item(int Index) const {
  if (Index < 0 || Index >= Count()) ListIndexError(Index);
  return FItems[Index];
}

TCheckBoxState TCheckListStates::State(int Index) const { return Item(Index).State; }

void TCheckListStates::SetState(int Index, TCheckBoxState State) {
  Item(Index);
  FItems[Index].State = State;
}

std::intptr_t TCheckListStates::ItemData(int Index) const { return Item(Index).Data; }

void TCheckListStates::SetItemData(int Index, std::intptr_t Data) {
  Item(Index);
  FItems[Index].Data = Data;
}

void TCheckListStates::Insert(int Index) {
  if (Index < 0 || Index > Count()) ListIndexError(Index);
  FItems.insert(FItems.begin() + Index, TItem{});
}

void TCheckListStates::Delete(int Index) {
  Item(Index);
  FItems.erase(FItems.begin() + Index);
}

void TCheckListStates::Move(int From, int To) {
  if (From == To) return;
  const TItem moved = Item(From);
  Item(To);
  FItems.erase(FItems.begin() + From);
  FItems.insert(FItems.begin() + To, moved);
}

bool TCheckListStates::Toggle(int Index, bool AllowGrayed, bool MultiCheck) {
  if (Index < 0 || Index >= Count()) return false;
  const TCheckBoxState next = CheckBoxToggled(FItems[Index].State, AllowGrayed);
  FItems[Index].State = next;
  if (!MultiCheck && next == cbChecked)
    for (int i = 0; i < Count(); ++i)
      if (i != Index) FItems[i].State = cbUnchecked;
  return true;
}
