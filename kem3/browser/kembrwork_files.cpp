// The folder listing and the detail columns of its entries.
#include <utility>

#include "kem3/browser/kembrowsefilter.h"
#include "kem3/browser/kembrwork.h"
#include "kem3/framework/kemutil.h"
#include "platform/sysutils.h"
#include "platform/unicode_convert.h"

// ---- TtFileFinder

void TtFileFinder::BeginWork() { Sink.BeginListing(); }

void TtFileFinder::DoWork() {
  FFolders = FFiles = 0;
  System.ListFolder(Folder, [this](const TBrowseFindData& found) {
    if (Cancelled()) return false;
    if ((found.Attributes & kFaVolume) || found.Name == u"." || found.Name == u"..") return true;
    if (!(found.Attributes & kFaDirectory) && !BrowseFilterMatches(found.Name, Filter)) return true;
    SyncBatched([this, found] { Add(found); });
    return true;
  });
}

void TtFileFinder::Add(const TBrowseFindData& Found) {
  const bool folder = (Found.Attributes & kFaDirectory) != 0;
  const bool selected = WideSameText(Found.Name, SelectName);
  auto data = std::make_unique<TListItemData>();
  data->Kind = folder ? bikOpenable : bikFile;
  // The search has the date and size already: the listing sorts by them at
  // once, before the column filler reads them again.
  data->Date = Found.WriteTime;
  if (!folder) data->Size = Found.Size;
  if (folder) {
    data->Index = FFolders;
    // Folders stay first, in the order found.
    Sink.QueueEntry(FFolders++, Found.Name, selected, std::move(data), 0);
  } else {
    data->Index = FFiles++;
    Sink.QueueEntry(-1, Found.Name, selected, std::move(data), FileImageIndex(Found.Name));
  }
}

void TtFileFinder::EndWork() {
  Sink.EndListing();
  Sink.StartColumnFilling(Folder);
  TtBackProcess::EndWork();
}

// ---- TtColumnFiller

void TtColumnFiller::BeginWork() { Sink.ColumnFillingBegun(); }

void TtColumnFiller::EndWork() {
  Sink.ColumnFillingEnded();
  TtBackProcess::EndWork();
}

void TtColumnFiller::DoWork() {
  for (const TColumnEntry& entry : Folders) {
    if (Cancelled()) return;
    Fill(entry, true);
  }
  for (const TColumnEntry& entry : Files) {
    if (Cancelled()) return;
    Fill(entry, false);
  }
}

void TtColumnFiller::Fill(const TColumnEntry& Entry, bool Folder) {
  TBrowseFindData info;
  const bool exists = System.FileInfo(Entry.Path, info);
  std::vector<WideString> columns;
  if (exists) {
    if (Folder) {
      columns = {WideString(), TypeFolder};
    } else {
      WideString ext;
      const size_t dot = Entry.Path.rfind(u'.');
      const size_t slash = Entry.Path.find_last_of(u"\\/");
      if (dot != WideString::npos && (slash == WideString::npos || dot > slash))
        ext = WideLowerCase(std::u16string_view(Entry.Path).substr(dot + 1, 10));
      columns = {Utf8ToWide(FormatByteSize(info.Size)), ext};
    }
    columns.push_back(BrowseDateText(info.WriteTime, DateOrder));
    columns.push_back(AttributeText(info.Attributes));
    if (!Folder && FieldValues) {
      TUcStringList values;
      try {
        FieldValues(Entry.Path, values);
      } catch (...) {
      }
      for (int i = 0; i < values.Count(); ++i) columns.push_back(values.Strings(i));
    }
  } else {
    info = TBrowseFindData();
  }
  const int index = Entry.ListIndex;
  TListItemData* const data = Entry.Data;
  SyncBatched([this, index, data, Folder, info, columns = std::move(columns)] {
    if (data) {
      data->Date = info.WriteTime;
      if (!Folder) data->Size = info.Size;
      data->Columns.Clear();
      for (const WideString& c : columns) data->Columns.Add(c);
    }
    Sink.RefreshColumns(index);
  });
}
