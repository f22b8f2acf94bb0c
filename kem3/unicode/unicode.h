// Character properties the platform does not give: full upper-case mapping and
// case folding, canonical and compatibility decomposition, combining classes,
// canonical composition and the normalisation forms. The data comes from the
// program's "UNICODEDATA" resources (made by tools/mkunidata), each table read
// on its first use; only the Basic Multilingual Plane is kept.
#pragma once
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/types.h"

enum TNormalizationForm : std::uint8_t { nfNone = 0, nfC = 1, nfD = 2, nfKC = 3, nfKD = 4 };

// One character's upper mapping (one character may map to several); a
// character without a record maps to itself. "i" always maps to "I".
WideString UnicodeCharUpper(WideChar C);
WideString UnicodeUpperCase(std::u16string_view S);
// The full case folding of one character (itself when it has none).
WideString UnicodeCharFold(WideChar C);
// Gives the platform's single-character folding (WideCharFold, behind every
// caseless match) the database's folding of the whole plane. Part of start-up.
void InstallUnicodeCaseFolding();
// The decomposition of one code point, one level deep (Hangul syllables by
// rule); with Compatible the compatibility mapping where there is one. Empty when none.
WideString DecomposeCodePoint(char32_t CodePoint, bool Compatible);
int CombiningClassOf(char32_t CodePoint);
bool ComposePair(char32_t First, char32_t Second, char32_t& Composite);
WideString NormalizeText(std::u16string_view S, TNormalizationForm Form);

// The general categories, in the order the Unicode standard lists them.
enum TCharacterCategory : std::uint8_t {
  ccLetterUppercase,
  ccLetterLowercase,
  ccLetterTitlecase,
  ccLetterModifier,
  ccLetterOther,
  ccMarkNonSpacing,
  ccMarkSpacingCombining,
  ccMarkEnclosing,
  ccNumberDecimalDigit,
  ccNumberLetter,
  ccNumberOther,
  ccPunctuationConnector,
  ccPunctuationDash,
  ccPunctuationOpen,
  ccPunctuationClose,
  ccPunctuationInitialQuote,
  ccPunctuationFinalQuote,
  ccPunctuationOther,
  ccSymbolMath,
  ccSymbolCurrency,
  ccSymbolModifier,
  ccSymbolOther,
  ccSeparatorSpace,
  ccSeparatorLine,
  ccSeparatorParagraph,
  ccOtherControl,
  ccOtherFormat,
  ccOtherSurrogate,
  ccOtherPrivate,
  ccOtherUnassigned
};
// The category of a code point; unassigned where the data names none.
TCharacterCategory UnicodeCategoryOf(char32_t CodePoint);

// A numeric value as the data writes it: a whole number or a fraction.
struct TNumericValue {
  std::int32_t Numerator = 0;
  std::uint32_t Denominator = 0;  // 0: the character has no numeric value
};
// False for a code point without a numeric value.
bool UnicodeNumericValue(char32_t CodePoint, TNumericValue& Value);

// Copies the source with its terminator.
WideChar* WideCStrCopy(WideChar* Dest, const WideChar* Source);
// 1-based position of the first C at or after Start; 0 when none or Start is out of range.
int WideCharPosFrom(std::u16string_view S, WideChar C, int Start);

// The tables as they are read from their resources. Every count and length is
// checked against the bytes that are really there: broken data raises EReadError.
namespace unicodedata {

// Two levels: 256 pages by the high byte, each made when first written.
template <class T>
class TPagedTable {
 public:
  const T* Find(char32_t cp) const {
    if (cp > 0xFFFF) return nullptr;
    const auto& page = FPages[cp >> 8];
    return page ? &(*page)[cp & 0xFF] : nullptr;
  }
  T& At(char32_t cp) {
    auto& page = FPages[(cp >> 8) & 0xFF];
    if (!page) page = std::make_unique<std::array<T, 256>>();
    return (*page)[cp & 0xFF];
  }

 private:
  std::array<std::unique_ptr<std::array<T, 256>>, 256> FPages;
};

struct TCaseEntry {
  bool Present = false;
  WideString Fold, Lower, Title, Upper;  // empty: the character itself
};
using TCaseTable = TPagedTable<TCaseEntry>;

struct TDecompositionTables {
  TPagedTable<WideString> Canonical, Compatible;
};
using TCombiningTable = TPagedTable<std::uint8_t>;
using TCompositionPairs = std::vector<std::pair<std::uint32_t, std::uint32_t>>;  // key, composite

std::unique_ptr<TCaseTable> ReadCaseTable(std::string_view Bytes);
std::unique_ptr<TDecompositionTables> ReadDecompositionTables(std::string_view Bytes);
std::unique_ptr<TCombiningTable> ReadCombiningTable(std::string_view Bytes);
TCompositionPairs ReadCompositionPairs(std::string_view Bytes);
// Category + 1 per code point (0: unassigned), and the numeric values.
using TCategoryTable = TPagedTable<std::uint8_t>;
using TNumberTable = TPagedTable<TNumericValue>;
std::unique_ptr<TCategoryTable> ReadCategoryTable(std::string_view Bytes);
std::unique_ptr<TNumberTable> ReadNumberTable(std::string_view Bytes);

// The resource's bytes: from the program's module on Windows, from the
// UnicodeData folder beside the executable natively.
std::string ReadUnicodeResource(const char* Name);

}  // namespace unicodedata
