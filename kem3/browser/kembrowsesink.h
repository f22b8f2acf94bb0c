// The file browser's side that its listing workers call, always on the GUI
// thread (inside their synchronised calls).
#pragma once
#include <memory>

#include "kem3/browser/kembrowseitem.h"

class TBrowserPreview;

class TBrowserListSink {
 public:
  virtual ~TBrowserListSink() = default;
  // Clears the name lists and the list, stops sorting and stamps the time.
  virtual void BeginListing() = 0;
  // Queues an entry at Index in the list (-1 appends); the queue moves into
  // the list whenever 250 ms have passed since its last move.
  virtual void QueueEntry(int Index, const WideString& Name, bool Selected, std::unique_ptr<TListItemData> Data,
                          int ImageIndex) = 0;
  // Moves the rest of the queue, keeps the sort column in range, sorts.
  virtual void EndListing() = 0;
  virtual void StartColumnFilling(const WideString& FolderPath) = 0;
  virtual void ColumnFillingBegun() = 0;
  virtual void ColumnFillingEnded() = 0;
  // The columns of the entry changed that stood at Index when the listing
  // ended (the list may have been sorted since).
  virtual void RefreshColumns(int Index) = 0;
  // The handler now serving the browser (null for none).
  virtual TBrowserPreview* CurrentPreview() = 0;

  // The network listing's workgroup menu: every item marked unseen; an item
  // with that caption marked seen, or added (checked when Current); the items
  // still unseen deleted.
  virtual void MarkWorkgroupsUnseen() {}
  virtual void SeeWorkgroup(const WideString& /*Name*/, bool /*Current*/) {}
  virtual void DropUnseenWorkgroups() {}
  // The first share found: the list shows shares, the path PathText.
  virtual void ShowShares(const WideString& /*PathText*/) {}
  // Whether the list still shows the network with Server selected.
  virtual bool ShowsServer(const WideString& /*Server*/) { return true; }
  // A server's outcome ("No shares", "No connection") for the dialog to show
  // later, from its own message loop rather than inside the worker's call;
  // false leaves the showing to the worker.
  virtual bool PostShareMessage(const WideString& /*Server*/, const WideString& /*Caption*/,
                                const WideString& /*Body*/) {
    return false;
  }
};
