// The file browser's list queue and its sorting by data.
#include "kem3/browser/kembrowser_model.h"

#include <algorithm>
#include <numeric>
#include <unordered_map>

#include "platform/clock.h"
#include "platform/sysutils.h"

TBrowserListModel::TBrowserListModel(TBrowserListView& View) : FView(View) {}

void TBrowserListModel::BeginListing() {
  FQueue.clear();
  FRowOf.clear();
  FListing = true;
  FLastMove = TickCount();
  FQuiet = FQuietNext && !FEntries.empty();
  FQuietNext = false;
  if (FQuiet) return;
  FEntries.clear();
  FView.ItemsChanged(0);
}

void TBrowserListModel::QueueEntry(int Index, const WideString& Name, bool Selected,
                                   std::unique_ptr<TListItemData> Data, int ImageIndex) {
  if (!Data) Data = std::make_unique<TListItemData>();
  FQueue.push_back({Index, {Name, std::move(Data), ImageIndex, Selected}});
  if (FQuiet) return;
  if (TickCount() - FLastMove >= MoveInterval || (FEntries.empty() && QueuedCount() >= FirstMoveCount)) MoveQueue();
}

void TBrowserListModel::MoveQueue() {
  if (!FQuiet) MoveQueued(FEntries, true);
}

void TBrowserListModel::MoveQueued(std::vector<TBrowserEntry>& Entries, bool Notify) {
  FLastMove = TickCount();
  if (FQueue.empty()) return;
  const int n = static_cast<int>(Entries.size());
  int first = n;
  // Folders come with their place among the folders, in rising order; then
  // one merge moves every entry once, where inserting one by one would shift
  // all files behind each folder.
  bool rising = true;
  int inserts = 0, last = -1;
  for (const TQueued& q : FQueue) {
    if (q.Index < 0) continue;
    if (q.Index <= last || q.Index > n + inserts) {
      rising = false;
      break;
    }
    last = q.Index;
    ++inserts;
  }
  if (rising && inserts == 0) {
    for (TQueued& q : FQueue) Entries.push_back(std::move(q.Entry));
  } else if (rising) {
    std::vector<TBrowserEntry> merged, tail;
    merged.reserve(Entries.size() + FQueue.size());
    size_t old = 0;
    for (TQueued& q : FQueue) {
      if (q.Index < 0) {
        tail.push_back(std::move(q.Entry));
        continue;
      }
      first = std::min(first, q.Index);
      while (static_cast<int>(merged.size()) < q.Index) merged.push_back(std::move(Entries[old++]));
      merged.push_back(std::move(q.Entry));
    }
    for (; old < Entries.size(); ++old) merged.push_back(std::move(Entries[old]));
    for (TBrowserEntry& e : tail) merged.push_back(std::move(e));
    Entries = std::move(merged);
  } else {
    for (TQueued& q : FQueue) {
      // A place past the end (the list was cleared under a worker) appends.
      if (q.Index < 0 || q.Index >= static_cast<int>(Entries.size())) {
        Entries.push_back(std::move(q.Entry));
      } else {
        first = std::min(first, q.Index);
        Entries.insert(Entries.begin() + q.Index, std::move(q.Entry));
      }
    }
  }
  FQueue.clear();
  if (Notify) FView.ItemsChanged(first);
}

void TBrowserListModel::EndListing() {
  // The sort below tells the view once for both.
  if (FQuiet)
    ReplaceQuietly();
  else
    MoveQueued(FEntries, false);
  FListing = false;
  if (FSortColumn >= ColumnCount() || FSortColumn < 0) FSortColumn = 0;
  Sort();
  FQuiet = false;
  FRowOf.resize(FEntries.size());
  std::iota(FRowOf.begin(), FRowOf.end(), 0);
}

void TBrowserListModel::ReplaceQuietly() {
  std::vector<TBrowserEntry> listed;
  MoveQueued(listed, false);
  // What the user sees selected now wins over what the listing was told to
  // select when it began.
  std::unordered_map<WideString, const TBrowserEntry*> shown;
  shown.reserve(FEntries.size());
  for (const TBrowserEntry& e : FEntries) shown.emplace(e.Name, &e);
  for (TBrowserEntry& e : listed) {
    const auto old = shown.find(e.Name);
    e.Selected = old != shown.end() && old->second->Selected;
    if (old != shown.end() && e.Data->Columns.Count() == 0) e.Data->Columns.Assign(old->second->Data->Columns);
  }
  FEntries = std::move(listed);
}

void TBrowserListModel::StartColumnFilling(const WideString& FolderPath) {
  if (OnStartColumnFilling) OnStartColumnFilling(FolderPath);
}

void TBrowserListModel::ColumnFillingBegun() {
  if (OnColumnFilling) OnColumnFilling(true);
}

void TBrowserListModel::ColumnFillingEnded() {
  // Types and attributes are known only now: a list sorted by them sorts
  // again (the selection goes with its entries).
  if (FSortColumn > 0) Sort();
  if (OnColumnFilling) OnColumnFilling(false);
}

void TBrowserListModel::RefreshColumns(int Index) {
  if (Index >= 0 && Index < static_cast<int>(FRowOf.size())) Index = FRowOf[Index];
  if (Index >= 0 && Index < Count()) FView.ItemRefreshed(Index);
}

void TBrowserListModel::SetColumns(std::vector<TBrowserColumnKind> Kinds) {
  FKinds = std::move(Kinds);
  if (FSortColumn >= ColumnCount()) FSortColumn = 0;
}

void TBrowserListModel::SetSort(int Column, bool Descending) {
  FSortColumn = Column >= 0 && Column < ColumnCount() ? Column : 0;
  FDescending = Descending;
}

void TBrowserListModel::SortBy(int Column) {
  if (Column == FSortColumn)
    FDescending = !FDescending;
  else
    SetSort(Column, false);
  Sort();
}

int TBrowserListModel::SelectedIndex() const {
  for (int i = 0; i < Count(); ++i)
    if (FEntries[i].Selected) return i;
  return -1;
}

namespace {

// What one entry sorts by in the chosen column: a number or a folded text.
struct TSortKey {
  int Kind;
  double Value;
  WideString Text;
  WideString Name;
};

// The name an entry sorts by: the workers' sort text where they gave one
// (special folders and drives keep their own order), else the shown name.
const WideString& SortName(const TBrowserEntry& E) { return E.Data->SortText.empty() ? E.Name : E.Data->SortText; }

}  // namespace

void TBrowserListModel::Sort() {
  if (FListing) return;
  const int column = FSortColumn;
  const TBrowserColumnKind kind = column == 0 ? bckText : FKinds[column - 1];
  // Keys are made once per entry, so the comparisons fold no text.
  std::vector<TSortKey> keys(FEntries.size());
  for (size_t i = 0; i < FEntries.size(); ++i) {
    const TListItemData& d = *FEntries[i].Data;
    TSortKey& k = keys[i];
    k.Kind = d.Kind;
    k.Name = WideUpperCase(SortName(FEntries[i]));
    switch (kind) {
      case bckSize:
        k.Value = static_cast<double>(d.Size);
        break;
      case bckDate:
        k.Value = d.Date;
        break;
      case bckTotal:
        k.Value = static_cast<double>(d.TotalBytes);
        break;
      case bckFree:
        k.Value = static_cast<double>(d.FreeBytes);
        break;
      case bckText:
        if (column > 0) k.Text = column - 1 < d.Columns.Count() ? WideUpperCase(d.Columns.Get(column - 1)) : u"";
        break;
    }
  }
  std::vector<size_t> order(FEntries.size());
  std::iota(order.begin(), order.end(), size_t(0));
  const bool byName = column == 0;
  const bool byText = kind == bckText;
  const bool down = FDescending;
  std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) {
    const TSortKey& x = keys[a];
    const TSortKey& y = keys[b];
    if (x.Kind != y.Kind) return x.Kind > y.Kind;  // openable entries first in either direction
    int c = 0;
    if (!byName) {
      if (byText)
        c = x.Text.compare(y.Text);
      else
        c = x.Value < y.Value ? -1 : y.Value < x.Value ? 1 : 0;
    }
    if (c == 0) c = x.Name.compare(y.Name);
    return down ? c > 0 : c < 0;
  });
  std::vector<TBrowserEntry> sorted;
  sorted.reserve(FEntries.size());
  for (size_t i : order) sorted.push_back(std::move(FEntries[i]));
  FEntries = std::move(sorted);
  if (FRowOf.size() == order.size()) {
    std::vector<int> moved(order.size());
    for (size_t j = 0; j < order.size(); ++j) moved[order[j]] = static_cast<int>(j);
    for (int& row : FRowOf) row = moved[row];
  }
  FView.ItemsChanged(0);
}

std::vector<WideString> BrowserTypePatterns(const WideString& TypeText) {
  WideString inner = TypeText;
  const size_t open = TypeText.rfind(u'(');
  if (open != WideString::npos) {
    const size_t close = TypeText.find(u')', open);
    if (close != WideString::npos) inner = TypeText.substr(open + 1, close - open - 1);
  }
  std::vector<WideString> patterns;
  size_t start = 0;
  while (start <= inner.size()) {
    size_t end = inner.find(u';', start);
    if (end == WideString::npos) end = inner.size();
    WideString p = Trim(std::u16string_view(inner).substr(start, end - start));
    if (!p.empty()) patterns.push_back(std::move(p));
    start = end + 1;
  }
  if (patterns.empty()) patterns.push_back(u"*.*");
  return patterns;
}

WideString BrowserTypeFilter(const WideString& TypeText) {
  WideString filter;
  for (const WideString& p : BrowserTypePatterns(TypeText)) filter += (filter.empty() ? u"" : u";") + p;
  return filter;
}
