// UTF-8 and UTF-16 conversions (the ANSI code page lives in codepage_*.cpp).
// Every file load and every wide system call goes through them, so the bulk
// conversions take runs of ASCII a machine word at a time and size their result
// once; DecodeUtf8At stays the one-character rule they follow.
#include "platform/unicode_convert.h"

#include <bit>
#include <cstdint>
#include <cstring>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

bool IsScalar(char32_t cp) { return cp <= 0x10FFFF && (cp < 0xD800 || cp > 0xDFFF); }

// Blocks of ASCII: eight bytes or four units as a machine word, or with SSE2
// sixteen bytes or eight units at once. Each returns how many of the block's
// first characters are ASCII (the whole block when all are) and has already
// converted the block into q, which has room for it: what follows the ASCII
// is written again by the caller.
#if defined(__SSE2__)
constexpr size_t kByteBlock = 16;
constexpr size_t kUnitBlock = 8;

size_t AsciiInBlock(const unsigned char* p) {
  const auto mask = static_cast<unsigned>(_mm_movemask_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p))));
  return mask ? static_cast<size_t>(std::countr_zero(mask)) : kByteBlock;
}

size_t WidenAsciiBlock(const unsigned char* p, char16_t* q) {
  const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
  const __m128i zero = _mm_setzero_si128();
  _mm_storeu_si128(reinterpret_cast<__m128i*>(q), _mm_unpacklo_epi8(bytes, zero));
  _mm_storeu_si128(reinterpret_cast<__m128i*>(q + 8), _mm_unpackhi_epi8(bytes, zero));
  const auto mask = static_cast<unsigned>(_mm_movemask_epi8(bytes));
  return mask ? static_cast<size_t>(std::countr_zero(mask)) : kByteBlock;
}

size_t NarrowAsciiBlock(const char16_t* w, char* q) {
  const __m128i units = _mm_loadu_si128(reinterpret_cast<const __m128i*>(w));
  _mm_storel_epi64(reinterpret_cast<__m128i*>(q), _mm_packus_epi16(units, units));
  const __m128i ascii =
      _mm_cmpeq_epi16(_mm_and_si128(units, _mm_set1_epi16(static_cast<short>(0xFF80))), _mm_setzero_si128());
  const auto mask = static_cast<unsigned>(_mm_movemask_epi8(ascii));  // two bits per ASCII unit
  return mask == 0xFFFF ? kUnitBlock : static_cast<size_t>(std::countr_zero(~mask) / 2);
}
#else
constexpr size_t kByteBlock = 8;
constexpr size_t kUnitBlock = 4;

// The high bit of every byte, and of every UTF-16 unit's low byte and above.
constexpr std::uint64_t kByteHighBits = 0x8080808080808080ULL;
constexpr std::uint64_t kUnitNonAscii = 0xFF80FF80FF80FF80ULL;

// Words are read in memory order, so the lowest set bit is the first byte that is not ASCII.
static_assert(std::endian::native == std::endian::little, "the word-at-a-time paths read little-endian words");

std::uint64_t Load64(const void* p) {
  std::uint64_t w;
  std::memcpy(&w, p, sizeof w);
  return w;
}

size_t AsciiInBlock(const unsigned char* p) {
  const std::uint64_t high = Load64(p) & kByteHighBits;
  return high ? static_cast<size_t>(std::countr_zero(high) / 8) : kByteBlock;
}

size_t WidenAsciiBlock(const unsigned char* p, char16_t* q) {
  for (size_t k = 0; k < kByteBlock; ++k) q[k] = static_cast<char16_t>(p[k]);
  return AsciiInBlock(p);
}

size_t NarrowAsciiBlock(const char16_t* w, char* q) {
  const std::uint64_t units = Load64(w);
  for (size_t k = 0; k < kUnitBlock; ++k) q[k] = static_cast<char>(w[k]);
  const std::uint64_t other = units & kUnitNonAscii;
  return other ? static_cast<size_t>(std::countr_zero(other) / 16) : kUnitBlock;
}
#endif

// How many bytes from p on are ASCII.
size_t AsciiPrefix(const unsigned char* p, const unsigned char* end) {
  const unsigned char* start = p;
  while (static_cast<size_t>(end - p) >= kByteBlock) {
    const size_t ascii = AsciiInBlock(p);
    p += ascii;
    if (ascii < kByteBlock) return static_cast<size_t>(p - start);
  }
  while (p < end && *p < 0x80) ++p;
  return static_cast<size_t>(p - start);
}

bool IsContinuation(unsigned char b) { return (b & 0xC0) == 0x80; }

// One sequence that begins with a byte of 0x80 or more, by the rule of
// DecodeUtf8At: p moves past what it takes.
char32_t DecodeMultiByte(const unsigned char*& p, const unsigned char* end) {
  const unsigned char lead = *p;
  if (lead >= 0xC2 && lead <= 0xDF) {
    if (end - p >= 2 && IsContinuation(p[1])) {
      char32_t cp = (static_cast<char32_t>(lead & 0x1F) << 6) | (p[1] & 0x3F);
      p += 2;
      return cp;
    }
    ++p;
    return kReplacementChar;
  }
  int extra;
  char32_t cp;
  char32_t min;
  if (lead >= 0xE0 && lead <= 0xEF) {
    extra = 2, cp = lead & 0x0F, min = 0x800;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    extra = 3, cp = lead & 0x07, min = 0x10000;
  } else {
    ++p;
    return kReplacementChar;
  }
  const unsigned char* q = p + 1;
  for (int k = 0; k < extra; ++k, ++q) {
    if (q >= end || !IsContinuation(*q)) {
      p = q;  // skip the broken prefix, resynchronise on the next byte
      return kReplacementChar;
    }
    cp = (cp << 6) | (*q & 0x3F);
  }
  p = q;
  if (cp < min || !IsScalar(cp)) return kReplacementChar;
  return cp;
}

char* PutUtf8(char* q, char32_t cp) {
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
  return q;
}

// The code point at w[i] of UTF-16 text, a lone surrogate as U+FFFD; i moves past it.
char32_t DecodeUtf16(const char16_t* w, size_t n, size_t& i) {
  char32_t c = w[i++];
  if (c < 0xD800 || c > 0xDFFF) return c;
  if (c <= 0xDBFF && i < n && w[i] >= 0xDC00 && w[i] <= 0xDFFF)
    return 0x10000 + ((c - 0xD800) << 10) + (w[i++] - 0xDC00);
  return kReplacementChar;
}

}  // namespace

void AppendUtf8(String& out, char32_t cp) {
  if (!IsScalar(cp)) cp = kReplacementChar;
  char bytes[4];
  out.append(bytes, static_cast<size_t>(PutUtf8(bytes, cp) - bytes));
}

void AppendUtf16(WideString& out, char32_t cp) {
  if (!IsScalar(cp)) cp = kReplacementChar;
  if (cp < 0x10000) {
    out.push_back(static_cast<char16_t>(cp));
  } else {
    cp -= 0x10000;
    out.push_back(static_cast<char16_t>(0xD800 | (cp >> 10)));
    out.push_back(static_cast<char16_t>(0xDC00 | (cp & 0x3FF)));
  }
}

char32_t DecodeUtf8At(std::string_view s, size_t& pos) {
  const auto byte = [&](size_t i) { return static_cast<unsigned char>(s[i]); };
  unsigned char lead = byte(pos);
  if (lead < 0x80) {
    ++pos;
    return lead;
  }
  int extra;
  char32_t cp;
  char32_t min;
  if (lead >= 0xC2 && lead <= 0xDF) {
    extra = 1, cp = lead & 0x1F, min = 0x80;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    extra = 2, cp = lead & 0x0F, min = 0x800;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    extra = 3, cp = lead & 0x07, min = 0x10000;
  } else {
    ++pos;
    return kReplacementChar;
  }
  size_t i = pos + 1;
  for (int k = 0; k < extra; ++k, ++i) {
    if (i >= s.size() || (byte(i) & 0xC0) != 0x80) {
      pos = i;  // skip the broken prefix, resynchronise on the next byte
      return kReplacementChar;
    }
    cp = (cp << 6) | (byte(i) & 0x3F);
  }
  pos = i;
  if (cp < min || !IsScalar(cp)) return kReplacementChar;
  return cp;
}

bool IsAscii(std::string_view bytes) {
  const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
  return AsciiPrefix(p, p + bytes.size()) == bytes.size();
}

bool IsValidUtf8(std::string_view bytes) {
  const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
  const auto* end = p + bytes.size();
  for (;;) {
    p += AsciiPrefix(p, end);
    if (p == end) return true;
    const unsigned char* start = p;
    // A literal U+FFFD (EF BF BD) is valid; anything else that decodes to it is not.
    if (DecodeMultiByte(p, end) == kReplacementChar && (p - start != 3 || std::memcmp(start, "\xEF\xBF\xBD", 3) != 0))
      return false;
  }
}

WideString Utf8ToWide(std::string_view utf8) {
  // Never more units than bytes: the result is sized once and cut to what it holds.
  WideString out(utf8.size(), u'\0');
  const auto* p = reinterpret_cast<const unsigned char*>(utf8.data());
  const auto* end = p + utf8.size();
  char16_t* q = out.data();
  while (p < end) {
    // Never more units than bytes, so a whole block has room.
    while (static_cast<size_t>(end - p) >= kByteBlock) {
      const size_t run = WidenAsciiBlock(p, q);
      p += run;
      q += run;
      if (run < kByteBlock) break;
    }
    while (p < end && *p < 0x80) *q++ = *p++;
    // Runs of one kind of character stay in one loop, where the branch is
    // foreseen; anything else goes by the one-character rule below.
    while (end - p >= 2 && p[0] >= 0xC2 && p[0] <= 0xDF && IsContinuation(p[1])) {
      *q++ = static_cast<char16_t>(((p[0] & 0x1F) << 6) | (p[1] & 0x3F));
      p += 2;
    }
    while (end - p >= 3 && (p[0] & 0xF0) == 0xE0 && IsContinuation(p[1]) && IsContinuation(p[2])) {
      const auto c = static_cast<char16_t>(((p[0] & 0x0F) << 12) | ((p[1] & 0x3F) << 6) | (p[2] & 0x3F));
      if (c < 0x800 || (c >= 0xD800 && c <= 0xDFFF)) break;
      *q++ = c;
      p += 3;
    }
    if (p == end || *p < 0x80) continue;
    char32_t cp = DecodeMultiByte(p, end);
    if (cp < 0x10000) {
      *q++ = static_cast<char16_t>(cp);
    } else {
      cp -= 0x10000;
      *q++ = static_cast<char16_t>(0xD800 | (cp >> 10));
      *q++ = static_cast<char16_t>(0xDC00 | (cp & 0x3FF));
    }
  }
  out.resize(static_cast<size_t>(q - out.data()));
  return out;
}

namespace {

// The exact UTF-8 size of UTF-16 text: one byte per unit, one more from
// U+0080, one more from U+0800, and a surrogate pair is four bytes, not the six
// its units would make (a lone one is U+FFFD, three). No branches.
size_t Utf8SizeOf(const char16_t* w, size_t n) {
  size_t size = n;
  size_t i = 0;
#if defined(__SSE2__)
  const __m128i zero = _mm_setzero_si128();
  const __m128i notAscii = _mm_set1_epi16(static_cast<short>(0xFF80));
  const __m128i notTwo = _mm_set1_epi16(static_cast<short>(0xF800));
  const __m128i half = _mm_set1_epi16(static_cast<short>(0xFC00));
  const __m128i high = _mm_set1_epi16(static_cast<short>(0xD800));
  const __m128i low = _mm_set1_epi16(static_cast<short>(0xDC00));
  // Eight units and the unit behind them at a time; each lane adds at most
  // four, so 4,096 rounds fit its 16 bits before they are summed.
  while (n - i >= 9) {
    __m128i lanes = zero;
    size_t units = 0;
    for (int round = 0; round < 4096 && n - i >= 9; ++round, i += 8, units += 8) {
      const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(w + i));
      const __m128i next = _mm_loadu_si128(reinterpret_cast<const __m128i*>(w + i + 1));
      // -1 where a unit is ASCII, below U+0800, or begins a surrogate pair.
      const __m128i ascii = _mm_cmpeq_epi16(_mm_and_si128(v, notAscii), zero);
      const __m128i two = _mm_cmpeq_epi16(_mm_and_si128(v, notTwo), zero);
      const __m128i pair =
          _mm_and_si128(_mm_cmpeq_epi16(_mm_and_si128(v, half), high), _mm_cmpeq_epi16(_mm_and_si128(next, half), low));
      lanes = _mm_add_epi16(lanes, _mm_add_epi16(_mm_add_epi16(ascii, two), _mm_add_epi16(pair, pair)));
    }
    // Each unit adds 2 + (ascii + two + 2 pair) bytes beyond its first.
    const __m128i sums = _mm_madd_epi16(lanes, _mm_set1_epi16(1));
    alignas(16) std::int32_t parts[4];
    _mm_store_si128(reinterpret_cast<__m128i*>(parts), sums);
    size += 2 * units + static_cast<size_t>(static_cast<std::int64_t>(parts[0]) + parts[1] + parts[2] + parts[3]);
  }
#endif
  for (; i < n; ++i)
    size += static_cast<size_t>(w[i] >= 0x80) + static_cast<size_t>(w[i] >= 0x800) -
            2 * (static_cast<size_t>((w[i] & 0xFC00) == 0xD800) &
                 static_cast<size_t>(i + 1 < n && (w[i + 1] & 0xFC00) == 0xDC00));
  return size;
}

static_assert(std::endian::native == std::endian::little, "a character's bytes are stored as one little-endian word");

void Store16(char* q, std::uint16_t v) { std::memcpy(q, &v, sizeof v); }
void Store32(char* q, std::uint32_t v) { std::memcpy(q, &v, sizeof v); }

// Bytes a UTF-8 writer may store beyond its last character: a three-byte
// character is written as one four-byte word.
constexpr size_t kUtf8Slack = 1;

}  // namespace

String WideToUtf8(std::u16string_view wide) {
  const char16_t* w = wide.data();
  const size_t n = wide.size();
  // The exact size first, so the text is written once into its own room (and
  // the slack, given back at the end without moving the text).
  const size_t size = Utf8SizeOf(w, n);
  String out(size + kUtf8Slack, '\0');
  char* q = out.data();
  size_t i = 0;
  while (i < n) {
    // Every unit makes at least one byte, so a whole block has room.
    while (n - i >= kUnitBlock) {
      const size_t run = NarrowAsciiBlock(w + i, q);
      i += run;
      q += run;
      if (run < kUnitBlock) break;
    }
    while (i < n && w[i] < 0x80) *q++ = static_cast<char>(w[i++]);
    // Everything else until the next ASCII stays in this loop, each unit
    // stored as one word (little-endian: the lead byte first).
    while (i < n && w[i] >= 0x80) {
      const std::uint32_t c = w[i];
      if (c < 0x800) {
        Store16(q, static_cast<std::uint16_t>((0xC0 | (c >> 6)) | ((0x80 | (c & 0x3F)) << 8)));
        q += 2;
        ++i;
      } else if ((c & 0xF800) != 0xD800) {
        Store32(q, (0xE0 | (c >> 12)) | ((0x80 | ((c >> 6) & 0x3F)) << 8) | ((0x80 | (c & 0x3F)) << 16));
        q += 3;
        ++i;
      } else {
        q = PutUtf8(q, DecodeUtf16(w, n, i));  // a pair, or a lone surrogate as U+FFFD
      }
    }
  }
  out.resize(size);
  return out;
}

String AnsiToUtf8(std::string_view ansi) {
  if (IsAscii(ansi)) return String(ansi);  // ASCII is the same in every ANSI code page
  return WideToUtf8(AnsiToWide(ansi));
}

std::string Utf8ToAnsi(std::string_view utf8) {
  if (IsAscii(utf8)) return std::string(utf8);
  return WideToAnsi(Utf8ToWide(utf8));
}

String TextToUtf8(std::string_view bytes) {
  if (IsValidUtf8(bytes)) return String(bytes);
  return AnsiToUtf8(bytes);
}

TTextMark TextMarkOf(std::string_view bytes) {
  if (bytes.starts_with("\xEF\xBB\xBF")) return tmUtf8;
  if (bytes.starts_with("\xFF\xFE")) return tmUtf16LE;
  if (bytes.starts_with("\xFE\xFF")) return tmUtf16BE;
  return tmNone;
}

size_t TextMarkLength(TTextMark mark) { return mark == tmNone ? 0 : mark == tmUtf8 ? 3 : 2; }

WideString Utf16BytesToWide(std::string_view Bytes, bool BigEndian) {
  WideString text(Bytes.size() / 2, u'\0');
  const int lo = BigEndian ? 1 : 0;
  for (size_t i = 0; i < text.size(); ++i)
    text[i] = static_cast<char16_t>(static_cast<unsigned char>(Bytes[2 * i + lo]) |
                                    (static_cast<unsigned char>(Bytes[2 * i + 1 - lo]) << 8));
  return text;
}

void AppendUtf16LE(std::string& Out, std::u16string_view Text) {
  Out.reserve(Out.size() + 2 * Text.size());
  for (char16_t c : Text) {
    Out.push_back(static_cast<char>(c & 0xFF));
    Out.push_back(static_cast<char>(c >> 8));
  }
}
