// UTF-8 and UTF-16 conversions (the ANSI code page lives in codepage_*.cpp).
// Every file load and every wide system call goes through them, so the bulk
// conversions take runs of ASCII a machine word at a time and size their result
// once; DecodeUtf8At stays the one-character rule they follow.
#include "platform/unicode_convert.h"

#include <bit>
#include <cstdint>
#include <cstring>

namespace {

bool IsScalar(char32_t cp) { return cp <= 0x10FFFF && (cp < 0xD800 || cp > 0xDFFF); }

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

// How many bytes from p on are ASCII, looking a word at a time.
size_t AsciiPrefix(const unsigned char* p, const unsigned char* end) {
  const unsigned char* start = p;
  while (end - p >= 8) {
    const std::uint64_t high = Load64(p) & kByteHighBits;
    if (high) return static_cast<size_t>(p - start) + static_cast<size_t>(std::countr_zero(high) / 8);
    p += 8;
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

// Bytes of one code point in UTF-8.
size_t Utf8Size(char32_t cp) { return cp < 0x80 ? 1 : cp < 0x800 ? 2 : cp < 0x10000 ? 3 : 4; }

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

// How many units from i on are ASCII, four at a time.
size_t AsciiUnits(const char16_t* w, size_t i, size_t n) {
  const size_t start = i;
  while (n - i >= 4 && (Load64(w + i) & kUnitNonAscii) == 0) i += 4;
  while (i < n && w[i] < 0x80) ++i;
  return i - start;
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
    while (end - p >= 8) {
      const std::uint64_t w = Load64(p);
      const std::uint64_t high = w & kByteHighBits;
      const size_t run = high ? static_cast<size_t>(std::countr_zero(high) / 8) : 8;
      for (size_t k = 0; k < 8; ++k) q[k] = static_cast<char16_t>(p[k]);  // the bytes past the run are rewritten
      p += run;
      q += run;
      if (high) break;
    }
    if (p == end) break;
    if (*p < 0x80) {
      *q++ = *p++;
      continue;
    }
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

String WideToUtf8(std::u16string_view wide) {
  const char16_t* w = wide.data();
  const size_t n = wide.size();
  // The exact size first, so the text is written once into its own room.
  size_t size = 0;
  for (size_t i = 0; i < n;) {
    const size_t run = AsciiUnits(w, i, n);
    size += run;
    i += run;
    if (i < n) size += Utf8Size(DecodeUtf16(w, n, i));
  }
  String out(size, '\0');
  char* q = out.data();
  for (size_t i = 0; i < n;) {
    while (n - i >= 4) {
      const std::uint64_t units = Load64(w + i);
      if (units & kUnitNonAscii) break;
      q[0] = static_cast<char>(w[i]);
      q[1] = static_cast<char>(w[i + 1]);
      q[2] = static_cast<char>(w[i + 2]);
      q[3] = static_cast<char>(w[i + 3]);
      q += 4;
      i += 4;
    }
    if (i == n) break;
    if (w[i] < 0x80) {
      *q++ = static_cast<char>(w[i++]);
      continue;
    }
    q = PutUtf8(q, DecodeUtf16(w, n, i));  // a lone surrogate becomes U+FFFD
  }
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
