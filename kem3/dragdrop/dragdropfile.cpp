// File name formats and the file and file-map data formats.
#include "kem3/dragdrop/dragdropfile.h"

#include <cstring>

#include "kem3/dragdrop/dragdropdefs.h"
#include "kem3/dragdrop/dragdroppidl.h"
#include "platform/unicode_convert.h"

ORV_DD_CLIPBOARD_IMPL_ID(TFileClipboardFormat, TCustomSimpleClipboardFormat, cfHDrop)
ORV_DD_ABSTRACT_IMPL(TCustomFilenameClipboardFormat, TCustomSimpleClipboardFormat)
ORV_DD_CLIPBOARD_IMPL(TFilenameClipboardFormat, TCustomFilenameClipboardFormat, "FileName")
ORV_DD_CLIPBOARD_IMPL(TFilenameWClipboardFormat, TCustomFilenameClipboardFormat, "FileNameW")
ORV_DD_ABSTRACT_IMPL(TCustomFilenameMapClipboardFormat, TCustomSimpleClipboardFormat)
ORV_DD_CLIPBOARD_IMPL(TFilenameMapClipboardFormat, TCustomFilenameMapClipboardFormat, "FileNameMap")
ORV_DD_CLIPBOARD_IMPL(TFilenameMapWClipboardFormat, TCustomFilenameMapClipboardFormat, "FileNameMapW")
ORV_DD_DATA_FORMAT_IMPL(TFileDataFormat, TCustomDataFormat)
ORV_DD_DATA_FORMAT_IMPL(TFileMapDataFormat, TCustomDataFormat)

bool TFileClipboardFormat::ReadData(TDropBlock Block) {
  Files = ParseDropFiles(Block, &Unread);
  return true;
}

std::int64_t TFileClipboardFormat::GetDataSize() {
  return Files.empty() ? 0 : static_cast<std::int64_t>(BuildDropFiles(Files).size());
}

bool TFileClipboardFormat::WriteData(char* Block, std::int64_t Size) {
  const std::string block = BuildDropFiles(Files);
  if (Size != static_cast<std::int64_t>(block.size())) return false;
  std::memcpy(Block, block.data(), block.size());
  return true;
}

bool TCustomFilenameClipboardFormat::ReadData(TDropBlock Block) {
  Filename = ParseFileNameBlock(Block, Wide());
  return true;
}

bool TCustomFilenameMapClipboardFormat::ReadData(TDropBlock Block) {
  FileMaps = ParseFileNameMap(Block, Wide());
  return true;
}

namespace {

// A name map as written: each name and a zero character, then one more zero.
std::string NameMapBlock(const TFileNames& Names, bool Wide) {
  std::string block;
  for (const WideString& name : Names) {
    if (Wide) {
      for (char16_t c : name) block.append({static_cast<char>(c & 0xFF), static_cast<char>(c >> 8)});
      block.append(2, '\0');
    } else {
      block += WideToAnsi(name);
      block.push_back('\0');
    }
  }
  block.append(Wide ? 2 : 1, '\0');
  return block;
}

}  // namespace

std::int64_t TCustomFilenameMapClipboardFormat::GetDataSize() {
  return static_cast<std::int64_t>(NameMapBlock(FileMaps, Wide()).size());
}

bool TCustomFilenameMapClipboardFormat::WriteData(char* Block, std::int64_t Size) {
  // Names that do not fit the block are cut at its end.
  const std::string block = NameMapBlock(FileMaps, Wide());
  std::memcpy(Block, block.data(), std::min<std::size_t>(block.size(), static_cast<std::size_t>(Size)));
  return true;
}

// ---- TFileDataFormat -----------------------------------------------------------

void TFileDataFormat::Clear() {
  Changing();
  FFiles.clear();
  FUnread = 0;
}

void TFileDataFormat::SetFiles(TFileNames Value, std::size_t Unread) {
  Changing();
  FFiles = std::move(Value);
  FUnread = Unread;
}

bool TFileDataFormat::Assign(TClipboardFormat& Source) {
  if (auto* hdrop = dynamic_cast<TFileClipboardFormat*>(&Source)) {
    SetFiles(hdrop->Files, hdrop->Unread);
    return true;
  }
  if (auto* pidl = dynamic_cast<TPIDLClipboardFormat*>(&Source)) {
    // Shell items without a file-system path are left out.
    TFileNames files;
    for (int i = 0; i < pidl->Filenames().Count(); ++i) {
      WideString name = pidl->Filenames().Get(i);
      if (!name.empty()) files.push_back(std::move(name));
    }
    if (files.empty()) return false;
    SetFiles(std::move(files), pidl->Unread);
    return true;
  }
  if (auto* name = dynamic_cast<TCustomFilenameClipboardFormat*>(&Source)) {
    Changing();
    FFiles.push_back(name->Filename);
    return true;
  }
  return TCustomDataFormat::Assign(Source);
}

bool TFileDataFormat::AssignTo(TClipboardFormat& Dest) {
  if (auto* hdrop = dynamic_cast<TFileClipboardFormat*>(&Dest)) {
    hdrop->Files = FFiles;
    return true;
  }
  if (auto* name = dynamic_cast<TCustomFilenameClipboardFormat*>(&Dest)) {
    if (FFiles.empty()) return false;
    name->Filename = FFiles.front();
    return true;
  }
  return TCustomDataFormat::AssignTo(Dest);
}

void TFileMapDataFormat::Clear() {
  Changing();
  FileMaps.clear();
}

bool TFileMapDataFormat::Assign(TClipboardFormat& Source) {
  if (auto* map = dynamic_cast<TCustomFilenameMapClipboardFormat*>(&Source)) {
    Changing();
    FileMaps = map->FileMaps;
    return true;
  }
  return TCustomDataFormat::Assign(Source);
}

bool TFileMapDataFormat::AssignTo(TClipboardFormat& Dest) {
  if (auto* map = dynamic_cast<TCustomFilenameMapClipboardFormat*>(&Dest)) {
    map->FileMaps = FileMaps;
    return true;
  }
  return TCustomDataFormat::AssignTo(Dest);
}
