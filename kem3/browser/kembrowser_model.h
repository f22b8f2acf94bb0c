// The file browser's list without windows: the queue the listing workers fill,
// the entries it moves into the list every 250 ms, their sorting by data, and
// the file patterns of a file type's text. The dialog shows what it holds.
#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "kem3/browser/kembrowsesink.h"

// One entry of the list.
struct TBrowserEntry {
  WideString Name;
  std::unique_ptr<TListItemData> Data;  // never null in the list
  int ImageIndex = -1;
  bool Selected = false;
};

// How a detail column sorts: sizes and dates by value, the rest as text.
enum TBrowserColumnKind : int { bckText = 0, bckSize, bckDate, bckTotal, bckFree };

// The dialog's list as the model drives it. The model owns the entries; the
// list shows them (a virtual list reads them by index).
class TBrowserListView {
 public:
  virtual ~TBrowserListView() = default;
  // The entries changed from First onward (0 after a clear or a sort).
  virtual void ItemsChanged(int First) = 0;
  // The columns of the entry at Index changed.
  virtual void ItemRefreshed(int Index) = 0;
};

class TBrowserListModel : public TBrowserListSink {
 public:
  // How long queued entries wait before they move into the list; but the
  // first screenful of an empty list moves at once, so a big folder shows
  // its first entries while the rest is listed.
  static constexpr std::uint64_t MoveInterval = 250;
  static constexpr int FirstMoveCount = 64;

  explicit TBrowserListModel(TBrowserListView& View);

  void BeginListing() override;
  void QueueEntry(int Index, const WideString& Name, bool Selected, std::unique_ptr<TListItemData> Data,
                  int ImageIndex) override;
  void EndListing() override;
  void StartColumnFilling(const WideString& FolderPath) override;
  void ColumnFillingBegun() override;
  void ColumnFillingEnded() override;
  void RefreshColumns(int Index) override;
  TBrowserPreview* CurrentPreview() override { return FPreview; }

  // The dialog's side of the calls above that only it can carry out.
  std::function<void(const WideString& FolderPath)> OnStartColumnFilling;
  std::function<void(bool Filling)> OnColumnFilling;
  void SetPreview(TBrowserPreview* Preview) { FPreview = Preview; }

  // The columns after the name, by kind; their number bounds the sort column.
  void SetColumns(std::vector<TBrowserColumnKind> Kinds);
  int ColumnCount() const { return 1 + static_cast<int>(FKinds.size()); }
  // Sorts by Column (0 the name), openable entries always first. Sorting the
  // column already sorted by turns the direction.
  void SortBy(int Column);
  void Sort();
  int SortColumn() const { return FSortColumn; }
  bool SortDescending() const { return FDescending; }
  void SetSort(int Column, bool Descending);

  int Count() const { return static_cast<int>(FEntries.size()); }
  const TBrowserEntry& Entry(int Index) const { return FEntries[Index]; }
  TBrowserEntry& Entry(int Index) { return FEntries[Index]; }
  int QueuedCount() const { return static_cast<int>(FQueue.size()); }
  bool Listing() const { return FListing; }
  // Whether the next listing is a quiet one (the same folder again, as it
  // changed): the entries shown stay until it ends, then the new ones take
  // their place at once, sorted, each selected whose name was selected then
  // and keeping the columns of its namesake until the filler reads them
  // again. A list that shows nothing lists as usual.
  void ListQuietly(bool Quiet) { FQuietNext = Quiet; }
  // The first selected entry, -1 for none.
  int SelectedIndex() const;

  // Moves the queue into the list now.
  void MoveQueue();

 private:
  // Moves the queue into Entries; Notify false leaves telling the view to the caller.
  void MoveQueued(std::vector<TBrowserEntry>& Entries, bool Notify);
  // The end of a quiet listing: the queue replaces the entries.
  void ReplaceQuietly();
  struct TQueued {
    int Index;
    TBrowserEntry Entry;
  };
  TBrowserListView& FView;
  TBrowserPreview* FPreview = nullptr;
  std::vector<TBrowserEntry> FEntries;
  std::vector<TQueued> FQueue;
  std::vector<TBrowserColumnKind> FKinds;
  std::uint64_t FLastMove = 0;
  int FSortColumn = 0;
  bool FDescending = false;
  bool FListing = false;
  bool FQuietNext = false, FQuiet = false;
  // Where each entry stands now, by its row when the listing ended: the
  // column filler names entries by those rows, and a sort may come between.
  std::vector<int> FRowOf;
};

// The patterns of a file type's text: its last "(…)" split at ";", blanks
// trimmed, empty ones dropped: "Programs (*.exe;*.com)" gives "*.exe", "*.com".
// A text without brackets gives the whole text as its one pattern ("*.*" when empty).
std::vector<WideString> BrowserTypePatterns(const WideString& TypeText);
// The patterns joined with ";", as the folder listing's filter takes them
// (BrowseFilterMatches).
WideString BrowserTypeFilter(const WideString& TypeText);
