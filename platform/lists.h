// TList, the class library's list of untyped references, and TObjectList<T>, a typed
// list that frees the objects it owns. Indexes are int and checked: a bad one
// raises EListError "List index out of bounds (N)".
#pragma once
#include <algorithm>
#include <functional>
#include <numeric>
#include <type_traits>
#include <vector>

#include "platform/exceptions.h"
#include "platform/object.h"

[[noreturn]] void ListError(const char* what, long long index);  // EListError "<what> (<index>)"
[[noreturn]] void ListIndexError(long long index);               // "List index out of bounds (N)"

namespace detail {
// Stable merge sort of the positions 0..n-1. It only ever looks at positions
// inside the range, so a comparison that contradicts itself yields some order
// but never a crash, and a comparison that throws leaves the caller's data as
// it was (nothing is moved until the order is known).
template <class Less>
std::vector<int> SortedOrder(int n, Less less) {
  std::vector<int> order(static_cast<size_t>(n > 0 ? n : 0));
  std::iota(order.begin(), order.end(), 0);
  std::vector<int> scratch(order.size());
  const size_t size = order.size();
  for (size_t width = 1; width < size; width *= 2) {
    for (size_t lo = 0; lo < size; lo += 2 * width) {
      size_t mid = std::min(lo + width, size), hi = std::min(lo + 2 * width, size);
      size_t i = lo, j = mid, k = lo;
      while (i < mid && j < hi) scratch[k++] = less(order[j], order[i]) ? order[j++] : order[i++];
      while (i < mid) scratch[k++] = order[i++];
      while (j < hi) scratch[k++] = order[j++];
    }
    order.swap(scratch);
  }
  return order;
}

// Rearranges items so that position k holds what was at order[k].
template <class T>
void ApplyOrder(std::vector<T>& items, const std::vector<int>& order) {
  std::vector<T> sorted;
  sorted.reserve(items.size());
  for (int i : order) sorted.push_back(std::move(items[static_cast<size_t>(i)]));
  items.swap(sorted);
}
}  // namespace detail

// Compare functions answer <0, 0 or >0, as the class library's sort callbacks do.
using TListSortCompare = std::function<int(void* Item1, void* Item2)>;

class TList : public TObject {
 public:
  TList() = default;
  TList(const TList&) = delete;
  TList& operator=(const TList&) = delete;
  // Clears the list; Notify overrides of a derived class no longer run by then,
  // so a class that frees in Notify clears in its own destructor.
  ~TList() override;

  int Add(void* Item);
  void Insert(int Index, void* Item);  // Index may be Count (appends)
  void Delete(int Index);
  int Remove(void* Item);     // index it had, or -1
  void* Extract(void* Item);  // takes the item out without the deleted notice; nil when absent
  int IndexOf(const void* Item) const;
  void Move(int CurIndex, int NewIndex);
  void Exchange(int Index1, int Index2);
  virtual void Clear();
  void Pack();  // drops nil entries
  // Stable; a comparison that throws leaves the list as it was.
  void Sort(const TListSortCompare& Compare);

  int Count() const { return static_cast<int>(FList.size()); }
  void SetCount(int NewCount);  // grows with nil, shrinks from the end
  int Capacity() const { return static_cast<int>(FList.capacity()); }
  void SetCapacity(int NewCapacity);

  void* Items(int Index) const;
  void Put(int Index, void* Item);
  void* operator[](int Index) const { return Items(Index); }
  void* First() const { return Items(0); }
  void* Last() const { return Items(Count() - 1); }

  std::vector<void*>::const_iterator begin() const { return FList.begin(); }
  std::vector<void*>::const_iterator end() const { return FList.end(); }

 protected:
  enum TListNotification { lnAdded, lnExtracted, lnDeleted };
  // Told about every non-nil item that enters or leaves the list.
  virtual void Notify(void* Ptr, TListNotification Action);

 private:
  std::vector<void*> FList;
};

// A typed list of T*. With OwnsObjects (the default) it frees an object when it
// is deleted, removed, replaced or cleared from the list, and when the list goes;
// Extract hands one out without freeing it. An object leaves the list before it
// is freed, so a destructor that looks at the list finds a consistent one.
template <class T>
class TObjectList : public TObject {
 public:
  explicit TObjectList(bool AOwnsObjects = true) : FOwnsObjects(AOwnsObjects) {}
  TObjectList(const TObjectList&) = delete;
  TObjectList& operator=(const TObjectList&) = delete;
  ~TObjectList() override { Clear(); }

  bool OwnsObjects() const { return FOwnsObjects; }
  void SetOwnsObjects(bool Value) { FOwnsObjects = Value; }

  int Count() const { return static_cast<int>(FList.size()); }
  T* Items(int Index) const {
    Check(Index);
    return FList[static_cast<size_t>(Index)];
  }
  T* operator[](int Index) const { return Items(Index); }
  T* First() const { return Items(0); }
  T* Last() const { return Items(Count() - 1); }

  int Add(T* Item) {
    FList.push_back(Item);
    return Count() - 1;
  }
  void Insert(int Index, T* Item) {
    if (Index < 0 || Index > Count()) ListIndexError(Index);
    FList.insert(FList.begin() + Index, Item);
  }
  void Put(int Index, T* Item) {
    Check(Index);
    T* old = FList[static_cast<size_t>(Index)];
    FList[static_cast<size_t>(Index)] = Item;
    if (old != Item) Release(old);
  }
  void Delete(int Index) {
    Check(Index);
    T* old = FList[static_cast<size_t>(Index)];
    FList.erase(FList.begin() + Index);
    Release(old);
  }
  int Remove(T* Item) {
    int i = IndexOf(Item);
    if (i >= 0) Delete(i);
    return i;
  }
  T* Extract(T* Item) {
    int i = IndexOf(Item);
    if (i < 0) return nullptr;
    FList.erase(FList.begin() + i);
    return Item;
  }
  int IndexOf(const T* Item) const {
    auto it = std::find(FList.begin(), FList.end(), Item);
    return it == FList.end() ? -1 : static_cast<int>(it - FList.begin());
  }
  void Move(int CurIndex, int NewIndex) {
    if (CurIndex == NewIndex) return;
    Check(CurIndex);
    Check(NewIndex);
    T* item = FList[static_cast<size_t>(CurIndex)];
    FList.erase(FList.begin() + CurIndex);
    FList.insert(FList.begin() + NewIndex, item);
  }
  void Exchange(int Index1, int Index2) {
    Check(Index1);
    Check(Index2);
    std::swap(FList[static_cast<size_t>(Index1)], FList[static_cast<size_t>(Index2)]);
  }
  // Frees from the last to the first, each after it has left the list.
  void Clear() {
    while (!FList.empty()) {
      T* last = FList.back();
      FList.pop_back();
      Release(last);
    }
  }
  void Sort(const std::function<int(T* Item1, T* Item2)>& Compare) {
    auto order = detail::SortedOrder(Count(), [&](int a, int b) {
      return Compare(FList[static_cast<size_t>(a)], FList[static_cast<size_t>(b)]) < 0;
    });
    detail::ApplyOrder(FList, order);
  }

  typename std::vector<T*>::const_iterator begin() const { return FList.begin(); }
  typename std::vector<T*>::const_iterator end() const { return FList.end(); }

 private:
  void Check(int Index) const {
    if (Index < 0 || Index >= Count()) ListIndexError(Index);
  }
  void Release(T* Item) {
    if (!FOwnsObjects || !Item) return;
    static_assert(sizeof(T) > 0, "an owning list frees complete types only");
    if constexpr (std::is_base_of_v<TObject, T>) {
      Item->Free();
    } else {
      delete Item;
    }
  }

  std::vector<T*> FList;
  bool FOwnsObjects;
};
