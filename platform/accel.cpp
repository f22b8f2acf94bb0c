// Finding a caption's accelerator character.
#include "platform/accel.h"

#include "platform/wide_case.h"

WideChar AccelCharOf(const WideString& Caption) {
  WideChar accel = 0;
  ScanAmpersands(std::u16string_view(Caption), [&](size_t i, TAmpersandKind kind) {
    if (kind == akMark && accel == 0) accel = Caption[i + 1];
  });
  return accel;
}

bool IsAccel(WideChar Key, const WideString& Caption) {
  const WideChar accel = AccelCharOf(Caption);
  return accel != 0 && WideCharUpper(accel) == WideCharUpper(Key);
}
