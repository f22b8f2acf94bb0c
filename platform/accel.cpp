// Finding a caption's accelerator character.
#include "platform/accel.h"

#include "platform/wide_case.h"

WideChar AccelCharOf(const WideString& Caption) {
  for (size_t i = 0; i + 1 < Caption.size(); ++i) {
    if (Caption[i] != u'&') continue;
    if (Caption[i + 1] != u'&') return Caption[i + 1];
    ++i;  // "&&": a plain "&"
  }
  return 0;
}

bool IsAccel(WideChar Key, const WideString& Caption) {
  const WideChar accel = AccelCharOf(Caption);
  return accel != 0 && WideCharUpper(accel) == WideCharUpper(Key);
}
