// The locale-aware wide lists.
#include "kem3/unicode/unicode_lists.h"
#include <algorithm>

#include <string>
#include <utility>

#include "kem3/unicode/ucsystem.h"
#include "platform/exceptions.h"
#include "platform/files.h"
#include "platform/unicode_convert.h"
#include "platform/updatescope.h"

namespace unicode {
namespace {

bool IsBreak(WideChar c) {
  return c == 0 || c == u'\n' || c == 0x0B || c == 0x0C || c == u'\r' || c == 0x2028 || c == 0x2029;
}

}  // namespace

// ---------------------------------------------------------------- TWideStrings

TWideStrings::TWideStrings() : FLocale(UserDefaultLocale()) {}

void TWideStrings::IndexError(int Index) {
  throw EStringListError("List index out of bounds (" + std::to_string(Index) + ")");
}

TObject* TWideStrings::GetObject(int) const { return nullptr; }
void TWideStrings::SetCapacity(int) {}

void TWideStrings::AskLossyConversion(bool& GoOn) {
  if (OnLossyConversion) OnLossyConversion(this, GoOn);
}

int TWideStrings::CompareItems(const WideString& S1, const WideString& S2) const {
  return LocaleCompare(FLocale, S1, S2, true);
}

void TWideStrings::AddAnsiStrings(const TStrings& Strings) {
  TUpdateScope<TWideStrings> scope(*this);
  unsigned cp = LocaleAnsiCodePage(FLocale);
  for (int i = 0; i < Strings.Count(); ++i) AddObject(CodePageTextToWide(Strings.Get(i), cp), Strings.GetObject(i));
}

// Wide items need no code page: taking them through 8-bit text would only lose characters.
void TWideStrings::AddStrings(const TWideStrings& Strings) {
  TUpdateScope<TWideStrings> scope(*this);
  int n = Strings.GetCount();
  for (int i = 0; i < n; ++i) AddObject(Strings.Get(i), Strings.GetObject(i));
}

WideString TWideStrings::GetSeparatedText(std::u16string_view Separator) const {
  int n = GetCount();
  if (n == 0) return {};
  size_t size = 0;
  for (int i = 0; i < n; ++i) size += Get(i).size() + Separator.size();
  WideString out;
  out.reserve(size - Separator.size());
  for (int i = 0; i < n; ++i) {
    if (i > 0) out += Separator;
    out += Get(i);
  }
  return out;
}

int TWideStrings::IndexOf(const WideString& S) const {
  WideString key = NormalizeText(S, FNormalizationForm);
  for (int i = 0; i < GetCount(); ++i)
    if (CompareItems(Get(i), key) == 0) return i;
  return -1;
}

void TWideStrings::LoadFromFile(const String& FileName) {
  TFileStream stream(FileName, fmOpenRead | fmShareDenyNone);
  LoadFromStream(stream);
}

void TWideStrings::LoadFromStream(TStream& Stream) {
  TUpdateScope<TWideStrings> scope(*this);
  std::int64_t start = Stream.Position();
  std::int64_t size = Stream.Size() - start;
  // Only the UTF-16 marks: what has none, a UTF-8 one too, is in the locale's code page.
  const TTextMark mark = size >= 2 ? TextMarkOf(Stream.ReadBytes(2)) : tmNone;
  WideString text;
  if (mark == tmUtf16LE || mark == tmUtf16BE) {
    FWriteUtf16 = true;
    const bool big = mark == tmUtf16BE;
    text = Utf16BytesToWide(Stream.ReadBytes((size - 2) & ~std::int64_t{1}), big);
  } else {
    FWriteUtf16 = false;
    Stream.SetPosition(start);
    text = CodePageTextToWide(Stream.ReadBytes(size > 0 ? size : 0), SystemAnsiCodePage());
  }
  SetTextStr(text);
}

void TWideStrings::SaveToFile(const String& FileName) {
  TStringStream bytes("");
  SaveToStream(bytes, true);
  if (FSaved) WriteFileAtomic(FileName, bytes.DataString());
}

void TWideStrings::SaveToStream(TStream& Stream, bool WithMark) {
  WideString text = GetTextStr();
  FSaved = false;
  bool goOn = true;
  unsigned cp = LocaleAnsiCodePage(FLocale);
  std::string ansi;
  if (!FWriteUtf16) {
    ansi = WideToCodePageText(text, cp);
    if (OnLossyConversion && CodePageTextToWide(ansi, cp) != text) AskLossyConversion(goOn);
  }
  if (!goOn) return;
  if (FWriteUtf16) {
    std::string bytes = WithMark ? "\xFF\xFE" : "";
    AppendUtf16LE(bytes, text);
    Stream.WriteBytes(bytes);
  } else {
    Stream.WriteBytes(ansi);
  }
  FSaved = true;
}

void TWideStrings::SetTextStr(const WideString& Value) {
  TUpdateScope<TWideStrings> scope(*this);
  Clear();
  size_t p = 0, n = Value.size();
  while (p < n && Value[p] != 0) {
    size_t start = p;
    while (p < n && !IsBreak(Value[p])) ++p;
    Add(Value.substr(start, p - start));
    if (p < n && Value[p] != 0) p += Value[p] == u'\r' && p + 1 < n && Value[p + 1] == u'\n' ? 2 : 1;
  }
}

void TWideStrings::Assign(const TWideStrings& Source) {
  if (&Source == this) return;
  TUpdateScope<TWideStrings> scope(*this);
  Clear();
  AddStrings(Source);
}

void TWideStrings::Assign(const TStrings& Source) {
  TUpdateScope<TWideStrings> scope(*this);
  Clear();
  AddAnsiStrings(Source);
}

void TWideStrings::AssignTo(TStrings& Dest) const {
  unsigned cp = LocaleAnsiCodePage(FLocale);
  TUpdateScope<TStrings> update(Dest);
  Dest.Clear();
  for (int i = 0; i < GetCount(); ++i) Dest.AddObject(WideToCodePageText(Get(i), cp), GetObject(i));
}

// ---------------------------------------------------------------- TWideStringList

TWideStringList::~TWideStringList() { Clear(); }

WideString TWideStringList::StoredForm(const WideString& S) const {
  return NormalizationForm() != nfNone && !S.empty() ? NormalizeText(S, NormalizationForm()) : S;
}

void TWideStringList::SetCapacity(int NewCapacity) { FItems.Resize(std::max(NewCapacity, 0)); }

void TWideStringList::SetLocale(LCID_T Value) {
  TWideStrings::SetLocale(Value);
  if (!Sorted() || FItems.Count() < 2) return;
  Changing();
  SortItems();
  Changed();
}

void TWideStringList::Sort() {
  if (Sorted() || FItems.Count() < 2) return;
  Changing();
  SortItems();
  Changed();
}

void TWideStringList::SortItems() {
  FItems.QuickSort(0, FItems.Count() - 1,
                   [this](int A, int B) { return CompareItems(FItems[A].FString, FItems[B].FString); });
}

}  // namespace unicode
