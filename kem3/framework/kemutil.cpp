// Text routines of the common services: tokens, characters, accelerator marks,
// capitals and wildcards.
#include "kem3/framework/kemutil.h"

#include <cstring>

#include "kem3/unicode/ucaccel.h"
#include "platform/sysutils.h"
#include "platform/unicode_convert.h"
#include "platform/wide_case.h"

namespace {

template <class Char>
std::vector<std::basic_string<Char>> SplitAt(std::basic_string_view<Char> text, Char delimiter) {
  std::vector<std::basic_string<Char>> pieces;
  for (size_t start = 0;;) {
    const size_t at = text.find(delimiter, start);
    pieces.emplace_back(text.substr(start, at == text.npos ? text.npos : at - start));
    if (at == text.npos) return pieces;
    start = at + 1;
  }
}

template <class Char>
std::basic_string<Char> CutAt(std::basic_string<Char>& text, Char delimiter) {
  const size_t at = text.find(delimiter);
  if (at == std::basic_string<Char>::npos) {
    std::basic_string<Char> token;
    token.swap(text);
    return token;
  }
  std::basic_string<Char> token = text.substr(0, at);
  text.erase(0, at + 1);
  return token;
}

template <class Char>
std::basic_string<Char> WithoutEnclosing(std::basic_string_view<Char> text, Char c) {
  if (text.size() >= 2 && text.front() == c && text.back() == c) text = text.substr(1, text.size() - 2);
  return std::basic_string<Char>(text);
}

template <class Char>
std::basic_string<Char> Without(std::basic_string_view<Char> text, Char c) {
  std::basic_string<Char> out;
  out.reserve(text.size());
  for (Char ch : text)
    if (ch != c) out.push_back(ch);
  return out;
}

std::u32string CodePoints(std::string_view text) {
  std::u32string out;
  out.reserve(text.size());
  for (size_t pos = 0; pos < text.size();) out.push_back(DecodeUtf8At(text, pos));
  return out;
}

// Characters after which a word goes on: a capital follows anything else.
bool ContinuesWord(char32_t c) {
  return (c >= U'a' && c <= U'z') || (c >= U'A' && c <= U'Z') || (c >= U'0' && c <= U'9') || c == U'~' || c >= 127;
}

}  // namespace

String CutToken(String& text, char delimiter) { return CutAt(text, delimiter); }

WideString CutWideToken(WideString& text, WideChar delimiter) { return CutAt(text, delimiter); }

std::vector<String> SplitText(std::string_view text, char delimiter) { return SplitAt(text, delimiter); }

std::vector<WideString> SplitWideText(std::u16string_view text, WideChar delimiter) { return SplitAt(text, delimiter); }

WideString CutWideTokenByChar(WideString& text, char delimiter) {
  return CutAt(text, static_cast<WideChar>(static_cast<unsigned char>(delimiter)));
}

String CutQuotedToken(String& text, char delimiter, char openQuote, char closeQuote, bool keepQuotes, char openBracket,
                      char closeBracket) {
  bool quoted = false;
  int depth = 0;
  size_t at = String::npos;
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (quoted) {
      if (c == closeQuote) quoted = false;
    } else if (c == delimiter && depth == 0) {
      at = i;
      break;
    } else if (c == openQuote) {
      quoted = true;
    } else if (c == openBracket) {
      ++depth;
    } else if (c == closeBracket && depth > 0) {
      --depth;
    }
  }
  String token = text.substr(0, at);
  if (at == String::npos)
    text.clear();
  else
    text.erase(0, at + 1);
  if (!keepQuotes && token.size() >= 2 && token.front() == openQuote && token.back() == closeQuote)
    token = token.substr(1, token.size() - 2);
  return token;
}

int CountChar(std::string_view text, char c) {
  int count = 0;
  for (char ch : text) count += ch == c;
  return count;
}

String ReplaceChar(std::string_view text, char from, char to) {
  String out(text);
  for (char& ch : out)
    if (ch == from) ch = to;
  return out;
}

String RemoveChar(std::string_view text, char c) { return Without(text, c); }

WideString RemoveWideChar(std::u16string_view text, WideChar c) { return Without(text, c); }

String CollapseDoubles(std::string_view text, std::string_view pattern) {
  if (pattern.empty()) return String(text);
  String out;
  out.reserve(text.size());
  size_t i = 0;
  while (i < text.size()) {
    if (text.substr(i, pattern.size()) == pattern) {
      out += pattern;
      i += pattern.size();
      while (text.substr(i, pattern.size()) == pattern) i += pattern.size();
    } else {
      out.push_back(text[i++]);
    }
  }
  return out;
}

String ReplaceAll(std::string_view text, std::string_view oldPattern, std::string_view newPattern) {
  return StringReplace(text, oldPattern, newPattern, {rfReplaceAll});
}

String ReplaceAllNoCase(std::string_view text, std::string_view oldPattern, std::string_view newPattern) {
  return StringReplace(text, oldPattern, newPattern, {rfReplaceAll, rfIgnoreCase});
}

String RemoveTrailingChar(std::string_view text, char c) {
  if (!text.empty() && text.back() == c) text.remove_suffix(1);
  return String(text);
}

String RemoveEnclosingChar(std::string_view text, char c) { return WithoutEnclosing(text, c); }

WideString RemoveEnclosingWideChar(std::u16string_view text, WideChar c) { return WithoutEnclosing(text, c); }

String TrimChar(std::string_view text, char c) {
  const size_t first = text.find_first_not_of(c);
  if (first == std::string_view::npos) return String();
  return String(text.substr(first, text.find_last_not_of(c) - first + 1));
}

String FirstWord(std::string_view text) { return String(text.substr(0, text.find(' '))); }

String BufferToStr(const void* buffer, std::size_t maxLength) {
  if (buffer == nullptr || maxLength == 0) return String();
  const char* bytes = static_cast<const char*>(buffer);
  const void* zero = std::memchr(bytes, 0, maxLength);
  return String(bytes, zero != nullptr ? static_cast<const char*>(zero) - bytes : maxLength);
}

bool IsDigits(std::string_view text) {
  if (text.empty()) return false;
  for (char c : text)
    if (c < '0' || c > '9') return false;
  return true;
}

String CapitalizeText(std::string_view text, int mode) {
  const String lower = AnsiLowerCase(Trim(text));
  if (mode != cmFirstLetter && mode != cmEveryWord) return lower;
  String out;
  out.reserve(lower.size());
  bool inWord = false;
  bool first = true;
  for (size_t pos = 0; pos < lower.size();) {
    const char32_t c = DecodeUtf8At(lower, pos);
    const bool capital = mode == cmFirstLetter ? first : !inWord;
    AppendUtf8(out, capital ? WideCharUpper(c) : c);
    inWord = ContinuesWord(c);
    first = false;
  }
  return out;
}

char32_t GetAccelChar(std::string_view caption) {
  size_t pos = AccelCharIndex(caption, false);
  if (pos == std::string_view::npos) return 0;
  return WideCharUpper(DecodeUtf8At(caption, pos));
}

WideChar GetAccelCharW(std::u16string_view caption) {
  const size_t pos = AccelCharIndex(caption, false);
  if (pos == std::u16string_view::npos) return 0;
  return static_cast<WideChar>(WideCharUpper(caption[pos]));
}

String StripAccelChars(std::string_view caption) { return StripHotKeyMarks(caption); }

WideString StripAccelCharsW(std::u16string_view caption) { return StripHotKeyMarks(caption); }

bool MatchWildcard(std::string_view text, std::string_view mask) {
  if (mask == "*") return true;
  if (text.empty()) return mask.empty();
  // Greedy matching that remembers only the last "*": a later "*" makes every
  // earlier choice final, so no mask can make the search branch.
  const std::u32string t = CodePoints(text);
  const std::u32string m = CodePoints(mask);
  size_t ti = 0;
  size_t mi = 0;
  size_t star = std::u32string::npos;
  size_t resume = 0;  // where the text goes on when the last "*" takes one more character
  while (ti < t.size()) {
    if (mi < m.size() && m[mi] == U'*') {
      star = mi++;
      resume = ti;
    } else if (mi < m.size() && (m[mi] == U'?' || m[mi] == t[ti])) {
      ++ti;
      ++mi;
    } else if (star != std::u32string::npos) {
      mi = star + 1;
      ti = ++resume;
    } else {
      return false;
    }
  }
  while (mi < m.size() && m[mi] == U'*') ++mi;
  return mi == m.size();
}
