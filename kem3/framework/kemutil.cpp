// Accelerator marks of captions.
#include "kem3/framework/kemutil.h"

#include "platform/unicode_convert.h"
#include "platform/wide_case.h"

namespace {

template <class Char>
size_t AccelPosition(std::basic_string_view<Char> caption) {
  for (size_t i = 0; i + 1 < caption.size(); ++i) {
    if (caption[i] != Char('&')) continue;
    if (caption[i + 1] != Char('&')) return i + 1;
    ++i;  // "&&" is a literal ampersand
  }
  return std::basic_string_view<Char>::npos;
}

template <class Char>
std::basic_string<Char> Strip(std::basic_string_view<Char> caption) {
  std::basic_string<Char> out;
  out.reserve(caption.size());
  for (size_t i = 0; i < caption.size(); ++i) {
    if (caption[i] != Char('&')) {
      out.push_back(caption[i]);
    } else if (i + 1 < caption.size() && caption[i + 1] == Char('&')) {
      out.push_back(Char('&'));
      ++i;
    }
  }
  return out;
}

}  // namespace

char32_t GetAccelChar(std::string_view caption) {
  size_t pos = AccelPosition(caption);
  if (pos == std::string_view::npos) return 0;
  return WideCharUpper(DecodeUtf8At(caption, pos));
}

WideChar GetAccelCharW(std::u16string_view caption) {
  size_t pos = AccelPosition(caption);
  if (pos == std::u16string_view::npos) return 0;
  return static_cast<WideChar>(WideCharUpper(caption[pos]));
}

String StripAccelChars(std::string_view caption) { return Strip(caption); }

WideString StripAccelCharsW(std::u16string_view caption) { return Strip(caption); }
