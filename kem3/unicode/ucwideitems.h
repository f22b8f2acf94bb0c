#pragma once
// The item storage of both wide string list families: strings with their
// objects in a vector whose size is the capacity, grown in the lists' steps,
// searched and sorted with the owning list's own comparison.
#include <utility>
#include <vector>

#include "platform/object.h"
#include "platform/types.h"

struct TWideStringItem {
  WideString FString;
  TObject* FObject = nullptr;
};

class TWideItemStore {
 public:
  int Count() const { return FCount; }
  int Capacity() const { return static_cast<int>(FItems.size()); }
  TWideStringItem& operator[](int Index) { return FItems[Index]; }
  const TWideStringItem& operator[](int Index) const { return FItems[Index]; }

  // The vector's size is the capacity; a capacity below the count cuts the count.
  void Resize(int NewCapacity) {
    FItems.resize(NewCapacity);
    if (NewCapacity < FCount) FCount = NewCapacity;
  }
  void Clear() {
    FItems.clear();
    FItems.shrink_to_fit();
    FCount = 0;
  }
  // Grows by 4, 16 or a quarter when full, then opens the place.
  void InsertAt(int Index, TWideStringItem Item) {
    const int capacity = Capacity();
    if (FCount == capacity) FItems.resize(capacity + (capacity > 64 ? capacity / 4 : capacity > 8 ? 16 : 4));
    for (int i = FCount; i > Index; --i) FItems[i] = std::move(FItems[i - 1]);
    FItems[Index] = std::move(Item);
    ++FCount;
  }
  void RemoveAt(int Index) {
    for (int i = Index; i + 1 < FCount; ++i) FItems[i] = std::move(FItems[i + 1]);
    --FCount;
    FItems[FCount] = TWideStringItem{};
  }
  void Swap(int Index1, int Index2) { std::swap(FItems[Index1], FItems[Index2]); }

  // Binary search with Compare(item string, key): true when found; Index is
  // the match (the first of equal items unless duplicates are accepted) or
  // the insertion point.
  template <class TCompare>
  bool Find(const WideString& Key, bool AcceptDuplicates, TCompare Compare, int& Index) const {
    bool found = false;
    int low = 0, high = FCount - 1;
    while (low <= high) {
      const int middle = (low + high) / 2;
      const int c = Compare(FItems[middle].FString, Key);
      if (c < 0) {
        low = middle + 1;
      } else {
        high = middle - 1;
        if (c == 0) {
          found = true;
          if (!AcceptDuplicates) low = middle;
        }
      }
    }
    Index = low;
    return found;
  }

  // Quicksort of [L, R] with Compare(index1, index2); the pivot follows its item.
  template <class TCompare>
  void QuickSort(int L, int R, const TCompare& Compare) {
    int I;
    do {
      I = L;
      int J = R, P = (L + R) / 2;
      do {
        while (Compare(I, P) < 0) ++I;
        while (Compare(J, P) > 0) --J;
        if (I <= J) {
          Swap(I, J);
          if (P == I)
            P = J;
          else if (P == J)
            P = I;
          ++I;
          --J;
        }
      } while (I <= J);
      if (L < J) QuickSort(L, J, Compare);
      L = I;
    } while (I < R);
  }

 private:
  std::vector<TWideStringItem> FItems;
  int FCount = 0;
};
