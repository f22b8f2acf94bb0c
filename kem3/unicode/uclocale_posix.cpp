// Native stand-ins: one locale, ordinal comparison, the ANSI code page of the
// class layer (Windows-1252) for every code page.
#include "kem3/unicode/uclocale.h"

#include "platform/sysutils.h"
#include "platform/unicode_convert.h"

namespace {
int OrdinalCompare(LCID_T, std::u16string_view A, std::u16string_view B, bool IgnoreCase) {
  return IgnoreCase ? WideCompareText(A, B) : WideCompareStr(A, B);
}
}  // namespace

LCID_T UserDefaultLocale() { return 0x0409; }
TLocaleCompareFunc SystemLocaleCompare() { return OrdinalCompare; }
unsigned LocaleAnsiCodePage(LCID_T) { return 1252; }
unsigned SystemAnsiCodePage() { return 1252; }
std::string WideToCodePageText(std::u16string_view Text, unsigned) { return WideToAnsi(Text); }
WideString CodePageTextToWide(std::string_view Text, unsigned) { return AnsiToWide(Text); }
