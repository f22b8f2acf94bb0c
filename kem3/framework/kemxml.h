// The component library's small XML document: a tree of tags addressed by dotted
// paths, attributes held as "name=value" lines, one text per tag, and a reader and
// writer that keep the file format of the contents file and the skin definitions.
// It is not a general XML parser: what it reads is what its own writer writes.
#pragma once
#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

#include "kem3/framework/kemxml_arena.h"
#include "kem3/framework/kemxml_attributes.h"
#include "platform/object.h"
#include "platform/types.h"

class TStream;
class TKemXml;
namespace kemxml {
class TOutBuffer;
}

// Encodings a document knows; a declaration read from a file switches between them.
enum : std::uint8_t { xeIso88591 = 0, xeUtf8 = 1 };

// Names of the tags that are not elements.
inline constexpr std::string_view kXmlRootName = "kem/xml-root";
inline constexpr std::string_view kXmlCommentName = "!--";
inline constexpr std::string_view kXmlDeclarationName = "?xml";

// Why and where a read stopped taking in the bytes it was given.
enum TKemXmlFaultKind : std::uint8_t {
  xfNone,         // every byte was taken in
  xfBracket,      // a "<" inside a construct that no ">" of its own closes
  xfCutOff,       // a construct or text that the bytes end inside
  xfUnclosed,     // an element that is never closed
  xfDeclaration,  // the first construct is not the declaration that must lead
  xfTooDeep,      // an element below the deepest level the reader keeps
};
struct TKemXmlFault {
  TKemXmlFaultKind Kind = xfNone;
  int Line = 0;  // 1 for the first line (lines end at LF); 0 with xfNone
};
// The elements a read keeps nested; deeper ones it passes over with all they hold.
inline constexpr int kXmlMaxDepth = 256;

class TKemXmlTag;
using TKemXmlTagPtr = std::unique_ptr<TKemXmlTag>;
using TKemXmlTags = std::vector<TKemXmlTagPtr>;

// One element of the tree. Name, text and attribute values are UTF-8 and held
// decoded; attribute names match without regard to ASCII case.
class TKemXmlTag : public TObject {
 public:
  TKemXmlTag(TKemXml* Owner, std::string_view Name);
  ~TKemXmlTag() override;
  TKemXmlTag(const TKemXmlTag&) = delete;
  TKemXmlTag& operator=(const TKemXmlTag&) = delete;
  // Tags a read makes come from the document's arena; every tag is freed the same way.
  static void* operator new(std::size_t Size) { return kemxml::TArena::AllocateHeap(Size); }
  static void* operator new(std::size_t Size, kemxml::TArena& Arena) { return Arena.Allocate(Size); }
  static void operator delete(void* Block) noexcept { kemxml::TArena::Free(Block); }
  static void operator delete(void* Block, kemxml::TArena&) noexcept { kemxml::TArena::Free(Block); }

  String Name;
  String Text;
  TKemXmlAttributes Attributes;  // "name=value" lines

  TKemXmlTag* Parent() const { return FParent; }
  TKemXml* Owner() const { return FOwner; }
  // The per-tag user block of the owner's TagDataSize bytes, zero-filled; nil when that size is 0.
  void* Data() { return FData.empty() ? nullptr : FData.data(); }

  // Becomes a copy of Source: name, text, data block, attributes and the whole
  // subtree (new tags of this tag's owner). Own children are freed first.
  void Assign(const TKemXmlTag& Source);
  // Empties Children; unless KeepData, zero-fills the data block. Name, text and
  // attributes stay. Without FreeChildren the children are handed back instead.
  TKemXmlTags Clear(bool FreeChildren, bool KeepData);

  // Appends Tag (which becomes this tag's child, of this tag's owner); returns its index.
  int AddChild(TKemXmlTagPtr Tag);
  // A new child named Name with the attributes of "a=1;b=2" (values cannot hold ";").
  TKemXmlTag* AddTag(const String& Name, const String& AttributeText = String());

  // Appends name=value without looking for an existing one.
  void AddAttr(const String& Name, const String& Value);
  // Appends a missing attribute, replaces an existing one's value, and removes
  // an existing one when Value is empty.
  void WriteAttr(const String& Name, const String& Value);
  void DeleteAttr(const String& Name);
  // The value when the attribute is present (even when empty), else Default.
  String ReadAttr(const String& Name, const String& Default = String()) const;
  String ReadPathAttr(const String& Path, const String& Name, const String& Default = String()) const;

  // Follows the dotted path ("a.b.c") from this tag, each component matching the
  // first child of that name without regard to ASCII case. With Create, missing
  // components are appended; without it a missing one gives nil. "" is this tag.
  TKemXmlTag* FindPath(const String& Path, bool Create = false);
  const TKemXmlTag* FindPath(const String& Path) const;
  // Every direct child of that name, in order.
  std::vector<TKemXmlTag*> FindAll(const String& Name) const;

  // Out of range: nothing. Otherwise the child goes; without FreeSubTags its
  // children are detached and handed back instead of being freed.
  TKemXmlTags RemoveChild(int Index, bool FreeSubTags = true);
  // Raises EListError for a bad index.
  void DeleteChild(int Index);
  // Removes every comment below this tag, with whatever it holds.
  void RemoveComments();
  void MoveChild(int CurIndex, int NewIndex);
  // Hands the child at Index over to NewParent, appended to its children.
  void MoveChildTo(int Index, TKemXmlTag* NewParent);
  void ExchangeChildren(int Index1, int Index2);
  // Takes the child at Index out of the tree and gives it to the caller.
  TKemXmlTagPtr ExtractChild(int Index);

  int GetChildCount() const { return static_cast<int>(FChildren.size()); }
  // Raises EListError for a bad index.
  TKemXmlTag* GetChild(int Index) const;
  // The index in the parent's children; -1 for the pseudo-root and a tag without parent.
  int GetIndex() const;
  bool IsComment() const { return Name == kXmlCommentName; }

 private:
  friend class TKemXml;
  void CheckIndex(int Index) const;
  void ZeroData();
  void SetOwnerDeep(TKemXml* Owner);

  TKemXmlTags FChildren;
  TKemXmlTag* FParent = nullptr;
  TKemXml* FOwner;
  std::vector<std::uint8_t> FData;
};

// The document: the pseudo-root whose children are the top-level constructs of
// the file (declaration, comments, the document element), the encoding, and
// the reader's window.
class TKemXml : public TObject {
 public:
  // A non-empty FileName of an existing file is loaded; otherwise, or when the
  // load fails in any way, the document is the default one (a declaration only).
  // BufferSize is the block a stream is read in; the reader sees the whole
  // stream at once, so no construct is too long for it.
  explicit TKemXml(const String& FileName = String(), int TagDataSize = 0, bool DeclarationOptional = false,
                   int BufferSize = 65536);
  ~TKemXml() override;
  TKemXml(const TKemXml&) = delete;
  TKemXml& operator=(const TKemXml&) = delete;

  // Frees every tag below Root; the next construct read must be the declaration
  // unless declarations are optional.
  void Clear();
  // Clear, then one "?xml" tag with the version and the current encoding.
  void CreateDefault();

  // Reads the file. A failure to open or read it gives the default document and
  // goes to the application's exception display (HandleEventException).
  void LoadFromFile(const String& FileName);
  // Replaces the tree with what Stream holds, from its start. Any bytes are
  // read without error: the read ends at the last complete construct.
  void LoadFromStream(TStream& Stream);
  void LoadFromString(std::string_view Bytes);
  // Through a temporary file and one replace: a failure raises and leaves an
  // existing file as it was. A file that already holds exactly what would be
  // written is left alone. The bytes are made and written in blocks, never
  // held whole.
  void SaveToFile(const String& FileName) const;
  void SaveToStream(TStream& Stream) const;
  String SaveToString() const;

  TKemXmlTag* FindPath(const String& Path, bool Create = false) { return FRoot->FindPath(Path, Create); }

  // A text or attribute value in its stored form, and back. References "&#n;"
  // carry the characters the stored form must not hold as they are.
  String EncodeText(std::string_view Text) const;
  String DecodeText(std::string_view Stored) const;

  std::uint8_t Encoding() const { return FEncoding; }
  bool DeclarationOptional() const { return FDeclarationOptional; }
  int TagDataSize() const { return FTagDataSize; }
  TKemXmlTag* Root() const { return FRoot.get(); }
  const String& FileName() const { return FFileName; }
  // The folder of FileName with its trailing delimiter.
  const String& FileDir() const { return FFileDir; }
  bool ExpectDeclaration() const { return FExpectDeclaration; }
  // Whether the last read took in every byte: nothing cut off at the end, no
  // missing declaration, every element closed. A file that fails this holds
  // more than the tree does.
  bool ReadComplete() const { return FReadComplete; }
  // The first place at which the last read of bytes stopped or left something
  // out: where the bytes hold more than the tree, and why. xfNone when the
  // read was complete, or when the file could not be read at all.
  const TKemXmlFault& ReadFault() const { return FReadFault; }

 private:
  friend class TKemXmlReader;
  // Parses the bytes into the cleared tree.
  void Parse(std::string_view Bytes);
  // The whole file's bytes into Out, then Out.Finish.
  void WriteTo(kemxml::TOutBuffer& Out) const;
  // Whether the file holds exactly what WriteTo makes; false when it cannot be read.
  bool FileHoldsWritten(const String& FileName) const;

  std::uint8_t FEncoding = xeIso88591;
  int FBufferSize;
  bool FDeclarationOptional;
  int FTagDataSize;
  kemxml::TArena FArena;  // the blocks of the tags a read makes
  std::unique_ptr<TKemXmlTag> FRoot;
  String FFileName;
  String FFileDir;
  bool FExpectDeclaration = false;
  bool FReadComplete = true;
  TKemXmlFault FReadFault;
};
