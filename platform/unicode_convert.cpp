// UTF-8 and UTF-16 conversions (the ANSI code page lives in codepage_*.cpp).
#include "platform/unicode_convert.h"

namespace {

bool IsScalar(char32_t cp) { return cp <= 0x10FFFF && (cp < 0xD800 || cp > 0xDFFF); }

}  // namespace

void AppendUtf8(String& out, char32_t cp) {
  if (!IsScalar(cp)) cp = kReplacementChar;
  if (cp < 0x80) {
    out.push_back(static_cast<char>(cp));
  } else if (cp < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else if (cp < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  }
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

bool IsValidUtf8(std::string_view bytes) {
  size_t pos = 0;
  while (pos < bytes.size()) {
    size_t start = pos;
    char32_t cp = DecodeUtf8At(bytes, pos);
    if (cp == kReplacementChar) {
      // A literal U+FFFD (EF BF BD) is valid; anything else that decodes to it is not.
      if (pos - start != 3 || bytes.substr(start, 3) != "\xEF\xBF\xBD") return false;
    }
  }
  return true;
}

WideString Utf8ToWide(std::string_view utf8) {
  WideString out;
  out.reserve(utf8.size());
  size_t pos = 0;
  while (pos < utf8.size()) AppendUtf16(out, DecodeUtf8At(utf8, pos));
  return out;
}

String WideToUtf8(std::u16string_view wide) {
  String out;
  out.reserve(wide.size());
  for (size_t i = 0; i < wide.size(); ++i) {
    char32_t c = wide[i];
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < wide.size() && wide[i + 1] >= 0xDC00 && wide[i + 1] <= 0xDFFF) {
      c = 0x10000 + ((c - 0xD800) << 10) + (wide[i + 1] - 0xDC00);
      ++i;
    }
    AppendUtf8(out, c);  // a lone surrogate becomes U+FFFD
  }
  return out;
}

String AnsiToUtf8(std::string_view ansi) { return WideToUtf8(AnsiToWide(ansi)); }

std::string Utf8ToAnsi(std::string_view utf8) { return WideToAnsi(Utf8ToWide(utf8)); }

String TextToUtf8(std::string_view bytes) {
  if (IsValidUtf8(bytes)) return String(bytes);
  return AnsiToUtf8(bytes);
}
