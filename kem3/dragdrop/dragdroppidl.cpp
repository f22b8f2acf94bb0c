// ID list arrays, their file names and file names turned into ID lists.
#include "kem3/dragdrop/dragdroppidl.h"

#include <cstring>

#include "kem3/dragdrop/dragdropdefs.h"
#include "platform/unicode_convert.h"

ORV_DD_CLIPBOARD_IMPL(TPIDLClipboardFormat, TCustomSimpleClipboardFormat, "Shell IDList Array")
ORV_DD_DATA_FORMAT_IMPL(TPIDLDataFormat, TCustomDataFormat)

namespace {

// Without a shell (the native build): no paths, nothing parses.
class TNoShellNamespace : public TShellNamespace {
 public:
  WideString PathFromIDList(const TIDList&) override { return {}; }
  bool HasDesktop() override { return false; }
  bool ParseDisplayName(const WideString&, TIDList&) override { return false; }
};

TShellNamespace* gNamespace = nullptr;

// The ID list of a name's folder: the name up to and including its last separator.
WideString FolderPart(const WideString& Name) {
  const std::size_t slash = Name.find_last_of(u"\\/");
  return slash == WideString::npos ? WideString() : Name.substr(0, slash + 1);
}

}  // namespace

TShellNamespace* SystemShellNamespace();  // the Windows build's; nil natively

TShellNamespace& ShellNamespace() {
  if (gNamespace) return *gNamespace;
  if (TShellNamespace* system = SystemShellNamespace()) return *system;
  static TNoShellNamespace none;
  return none;
}

TShellNamespace* SetShellNamespace(TShellNamespace* Namespace) {
  TShellNamespace* previous = gNamespace;
  gNamespace = Namespace;
  return previous;
}

TIDList JoinIDLists(const TIDList& Parent, const TIDList& Child) {
  return (Parent.size() > 2 ? Parent.substr(0, Parent.size() - 2) : TIDList()) + Child;
}

TIDList CommonParentFolder(const TFileNames& Names) {
  if (Names.empty()) return {};
  TShellNamespace& shell = ShellNamespace();
  if (!shell.HasDesktop()) throw Exception("Failed to get interface to Desktop");
  TIDList parent;
  for (std::size_t i = 0; i < Names.size(); ++i) {
    TIDList folder;
    if (!shell.ParseDisplayName(FolderPart(Names[i]), folder)) {
      throw Exception("Invalid filename: " + WideToUtf8(Names[i]));
    }
    IDListSize(folder);  // the shell's answer is walked like any other list
    if (i == 0) {
      parent = folder;
      continue;
    }
    // Keep the items both lists share from their start.
    std::size_t pos = 0;
    while (pos + 2 <= parent.size()) {
      const std::size_t cb = static_cast<std::uint8_t>(parent[pos]) | (static_cast<std::uint8_t>(parent[pos + 1]) << 8);
      if (cb == 0 || pos + cb > parent.size() || pos + cb > folder.size() ||
          parent.compare(pos, cb, folder, pos, cb) != 0)
        break;
      pos += cb;
    }
    if (pos == 0) return TIDList(2, '\0');
    if (pos + 2 < parent.size()) parent = parent.substr(0, pos) + TIDList(2, '\0');
  }
  return parent;
}

bool FilenamesToIDLists(const TFileNames& Names, TIDLists& Lists) {
  Lists.clear();
  if (Names.empty()) return false;
  const TIDList parent = CommonParentFolder(Names);
  Lists.push_back(parent);
  for (const WideString& name : Names) {
    TIDList absolute;
    if (!ShellNamespace().ParseDisplayName(name, absolute) || absolute.size() + 2 < parent.size()) {
      Lists.clear();
      return false;
    }
    Lists.push_back(absolute.substr(parent.size() - 2));
  }
  return true;
}

WideString TPIDLsToFilenamesStrings::Get(int Index) const {
  if (Index < 0 || Index >= Count()) throw Exception("Filename index out of range");
  return ShellNamespace().PathFromIDList(JoinIDLists(FLists[0], FLists[Index + 1]));
}

bool TPIDLClipboardFormat::ReadData(TDropBlock Block) {
  IDLists = ParseIDListArray(Block, &Unread);
  return true;
}

std::int64_t TPIDLClipboardFormat::GetDataSize() {
  std::int64_t size = (static_cast<std::int64_t>(IDLists.size()) + 1) * 4;
  for (const TIDList& list : IDLists) size += static_cast<std::int64_t>(list.size());
  return IDLists.empty() ? 0 : size;
}

bool TPIDLClipboardFormat::WriteData(char* Block, std::int64_t Size) {
  if (Size != GetDataSize()) return false;
  const auto put32 = [&](std::size_t pos, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) Block[pos + i] = static_cast<char>(value >> (8 * i));
  };
  put32(0, static_cast<std::uint32_t>(IDLists.size() - 1));
  std::uint32_t offset = static_cast<std::uint32_t>(IDLists.size() + 1) * 4;
  for (std::size_t i = 0; i < IDLists.size(); ++i) {
    put32(4 + 4 * i, offset);
    std::memcpy(Block + offset, IDLists[i].data(), IDLists[i].size());
    offset += static_cast<std::uint32_t>(IDLists[i].size());
  }
  return true;
}

void TPIDLDataFormat::Clear() {
  Changing();
  IDLists.clear();
}

bool TPIDLDataFormat::Assign(TClipboardFormat& Source) {
  if (auto* pidl = dynamic_cast<TPIDLClipboardFormat*>(&Source)) {
    Changing();
    IDLists = pidl->IDLists;
    return true;
  }
  if (auto* hdrop = dynamic_cast<TFileClipboardFormat*>(&Source)) {
    Changing();
    return FilenamesToIDLists(hdrop->Files, IDLists);
  }
  return TCustomDataFormat::Assign(Source);
}

bool TPIDLDataFormat::AssignTo(TClipboardFormat& Dest) {
  if (auto* pidl = dynamic_cast<TPIDLClipboardFormat*>(&Dest)) {
    pidl->IDLists = IDLists;
    return true;
  }
  if (auto* hdrop = dynamic_cast<TFileClipboardFormat*>(&Dest)) {
    hdrop->Files.clear();
    for (int i = 0; i < FFilenames.Count(); ++i) hdrop->Files.push_back(FFilenames.Get(i));
    return true;
  }
  return TCustomDataFormat::AssignTo(Dest);
}
