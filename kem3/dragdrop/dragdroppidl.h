// Shell item ID lists: the "Shell IDList Array" format, the file names its
// items stand for, and file names turned back into ID lists. The shell is
// reached through TShellNamespace, which the Windows build fills and tests fake.
#pragma once
#include <string>
#include <vector>

#include "kem3/dragdrop/dragdropfile.h"

// An ID list is held as its bytes, 2-byte zero terminator included.
using TIDList = std::string;
using TIDLists = std::vector<TIDList>;

class TShellNamespace {
 public:
  virtual ~TShellNamespace() = default;
  // The file-system path of an absolute ID list; empty when it has none.
  virtual WideString PathFromIDList(const TIDList& IDList) = 0;
  // False when the shell's desktop folder is not available.
  virtual bool HasDesktop() = 0;
  // Parses a name through the desktop folder into an absolute ID list.
  virtual bool ParseDisplayName(const WideString& Name, TIDList& IDList) = 0;
};
TShellNamespace& ShellNamespace();
// Puts a namespace in place (nil: the system's) and returns the previous one.
TShellNamespace* SetShellNamespace(TShellNamespace* Namespace);

// The parent's items followed by the child's.
TIDList JoinIDLists(const TIDList& Parent, const TIDList& Child);
// The folder all names lie in (the empty list for the desktop); raises for a
// missing desktop or a folder the shell cannot parse.
TIDList CommonParentFolder(const TFileNames& Names);
// Entry 0 the common parent, then each name relative to it; false (and an
// empty list) when a name cannot be parsed.
bool FilenamesToIDLists(const TFileNames& Names, TIDLists& Lists);

// A read-only view of an ID list array as file names, one per item.
class TPIDLsToFilenamesStrings {
 public:
  explicit TPIDLsToFilenamesStrings(const TIDLists& Lists) : FLists(Lists) {}
  int Count() const { return FLists.size() >= 2 ? static_cast<int>(FLists.size()) - 1 : 0; }
  // "Filename index out of range" for an index past the items.
  WideString Get(int Index) const;

 private:
  const TIDLists& FLists;
};

class TPIDLClipboardFormat : public TCustomSimpleClipboardFormat {
  ORV_DD_CLIPBOARD_CLASS(TPIDLClipboardFormat)
  void Clear() override {
    IDLists.clear();
    Unread = 0;
  }
  bool HasData() override { return !IDLists.empty(); }
  const TPIDLsToFilenamesStrings& Filenames() const { return FFilenames; }
  TIDLists IDLists;  // entry 0 the parent folder
  // The items of the array after those read (kMaxIDListArrayItems), counted.
  std::size_t Unread = 0;

 protected:
  bool ReadData(TDropBlock Block) override;
  bool WriteData(char* Block, std::int64_t Size) override;
  std::int64_t GetDataSize() override;

 private:
  TPIDLsToFilenamesStrings FFilenames{IDLists};
};

class TPIDLDataFormat : public TCustomDataFormat {
 public:
  explicit TPIDLDataFormat(TDragDropComponent* AOwner) : TCustomDataFormat(AOwner, &Class) {}
  static const TDataFormatClass Class;
  void Clear() override;
  bool HasData() override { return !IDLists.empty(); }
  bool Assign(TClipboardFormat& Source) override;
  bool AssignTo(TClipboardFormat& Dest) override;
  const TPIDLsToFilenamesStrings& Filenames() const { return FFilenames; }
  TIDLists IDLists;

 private:
  TPIDLsToFilenamesStrings FFilenames{IDLists};
};
