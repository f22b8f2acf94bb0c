// UTF-7, code page dispatch, UTF-16 byte order and cuts between characters.
#include "kem3/unicode/ucsystem.h"

#include <array>
#include <cstdint>

#include "kem3/unicode/uclocale.h"
#include "platform/unicode_convert.h"

namespace {

constexpr char kBase64[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

// The character classes of RFC 2152 as three 128-entry tables, made once.
struct TUtf7Tables {
  std::array<bool, 128> MustEncode{};    // relaxed: the optionally direct characters pass
  std::array<std::int8_t, 128> Digit{};  // base64 value, -1 for other characters

  TUtf7Tables() {
    MustEncode.fill(true);
    for (const char* p = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789'(),-./:?\t\r\n "; *p; ++p)
      MustEncode[static_cast<unsigned char>(*p)] = false;
    for (const char* p = "!\"#$%&*;<=>@[]^_`{|}"; *p; ++p) MustEncode[static_cast<unsigned char>(*p)] = false;
    Digit.fill(-1);
    for (int i = 0; i < 64; ++i) Digit[static_cast<unsigned char>(kBase64[i])] = static_cast<std::int8_t>(i);
  }
};

const TUtf7Tables& Utf7Tables() {
  static const TUtf7Tables tables;
  return tables;
}

bool IsBase64Char(char32_t c) { return c < 128 && Utf7Tables().Digit[c] >= 0; }

}  // namespace

std::string WideToUTF7(std::u16string_view Text) {
  const TUtf7Tables& t = Utf7Tables();
  std::string out;
  out.reserve(Text.size() + Text.size() / 2);
  bool inRun = false;
  std::uint32_t bits = 0;
  int bitCount = 0;
  auto flushGroups = [&] {
    while (bitCount >= 6) {
      bitCount -= 6;
      out.push_back(kBase64[(bits >> bitCount) & 0x3F]);
    }
  };
  for (size_t i = 0; i <= Text.size(); ++i) {
    const bool atEnd = i == Text.size();
    const char16_t c = atEnd ? u'\0' : Text[i];
    const bool base64 = !atEnd && (c > 127 || t.MustEncode[c]);
    if (base64) {
      if (!inRun) {
        out.push_back('+');
        if (c == u'+') {
          out.push_back('-');
          continue;
        }
        inRun = true;
      }
      bits = (bits << 16) | c;
      bitCount += 16;
      flushGroups();
      continue;
    }
    if (inRun) {
      const int pad = (6 - bitCount % 6) % 6;
      bits <<= pad;
      bitCount += pad;
      flushGroups();
      bits = 0;
      inRun = false;
      // A base64 digit or "-" behind the run would be read as part of it.
      if (!atEnd && (IsBase64Char(c) || c == u'-')) out.push_back('-');
    }
    if (!atEnd) out.push_back(static_cast<char>(c));
  }
  return out;
}

WideString UTF7ToWide(std::string_view Text) {
  const TUtf7Tables& t = Utf7Tables();
  WideString out;
  out.reserve(Text.size());
  bool invalid = false;
  bool inRun = false;
  bool justPlus = false;  // the "+" was the last byte taken
  bool wrote = false;     // the run gave a character
  std::uint32_t bits = 0;
  int bitCount = 0;
  auto endRun = [&] {
    if (!wrote || (bitCount > 0 && (bits & ((1u << bitCount) - 1)) != 0)) invalid = true;
    inRun = false;
  };
  for (size_t i = 0; i < Text.size(); ++i) {
    const auto b = static_cast<unsigned char>(Text[i]);
    if (inRun) {
      if (b < 128 && t.Digit[b] >= 0) {
        bits = ((bits << 6) | static_cast<std::uint32_t>(t.Digit[b])) & 0x3FFFFF;
        bitCount += 6;
        justPlus = false;
        if (bitCount >= 16) {
          bitCount -= 16;
          out.push_back(static_cast<char16_t>(bits >> bitCount));
          wrote = true;
        }
        continue;
      }
      if (justPlus && b == '-') {
        out.push_back(u'+');
        inRun = false;
        continue;
      }
      endRun();
      if (b == '-') continue;  // the run's end mark is absorbed
    }
    if (b == '+') {
      inRun = justPlus = true;
      wrote = false;
      bits = 0;
      bitCount = 0;
      continue;
    }
    if (b > 127) invalid = true;
    out.push_back(static_cast<char16_t>(b));
  }
  if (inRun) endRun();
  if (invalid) throw EUcGeneralError("Invalid UTF7");
  return out;
}

WideString CodePageToWide(std::string_view Text, unsigned CodePage) {
  if (CodePage == kCpUtf7) return UTF7ToWide(Text);
  if (CodePage == kCpUtf8) return Utf8ToWide(Text);
  return CodePageTextToWide(Text, CodePage);
}

std::string WideToCodePage(std::u16string_view Text, unsigned CodePage) {
  if (CodePage == kCpUtf7) return WideToUTF7(Text);
  if (CodePage == kCpUtf8) return WideToUtf8(Text);
  return WideToCodePageText(Text, CodePage);
}

void SwapUtf16ByteOrder(WideChar* Text) {
  for (; *Text; ++Text) *Text = static_cast<WideChar>((*Text << 8) | (*Text >> 8));
}

void SwapUtf16ByteOrder(WideString& Text) {
  for (WideChar& c : Text) c = static_cast<WideChar>((c << 8) | (c >> 8));
}

size_t WholeCharsLength(std::u16string_view Text, size_t Count) {
  if (Count >= Text.size()) return Text.size();
  return Count > 0 && Text[Count - 1] >= 0xD800 && Text[Count - 1] <= 0xDBFF ? Count - 1 : Count;
}
