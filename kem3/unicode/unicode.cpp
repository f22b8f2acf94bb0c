// The character database: table readers, lookups and normalisation.
#include "kem3/unicode/unicode.h"

#include <algorithm>
#include <memory>
#include <mutex>

#include "platform/exceptions.h"
#include "platform/wide_case.h"

namespace unicodedata {
namespace {

// The longest decomposition of the database has 18 characters.
constexpr size_t kMaxDecompositionLength = 32;

class TReader {
 public:
  explicit TReader(std::string_view bytes) : FBytes(bytes) {}
  bool AtEnd() const { return FPos >= FBytes.size(); }
  size_t Left() const { return FBytes.size() - FPos; }
  std::uint32_t U32() {
    if (Left() < 4) throw EReadError("Unicode data ends early");
    std::uint32_t v = 0;
    for (int i = 0; i < 4; ++i) v |= std::uint32_t{static_cast<unsigned char>(FBytes[FPos + i])} << (8 * i);
    FPos += 4;
    return v;
  }
  // A count of records of at least minBytes each, bounded by what is left.
  std::uint32_t Count(size_t minBytes) {
    std::uint32_t n = U32();
    if (n > Left() / minBytes) throw EReadError("Unicode data count exceeds its resource");
    return n;
  }
  WideString CodePoints(const char* what) {
    std::uint32_t n = Count(4);
    WideString out;
    out.reserve(n);
    for (std::uint32_t i = 0; i < n; ++i) out.push_back(static_cast<WideChar>(Bmp(U32(), what)));
    return out;
  }
  static std::uint32_t Bmp(std::uint32_t cp, const char* what) {
    if (cp > 0xFFFF) throw EReadError(std::string(what) + " Unicode character > $FFFF found");
    return cp;
  }

 private:
  std::string_view FBytes;
  size_t FPos = 0;
};

}  // namespace

std::unique_ptr<TCaseTable> ReadCaseTable(std::string_view Bytes) {
  TReader r(Bytes);
  auto table = std::make_unique<TCaseTable>();
  std::uint32_t n = r.Count(20);
  for (std::uint32_t i = 0; i < n; ++i) {
    TCaseEntry& e = table->At(TReader::Bmp(r.U32(), "cased"));
    e.Present = true;
    e.Fold = r.CodePoints("cased");
    e.Lower = r.CodePoints("cased");
    e.Title = r.CodePoints("cased");
    e.Upper = r.CodePoints("cased");
  }
  // Whatever the data says for the Turkic i, the program's own texts want the plain pair.
  TCaseEntry& i = table->At(u'i');
  i.Present = true;
  i.Title = i.Upper = u"I";
  TCaseEntry& I = table->At(u'I');
  I.Present = true;
  I.Lower = u"i";
  return table;
}

std::unique_ptr<TDecompositionTables> ReadDecompositionTables(std::string_view Bytes) {
  TReader r(Bytes);
  auto tables = std::make_unique<TDecompositionTables>();
  std::uint32_t n = r.Count(8);
  for (std::uint32_t i = 0; i < n; ++i) {
    std::uint32_t key = r.U32();
    bool compatible = key & 0x40000000u;
    char32_t cp = TReader::Bmp(key & ~0x40000000u, "decomposed");
    WideString to = r.CodePoints("decomposed");
    if (to.size() > kMaxDecompositionLength) throw EReadError("Unicode decomposition too long");
    (compatible ? tables->Compatible : tables->Canonical).At(cp) = std::move(to);
  }
  return tables;
}

namespace {

// Until the end: a value, a count of ranges and the ranges (first and last
// code point), which together cover at most the plane once.
std::unique_ptr<TPagedTable<std::uint8_t>> ReadRangeTable(std::string_view Bytes, std::uint32_t MaxValue,
                                                          std::uint32_t Offset, const char* What) {
  TReader r(Bytes);
  auto table = std::make_unique<TPagedTable<std::uint8_t>>();
  std::uint32_t covered = 0;
  while (!r.AtEnd()) {
    std::uint32_t value = r.U32();
    if (value > MaxValue) throw EReadError(std::string("Unicode ") + What + " out of range");
    std::uint32_t ranges = r.Count(8);
    for (std::uint32_t i = 0; i < ranges; ++i) {
      std::uint32_t first = TReader::Bmp(r.U32(), What);
      std::uint32_t last = TReader::Bmp(r.U32(), What);
      if (last < first || (covered += last - first + 1) > 0x10000)
        throw EReadError(std::string("Unicode ") + What + " ranges exceed the plane");
      for (std::uint32_t c = first; c <= last; ++c) table->At(c) = static_cast<std::uint8_t>(value + Offset);
    }
  }
  return table;
}

}  // namespace

std::unique_ptr<TCombiningTable> ReadCombiningTable(std::string_view Bytes) {
  return ReadRangeTable(Bytes, 255, 0, "combining class for");
}

std::unique_ptr<TCategoryTable> ReadCategoryTable(std::string_view Bytes) {
  return ReadRangeTable(Bytes, ccOtherUnassigned, 1, "category for");
}

std::unique_ptr<TNumberTable> ReadNumberTable(std::string_view Bytes) {
  TReader r(Bytes);
  auto table = std::make_unique<TNumberTable>();
  std::uint32_t n = r.Count(12);
  for (std::uint32_t i = 0; i < n; ++i) {
    TNumericValue& v = table->At(TReader::Bmp(r.U32(), "numeric"));
    v.Numerator = static_cast<std::int32_t>(r.U32());
    v.Denominator = r.U32();
    if (v.Denominator == 0) throw EReadError("Unicode numeric value without a denominator");
  }
  return table;
}

TCompositionPairs ReadCompositionPairs(std::string_view Bytes) {
  TReader r(Bytes);
  TCompositionPairs pairs(r.Count(8));
  for (auto& [key, composite] : pairs) {
    key = r.U32();
    composite = TReader::Bmp(r.U32(), "composed");
  }
  return pairs;
}

}  // namespace unicodedata

using namespace unicodedata;

namespace {

// Each table is read once from its resource and published whole; a failed
// read is tried again on the next use. One table per reader.
template <auto Read>
const auto& LoadedTable(const char* Name) {
  using TTable = typename decltype(Read(std::string_view()))::element_type;
  static std::once_flag once;
  static std::unique_ptr<TTable> table;
  std::call_once(once, [&] { table = Read(ReadUnicodeResource(Name)); });
  return *table;
}

std::unique_ptr<TCompositionPairs> ReadCompositionTable(std::string_view Bytes) {
  return std::make_unique<TCompositionPairs>(ReadCompositionPairs(Bytes));
}

const TCaseTable& CaseTable() { return LoadedTable<ReadCaseTable>("CASE"); }
const TDecompositionTables& DecompositionTables() { return LoadedTable<ReadDecompositionTables>("DECOMPOSITION"); }
const TCombiningTable& CombiningTable() { return LoadedTable<ReadCombiningTable>("COMBINING"); }
const TCompositionPairs& CompositionPairs() { return LoadedTable<ReadCompositionTable>("COMPOSITION"); }
const TCategoryTable& CategoryTable() { return LoadedTable<ReadCategoryTable>("CATEGORIES"); }
const TNumberTable& NumberTable() { return LoadedTable<ReadNumberTable>("NUMBERS"); }

constexpr char32_t SBase = 0xAC00, LBase = 0x1100, VBase = 0x1161, TBase = 0x11A7;
constexpr char32_t LCount = 19, VCount = 21, TCount = 28, NCount = VCount * TCount, SCount = LCount * NCount;

// Data that maps in a circle or fans out must not run away: real chains are a
// few levels deep and no character grows beyond 18.
constexpr int kMaxDecompositionDepth = 16;
constexpr size_t kMaxGrowth = 32;

void DecomposeInto(WideString& out, char32_t cp, bool compatible, int depth, size_t limit) {
  WideString d =
      depth < kMaxDecompositionDepth && out.size() < limit ? DecomposeCodePoint(cp, compatible) : WideString();
  if (d.empty()) {
    out.push_back(static_cast<WideChar>(cp));
    return;
  }
  for (WideChar c : d) DecomposeInto(out, c, compatible, depth + 1, limit);
}

// Within each run of non-starters, a stable sort by ascending class.
void ReorderCanonically(WideString& s) {
  for (size_t i = 1; i < s.size(); ++i) {
    int k = CombiningClassOf(s[i]);
    if (k == 0) continue;
    for (size_t j = i; j > 0; --j) {
      int prev = CombiningClassOf(s[j - 1]);
      if (prev == 0 || prev <= k) break;
      std::swap(s[j - 1], s[j]);
    }
  }
}

void ComposeHangul(WideString& s) {
  WideString out;
  out.reserve(s.size());
  for (WideChar c : s) {
    if (!out.empty()) {
      char32_t last = out.back();
      if (last >= LBase && last < LBase + LCount && c >= VBase && c < VBase + VCount) {
        out.back() = static_cast<WideChar>(SBase + ((last - LBase) * VCount + (c - VBase)) * TCount);
        continue;
      }
      // Only T index 1 to 27 attaches: U+11A7 is no trailing consonant of its own.
      if (last >= SBase && last < SBase + SCount && (last - SBase) % TCount == 0 && c > TBase && c < TBase + TCount) {
        out.back() = static_cast<WideChar>(last + (c - TBase));
        continue;
      }
    }
    out.push_back(c);
  }
  s.swap(out);
}

void ComposeCanonically(WideString& s) {
  if (s.empty()) return;
  size_t starter = 0, write = 1;
  int lastClass = CombiningClassOf(s[0]) != 0 ? 256 : 0;
  for (size_t read = 1; read < s.size(); ++read) {
    WideChar c = s[read];
    int k = CombiningClassOf(c);
    char32_t composite;
    if ((lastClass == 0 || lastClass < k) && ComposePair(s[starter], c, composite)) {
      s[starter] = static_cast<WideChar>(composite);
      continue;
    }
    if (k == 0) starter = write;
    lastClass = k;
    s[write++] = c;
  }
  s.resize(write);
}

}  // namespace

WideString UnicodeCharUpper(WideChar C) {
  const TCaseEntry* e = CaseTable().Find(C);
  return e && e->Present && !e->Upper.empty() ? e->Upper : WideString(1, C);
}

WideString UnicodeUpperCase(std::u16string_view S) {
  WideString out;
  out.reserve(S.size());
  for (WideChar c : S) out += UnicodeCharUpper(c);
  return out;
}

WideString UnicodeCharFold(WideChar C) {
  const TCaseEntry* e = CaseTable().Find(C);
  return e && e->Present && !e->Fold.empty() ? e->Fold : WideString(1, C);
}

void InstallUnicodeCaseFolding() {
  static const std::unique_ptr<char16_t[]> folds = [] {
    auto table = std::make_unique<char16_t[]>(0x10000);
    const TCaseTable& cases = CaseTable();
    for (char32_t c = 0; c <= 0xFFFF; ++c) {
      char32_t fold = c;
      if (const TCaseEntry* e = cases.Find(static_cast<WideChar>(c)); e && e->Present) {
        if (e->Fold.size() == 1) {
          fold = e->Fold[0];
        } else if (e->Fold.size() > 1) {
          // Folded to several characters (sharp s, ligatures, Greek with
          // iota): one character stands for them, its lower case where that
          // is one character, as capital sharp s meets sharp s.
          if (e->Lower.size() == 1)
            fold = e->Lower[0];
          else if (e->Lower.size() > 1)
            fold = WideCharLower(WideCharUpper(c));
        }
      }
      table[c] = static_cast<char16_t>(fold);
    }
    return table;
  }();
  SetWideCharFolds(folds.get());
}

WideString DecomposeCodePoint(char32_t CodePoint, bool Compatible) {
  if (CodePoint >= SBase && CodePoint < SBase + SCount) {
    char32_t index = CodePoint - SBase;
    WideString out{static_cast<WideChar>(LBase + index / NCount),
                   static_cast<WideChar>(VBase + (index % NCount) / TCount)};
    if (index % TCount != 0) out.push_back(static_cast<WideChar>(TBase + index % TCount));
    return out;
  }
  const TDecompositionTables& t = DecompositionTables();
  if (Compatible) {
    const WideString* d = t.Compatible.Find(CodePoint);
    if (d && !d->empty()) return *d;
  }
  const WideString* d = t.Canonical.Find(CodePoint);
  return d ? *d : WideString();
}

int CombiningClassOf(char32_t CodePoint) {
  const std::uint8_t* c = CombiningTable().Find(CodePoint);
  return c ? *c : 0;
}

TCharacterCategory UnicodeCategoryOf(char32_t CodePoint) {
  const std::uint8_t* c = CategoryTable().Find(CodePoint);
  return c && *c ? static_cast<TCharacterCategory>(*c - 1) : ccOtherUnassigned;
}

bool UnicodeNumericValue(char32_t CodePoint, TNumericValue& Value) {
  const TNumericValue* v = NumberTable().Find(CodePoint);
  if (!v || v->Denominator == 0) return false;
  Value = *v;
  return true;
}

bool ComposePair(char32_t First, char32_t Second, char32_t& Composite) {
  if (First > 0xFFFF || Second > 0xFFFF) return false;
  std::uint32_t key = First << 16 | Second;
  const TCompositionPairs& pairs = CompositionPairs();
  auto it =
      std::lower_bound(pairs.begin(), pairs.end(), key, [](const auto& p, std::uint32_t k) { return p.first < k; });
  if (it == pairs.end() || it->first != key) return false;
  Composite = it->second;
  return true;
}

WideString NormalizeText(std::u16string_view S, TNormalizationForm Form) {
  if (Form == nfNone) return WideString(S);
  bool compatible = Form == nfKC || Form == nfKD;
  WideString out;
  out.reserve(S.size());
  size_t limit = S.size() * kMaxGrowth;
  for (WideChar c : S) DecomposeInto(out, c, compatible, 0, limit);
  ReorderCanonically(out);
  if (Form == nfC || Form == nfKC) {
    ComposeHangul(out);
    ComposeCanonically(out);
  }
  return out;
}

WideChar* WideCStrCopy(WideChar* Dest, const WideChar* Source) {
  WideChar* d = Dest;
  while ((*d++ = *Source++) != 0) {
  }
  return Dest;
}

int WideCharPosFrom(std::u16string_view S, WideChar C, int Start) {
  if (S.empty() || Start <= 0 || static_cast<size_t>(Start) > S.size()) return 0;
  size_t p = S.find(C, static_cast<size_t>(Start - 1));
  return p == std::u16string_view::npos ? 0 : static_cast<int>(p) + 1;
}
