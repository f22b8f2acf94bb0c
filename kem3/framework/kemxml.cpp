// The XML tree: tags, dotted paths, attributes, the document's life and the
// stored form of texts. Reading and writing live in kemxml_read.cpp and kemxml_write.cpp.
#include "kem3/framework/kemxml.h"

#include <algorithm>
#include <exception>

#include "kem3/framework/kemutil.h"
#include "platform/exception_handler.h"
#include "platform/exceptions.h"
#include "platform/files.h"
#include "platform/lists.h"
#include "platform/streams.h"
#include "platform/sysutils.h"
#include "platform/unicode_convert.h"

namespace {

// The number of a reference "&#n;": decimal digits after optional blanks and a
// sign, within 32 bits. Anything else (hexadecimal, nothing at all) reads as a blank.
char32_t ReferenceCode(std::string_view digits) {
  size_t i = 0;
  while (i < digits.size() && digits[i] == ' ') ++i;
  bool negative = false;
  if (i < digits.size() && (digits[i] == '+' || digits[i] == '-')) negative = digits[i++] == '-';
  if (i == digits.size()) return U' ';
  std::int64_t value = 0;
  for (; i < digits.size(); ++i) {
    if (digits[i] < '0' || digits[i] > '9') return U' ';
    value = value * 10 + (digits[i] - '0');
    if (value > 0x80000000LL) return U' ';
  }
  if (negative) value = -value;
  if (value < -0x80000000LL || value > 0x7FFFFFFF) return U' ';
  // Numbers that name no character still stand for one character.
  if (value < 0 || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) return kReplacementChar;
  return static_cast<char32_t>(value);
}

// Replaces every "&#n;" by its character, in one pass: what a reference yields
// is never read again. A reference without ";" takes all the rest as its number.
String DecodeReferences(std::string_view s) {
  String out;
  out.reserve(s.size());
  size_t i = 0;
  for (;;) {
    size_t at = s.find("&#", i);
    if (at == std::string_view::npos) {
      out.append(s.substr(i));
      return out;
    }
    out.append(s.substr(i, at - i));
    size_t semi = s.find(';', at + 2);
    size_t end = semi == std::string_view::npos ? s.size() : semi;
    AppendUtf8(out, ReferenceCode(s.substr(at + 2, end - at - 2)));
    i = semi == std::string_view::npos ? s.size() : semi + 1;
  }
}

void AppendReference(String& out, char32_t cp) { out += "&#" + IntToStr(static_cast<std::int64_t>(cp)) + ";"; }

// The stored form. Markup characters and the quote are always references, so no
// text can break the file; the backslash too in iso-8859-1 documents, as their
// readers have always expected. Every character outside ASCII is a reference
// in iso-8859-1, plain UTF-8 in utf-8. Control characters are references unless
// kept (comments keep their line breaks).
String Encode(std::string_view text, std::uint8_t encoding, bool keepControls) {
  String out;
  out.reserve(text.size() + text.size() / 8);
  size_t pos = 0;
  while (pos < text.size()) {
    char32_t cp = DecodeUtf8At(text, pos);
    switch (cp) {
      case U'<':
      case U'>':
      case U'&':
      case U'"':
        AppendReference(out, cp);
        continue;
      case U'\\':
        if (encoding == xeIso88591) {
          AppendReference(out, cp);
          continue;
        }
        break;
      default:
        break;
    }
    if (cp < 0x20 && !keepControls)
      AppendReference(out, cp);
    else if (cp >= 0x80 && encoding == xeIso88591)
      AppendReference(out, cp);
    else
      AppendUtf8(out, cp);
  }
  return out;
}

}  // namespace

// ---- TKemXmlTag

TKemXmlTag::TKemXmlTag(TKemXml* Owner, const String& Name) : Name(Name), FOwner(Owner) {
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

void TKemXmlTag::AddAttr(const String& Name, const String& Value) { Attributes.Add(Name + "=" + Value); }

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
  return index < 0 ? Default : Attributes.ValueFromIndex(index);
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
    HandleEventException(this, std::current_exception());
  }
}

void TKemXml::LoadFromString(std::string_view Bytes) {
  TStringStream stream{std::string(Bytes)};
  LoadFromStream(stream);
}

void TKemXml::SaveToFile(const String& FileName) const { WriteFileAtomic(FileName, SaveToString()); }

void TKemXml::SaveToStream(TStream& Stream) const { Stream.WriteBytes(SaveToString()); }

String TKemXml::EncodeText(std::string_view Text) const { return Encode(Text, FEncoding, false); }

String TKemXml::EncodeComment(std::string_view Text) const { return Encode(Text, FEncoding, true); }

String TKemXml::EncodeName(std::string_view Name) const {
  // Names are not escaped; an iso-8859-1 file keeps them in the ANSI code page.
  return FEncoding == xeIso88591 ? Utf8ToAnsi(Name) : String(Name);
}

String TKemXml::BytesToText(std::string_view Bytes) const {
  return FEncoding == xeIso88591 ? AnsiToUtf8(Bytes) : TextToUtf8(Bytes);
}

String TKemXml::DecodeText(std::string_view Stored) const { return DecodeReferences(BytesToText(Stored)); }
