#pragma once
// What both wide string list families do alike over their item store: items
// with their objects, change events, and a sorted mode that keeps duplicates
// as the list says. A family's list says how an item is kept and compared.
#include <algorithm>

#include "kem3/unicode/ucwideitems.h"
#include "platform/events.h"
#include "platform/exceptions.h"
#include "platform/stringlist.h"
#include "platform/types.h"

template <class TBase>
class TWideItemList : public TBase {
 public:
  WideString Get(int Index) const override {
    CheckIndex(Index);
    return FItems[Index].FString;
  }
  int GetCapacity() const override { return FItems.Capacity(); }
  int GetCount() const override { return FItems.Count(); }
  TObject* GetObject(int Index) const override {
    CheckIndex(Index);
    return FItems[Index].FObject;
  }
  void Put(int Index, const WideString& S) override {
    if (FSorted) SortedListError();
    CheckIndex(Index);
    Changing();
    FItems[Index].FString = StoredForm(S);
    Changed();
  }
  void PutObject(int Index, TObject* AObject) override {
    CheckIndex(Index);
    Changing();
    FItems[Index].FObject = AObject;
    Changed();
  }
  void Clear() override {
    if (FItems.Count() == 0) return;
    Changing();
    FItems.Clear();
    Changed();
  }
  void Delete(int Index) override {
    CheckIndex(Index);
    Changing();
    FItems.RemoveAt(Index);
    Changed();
  }
  void Exchange(int Index1, int Index2) override {
    CheckIndex(Index1);
    CheckIndex(Index2);
    Changing();
    FItems.Swap(Index1, Index2);
    Changed();
  }
  int IndexOf(const WideString& S) const override {
    if (!FSorted) return TBase::IndexOf(S);
    int index;
    return Find(S, index) ? index : -1;
  }

  // Binary search: true when found; Index is the match (with dupAccept the
  // first of equal items) or the insertion point.
  virtual bool Find(const WideString& S, int& Index) const {
    return FItems.Find(
        SearchForm(S), FDuplicates == dupAccept,
        [this](const WideString& A, const WideString& B) { return CompareSorted(A, B); }, Index);
  }
  virtual void Sort() = 0;

  bool Sorted() const { return FSorted; }
  void SetSorted(bool Value) {
    if (FSorted == Value) return;
    if (Value) Sort();
    FSorted = Value;
  }
  TDuplicates Duplicates() const { return FDuplicates; }
  void SetDuplicates(TDuplicates Value) { FDuplicates = Value; }

  TNotifyEvent OnChange;
  TNotifyEvent OnChanging;

 protected:
  virtual void Changed() {
    if (this->UpdateCount() == 0 && OnChange) OnChange(this);
  }
  virtual void Changing() {
    if (this->UpdateCount() == 0 && OnChanging) OnChanging(this);
  }
  // BeginUpdate calls this before it counts and EndUpdate after: the bracket
  // as a whole is one change, OnChanging as it opens and OnChange as it closes.
  void SetUpdateState(bool Updating) override {
    if (Updating)
      Changing();
    else
      Changed();
  }
  virtual void InsertItem(int Index, const WideString& S, TObject* AObject) {
    Changing();
    FItems.InsertAt(Index, TWideStringItem{StoredForm(S), AObject});
    Changed();
  }
  // At the end, or in a sorted list at its place, where Duplicates lets it in.
  int AddItem(const WideString& S, TObject* AObject) {
    int index = FItems.Count();
    if (FSorted && Find(S, index)) {
      if (FDuplicates == dupIgnore) return index;
      if (FDuplicates == dupError) throw EStringListError("String list does not allow duplicates");
    }
    InsertItem(index, S, AObject);
    return index;
  }
  // At Index, which may be the end; a sorted list has no places to choose.
  void InsertItemAt(int Index, const WideString& S, TObject* AObject) {
    if (FSorted) SortedListError();
    if (Index < 0 || Index > FItems.Count()) TBase::IndexError(Index);
    InsertItem(Index, S, AObject);
  }
  void CheckIndex(int Index) const {
    if (Index < 0 || Index >= FItems.Count()) TBase::IndexError(Index);
  }

  // How an item is kept, and the key a search looks for.
  virtual WideString StoredForm(const WideString& S) const { return S; }
  virtual WideString SearchForm(const WideString& S) const { return S; }
  // The order of a sorted list.
  virtual int CompareSorted(const WideString& S1, const WideString& S2) const = 0;

  TWideItemStore FItems;

 private:
  [[noreturn]] static void SortedListError() { throw EStringListError("Operation not allowed on sorted list"); }

  bool FSorted = false;
  TDuplicates FDuplicates = dupIgnore;
};
