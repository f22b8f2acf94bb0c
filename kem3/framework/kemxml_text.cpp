// The stored form of the XML document's texts.
#include "kem3/framework/kemxml_text.h"

#include <array>

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
  size_t i = 0;
  for (;;) {
    const size_t at = s.find("&#", i);
    if (at == std::string_view::npos) {
      out.append(s.substr(i));
      return;
    }
    out.append(s.substr(i, at - i));
    const size_t semi = s.find(';', at + 2);
    const size_t end = semi == std::string_view::npos ? s.size() : semi;
    AppendUtf8(out, ReferenceCode(s.substr(at + 2, end - at - 2)));
    i = semi == std::string_view::npos ? s.size() : semi + 1;
  }
}

// What the encoder does with each byte: 0 copies it, 1 writes a reference for
// it, 2 starts a character outside ASCII.
using TByteTable = std::array<std::uint8_t, 256>;

constexpr TByteTable MakeTable(bool iso, bool keepControls, bool equals) {
  TByteTable table{};
  for (int b = 0; b < 256; ++b) {
    std::uint8_t action = 0;
    if (b == '<' || b == '>' || b == '&' || b == '"' || (b == '\\' && iso) || (b == '=' && equals) ||
        (b < 0x20 && !keepControls))
      action = 1;
    if (b >= 0x80) action = 2;
    table[static_cast<size_t>(b)] = action;
  }
  return table;
}

constexpr TByteTable kTables[2][3] = {
    {MakeTable(true, false, false), MakeTable(true, true, false), MakeTable(true, false, true)},
    {MakeTable(false, false, false), MakeTable(false, true, false), MakeTable(false, false, true)},
};

void PutRun(TOutBuffer& out, std::string_view text, bool iso, const TByteTable& table) {
  const auto* base = reinterpret_cast<const unsigned char*>(text.data());
  const auto* p = base;
  const auto* end = base + text.size();
  while (p < end) {
    const auto* run = p;
    while (p < end && table[*p] == 0) ++p;
    if (p > run) out.Put(reinterpret_cast<const char*>(run), static_cast<size_t>(p - run));
    if (p == end) return;
    if (table[*p] == 1) {
      out.PutReference(*p++);
      continue;
    }
    size_t pos = static_cast<size_t>(p - base);
    const char32_t cp = DecodeUtf8At(text, pos);
    if (iso) {
      out.PutReference(cp);
    } else if (cp == kReplacementChar) {
      out.Put("\xEF\xBF\xBD", 3);
    } else {
      out.Put(reinterpret_cast<const char*>(p), pos - static_cast<size_t>(p - base));  // valid: as it stands
    }
    p = base + pos;
  }
}

bool IsTrimmed(char c) { return static_cast<unsigned char>(c) <= ' '; }

}  // namespace

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

void TOutBuffer::Grow(size_t n) {
  const size_t used = static_cast<size_t>(FAt - FOut.data());
  FOut.resize(std::max(FOut.size() * 2, used + n));
  FAt = FOut.data() + used;
  FEnd = FOut.data() + FOut.size();
}

void TOutBuffer::PutReference(char32_t cp) {
  char digits[10];
  size_t n = 0;
  auto value = static_cast<std::uint32_t>(cp);
  do {
    digits[n++] = static_cast<char>('0' + value % 10);
    value /= 10;
  } while (value);
  Need(n + 3);
  PutUnchecked("&#", 2);
  while (n) PutUnchecked(digits[--n]);
  PutUnchecked(';');
}

void PutEncoded(TOutBuffer& out, std::string_view text, std::uint8_t encoding, TTextKind kind) {
  const bool iso = encoding == xeIso88591;
  const TByteTable& table = kTables[iso ? 0 : 1][kind];
  if (kind != tkComment || text.empty()) {
    PutRun(out, text, iso, table);
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
