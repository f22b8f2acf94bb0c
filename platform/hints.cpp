// Splitting a hint at its first "|".
#include "platform/hints.h"

WideString GetShortHint(const WideString& Hint) {
  const size_t bar = Hint.find(u'|');
  return bar == WideString::npos ? Hint : Hint.substr(0, bar);
}

WideString GetLongHint(const WideString& Hint) {
  const size_t bar = Hint.find(u'|');
  return bar == WideString::npos ? Hint : Hint.substr(bar + 1);
}
