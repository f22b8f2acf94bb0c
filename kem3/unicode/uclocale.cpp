// The replaceable comparison and what both builds share.
#include "kem3/unicode/uclocale.h"

#include <atomic>

namespace {
std::atomic<TLocaleCompareFunc> gCompare{nullptr};
}

int LocaleCompare(LCID_T Locale, std::u16string_view A, std::u16string_view B, bool IgnoreCase) {
  TLocaleCompareFunc f = gCompare.load();
  if (!f) f = SystemLocaleCompare();
  return f(Locale, A, B, IgnoreCase);
}

TLocaleCompareFunc SetLocaleCompare(TLocaleCompareFunc Compare) { return gCompare.exchange(Compare); }

std::string TranslateCodePageText(std::string_view Text, unsigned FromCodePage, unsigned ToCodePage) {
  return WideToCodePageText(CodePageTextToWide(Text, FromCodePage), ToCodePage);
}
