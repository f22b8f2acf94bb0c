// The ANSI code page of the native build: Windows-1252, the code page of the
// systems the program's older files were written on.
#include <array>

#include "platform/unicode_convert.h"

namespace {

// 0x80..0x9F of Windows-1252; 0 marks the five unassigned bytes.
constexpr std::array<char16_t, 32> kHigh = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

}  // namespace

WideString AnsiToWide(std::string_view ansi) {
  WideString out;
  out.reserve(ansi.size());
  for (char ch : ansi) {
    auto b = static_cast<unsigned char>(ch);
    if (b >= 0x80 && b < 0xA0) {
      // Unassigned bytes map to the C1 controls of the same value, as Windows does.
      out.push_back(kHigh[b - 0x80] ? kHigh[b - 0x80] : static_cast<char16_t>(b));
    } else {
      out.push_back(static_cast<char16_t>(b));
    }
  }
  return out;
}

std::string WideToAnsi(std::u16string_view wide) {
  std::string out;
  out.reserve(wide.size());
  for (size_t i = 0; i < wide.size(); ++i) {
    char16_t c = wide[i];
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) {
      out.push_back(static_cast<char>(c));
      continue;
    }
    char mapped = '?';
    for (size_t k = 0; k < kHigh.size(); ++k)
      if ((kHigh[k] ? kHigh[k] : 0x80 + k) == c) mapped = static_cast<char>(0x80 + k);
    // A surrogate pair is one character and gives one '?'.
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < wide.size() && wide[i + 1] >= 0xDC00 && wide[i + 1] <= 0xDFFF) ++i;
    out.push_back(mapped);
  }
  return out;
}
