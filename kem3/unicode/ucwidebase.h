#pragma once
// What both abstract wide string list families do alike through their virtual
// item access: the update bracket, comparing two lists, and exchanging and
// moving items. TList is the family's abstract list, which declares Get, Put,
// GetObject, PutObject, Insert, Delete and InsertObject.
#include "platform/object.h"
#include "platform/types.h"
#include "platform/updatescope.h"

template <class TList>
class TWideStringsCommon : public TObject {
 public:
  // At the end; returns the index.
  virtual int Add(const WideString& S) {
    const int i = Self().GetCount();
    Self().Insert(i, S);
    return i;
  }
  virtual int AddObject(const WideString& S, TObject* AObject) {
    const int i = Add(S);
    Self().PutObject(i, AObject);
    return i;
  }
  virtual void InsertObject(int Index, const WideString& S, TObject* AObject) {
    Self().Insert(Index, S);
    Self().PutObject(Index, AObject);
  }
  virtual void Exchange(int Index1, int Index2) {
    TList& self = Self();
    TUpdateScope<TWideStringsCommon> bracket(*this);
    WideString s = self.Get(Index1);
    TObject* o = self.GetObject(Index1);
    self.Put(Index1, self.Get(Index2));
    self.PutObject(Index1, self.GetObject(Index2));
    self.Put(Index2, s);
    self.PutObject(Index2, o);
  }
  // A delete and an insert, the object going along.
  virtual void Move(int CurIndex, int NewIndex) {
    if (CurIndex == NewIndex) return;
    TList& self = Self();
    TUpdateScope<TWideStringsCommon> bracket(*this);
    WideString s = self.Get(CurIndex);
    TObject* o = self.GetObject(CurIndex);
    self.Delete(CurIndex);
    self.InsertObject(NewIndex, s, o);
  }

  // Same items, compared exactly; the objects do not count.
  bool Equals(const TList& Strings) const {
    const TList& self = static_cast<const TList&>(*this);
    if (self.GetCount() != Strings.GetCount()) return false;
    for (int i = 0; i < self.GetCount(); ++i)
      if (self.Get(i) != Strings.Get(i)) return false;
    return true;
  }

  void BeginUpdate() {
    if (FUpdateCount == 0) SetUpdateState(true);
    ++FUpdateCount;
  }
  void EndUpdate() {
    if (FUpdateCount <= 0) return;
    if (--FUpdateCount == 0) SetUpdateState(false);
  }

 protected:
  // Called as the first BeginUpdate starts and the last EndUpdate ends.
  virtual void SetUpdateState(bool) {}
  int UpdateCount() const { return FUpdateCount; }

 private:
  TList& Self() { return static_cast<TList&>(*this); }

  int FUpdateCount = 0;
};
