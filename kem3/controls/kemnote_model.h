// The notebook's page bookkeeping free of any window: the pages in order and
// the index of the one that shows. After every change exactly the page at
// PageIndex is the one to show (-1 when there are no pages); the notebook
// brings its windows in line with that after each call.
#pragma once
#include <algorithm>
#include <utility>
#include <vector>

#include "platform/lists.h"

template <class TPage>
class TNotePages {
 public:
  int Count() const { return static_cast<int>(FPages.size()); }
  TPage* Page(int Index) const {
    if (Index < 0 || Index >= Count()) ListIndexError(Index);
    return FPages[Index];
  }
  int IndexOf(const TPage* Page) const {
    auto it = std::find(FPages.begin(), FPages.end(), Page);
    return it == FPages.end() ? -1 : static_cast<int>(it - FPages.begin());
  }
  int PageIndex() const { return FPageIndex; }
  // The page that shows, or nullptr.
  TPage* Current() const { return FPageIndex >= 0 ? FPages[FPageIndex] : nullptr; }

  // Selecting: only an index of a page other than the current one changes
  // anything; true when it did.
  bool SetPageIndex(int Index) {
    if (Index == FPageIndex || Index < 0 || Index >= Count()) return false;
    FPageIndex = Index;
    return true;
  }
  // A new page at Index, which becomes the current one.
  void Insert(int Index, TPage* Page) {
    if (Index < 0 || Index > Count()) ListIndexError(Index);
    FPages.insert(FPages.begin() + Index, Page);
    FPageIndex = Index;
  }
  // Takes the page at Index out (the caller frees it); page 0 becomes the
  // current one, or none when no page is left.
  TPage* Delete(int Index) {
    TPage* page = Page(Index);
    FPages.erase(FPages.begin() + Index);
    FPageIndex = FPages.empty() ? -1 : 0;
    return page;
  }
  // Swaps two pages; the current index stays, so the page at it may change.
  void Move(int From, int To) {
    if (From == To) return;
    Page(From);
    Page(To);
    std::swap(FPages[From], FPages[To]);
  }
  // Takes every page out (the caller frees them).
  std::vector<TPage*> Clear() {
    FPageIndex = -1;
    return std::exchange(FPages, {});
  }

 private:
  std::vector<TPage*> FPages;
  int FPageIndex = -1;
};
