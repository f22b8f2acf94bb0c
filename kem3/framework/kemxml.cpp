// The XML tree: tags, dotted paths, attributes, the document's life and the
// stored form of texts. Reading and writing live in kemxml_read.cpp and kemxml_write.cpp.
#include "kem3/framework/kemxml.h"

#include <algorithm>
#include <exception>

#include "kem3/framework/kemutil.h"
#include "kem3/framework/kemxml_text.h"
#include "platform/exception_handler.h"
#include "platform/exceptions.h"
#include "platform/files.h"
#include "platform/lists.h"
#include "platform/streams.h"
#include "platform/sysutils.h"
#include "platform/unicode_convert.h"

// ---- TKemXmlTag

TKemXmlTag::TKemXmlTag(TKemXml* Owner, std::string_view Name) : Name(Name), FOwner(Owner) {
  if (FOwner && FOwner->TagDataSize() > 0) FData.assign(static_cast<size_t>(FOwner->TagDataSize()), 0);
}

TKemXmlTag::~TKemXmlTag() = default;

void TKemXmlTag::CheckIndex(int Index) const {
  if (Index < 0 || Index >= GetChildCount()) ListIndexError(Index);
}

void TKemXmlTag::ZeroData() {
  if (FData.empty() && FOwner && FOwner->TagDataSize() > 0)
    FData.assign(static_cast<size_t>(FOwner->TagDataSize()), 0);
  else
    std::fill(FData.begin(), FData.end(), 0);
}

void TKemXmlTag::SetOwnerDeep(TKemXml* Owner) {
  FOwner = Owner;
  for (auto& child : FChildren) child->SetOwnerDeep(Owner);
}

void TKemXmlTag::Assign(const TKemXmlTag& Source) {
  if (&Source == this) return;
  // The source may lie below this tag: copy it whole before anything here goes.
  auto copy = std::make_unique<TKemXmlTag>(FOwner, Source.Name);
  copy->Text = Source.Text;
  copy->Attributes.Assign(Source.Attributes);
  for (const auto& child : Source.FChildren) {
    auto sub = std::make_unique<TKemXmlTag>(FOwner, String());
    sub->Assign(*child);
    copy->AddChild(std::move(sub));
  }
  const std::vector<std::uint8_t> data = Source.FData;
  FChildren.clear();
  std::fill(FData.begin(), FData.end(), 0);
  Name = copy->Name;
  Text = copy->Text;
  if (!data.empty()) {
    if (FData.empty()) FData.assign(data.size(), 0);
    std::copy_n(data.begin(), std::min(FData.size(), data.size()), FData.begin());
  }
  Attributes.Assign(copy->Attributes);
  for (auto& child : copy->FChildren) child->FParent = this;
  FChildren = std::move(copy->FChildren);
}

TKemXmlTags TKemXmlTag::Clear(bool FreeChildren, bool KeepData) {
  TKemXmlTags detached;
  if (FreeChildren) {
    FChildren.clear();
  } else {
    detached = std::move(FChildren);
    FChildren.clear();
    for (auto& child : detached) child->FParent = nullptr;
  }
  if (!KeepData) ZeroData();
  return detached;
}

int TKemXmlTag::AddChild(TKemXmlTagPtr Tag) {
  Tag->FParent = this;
  if (Tag->FOwner != FOwner) Tag->SetOwnerDeep(FOwner);
  // Most tags of the contents file hold a few children: room for them at once.
  if (FChildren.empty()) FChildren.reserve(4);
  FChildren.push_back(std::move(Tag));
  return GetChildCount() - 1;
}

TKemXmlTag* TKemXmlTag::AddTag(const String& Name, const String& AttributeText) {
  auto tag = std::make_unique<TKemXmlTag>(FOwner, Name);
  String rest = AttributeText;
  while (!rest.empty()) {
    String pair = CutToken(rest, ';');
    String name = CutToken(pair, '=');
    tag->AddAttr(name, pair);
  }
  TKemXmlTag* result = tag.get();
  AddChild(std::move(tag));
  return result;
}

void TKemXmlTag::AddAttr(const String& Name, const String& Value) { Attributes.Append(Name, Value); }

void TKemXmlTag::WriteAttr(const String& Name, const String& Value) {
  int index = Attributes.IndexOfName(Name);
  if (index < 0)
    AddAttr(Name, Value);
  else if (Value.empty())
    Attributes.Delete(index);
  else
    Attributes.SetValueFromIndex(index, Value);
}

void TKemXmlTag::DeleteAttr(const String& Name) {
  int index = Attributes.IndexOfName(Name);
  if (index >= 0) Attributes.Delete(index);
}

String TKemXmlTag::ReadAttr(const String& Name, const String& Default) const {
  int index = Attributes.IndexOfName(Name);
  return index < 0 ? Default : String(Attributes.Value(index));
}

String TKemXmlTag::ReadPathAttr(const String& Path, const String& Name, const String& Default) const {
  const TKemXmlTag* tag = FindPath(Path);
  return tag ? tag->ReadAttr(Name, Default) : Default;
}

TKemXmlTag* TKemXmlTag::FindPath(const String& Path, bool Create) {
  TKemXmlTag* current = this;
  String rest = Path;
  while (!rest.empty()) {
    String component = CutToken(rest, '.');
    TKemXmlTag* found = nullptr;
    for (const auto& child : current->FChildren) {
      if (SameText(child->Name, component)) {
        found = child.get();
        break;
      }
    }
    if (!found) {
      if (!Create) return nullptr;
      found = current->AddTag(component);
    }
    current = found;
  }
  return current;
}

const TKemXmlTag* TKemXmlTag::FindPath(const String& Path) const {
  return const_cast<TKemXmlTag*>(this)->FindPath(Path, false);
}

std::vector<TKemXmlTag*> TKemXmlTag::FindAll(const String& Name) const {
  std::vector<TKemXmlTag*> found;
  for (const auto& child : FChildren)
    if (SameText(child->Name, Name)) found.push_back(child.get());
  return found;
}

TKemXmlTags TKemXmlTag::RemoveChild(int Index, bool FreeSubTags) {
  if (Index < 0 || Index >= GetChildCount()) return {};
  TKemXmlTagPtr child = ExtractChild(Index);
  return child->Clear(FreeSubTags, false);
}

void TKemXmlTag::DeleteChild(int Index) {
  CheckIndex(Index);
  ExtractChild(Index);
}

void TKemXmlTag::RemoveComments() {
  for (int i = GetChildCount() - 1; i >= 0; --i) {
    if (FChildren[static_cast<size_t>(i)]->IsComment())
      RemoveChild(i, true);
    else
      FChildren[static_cast<size_t>(i)]->RemoveComments();
  }
}

void TKemXmlTag::MoveChild(int CurIndex, int NewIndex) {
  if (CurIndex == NewIndex) return;
  CheckIndex(CurIndex);
  CheckIndex(NewIndex);
  TKemXmlTagPtr child = std::move(FChildren[static_cast<size_t>(CurIndex)]);
  FChildren.erase(FChildren.begin() + CurIndex);
  FChildren.insert(FChildren.begin() + NewIndex, std::move(child));
}

void TKemXmlTag::MoveChildTo(int Index, TKemXmlTag* NewParent) {
  CheckIndex(Index);
  // A tag cannot go below itself: that would cut the subtree off the document.
  for (const TKemXmlTag* up = NewParent; up; up = up->FParent)
    if (up == FChildren[static_cast<size_t>(Index)].get())
      throw EInvalidOperation("A tag cannot become a child of its own subtree");
  NewParent->AddChild(ExtractChild(Index));
}

void TKemXmlTag::ExchangeChildren(int Index1, int Index2) {
  CheckIndex(Index1);
  CheckIndex(Index2);
  std::swap(FChildren[static_cast<size_t>(Index1)], FChildren[static_cast<size_t>(Index2)]);
}

TKemXmlTagPtr TKemXmlTag::ExtractChild(int Index) {
  CheckIndex(Index);
  TKemXmlTagPtr child = std::move(FChildren[static_cast<size_t>(Index)]);
  FChildren.erase(FChildren.begin() + Index);
  child->FParent = nullptr;
  return child;
}

TKemXmlTag* TKemXmlTag::GetChild(int Index) const {
  CheckIndex(Index);
  return FChildren[static_cast<size_t>(Index)].get();
}

int TKemXmlTag::GetIndex() const {
  if (Name == kXmlRootName || !FParent) return -1;
  const auto& siblings = FParent->FChildren;
  for (size_t i = 0; i < siblings.size(); ++i)
    if (siblings[i].get() == this) return static_cast<int>(i);
  return -1;
}

// ---- TKemXml

TKemXml::TKemXml(const String& FileName, int TagDataSize, bool DeclarationOptional, int BufferSize)
    : FBufferSize(std::max(2, BufferSize / 2 * 2)),
      FDeclarationOptional(DeclarationOptional),
      FTagDataSize(std::max(0, TagDataSize)) {
  FRoot = std::make_unique<TKemXmlTag>(this, String(kXmlRootName));
  try {
    if (!FileName.empty() && FileExists(FileName))
      LoadFromFile(FileName);
    else
      CreateDefault();
  } catch (...) {
    CreateDefault();
  }
}

TKemXml::~TKemXml() = default;

void TKemXml::Clear() {
  FRoot->Clear(true, false);
  FArena.Release();
  FExpectDeclaration = !FDeclarationOptional;
}

void TKemXml::CreateDefault() {
  FFileName.clear();
  FFileDir.clear();
  Clear();
  TKemXmlTag* declaration = FRoot->AddTag(String(kXmlDeclarationName));
  declaration->AddAttr("version", "1.0");
  declaration->AddAttr("encoding", FEncoding == xeUtf8 ? "utf-8" : "iso-8859-1");
  FExpectDeclaration = false;
}

void TKemXml::LoadFromFile(const String& FileName) {
  FFileName = FileName;
  FFileDir = ExtractFilePath(FileName);
  try {
    LoadFromString(ReadFileBytes(FileName));
  } catch (const Exception&) {
    CreateDefault();
    FReadComplete = false;
    FReadFault = TKemXmlFault();
    HandleEventException(this, std::current_exception());
  }
}

void TKemXml::LoadFromStream(TStream& Stream) {
  const std::int64_t size = Stream.Size();
  String bytes;
  if (size > 0) {
    Stream.SetPosition(0);
    // The whole stream in blocks of the buffer size; what does not arrive is not there.
    bytes.resize(static_cast<size_t>(size));
    const auto block = static_cast<size_t>(FBufferSize);
    size_t done = 0;
    while (done < bytes.size()) {
      const std::int64_t got =
          Stream.Read(bytes.data() + done, static_cast<std::int64_t>(std::min(block, bytes.size() - done)));
      if (got <= 0) break;
      done += static_cast<size_t>(got);
    }
    bytes.resize(done);
  }
  Parse(bytes);
}

void TKemXml::LoadFromString(std::string_view Bytes) { Parse(Bytes); }

namespace {

// The blocks a save is made and compared in.
constexpr size_t kSaveBlock = 1 << 20;

}  // namespace

bool TKemXml::FileHoldsWritten(const String& FileName) const {
  // Thrown at the first block that differs: the rest need not be made.
  struct TDiffers {};
  try {
    TFileStream file(FileName, fmOpenRead | fmShareDenyNone);
    const std::int64_t size = file.Size();
    std::int64_t compared = 0;
    std::string read;
    String block;
    kemxml::TOutBuffer out(block, kSaveBlock, [&](std::string_view bytes) {
      const auto count = static_cast<std::int64_t>(bytes.size());
      if (compared + count > size) throw TDiffers();
      read.resize(bytes.size());
      if (file.Read(read.data(), count) != count || std::string_view(read) != bytes) throw TDiffers();
      compared += count;
    });
    WriteTo(out);
    return compared == size;
  } catch (const TDiffers&) {
    return false;
  } catch (const Exception&) {
    return false;
  }
}

void TKemXml::SaveToFile(const String& FileName) const {
  // A save that would change nothing leaves the file alone: the bar saves its
  // contents at every start, mostly to write what it has just read, and reading
  // costs far less than writing and flushing a new file.
  if (FileExists(FileName) && FileHoldsWritten(FileName)) return;
  TAtomicFileWriter file(FileName);
  String block;
  kemxml::TOutBuffer out(block, kSaveBlock, [&file](std::string_view bytes) { file.Write(bytes); });
  WriteTo(out);
  file.Commit();
}

void TKemXml::SaveToStream(TStream& Stream) const { Stream.WriteBytes(SaveToString()); }

String TKemXml::EncodeText(std::string_view Text) const {
  String out;
  kemxml::TOutBuffer buffer(out, Text.size() + Text.size() / 8);
  kemxml::PutEncoded(buffer, Text, FEncoding, kemxml::tkText);
  buffer.Finish();
  return out;
}

String TKemXml::DecodeText(std::string_view Stored) const {
  String out;
  kemxml::AppendDecoded(out, Stored, FEncoding);
  return out;
}
