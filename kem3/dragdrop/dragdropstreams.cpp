// Reading dragged files' contents and keeping their descriptors.
#include "kem3/dragdrop/dragdropstreams.h"

#include <algorithm>
#include <cstring>

#include "kem3/dragdrop/dragdropdefs.h"
#include "kem3/dragdrop/textblocks.h"
#include "platform/unicode_convert.h"

ORV_DD_CLIPBOARD_IMPL(TFileContentsStreamClipboardFormat, TClipboardFormat, "FileContents")
ORV_DD_CLIPBOARD_IMPL(TFileContentsStreamOnDemandClipboardFormat, TClipboardFormat, "FileContents")
ORV_DD_DATA_FORMAT_IMPL(TDataStreamDataFormat, TCustomDataFormat)
ORV_DD_DATA_FORMAT_IMPL(TVirtualFileStreamDataFormat, TCustomDataFormat)

TDropStreamRead ReadDropStream(TStorageMedium& Medium, std::int64_t Budget, std::string& Out) {
  Out.clear();
  // Some sources hand the stream over at its end; one that cannot seek is read from where it stands.
  Medium.Rewind();
  std::int64_t hint = 0;
  if (Medium.StatSize(hint) && hint > 0 && hint <= Budget) Out.reserve(static_cast<std::size_t>(hint));
  std::string chunk(64 * 1024, '\0');
  for (;;) {
    // One byte more than the budget allows tells a stream that does not fit.
    const std::int64_t room = Budget - static_cast<std::int64_t>(Out.size()) + 1;
    const auto want = static_cast<std::uint32_t>(std::min<std::int64_t>(room, static_cast<std::int64_t>(chunk.size())));
    std::uint32_t got = 0;
    if (!Medium.Read(chunk.data(), want, got)) {
      Out.clear();
      return dsrFailed;
    }
    if (got == 0) return dsrRead;
    got = std::min(got, want);
    if (static_cast<std::int64_t>(Out.size()) + got > Budget) {
      Out.clear();
      return dsrTooLarge;
    }
    Out.append(chunk.data(), got);
  }
}

// ---- Lists -------------------------------------------------------------------------

int TStreamList::Add(std::unique_ptr<TMemoryStream> Stream, const String& Name) {
  Changing();
  FItems.emplace_back(Name, std::move(Stream));
  return Count() - 1;
}

void TStreamList::TakeOver(TStreamList& Other) {
  Clear();
  FItems = std::move(Other.FItems);
  Other.FItems.clear();
}

void TStreamList::Clear() {
  Changing();
  FItems.clear();
}

int TMemoryList::Add(std::string Block) {
  FItems.push_back(std::move(Block));
  return Count() - 1;
}

String TFileDescriptorToFilenameStrings::Get(int Index) const {
  return WideToUtf8(FileDescriptorName(FList.Get(Index), false));
}

void TFileDescriptorToFilenameStrings::Insert(int Index, const String& Name) {
  if (Index != Count()) return;
  FList.Add(BuildFileDescriptor(Utf8ToWide(Name), false));
}

void TFileDescriptorToFilenameStrings::Assign(const std::vector<String>& Names) {
  Clear();
  for (const String& name : Names) Insert(Count(), name);
}

// ---- Reading every file's contents -------------------------------------------------

bool TFileContentsStreamClipboardFormat::HasValidFormats(TDropDataObject& DataObject) {
  if (TClipboardFormat::HasValidFormats(DataObject)) return true;
  FIndex = 0;
  const bool first = TClipboardFormat::HasValidFormats(DataObject);
  FIndex = -1;
  return first;
}

bool TFileContentsStreamClipboardFormat::GetData(TDropDataObject& DataObject) {
  Clear();
  // The names come from the descriptors; a source without them offers one unnamed item.
  TFileNames names;
  TFileGroupDescritorClipboardFormat descriptors;
  TFileGroupDescritorWClipboardFormat wideDescriptors;
  const bool haveNames = descriptors.GetData(DataObject) || wideDescriptors.GetData(DataObject);
  if (haveNames) names = descriptors.HasData() ? descriptors.Filenames : wideDescriptors.Filenames;
  const std::int64_t n = haveNames ? static_cast<std::int64_t>(names.size()) : 0;
  FIndex = haveNames ? 0 : -1;
  std::int64_t budget = kMaxDropContentsSize;
  String name;
  bool result = false;
  while (FIndex < n) {
    const std::unique_ptr<TStorageMedium> medium = DataObject.GetData(FormatEtc());
    if (!medium) break;
    ++FIndex;
    if (medium->Tymed() != tymedIStream) continue;
    std::string bytes;
    const TDropStreamRead read = ReadDropStream(*medium, budget, bytes);
    // A file that does not fit ends the reading: no stream is ever kept cut short.
    if (read == dsrTooLarge) break;
    if (read == dsrFailed) continue;
    budget -= static_cast<std::int64_t>(bytes.size());
    if (FIndex > 0) name = WideToUtf8(names[FIndex - 1]);
    auto stream = std::make_unique<TMemoryStream>();
    stream->Write(bytes.data(), static_cast<std::int64_t>(bytes.size()));
    stream->Seek(0, soBeginning);
    Streams.Add(std::move(stream), name);
    result = true;
  }
  FIndex = -1;
  return result;
}

// ---- Contents on demand ------------------------------------------------------------

bool TFileContentsStreamOnDemandClipboardFormat::WriteMedium(const TFormatEtc& Format, TWrittenMedium& Medium) {
  if (!OnGetStream || !(Format.tymed & tymedIStream) || Format.lindex == -1) return false;
  const std::unique_ptr<TStream> stream = OnGetStream(this, Format.lindex);
  if (!stream) return false;
  const std::int64_t size = stream->Size();
  if (size < 0 || size > kMaxDropContentsSize) return false;
  Medium.Bytes.assign(static_cast<std::size_t>(size), '\0');
  stream->Seek(0, soBeginning);
  if (size > 0 && stream->Read(Medium.Bytes.data(), size) != size) return false;
  Medium.tymed = tymedIStream;
  return true;
}

bool TFileContentsStreamOnDemandClipboardFormat::Assign(TCustomDataFormat& Source) {
  if (!dynamic_cast<TVirtualFileStreamDataFormat*>(&Source)) return false;
  GotFromDataFormat = true;
  return true;
}

// ---- Data formats ------------------------------------------------------------------

TDataStreamDataFormat::TDataStreamDataFormat(TDragDropComponent* AOwner) : TCustomDataFormat(AOwner, &Class) {
  Streams.OnChanging = [this](TObject*) { Changing(); };
}

void TDataStreamDataFormat::Clear() { Streams.Clear(); }

bool TDataStreamDataFormat::Assign(TClipboardFormat& Source) {
  auto* contents = dynamic_cast<TFileContentsStreamClipboardFormat*>(&Source);
  if (!contents) return TCustomDataFormat::Assign(Source);
  Streams.TakeOver(contents->Streams);
  return true;
}

TVirtualFileStreamDataFormat::TVirtualFileStreamDataFormat(TDragDropComponent* AOwner)
    : TCustomDataFormat(AOwner, &Class) {
  auto onDemand = std::make_unique<TFileContentsStreamOnDemandClipboardFormat>();
  FOnDemand = onDemand.get();
  CompatibleFormats().Add(std::move(onDemand));
  CompatibleFormats().Add(std::make_unique<TFileGroupDescritorClipboardFormat>());
}

void TVirtualFileStreamDataFormat::Clear() {
  Changing();
  Descriptors.Clear();
  ContentsAvailable = false;
}

bool TVirtualFileStreamDataFormat::HasData() {
  return Descriptors.Count() > 0 && (ContentsAvailable || FOnDemand->OnGetStream);
}

bool TVirtualFileStreamDataFormat::Assign(TClipboardFormat& Source) {
  if (auto* group = dynamic_cast<TFileGroupDescritorClipboardFormat*>(&Source)) {
    Descriptors.Clear();
    const std::size_t count = group->Filenames.size();
    for (std::size_t i = 0; i < count && 4 + (i + 1) * kFileDescriptorSize <= group->Block.size(); ++i) {
      Descriptors.Add(group->Block.substr(4 + i * kFileDescriptorSize, kFileDescriptorSize));
    }
    return true;
  }
  if (auto* onDemand = dynamic_cast<TFileContentsStreamOnDemandClipboardFormat*>(&Source)) {
    ContentsAvailable = onDemand->HasData();
    return true;
  }
  return TCustomDataFormat::Assign(Source);
}

bool TVirtualFileStreamDataFormat::AssignTo(TClipboardFormat& Dest) {
  if (auto* group = dynamic_cast<TFileGroupDescritorClipboardFormat*>(&Dest)) {
    if (Descriptors.Count() == 0) return false;
    std::string block = BuildFileGroupDescriptor({}, false);
    block[0] = static_cast<char>(Descriptors.Count() & 0xFF);
    block[1] = static_cast<char>((Descriptors.Count() >> 8) & 0xFF);
    block[2] = static_cast<char>((Descriptors.Count() >> 16) & 0xFF);
    for (int i = 0; i < Descriptors.Count(); ++i) block += Descriptors.Get(i);
    group->SetBlock(block);
    return true;
  }
  return TCustomDataFormat::AssignTo(Dest);
}
