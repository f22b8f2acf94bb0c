// TList: the untyped reference list.
#include "platform/lists.h"

#include <string>

void ListError(const char* what, long long index) {
  throw EListError(std::string(what) + " (" + std::to_string(index) + ")");
}

void ListIndexError(long long index) { ListError("List index out of bounds", index); }

TList::~TList() { Clear(); }

void TList::Notify(void*, TListNotification) {}

int TList::Add(void* Item) {
  FList.push_back(Item);
  if (Item) Notify(Item, lnAdded);
  return Count() - 1;
}

void TList::Insert(int Index, void* Item) {
  if (Index < 0 || Index > Count()) ListIndexError(Index);
  FList.insert(FList.begin() + Index, Item);
  if (Item) Notify(Item, lnAdded);
}

void TList::Delete(int Index) {
  if (Index < 0 || Index >= Count()) ListIndexError(Index);
  void* old = FList[static_cast<size_t>(Index)];
  FList.erase(FList.begin() + Index);
  if (old) Notify(old, lnDeleted);
}

int TList::Remove(void* Item) {
  int i = IndexOf(Item);
  if (i >= 0) Delete(i);
  return i;
}

void* TList::Extract(void* Item) {
  int i = IndexOf(Item);
  if (i < 0) return nullptr;
  FList.erase(FList.begin() + i);
  if (Item) Notify(Item, lnExtracted);
  return Item;
}

int TList::IndexOf(const void* Item) const {
  auto it = std::find(FList.begin(), FList.end(), Item);
  return it == FList.end() ? -1 : static_cast<int>(it - FList.begin());
}

void TList::Move(int CurIndex, int NewIndex) {
  if (CurIndex == NewIndex) return;
  if (CurIndex < 0 || CurIndex >= Count()) ListIndexError(CurIndex);
  if (NewIndex < 0 || NewIndex >= Count()) ListIndexError(NewIndex);
  void* item = FList[static_cast<size_t>(CurIndex)];
  FList.erase(FList.begin() + CurIndex);
  FList.insert(FList.begin() + NewIndex, item);
}

void TList::Exchange(int Index1, int Index2) {
  if (Index1 < 0 || Index1 >= Count()) ListIndexError(Index1);
  if (Index2 < 0 || Index2 >= Count()) ListIndexError(Index2);
  std::swap(FList[static_cast<size_t>(Index1)], FList[static_cast<size_t>(Index2)]);
}

void TList::Clear() {
  SetCount(0);
  std::vector<void*>().swap(FList);
}

void TList::Pack() { FList.erase(std::remove(FList.begin(), FList.end(), nullptr), FList.end()); }

void TList::Sort(const TListSortCompare& Compare) {
  auto order = detail::SortedOrder(
      Count(), [&](int a, int b) { return Compare(FList[static_cast<size_t>(a)], FList[static_cast<size_t>(b)]) < 0; });
  detail::ApplyOrder(FList, order);
}

void TList::SetCount(int NewCount) {
  if (NewCount < 0) ListError("List count out of bounds", NewCount);
  if (NewCount >= Count()) {
    FList.resize(static_cast<size_t>(NewCount), nullptr);
    return;
  }
  // One at a time from the end, so a Notify that looks at the list sees it shrink in order.
  while (Count() > NewCount) Delete(Count() - 1);
}

void TList::SetCapacity(int NewCapacity) {
  if (NewCapacity < Count()) ListError("List capacity out of bounds", NewCapacity);
  if (NewCapacity > Capacity()) {
    FList.reserve(static_cast<size_t>(NewCapacity));
  } else {
    FList.shrink_to_fit();
  }
}

void* TList::Items(int Index) const {
  if (Index < 0 || Index >= Count()) ListIndexError(Index);
  return FList[static_cast<size_t>(Index)];
}

void TList::Put(int Index, void* Item) {
  if (Index < 0 || Index >= Count()) ListIndexError(Index);
  void* old = FList[static_cast<size_t>(Index)];
  FList[static_cast<size_t>(Index)] = Item;
  if (old != Item) {
    if (old) Notify(old, lnDeleted);
    if (Item) Notify(Item, lnAdded);
  }
}
