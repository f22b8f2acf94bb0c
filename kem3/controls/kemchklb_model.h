// The check list box's per-item state and data free of any window. They go
// with their items: an item inserted, deleted, moved or cleared takes its
// state and data along, and the list keeps them while its window is made anew.
#pragma once
#include <cstdint>
#include <vector>

#include "platform/controls_types.h"

class TCheckListStates {
 public:
  int Count() const { return static_cast<int>(FItems.size()); }
  // A bad index raises the list index error.
  TCheckBoxState State(int Index) const;
  void SetState(int Index, TCheckBoxState State);
  bool Checked(int Index) const { return State(Index) == cbChecked; }
  void SetChecked(int Index, bool Checked) { SetState(Index, Checked ? cbChecked : cbUnchecked); }
  std::intptr_t ItemData(int Index) const;
  void SetItemData(int Index, std::intptr_t Data);

  // Kept in step with the items.
  void Insert(int Index);
  void Add() { Insert(Count()); }
  void Delete(int Index);
  void Move(int From, int To);
  void Clear() { FItems.clear(); }

  // A click in the check area or Space: the next state; with MultiCheck off a
  // newly checked item unchecks all others. False for an index outside the
  // items (nothing happens, no event).
  bool Toggle(int Index, bool AllowGrayed, bool MultiCheck);

 private:
  struct TItem {
    TCheckBoxState State = cbUnchecked;
    std::intptr_t Data = 0;
  };
  const TItem& Item(int Index) const;
  std::vector<TItem> FItems;
};
