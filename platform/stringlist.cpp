// TStrings and TStringList.
#include "platform/stringlist.h"

#include <string>

#include "platform/exceptions.h"
#include "platform/files.h"
#include "platform/lists.h"
#include "platform/streams.h"
#include "platform/sysutils.h"
#include "platform/unicode_convert.h"
#include "platform/updatescope.h"

namespace {

[[noreturn]] void IndexError(int Index) {
  throw EStringListError("List index out of bounds (" + std::to_string(Index) + ")");
}
[[noreturn]] void SortedListError() { throw EStringListError("Operation not allowed on sorted list"); }

bool IsBlank(char c) { return static_cast<unsigned char>(c) <= ' '; }

String DecodeText(std::string_view bytes) {
  if (bytes.substr(0, 3) == "\xEF\xBB\xBF") bytes.remove_prefix(3);
  return TextToUtf8(bytes);
}

}  // namespace

// ---------------------------------------------------------------- TStrings

TObject* TStrings::GetObject(int) const { return nullptr; }

void TStrings::PutObject(int, TObject*) {}

void TStrings::Put(int Index, const String& S) {
  TObject* keep = GetObject(Index);
  TUpdateScope<TStrings> scope(*this);
  Delete(Index);
  InsertObject(Index, S, keep);
}

void TStrings::InsertObject(int Index, const String& S, TObject* AObject) {
  TUpdateScope<TStrings> scope(*this);
  Insert(Index, S);
  PutObject(Index, AObject);
}

int TStrings::Add(const String& S) {
  int index = Count();
  Insert(index, S);
  return index;
}

int TStrings::AddObject(const String& S, TObject* AObject) {
  TUpdateScope<TStrings> scope(*this);
  int index = Add(S);
  PutObject(index, AObject);
  return index;
}

void TStrings::AddStrings(const TStrings& Strings) {
  TUpdateScope<TStrings> scope(*this);
  // Count read once, so adding a list to itself doubles it rather than looping forever.
  const int n = Strings.Count();
  for (int i = 0; i < n; ++i) AddObject(Strings.Get(i), Strings.GetObject(i));
}

void TStrings::Assign(const TStrings& Source) {
  if (&Source == this) return;
  TUpdateScope<TStrings> scope(*this);
  Clear();
  FDelimiter = Source.FDelimiter;
  FQuoteChar = Source.FQuoteChar;
  FNameValueSeparator = Source.FNameValueSeparator;
  FStrictDelimiter = Source.FStrictDelimiter;
  AddStrings(Source);
}

bool TStrings::Equals(const TStrings& Strings) const {
  if (Count() != Strings.Count()) return false;
  for (int i = 0; i < Count(); ++i) {
    if (Get(i) != Strings.Get(i)) return false;
  }
  return true;
}

void TStrings::Exchange(int Index1, int Index2) {
  TUpdateScope<TStrings> scope(*this);
  String s1 = Get(Index1), s2 = Get(Index2);
  TObject* o1 = GetObject(Index1);
  TObject* o2 = GetObject(Index2);
  Put(Index1, s2);
  PutObject(Index1, o2);
  Put(Index2, s1);
  PutObject(Index2, o1);
}

void TStrings::Move(int CurIndex, int NewIndex) {
  if (CurIndex == NewIndex) return;
  TUpdateScope<TStrings> scope(*this);
  String s = Get(CurIndex);
  TObject* o = GetObject(CurIndex);
  Delete(CurIndex);
  InsertObject(NewIndex, s, o);
}

int TStrings::IndexOf(const String& S) const {
  for (int i = 0; i < Count(); ++i) {
    if (CompareStrings(Get(i), S) == 0) return i;
  }
  return -1;
}

int TStrings::IndexOfName(const String& Name) const {
  for (int i = 0; i < Count(); ++i) {
    String s = Get(i);
    size_t p = s.find(FNameValueSeparator);
    if (p != String::npos && CompareStrings(s.substr(0, p), Name) == 0) return i;
  }
  return -1;
}

int TStrings::IndexOfObject(const TObject* AObject) const {
  for (int i = 0; i < Count(); ++i) {
    if (GetObject(i) == AObject) return i;
  }
  return -1;
}

String TStrings::Names(int Index) const {
  String s = Get(Index);
  size_t p = s.find(FNameValueSeparator);
  return p == String::npos ? String() : s.substr(0, p);
}

String TStrings::ValueFromIndex(int Index) const {
  String s = Get(Index);
  size_t p = s.find(FNameValueSeparator);
  return p == String::npos ? String() : s.substr(p + 1);
}

String TStrings::Values(const String& Name) const {
  int i = IndexOfName(Name);
  return i < 0 ? String() : ValueFromIndex(i);
}

void TStrings::SetValue(const String& Name, const String& Value) {
  int i = IndexOfName(Name);
  if (Value.empty()) {
    if (i >= 0) Delete(i);
  } else if (i < 0) {
    Add(Name + FNameValueSeparator + Value);
  } else {
    Put(i, Name + FNameValueSeparator + Value);
  }
}

void TStrings::SetValueFromIndex(int Index, const String& Value) {
  if (Value.empty()) {
    Delete(Index);
  } else {
    Put(Index, Names(Index) + FNameValueSeparator + Value);
  }
}

String TStrings::Text() const {
  String out;
  for (int i = 0; i < Count(); ++i) {
    out += Get(i);
    out += "\r\n";
  }
  return out;
}

void TStrings::AddTextLines(const String& Value) {
  size_t p = 0;
  const size_t n = Value.size();
  while (p < n) {
    size_t start = p;
    while (p < n && Value[p] != '\r' && Value[p] != '\n') ++p;
    Add(Value.substr(start, p - start));
    if (p < n && Value[p] == '\r') ++p;
    if (p < n && Value[p] == '\n') ++p;
  }
}

void TStrings::SetText(const String& Value) {
  TUpdateScope<TStrings> scope(*this);
  Clear();
  AddTextLines(Value);
}

String TStrings::DelimitedTextWith(char Delim, char Quote, bool Strict) const {
  if (Count() == 1 && Get(0).empty()) return String(2, Quote);
  String out;
  for (int i = 0; i < Count(); ++i) {
    if (i > 0) out += Delim;
    String s = Get(i);
    bool quote = false;
    for (char c : s) {
      if (c == Delim || c == Quote || (!Strict && IsBlank(c))) {
        quote = true;
        break;
      }
    }
    if (!quote) {
      out += s;
      continue;
    }
    out += Quote;
    for (char c : s) {
      out += c;
      if (c == Quote) out += Quote;
    }
    out += Quote;
  }
  return out;
}

void TStrings::SetDelimitedTextWith(const String& Value, char Delim, char Quote, bool Strict) {
  TUpdateScope<TStrings> scope(*this);
  Clear();
  const size_t n = Value.size();
  auto blank = [&](size_t i) { return !Strict && IsBlank(Value[i]); };
  size_t p = 0;
  while (p < n && blank(p)) ++p;
  while (p < n) {
    String item;
    if (Value[p] == Quote) {
      // A doubled quote char stands for one; a missing closing quote takes the rest.
      ++p;
      while (p < n) {
        if (Value[p] == Quote) {
          if (p + 1 < n && Value[p + 1] == Quote) {
            item += Quote;
            p += 2;
            continue;
          }
          ++p;
          break;
        }
        item += Value[p++];
      }
    } else {
      size_t start = p;
      while (p < n && Value[p] != Delim && (Strict || !IsBlank(Value[p]))) ++p;
      item = Value.substr(start, p - start);
    }
    Add(item);
    while (p < n && blank(p)) ++p;
    if (p < n && Value[p] == Delim) {
      if (p + 1 == n) Add(String());  // "a," ends with an empty item
      do {
        ++p;
      } while (p < n && blank(p));
    }
  }
}

String TStrings::CommaText() const { return DelimitedTextWith(',', '"', false); }

void TStrings::SetCommaText(const String& Value) { SetDelimitedTextWith(Value, ',', '"', false); }

String TStrings::DelimitedText() const { return DelimitedTextWith(FDelimiter, FQuoteChar, FStrictDelimiter); }

void TStrings::SetDelimitedText(const String& Value) {
  SetDelimitedTextWith(Value, FDelimiter, FQuoteChar, FStrictDelimiter);
}

void TStrings::BeginUpdate() {
  if (FUpdateCount++ == 0) SetUpdateState(true);
}

void TStrings::EndUpdate() {
  if (FUpdateCount == 0) return;
  if (--FUpdateCount == 0) SetUpdateState(false);
}

void TStrings::SetUpdateState(bool) {}

int TStrings::CompareStrings(const String& S1, const String& S2) const { return CompareText(S1, S2); }

void TStrings::LoadFromFile(const String& FileName) {
  String text = DecodeText(ReadFileBytes(FileName));
  TUpdateScope<TStrings> scope(*this);
  Clear();
  AddTextLines(text);
}

void TStrings::SaveToFile(const String& FileName) const { WriteFileAtomic(FileName, Text()); }

void TStrings::LoadFromStream(TStream& Stream) {
  std::int64_t left = Stream.Size() - Stream.Position();
  String text = DecodeText(Stream.ReadBytes(left > 0 ? left : 0));
  TUpdateScope<TStrings> scope(*this);
  Clear();
  AddTextLines(text);
}

void TStrings::SaveToStream(TStream& Stream) const { Stream.WriteBytes(Text()); }

// ---------------------------------------------------------------- TStringList

TStringList::~TStringList() {
  OnChange = nullptr;
  OnChanging = nullptr;
  if (!FOwnsObjects) return;
  while (!FList.empty()) {
    TObject* o = FList.back().FObject;
    FList.pop_back();
    if (o) o->Free();
  }
}

void TStringList::CheckIndex(int Index) const {
  if (Index < 0 || Index >= Count()) IndexError(Index);
}

String TStringList::Get(int Index) const {
  CheckIndex(Index);
  return FList[static_cast<size_t>(Index)].FString;
}

TObject* TStringList::GetObject(int Index) const {
  CheckIndex(Index);
  return FList[static_cast<size_t>(Index)].FObject;
}

void TStringList::Put(int Index, const String& S) {
  if (FSorted) SortedListError();
  CheckIndex(Index);
  Changing();
  FList[static_cast<size_t>(Index)].FString = S;
  Changed();
}

void TStringList::PutObject(int Index, TObject* AObject) {
  CheckIndex(Index);
  Changing();
  FList[static_cast<size_t>(Index)].FObject = AObject;
  Changed();
}

void TStringList::Insert(int Index, const String& S) { InsertObject(Index, S, nullptr); }

void TStringList::InsertObject(int Index, const String& S, TObject* AObject) {
  if (FSorted) SortedListError();
  if (Index < 0 || Index > Count()) IndexError(Index);
  InsertItem(Index, S, AObject);
}

void TStringList::InsertItem(int Index, const String& S, TObject* AObject) {
  Changing();
  FList.insert(FList.begin() + Index, TStringItem{S, AObject});
  Changed();
}

void TStringList::Delete(int Index) {
  CheckIndex(Index);
  Changing();
  TObject* o = FList[static_cast<size_t>(Index)].FObject;
  FList.erase(FList.begin() + Index);
  // Freed after it left the list, so its destructor sees a consistent list.
  if (FOwnsObjects && o) o->Free();
  Changed();
}

void TStringList::Clear() {
  if (FList.empty()) return;
  Changing();
  std::vector<TStringItem> old;
  old.swap(FList);
  if (FOwnsObjects) {
    while (!old.empty()) {
      TObject* o = old.back().FObject;
      old.pop_back();
      if (o) o->Free();
    }
  }
  Changed();
}

int TStringList::Add(const String& S) { return AddObject(S, nullptr); }

int TStringList::AddObject(const String& S, TObject* AObject) {
  int index = Count();
  if (FSorted && Find(S, index)) {
    if (FDuplicates == dupIgnore) return index;
    if (FDuplicates == dupError) throw EStringListError("String list does not allow duplicates");
  }
  InsertItem(index, S, AObject);
  return index;
}

void TStringList::Exchange(int Index1, int Index2) {
  CheckIndex(Index1);
  CheckIndex(Index2);
  Changing();
  std::swap(FList[static_cast<size_t>(Index1)], FList[static_cast<size_t>(Index2)]);
  Changed();
}

void TStringList::Move(int CurIndex, int NewIndex) {
  if (CurIndex == NewIndex) return;
  if (FSorted) SortedListError();
  CheckIndex(CurIndex);
  CheckIndex(NewIndex);
  Changing();
  TStringItem item = std::move(FList[static_cast<size_t>(CurIndex)]);
  FList.erase(FList.begin() + CurIndex);
  FList.insert(FList.begin() + NewIndex, std::move(item));
  Changed();
}

int TStringList::IndexOf(const String& S) const {
  if (!FSorted) return TStrings::IndexOf(S);
  int index;
  return Find(S, index) ? index : -1;
}

bool TStringList::Find(const String& S, int& Index) const {
  int lo = 0, hi = Count();
  while (lo < hi) {
    int mid = lo + (hi - lo) / 2;
    if (CompareStrings(FList[static_cast<size_t>(mid)].FString, S) < 0) {
      lo = mid + 1;
    } else {
      hi = mid;
    }
  }
  Index = lo;
  return lo < Count() && CompareStrings(FList[static_cast<size_t>(lo)].FString, S) == 0;
}

void TStringList::SortBy(const std::function<bool(int, int)>& Less) {
  if (Count() < 2) return;
  auto order = detail::SortedOrder(Count(), Less);
  Changing();
  detail::ApplyOrder(FList, order);
  Changed();
}

void TStringList::Sort() {
  if (FSorted) return;
  SortBy([this](int a, int b) {
    return CompareStrings(FList[static_cast<size_t>(a)].FString, FList[static_cast<size_t>(b)].FString) < 0;
  });
}

void TStringList::CustomSort(const TStringListSortCompare& Compare) {
  if (FSorted) return;
  SortBy([&](int a, int b) { return Compare(this, a, b) < 0; });
}

void TStringList::SetSorted(bool Value) {
  if (FSorted == Value) return;
  if (Value) Sort();
  FSorted = Value;
}

void TStringList::SetCaseSensitive(bool Value) {
  if (FCaseSensitive == Value) return;
  FCaseSensitive = Value;
  if (FSorted) {
    FSorted = false;
    SetSorted(true);
  }
}

int TStringList::CompareStrings(const String& S1, const String& S2) const {
  return FCaseSensitive ? CompareStr(S1, S2) : CompareText(S1, S2);
}

void TStringList::Changing() {
  if (UpdateCount() > 0) {
    if (FChangingSent) return;
    FChangingSent = true;
  }
  if (OnChanging) OnChanging(this);
}

void TStringList::Changed() {
  if (UpdateCount() > 0) {
    FChangedPending = true;
    return;
  }
  if (OnChange) OnChange(this);
}

void TStringList::SetUpdateState(bool Updating) {
  FChangingSent = false;
  if (Updating) {
    FChangedPending = false;
    return;
  }
  if (FChangedPending) {
    FChangedPending = false;
    Changed();
  }
}
