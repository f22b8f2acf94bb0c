// The stored form of the XML document's texts.
#include "kem3/framework/kemxml_text.h"

#include <algorithm>
#include <array>
#include <bit>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "kem3/framework/kemxml.h"
#include "platform/unicode_convert.h"

namespace kemxml {

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

// Appends s with every "&#n;" replaced by its character, in one pass: what a
// reference yields is never read again. A reference without ";" takes all the
// rest as its number.
void AppendReferencesDecoded(String& out, std::string_view s) {
  const size_t had = out.size();
  out.resize(had + s.size());  // a reference is never shorter than its character
  out.resize(had + DecodeReferencesInto(out.data() + had, s));
}

// What the encoder does with each byte: 0 copies it, 1 writes a reference for
// it, 2 starts a character outside ASCII, 3 leaves it out.
using TByteTable = std::array<std::uint8_t, 256>;

// Of the control characters XML allows only tab, line feed and carriage return;
// the others not even as references, and a strict reader refuses a file with one.
constexpr bool IsForbiddenControl(unsigned char b) { return b < 0x20 && b != '\t' && b != '\n' && b != '\r'; }
// U+FFFE and U+FFFF are no characters for XML either.
constexpr bool IsForbiddenCode(char32_t cp) { return cp == 0xFFFE || cp == 0xFFFF; }

constexpr TByteTable MakeTable(bool iso, bool keepControls, bool equals) {
  TByteTable table{};
  for (int b = 0; b < 256; ++b) {
    std::uint8_t action = 0;
    if (b == '<' || b == '>' || b == '&' || b == '"' || (b == '\\' && iso) || (b == '=' && equals) ||
        (b < 0x20 && !keepControls))
      action = 1;
    if (IsForbiddenControl(static_cast<unsigned char>(b))) action = 3;
    if (b >= 0x80) action = 2;
    table[static_cast<size_t>(b)] = action;
  }
  return table;
}

constexpr TByteTable kTables[2][3] = {
    {MakeTable(true, false, false), MakeTable(true, true, false), MakeTable(true, false, true)},
    {MakeTable(false, false, false), MakeTable(false, true, false), MakeTable(false, false, true)},
};

// "&#n;" for a code point at q; behind it.
char* WriteReference(char* q, char32_t cp) {
  char digits[10];
  size_t n = 0;
  auto value = static_cast<std::uint32_t>(cp);
  do {
    digits[n++] = static_cast<char>('0' + value % 10);
    value /= 10;
  } while (value);
  *q++ = '&';
  *q++ = '#';
  while (n) *q++ = digits[--n];
  *q++ = ';';
  return q;
}

// No byte of a text grows past this many in its stored form: "&#65533;" for a
// byte that is not UTF-8, "&#34;" for a character that needs a reference.
constexpr size_t kMaxGrowth = 8;

void PutSlice(TOutBuffer& out, std::string_view text, bool iso, const TByteTable& table) {
  out.Need(kMaxGrowth * text.size());
  char* q = out.At();
  const auto* base = reinterpret_cast<const unsigned char*>(text.data());
  const auto* p = base;
  const auto* end = base + text.size();
  while (p < end) {
    const unsigned char c = *p;
    const std::uint8_t action = table[c];
    if (action == 0) {
      *q++ = static_cast<char>(c);
      ++p;
    } else if (action == 1) {
      q = WriteReference(q, c);
      ++p;
    } else if (action == 3) {
      ++p;
    } else {
      size_t pos = static_cast<size_t>(p - base);
      const char32_t cp = DecodeUtf8At(text, pos);
      if (IsForbiddenCode(cp)) {
        // Written as nothing, as a forbidden control character is.
      } else if (iso) {
        q = WriteReference(q, cp);
      } else if (cp == kReplacementChar) {
        std::memcpy(q, "\xEF\xBF\xBD", 3);
        q += 3;
      } else {
        for (const auto* from = p; from < base + pos; ++from) *q++ = static_cast<char>(*from);  // valid: as it stands
      }
      p = base + pos;
    }
  }
  out.SetAt(q);
}

// A long text goes in slices, so the room asked for stays a small multiple of
// a slice and not of the text: a text of tens of megabytes would otherwise
// ask for eight times its size. A slice never ends inside a character: the cut
// moves back over the continuation bytes of a UTF-8 sequence.
constexpr size_t kSlice = 64 * 1024;

void PutRun(TOutBuffer& out, std::string_view text, bool iso, const TByteTable& table) {
  while (text.size() > kSlice) {
    size_t cut = kSlice;
    for (int back = 0; back < 3 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80; ++back) --cut;
    PutSlice(out, text.substr(0, cut), iso, table);
    text.remove_prefix(cut);
  }
  PutSlice(out, text, iso, table);
}

bool IsTrimmed(char c) { return static_cast<unsigned char>(c) <= ' '; }

bool HoldsForbiddenControl(std::string_view text) {
  return std::any_of(text.begin(), text.end(),
                     [](char c) { return IsForbiddenControl(static_cast<unsigned char>(c)); });
}

// Blocks of bytes looked at together: sixteen with SSE2, else eight as a
// machine word. A mask marks the bytes of a block that match, KBits bits per
// byte, the first byte lowest; only the lowest mark of a word is sure (marks
// above it may be false), which is all a search needs.
#if defined(__SSE2__)
constexpr size_t kBlock = 16;
constexpr int kBits = 1;
using TMask = std::uint32_t;

__m128i LoadBlock(const char* p) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p)); }
TMask Equal(const char* p, char c) {
  return static_cast<TMask>(_mm_movemask_epi8(_mm_cmpeq_epi8(LoadBlock(p), _mm_set1_epi8(c))));
}
TMask High(const char* p) { return static_cast<TMask>(_mm_movemask_epi8(LoadBlock(p))); }
void CopyBlock(char* q, const char* p) { _mm_storeu_si128(reinterpret_cast<__m128i*>(q), LoadBlock(p)); }
#else
constexpr size_t kBlock = 8;
constexpr int kBits = 8;
using TMask = std::uint64_t;
constexpr std::uint64_t kOnes = 0x0101010101010101ULL;
constexpr std::uint64_t kHighs = 0x8080808080808080ULL;

std::uint64_t Load64(const char* p) {
  std::uint64_t w;
  std::memcpy(&w, p, sizeof w);
  return w;
}
TMask Equal(const char* p, char c) {
  const std::uint64_t x = Load64(p) ^ (kOnes * static_cast<unsigned char>(c));
  return (x - kOnes) & ~x & kHighs;
}
TMask High(const char* p) { return Load64(p) & kHighs; }
void CopyBlock(char* q, const char* p) { std::memcpy(q, p, kBlock); }
#endif

size_t FirstMarked(TMask mask) { return static_cast<size_t>(std::countr_zero(mask) / kBits); }

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

const char* ScanToQuote(const char* p, const char* end, char quote, std::uint8_t& flags) {
  std::uint8_t seen = 0;
  while (static_cast<size_t>(end - p) >= kBlock) {
    const TMask quotes = Equal(p, quote);
    // The bytes before the first quote, or the whole block.
    const TMask before = quotes ? (quotes & (0 - quotes)) - 1 : ~TMask{0};
    if (Equal(p, '&') & before) seen |= sfAmpersand;
    if (High(p) & before) seen |= sfHigh;
    if (quotes) {
      flags |= seen;
      return p + FirstMarked(quotes);
    }
    p += kBlock;
  }
  for (; p < end && *p != quote; ++p) seen |= kStoredFlags.Of[static_cast<unsigned char>(*p)];
  flags |= seen;
  return p;
}

size_t DecodeReferencesInto(char* out, std::string_view s) {
  char* q = out;
  const char* p = s.data();
  const char* end = p + s.size();
  while (p < end) {
    // Up to the next "&", a block at a time: the output is never ahead of the
    // input, so a whole block always has room.
    while (static_cast<size_t>(end - p) >= kBlock) {
      CopyBlock(q, p);
      const TMask amps = Equal(p, '&');
      const size_t run = amps ? FirstMarked(amps) : kBlock;
      p += run;
      q += run;
      if (amps) break;
    }
    if (p == end) break;
    if (*p != '&' || end - p < 2 || p[1] != '#') {
      *q++ = *p++;
      continue;
    }
    // The usual reference, two or three digits for an ASCII character, needs no more.
    if (end - p >= 5 && IsDigit(p[2]) && IsDigit(p[3])) {
      const int two = (p[2] - '0') * 10 + (p[3] - '0');
      if (p[4] == ';') {
        *q++ = static_cast<char>(two);
        p += 5;
        continue;
      }
      if (end - p >= 6 && IsDigit(p[4]) && p[5] == ';' && two * 10 + (p[4] - '0') < 0x80) {
        *q++ = static_cast<char>(two * 10 + (p[4] - '0'));
        p += 6;
        continue;
      }
    }
    const char* digits = p + 2;
    const char* semi = digits;
    while (semi < end && *semi != ';') ++semi;
    const char32_t cp = ReferenceCode(std::string_view(digits, static_cast<size_t>(semi - digits)));
    if (cp < 0x80) {
      *q++ = static_cast<char>(cp);
    } else if (cp < 0x800) {
      *q++ = static_cast<char>(0xC0 | (cp >> 6));
      *q++ = static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
      *q++ = static_cast<char>(0xE0 | (cp >> 12));
      *q++ = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
      *q++ = static_cast<char>(0x80 | (cp & 0x3F));
    } else {
      *q++ = static_cast<char>(0xF0 | (cp >> 18));
      *q++ = static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
      *q++ = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
      *q++ = static_cast<char>(0x80 | (cp & 0x3F));
    }
    p = semi < end ? semi + 1 : end;
  }
  return static_cast<size_t>(q - out);
}

void AppendBytesAsText(String& out, std::string_view bytes, std::uint8_t encoding) {
  if (encoding == xeIso88591 ? IsAscii(bytes) : IsValidUtf8(bytes))
    out.append(bytes);
  else
    out.append(AnsiToUtf8(bytes));
}

void AppendDecoded(String& out, std::string_view stored, std::uint8_t encoding) {
  if (encoding == xeIso88591 ? IsAscii(stored) : IsValidUtf8(stored))
    AppendReferencesDecoded(out, stored);
  else
    AppendReferencesDecoded(out, AnsiToUtf8(stored));
}

void AppendDecoded(String& out, std::string_view stored, std::uint8_t encoding, std::uint8_t flags) {
  if (flags == 0)
    out.append(stored);
  else if (flags == sfAmpersand)
    AppendReferencesDecoded(out, stored);  // ASCII reads the same in both encodings
  else
    AppendDecoded(out, stored, encoding);
}

void TOutBuffer::Grow(size_t n) {
  size_t used = static_cast<size_t>(FAt - FOut.data());
  if (FSink) {
    if (used) FSink(std::string_view(FOut.data(), used));
    used = 0;
    if (FOut.size() < n) FOut.resize(n);
  } else {
    FOut.resize(std::max(FOut.size() * 2, used + n));
  }
  FAt = FOut.data() + used;
  FEnd = FOut.data() + FOut.size();
}

void TOutBuffer::Finish() {
  const size_t used = static_cast<size_t>(FAt - FOut.data());
  if (!FSink) {
    FOut.resize(used);
    return;
  }
  if (used) FSink(std::string_view(FOut.data(), used));
  FAt = FOut.data();
}

void TOutBuffer::PutReference(char32_t cp) {
  Need(12);
  FAt = WriteReference(FAt, cp);
}

void PutEncoded(TOutBuffer& out, std::string_view text, std::uint8_t encoding, TTextKind kind) {
  const bool iso = encoding == xeIso88591;
  const TByteTable& table = kTables[iso ? 0 : 1][kind];
  if (kind != tkComment || text.empty()) {
    PutRun(out, text, iso, table);
    return;
  }
  if (HoldsForbiddenControl(text)) {
    // Out first, so that what stands at the ends afterwards is what the ends get.
    String kept(text);
    std::erase_if(kept, [](char c) { return IsForbiddenControl(static_cast<unsigned char>(c)); });
    PutEncoded(out, kept, encoding, kind);
    return;
  }
  // The reader trims blanks and control characters off a comment: at its ends they are references.
  const bool first = IsTrimmed(text.front());
  const bool last = text.size() > 1 && IsTrimmed(text.back());
  if (first) out.PutReference(static_cast<unsigned char>(text.front()));
  PutRun(out, text.substr(first ? 1 : 0, text.size() - (first ? 1 : 0) - (last ? 1 : 0)), iso, table);
  if (last) out.PutReference(static_cast<unsigned char>(text.back()));
}

}  // namespace kemxml
