// Files that exist only in the drag source's memory (mail attachments, archive
// items): the file group descriptor's records and one "FileContents" stream per
// file, asked for by index. TDataStreamDataFormat reads every file's contents at
// the drop; TVirtualFileStreamDataFormat keeps the descriptors and leaves the
// contents to a later request.
#pragma once
#include <functional>
#include <memory>

#include "kem3/dragdrop/dragdroptext.h"
#include "platform/streams.h"

// Everything one drop may hand over as file contents, all items together.
inline constexpr std::int64_t kMaxDropContentsSize = kMaxDropBlockSize;

enum TDropStreamRead { dsrRead, dsrFailed, dsrTooLarge };
// Reads a stream medium from its start as the source delivers it, up to the
// end it reports by a read of 0 bytes; Stat only sizes the first buffer. More
// than Budget bytes gives dsrTooLarge and nothing in Out.
TDropStreamRead ReadDropStream(TStorageMedium& Medium, std::int64_t Budget, std::string& Out);

// Pairs of (name, stream), owning the streams.
class TStreamList {
 public:
  int Add(std::unique_ptr<TMemoryStream> Stream, const String& Name);
  int Count() const { return static_cast<int>(FItems.size()); }
  TMemoryStream& Streams(int Index) const { return *FItems[Index].second; }
  const String& Names(int Index) const { return FItems[Index].first; }
  // Takes every pair of Other, which is left empty.
  void TakeOver(TStreamList& Other);
  void Clear();
  TNotifyEvent OnChanging;

 private:
  void Changing() {
    if (OnChanging) OnChanging(nullptr);
  }
  std::vector<std::pair<String, std::unique_ptr<TMemoryStream>>> FItems;
};

// Owned memory blocks.
class TMemoryList {
 public:
  int Add(std::string Block);
  int Count() const { return static_cast<int>(FItems.size()); }
  const std::string& Get(int Index) const { return FItems[Index]; }
  void Delete(int Index) { FItems.erase(FItems.begin() + Index); }
  void Clear() { FItems.clear(); }

 private:
  std::vector<std::string> FItems;
};

// The file names of a list of 332-byte descriptor records, as a string list.
class TFileDescriptorToFilenameStrings {
 public:
  explicit TFileDescriptorToFilenameStrings(TMemoryList& List) : FList(List) {}
  String Get(int Index) const;  // UTF-8
  int Count() const { return FList.Count(); }
  void Clear() { FList.Clear(); }
  void Delete(int Index) { FList.Delete(Index); }
  // Appends a zeroed record with Name; an index other than Count changes nothing.
  void Insert(int Index, const String& Name);
  void Assign(const std::vector<String>& Names);

 private:
  TMemoryList& FList;
};

// Every file's contents, named after its descriptor.
class TFileContentsStreamClipboardFormat : public TClipboardFormat {
  ORV_DD_CLIPBOARD_CLASS(TFileContentsStreamClipboardFormat)
  TFileContentsStreamClipboardFormat() : TClipboardFormat(tymedIStream) {}
  // Sources answer for the items by index, not all of them for the format as a whole.
  bool HasValidFormats(TDropDataObject& DataObject) override;
  bool GetData(TDropDataObject& DataObject) override;
  void Clear() override { Streams.Clear(); }
  bool HasData() override { return Streams.Count() > 0; }
  TStreamList Streams;
};

// Reads nothing; a source hands out a file's stream when asked for it.
class TFileContentsStreamOnDemandClipboardFormat : public TClipboardFormat {
  ORV_DD_CLIPBOARD_CLASS(TFileContentsStreamOnDemandClipboardFormat)
  TFileContentsStreamOnDemandClipboardFormat() : TClipboardFormat(tymedIStream) {}
  bool GetData(TDropDataObject&) override {
    GotData = true;
    return true;
  }
  bool WriteMedium(const TFormatEtc& Format, TWrittenMedium& Medium) override;
  void Clear() override { GotData = GotFromDataFormat = false; }
  bool HasData() override { return GotData || GotFromDataFormat; }
  bool Assign(TCustomDataFormat& Source) override;
  // The stream of file Index; nil when there is none.
  std::function<std::unique_ptr<TStream>(TObject* Sender, int Index)> OnGetStream;
  bool GotData = false;
  bool GotFromDataFormat = false;
};

class TDataStreamDataFormat : public TCustomDataFormat {
 public:
  explicit TDataStreamDataFormat(TDragDropComponent* AOwner);
  static const TDataFormatClass Class;
  void Clear() override;
  bool HasData() override { return Streams.Count() > 0; }
  bool Assign(TClipboardFormat& Source) override;
  TStreamList Streams;
};

class TVirtualFileStreamDataFormat : public TCustomDataFormat {
 public:
  explicit TVirtualFileStreamDataFormat(TDragDropComponent* AOwner);
  static const TDataFormatClass Class;
  void Clear() override;
  bool HasData() override;
  bool WantsData() override { return !(Descriptors.Count() > 0 && ContentsAvailable); }
  bool Assign(TClipboardFormat& Source) override;
  bool AssignTo(TClipboardFormat& Dest) override;
  TMemoryList Descriptors;  // 332-byte records
  TFileDescriptorToFilenameStrings FileNames{Descriptors};
  bool ContentsAvailable = false;
  TFileContentsStreamOnDemandClipboardFormat* OnDemand() const { return FOnDemand; }

 private:
  TFileContentsStreamOnDemandClipboardFormat* FOnDemand;
};
