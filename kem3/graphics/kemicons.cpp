// TKemIcons: the groups of one icon file, the choice of an image size, the
// icon file format itself, and which reader a file goes to.
#include "kem3/graphics/kemicons.h"

#include "kem3/framework/kemsysinfo.h"
#include "kem3/framework/kemutil.h"
#include "kem3/graphics/kemmacicons.h"
#include "platform/streams.h"
#include "platform/sysutils.h"

namespace {

constexpr int kIcoHeaderSize = 6;
constexpr int kIcoEntrySize = 16;

bool IsIcoHeader(std::string_view Head) {
  const TIconBytes bytes(Head);
  return bytes.Has(0, kIcoHeaderSize) && bytes.U16(0) == 0 && bytes.U16(2) == 1;
}

}  // namespace

TIconBlock ReadIconFileIf(const String& FileName,
                          const std::function<bool(std::string_view Head, std::int64_t Size)>& Accept) {
  TFileStream stream(FileName, fmOpenRead | fmShareDenyWrite);
  const std::int64_t size = stream.Size();
  if (size < 0) throw EIconError("Icon file size");
  std::string bytes = stream.ReadBytes(std::min(size, kIconHeadBytes));
  if (!Accept(bytes, size)) return nullptr;
  if (size > kMaxIconFileBytes) throw EIconError("Icon file too large");
  bytes += stream.ReadBytes(size - static_cast<std::int64_t>(bytes.size()));
  return std::make_shared<const std::string>(std::move(bytes));
}

// ---- Groups

TKemIconImage* TKemIconGroup::BestImage(int MaxSize, int MaxBits, int* Index) const {
  int chosen = -1, width = 0, bits = 0;
  for (int i = 0; i < Count(); ++i) {
    const TKemIconImage& image = *Images[static_cast<std::size_t>(i)];
    if (image.Width >= width && image.Width <= MaxSize && image.BitCount >= bits && image.BitCount <= MaxBits) {
      chosen = i;
      width = image.Width;
      bits = image.BitCount;
    }
  }
  if (chosen < 0 && Count() > 0) chosen = 0;
  if (Index) *Index = chosen;
  return Image(chosen);
}

TKemIconImage* TKemIconGroup::ExactImage(int Size, int MaxBits, int* Index) const {
  int chosen = -1, bits = -1;
  for (int i = 0; i < Count(); ++i) {
    const TKemIconImage& image = *Images[static_cast<std::size_t>(i)];
    if (image.Width == Size && image.BitCount <= MaxBits && image.BitCount >= bits) {
      chosen = i;
      bits = image.BitCount;
    }
  }
  if (Index) *Index = chosen;
  return Image(chosen);
}

// ---- What one file may cost

void TIconFileBudget::TakeEntry() {
  if (Spent()) throw EIconError("Icon file with too many entries");
  ++FEntries;
}

bool TIconFileBudget::AddImage(TKemIconGroup& Group, std::unique_ptr<TKemIconImage> Image) {
  if (!Image || GroupFull(Group)) return false;
  const std::int64_t bytes = std::int64_t{std::max(Image->Width, 1)} * std::max(Image->Height, 1) * 4;
  if (bytes > kMaxIconPixelBytesPerFile - FPixelBytes) return false;
  FPixelBytes += bytes;
  Group.Images.push_back(std::move(Image));
  return true;
}

// ---- The library

TKemIcons::~TKemIcons() = default;

void TKemIcons::Clear() {
  FGroups.clear();
  FDefaultGroup = 0;
  FFromRegisteredIcon = false;
}

TKemIconGroup* TKemIcons::FindGroup(const String& Name) const {
  for (const auto& group : FGroups)
    if (SameText(group->Name, Name)) return group.get();
  return nullptr;
}

void TKemIcons::AddGroup(std::unique_ptr<TKemIconGroup> Group) {
  if (Group && Group->Count() > 0) FGroups.push_back(std::move(Group));
}

void TKemIcons::LoadIcoData(const TIconBlock& Data) {
  if (!Data || !IsIcoHeader(*Data)) return;
  const TIconBytes bytes(*Data);
  const int count = bytes.U16(4);
  auto group = std::make_unique<TKemIconGroup>();
  TIconFileBudget budget;
  for (int i = 0; i < count && !TIconFileBudget::GroupFull(*group); ++i) {
    const std::int64_t entry = kIcoHeaderSize + std::int64_t{i} * kIcoEntrySize;
    if (!bytes.Has(entry, kIcoEntrySize)) break;
    const std::uint32_t size = bytes.U32(entry + 8), offset = bytes.U32(entry + 12);
    if (size == 0 || !bytes.Has(offset, size)) continue;
    try {
      budget.AddImage(*group, std::make_unique<TKemIconImageWin>(bytes.Sub(offset, size), bytes.U8(entry),
                                                                 bytes.U8(entry + 1), bytes.U8(entry + 2),
                                                                 bytes.U16(entry + 4), bytes.U16(entry + 6), Data));
    } catch (const Exception&) {
      // An entry whose data say nothing usable is left out.
    }
  }
  AddGroup(std::move(group));
}

void TKemIcons::LoadFromFile(const String& FileName, bool ClearFirst) {
  if (ClearFirst) Clear();
  FDefaultGroup = 0;
  FFromRegisteredIcon = false;
  LoadFile(FileName, true);
}

void TKemIcons::LoadFile(const String& FileName, bool AllowRegistered) {
  FFileName = FileName;
  const int before = GetCount();
  try {
    bool isPE = false;
    if (LowerCase(ExtractFileExt(FileName)) == ".ico") {
      LoadIcoData(ReadIconFileIf(FileName, [](std::string_view Head, std::int64_t) { return IsIcoHeader(Head); }));
    } else if (IsExecutableFile(FileName, isPE)) {
      if (isPE)
        LoadExecutableIcons(*this, FileName);
      else
        LoadNEData(ReadIconFileIf(FileName, [](std::string_view, std::int64_t) { return true; }));
    } else {
      // Only a file that begins as a Mac icon file is read whole.
      LoadMacData(ReadIconFileIf(FileName, TMacBinary::IsMacIconHead));
    }
  } catch (const Exception&) {
    // An unreadable file adds no group; the registered icon may still stand in.
  }
  if (GetCount() == before && AllowRegistered) LoadRegisteredIcon(FileName);
}

void TKemIcons::LoadRegisteredIcon(const String& FileName) {
  const String ext = ExtractFileExt(FileName);
  if (ext.empty() || ext == ".") return;
  String path;
  int index = 0;
  if (!ParseIconLocation(RegisteredIconLocation(ext), path, index)) return;
  const int before = GetCount();
  // "url.dll,0": a bare name is a library on the system's search path.
  LoadFile(FindOnSystemPath(ExpandPathVariables(path)), false);
  FFileName = FileName;
  if (GetCount() == before) return;
  FFromRegisteredIcon = true;
  FDefaultGroup = 0;
  if (index >= 0) {
    FDefaultGroup = before + index;
  } else {
    // A negative index is a resource id: the group of that number.
    for (int i = before; i < GetCount(); ++i)
      if (GetGroup(i)->Name == IntToStr(-static_cast<std::int64_t>(index))) FDefaultGroup = i;
  }
}

bool ParseIconLocation(const String& Location, String& Path, int& Index) {
  String text = StringReplace(Trim(Location), "%1", "", TReplaceFlags{rfReplaceAll});
  text = Trim(text);
  String rest;
  if (!text.empty() && text[0] == '"') {
    const auto close = text.find('"', 1);
    Path = text.substr(1, close == String::npos ? String::npos : close - 1);
    rest = close == String::npos ? String() : text.substr(close + 1);
  } else {
    const auto comma = text.find(',');
    Path = text.substr(0, comma);
    rest = comma == String::npos ? String() : text.substr(comma);
  }
  Path = Trim(StringReplace(Path, "\"", "", TReplaceFlags{rfReplaceAll}));
  rest = Trim(rest);
  Index = 0;
  if (!rest.empty() && rest[0] == ',') Index = StrToIntDef(Trim(rest.substr(1)), 0);
  return !Path.empty();
}

namespace {

// The signature at the new header's offset, which must lie inside the file.
bool ExecutableKind(std::string_view Signature, bool& IsPE) {
  IsPE = Signature == std::string_view("PE\0\0", 4);
  return IsPE || Signature.substr(0, 2) == "NE";
}

}  // namespace

bool IsExecutableData(std::string_view Data, bool& IsPE) {
  IsPE = false;
  TIconBytes bytes(Data);
  if (!bytes.Has(0, 64) || Data.substr(0, 2) != "MZ") return false;
  const std::int64_t header = bytes.U32(60);
  return header >= 64 && bytes.Has(header, 4) && ExecutableKind(bytes.Sub(header, 4), IsPE);
}

bool IsExecutableFile(const String& FileName, bool& IsPE) {
  IsPE = false;
  try {
    TFileStream stream(FileName, fmOpenRead | fmShareDenyWrite);
    const std::int64_t size = stream.Size();
    if (size < 64) return false;
    char head[64];
    stream.ReadBuffer(head, 64);
    if (head[0] != 'M' || head[1] != 'Z') return false;
    const std::int64_t header = TIconBytes(std::string_view(head, 64)).U32(60);
    if (header < 64 || header > size - 4) return false;
    char signature[4];
    stream.SetPosition(header);
    stream.ReadBuffer(signature, 4);
    return ExecutableKind(std::string_view(signature, 4), IsPE);
  } catch (const Exception&) {
    return false;
  }
}
