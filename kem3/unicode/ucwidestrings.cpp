// The layer's wide text lists.
#include "kem3/unicode/ucwidestrings.h"
#include <algorithm>

#include <string>
#include <utility>

#include "kem3/unicode/uclocale.h"
#include "kem3/unicode/ucsystem.h"
#include "platform/exceptions.h"
#include "platform/files.h"
#include "platform/unicode_convert.h"
#include "platform/updatescope.h"

namespace {

// The rest of the stream as UTF-16 units; an odd last byte is left unread.
WideString ReadUtf16(TStream& Stream, bool BigEndian) {
  std::int64_t left = Stream.Size() - Stream.Position();
  if (left < 2) return {};
  return Utf16BytesToWide(Stream.ReadBytes(left & ~std::int64_t{1}), BigEndian);
}

std::string ReadRest(TStream& Stream) {
  std::int64_t left = Stream.Size() - Stream.Position();
  return Stream.ReadBytes(left > 0 ? left : 0);
}

}  // namespace

TStreamTextEncoding DetectStreamEncoding(TStream& Stream) {
  const std::int64_t start = Stream.Position();
  const std::int64_t left = Stream.Size() - start;
  if (left < 2) return seAnsi;
  const TTextMark mark = TextMarkOf(Stream.ReadBytes(std::min<std::int64_t>(left, 3)));
  Stream.SetPosition(start + static_cast<std::int64_t>(TextMarkLength(mark)));
  switch (mark) {
    case tmUtf16LE:
      return seUtf16LE;
    case tmUtf16BE:
      return seUtf16BE;
    case tmUtf8:
      return seUtf8;
    default:
      return seAnsi;
  }
}

TUcFileStream::TUcFileStream(const WideString& FileName, std::uint16_t Mode)
    : TFileStream(WideToUtf8(FileName), Mode) {}

// ---------------------------------------------------------------- TWideStrings

void TWideStrings::IndexError(int Index) {
  throw EStringListError("List index out of bounds (" + std::to_string(Index) + ")");
}

TObject* TWideStrings::GetObject(int) const { return nullptr; }
void TWideStrings::PutObject(int, TObject*) {}
void TWideStrings::SetCapacity(int) {}

WideString TWideStrings::GetTextStr() const {
  size_t size = 0;
  int n = GetCount();
  for (int i = 0; i < n; ++i) size += Get(i).size() + 2;
  WideString out;
  out.reserve(size);
  for (int i = 0; i < n; ++i) {
    out += Get(i);
    out += u"\r\n";
  }
  return out;
}

void TWideStrings::Put(int Index, const WideString& S) {
  TObject* o = GetObject(Index);
  Delete(Index);
  InsertObject(Index, S, o);
}

void TWideStrings::SetTextStr(const WideString& Value) {
  TUpdateScope<TWideStrings> scope(*this);
  Clear();
  size_t p = 0, n = Value.size();
  while (p < n) {
    size_t start = p;
    while (p < n && Value[p] != u'\r' && Value[p] != u'\n' && Value[p] != u'\u2028') ++p;
    Add(Value.substr(start, p - start));
    if (p < n && Value[p] == u'\r') ++p;
    if (p < n && Value[p] == u'\n') ++p;
    if (p < n && Value[p] == u'\u2028') ++p;
  }
}

int TWideStrings::CompareStrings(const WideString& S1, const WideString& S2) const { return UcCompareText(S1, S2); }

void TWideStrings::AddAnsiStrings(const TStrings& Strings) {
  TUpdateScope<TWideStrings> scope(*this);
  for (int i = 0; i < Strings.Count(); ++i) AddObject(Utf8ToWide(Strings.Get(i)), Strings.GetObject(i));
}

void TWideStrings::AddStrings(const TWideStrings& Strings) {
  TUpdateScope<TWideStrings> scope(*this);
  int n = Strings.GetCount();  // fixed first, so adding a list to itself ends
  for (int i = 0; i < n; ++i) AddObject(Strings.Get(i), Strings.GetObject(i));
}

int TWideStrings::IndexOf(const WideString& S) const {
  for (int i = 0; i < GetCount(); ++i)
    if (CompareStrings(Get(i), S) == 0) return i;
  return -1;
}

int TWideStrings::IndexOfName(const WideString& Name) const {
  for (int i = 0; i < GetCount(); ++i) {
    WideString s = Get(i);
    size_t p = s.find(FNameValueSeparator);
    if (p != WideString::npos && CompareStrings(s.substr(0, p), Name) == 0) return i;
  }
  return -1;
}

int TWideStrings::IndexOfObject(const TObject* AObject) const {
  for (int i = 0; i < GetCount(); ++i)
    if (GetObject(i) == AObject) return i;
  return -1;
}

void TWideStrings::LoadFromFile(const WideString& FileName) {
  TUcFileStream stream(FileName, fmOpenRead | fmShareDenyWrite);
  LoadFromStream(stream);
}

void TWideStrings::LoadFromStream(TStream& Stream) { SetTextStr(ReadUtf16(Stream, false)); }

void TWideStrings::SaveToFile(const WideString& FileName) const {
  TStringStream bytes("");
  SaveToStream(bytes);
  WriteFileAtomic(WideToUtf8(FileName), bytes.DataString());
}

void TWideStrings::SaveToStream(TStream& Stream) const {
  std::string bytes;
  AppendUtf16LE(bytes, GetTextStr());
  Stream.WriteBytes(bytes);
}

void TWideStrings::Assign(const TWideStrings& Source) {
  if (&Source == this) return;
  TUpdateScope<TWideStrings> scope(*this);
  Clear();
  FDelimiter = Source.FDelimiter;
  FQuoteChar = Source.FQuoteChar;
  FNameValueSeparator = Source.FNameValueSeparator;
  AddStrings(Source);
}

void TWideStrings::Assign(const TStrings& Source) {
  TUpdateScope<TWideStrings> scope(*this);
  Clear();
  FNameValueSeparator = static_cast<unsigned char>(Source.NameValueSeparator());
  FQuoteChar = static_cast<unsigned char>(Source.QuoteChar());
  FDelimiter = static_cast<unsigned char>(Source.Delimiter());
  AddAnsiStrings(Source);
}

void TWideStrings::AssignTo(TStrings& Dest) const {
  TUpdateScope<TStrings> update(Dest);
  Dest.Clear();
  // The 8-bit list keeps single bytes: a separator outside ASCII cannot go there.
  auto narrow = [](WideChar c, char fallback) { return c < 0x80 ? static_cast<char>(c) : fallback; };
  Dest.SetNameValueSeparator(narrow(FNameValueSeparator, Dest.NameValueSeparator()));
  Dest.SetQuoteChar(narrow(FQuoteChar, Dest.QuoteChar()));
  Dest.SetDelimiter(narrow(FDelimiter, Dest.Delimiter()));
  for (int i = 0; i < GetCount(); ++i) Dest.AddObject(WideToUtf8(Get(i)), GetObject(i));
}

// ---------------------------------------------------------------- adapter

String TAnsiStringsForWideStringsAdapter::Get(int Index) const { return WideToCodePage(FWide.Get(Index), CodePage()); }
void TAnsiStringsForWideStringsAdapter::Put(int Index, const String& S) {
  FWide.Put(Index, CodePageToWide(S, CodePage()));
}
void TAnsiStringsForWideStringsAdapter::Insert(int Index, const String& S) {
  FWide.Insert(Index, CodePageToWide(S, CodePage()));
}

void TAnsiStringsForWideStringsAdapter::LoadFromStreamCP(TStream& Stream, unsigned CodePage) {
  TUpdateScope<TStrings> update(*this);
  FWide.SetTextStr(CodePageToWide(ReadRest(Stream), CodePage ? CodePage : this->CodePage()));
}

void TAnsiStringsForWideStringsAdapter::SaveToStreamCP(TStream& Stream, unsigned CodePage) const {
  Stream.WriteBytes(WideToCodePage(FWide.GetTextStr(), CodePage ? CodePage : this->CodePage()));
}

void TAnsiStringsForWideStringsAdapter::SetUpdateState(bool Updating) {
  if (Updating)
    FWide.BeginUpdate();
  else
    FWide.EndUpdate();
}

// ---------------------------------------------------------------- TUcStrings

TUcStrings::TUcStrings() : FAnsiStrings(std::make_unique<TAnsiStringsForWideStringsAdapter>(*this)) {}
TUcStrings::~TUcStrings() = default;

void TUcStrings::LoadFromFile(const WideString& FileName) {
  TUcFileStream stream(FileName, fmOpenRead | fmShareDenyWrite);
  FLastFileEncoding = DetectStreamEncoding(stream);
  stream.SetPosition(0);
  LoadFromStream(stream);
}

void TUcStrings::LoadFromStream(TStream& Stream) { LoadFromStreamBom(Stream, true); }

void TUcStrings::SaveToFile(const WideString& FileName) const { TWideStrings::SaveToFile(FileName); }

void TUcStrings::SaveToStream(TStream& Stream) const { SaveToStreamBom(Stream, true); }

void TUcStrings::LoadFromStreamBom(TStream& Stream, bool Detect) {
  TUpdateScope<TWideStrings> scope(*this);
  TStreamTextEncoding encoding = Detect ? DetectStreamEncoding(Stream) : seUtf16LE;
  WideString text;
  switch (encoding) {
    case seUtf16LE:
    case seUtf16BE:
      text = ReadUtf16(Stream, encoding == seUtf16BE);
      break;
    case seUtf8:
      text = Utf8ToWide(ReadRest(Stream));
      break;
    case seAnsi:
      text = AnsiToWide(ReadRest(Stream));
      break;
  }
  SetTextStr(text);
}

void TUcStrings::SaveToStreamBom(TStream& Stream, bool WriteMark) const {
  std::string bytes = WriteMark ? "\xFF\xFE" : "";
  AppendUtf16LE(bytes, GetTextStr());
  Stream.WriteBytes(bytes);
}

// ---------------------------------------------------------------- TUcStringList

TUcStringList::~TUcStringList() {
  OnChange = nullptr;
  OnChanging = nullptr;
}

void TUcStringList::SetCapacity(int NewCapacity) { FItems.Resize(std::max(NewCapacity, FItems.Count())); }

int TUcStringList::CompareStrings(const WideString& S1, const WideString& S2) const {
  return FCaseSensitive ? UcCompareStr(S1, S2) : UcCompareText(S1, S2);
}

int TUcStringList::IndexOfName(const WideString& Name) const {
  if (!Sorted()) return TWideStrings::IndexOfName(Name);
  WideString key = Name + NameValueSeparator();
  int index;
  Find(key, index);
  if (index >= FItems.Count()) return -1;
  const WideString& s = FItems[index].FString;
  if (s.size() < key.size() || CompareStrings(s.substr(0, key.size()), key) != 0) return -1;
  return index;
}

void TUcStringList::Sort() {
  CustomSort([](TUcStringList* list, int a, int b) {
    return list->CompareStrings(list->FItems[a].FString, list->FItems[b].FString);
  });
}

void TUcStringList::CustomSort(const TWideStringListSortCompare& Compare) {
  if (Sorted() || FItems.Count() <= 1) return;
  Changing();
  FItems.QuickSort(0, FItems.Count() - 1, [&](int A, int B) { return Compare(this, A, B); });
  Changed();
}
