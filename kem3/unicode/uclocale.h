// Locale-aware comparison and the code pages of locales. On Windows these are
// the system's (CompareStringW in the locale, LOCALE_IDEFAULTANSICODEPAGE);
// natively an ordinal stand-in, which tests may replace to check list logic.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/types.h"

using LCID_T = std::uint32_t;

// Negative, 0 or positive, as the locale orders the two texts.
using TLocaleCompareFunc = int (*)(LCID_T Locale, std::u16string_view A, std::u16string_view B, bool IgnoreCase);

LCID_T UserDefaultLocale();
// The comparison in force; SetLocaleCompare returns the one it replaced.
int LocaleCompare(LCID_T Locale, std::u16string_view A, std::u16string_view B, bool IgnoreCase);
TLocaleCompareFunc SetLocaleCompare(TLocaleCompareFunc Compare);
TLocaleCompareFunc SystemLocaleCompare();

// The ANSI code page a locale writes 8-bit text in, and the system's own.
unsigned LocaleAnsiCodePage(LCID_T Locale);
unsigned SystemAnsiCodePage();
// Conversions in a code page; characters the code page lacks become its default character.
std::string WideToCodePageText(std::u16string_view Text, unsigned CodePage);
WideString CodePageTextToWide(std::string_view Text, unsigned CodePage);
std::string TranslateCodePageText(std::string_view Text, unsigned FromCodePage, unsigned ToCodePage);

// The first family's comparisons in the user's locale.
inline int UcCompareText(std::u16string_view A, std::u16string_view B) {
  return LocaleCompare(UserDefaultLocale(), A, B, true);
}
inline int UcCompareStr(std::u16string_view A, std::u16string_view B) {
  return LocaleCompare(UserDefaultLocale(), A, B, false);
}
