// The system's locales: CompareStringW and the locale's ANSI code page.
#include <windows.h>

#include "kem3/unicode/uclocale.h"

namespace {
int Compare(LCID Locale, std::u16string_view A, std::u16string_view B, bool IgnoreCase) {
  return CompareStringW(Locale, IgnoreCase ? NORM_IGNORECASE : 0, reinterpret_cast<LPCWSTR>(A.data()),
                        static_cast<int>(A.size()), reinterpret_cast<LPCWSTR>(B.data()), static_cast<int>(B.size()));
}

int SystemCompare(LCID_T Locale, std::u16string_view A, std::u16string_view B, bool IgnoreCase) {
  int r = Compare(Locale, A, B, IgnoreCase);
  // A locale the system refuses (a list's from another machine) would make
  // every pair equal, and a sorted list keep one item: the user's orders them.
  if (r == 0) r = Compare(LOCALE_USER_DEFAULT, A, B, IgnoreCase);
  return r == 0 ? 0 : r - 2;
}
}  // namespace

LCID_T UserDefaultLocale() { return GetUserDefaultLCID(); }
TLocaleCompareFunc SystemLocaleCompare() { return SystemCompare; }

unsigned LocaleAnsiCodePage(LCID_T Locale) {
  char buf[16] = {};
  if (GetLocaleInfoA(Locale, LOCALE_IDEFAULTANSICODEPAGE, buf, sizeof buf) > 0) {
    unsigned cp = 0;
    bool digits = buf[0] != 0;
    for (const char* p = buf; *p; ++p) {
      if (*p < '0' || *p > '9') {
        digits = false;
        break;
      }
      cp = cp * 10 + static_cast<unsigned>(*p - '0');
    }
    if (digits) return cp;
  }
  return GetACP();
}

unsigned SystemAnsiCodePage() { return GetACP(); }

std::string WideToCodePageText(std::u16string_view Text, unsigned CodePage) {
  if (Text.empty()) return {};
  auto src = reinterpret_cast<LPCWSTR>(Text.data());
  int n = WideCharToMultiByte(CodePage, 0, src, static_cast<int>(Text.size()), nullptr, 0, nullptr, nullptr);
  std::string out(n > 0 ? n : 0, '\0');
  if (n > 0) WideCharToMultiByte(CodePage, 0, src, static_cast<int>(Text.size()), out.data(), n, nullptr, nullptr);
  return out;
}

WideString CodePageTextToWide(std::string_view Text, unsigned CodePage) {
  if (Text.empty()) return {};
  int n = MultiByteToWideChar(CodePage, 0, Text.data(), static_cast<int>(Text.size()), nullptr, 0);
  WideString out(n > 0 ? n : 0, u'\0');
  if (n > 0)
    MultiByteToWideChar(CodePage, 0, Text.data(), static_cast<int>(Text.size()), reinterpret_cast<LPWSTR>(out.data()),
                        n);
  return out;
}
