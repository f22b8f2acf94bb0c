// Finding a caption's accelerator character.
#include "platform/accel.h"

#include "platform/wide_case.h"

WideChar AccelCharOf(const WideString& Caption) {
  const size_t at = AccelCharIndex(std::u16string_view(Caption), false);
  return at == std::u16string_view::npos ? WideChar(0) : Caption[at];
}

bool IsAccelChar(WideChar Key, WideChar Accel) { return Accel != 0 && WideCharFold(Accel) == WideCharFold(Key); }

bool IsAccel(WideChar Key, const WideString& Caption) { return IsAccelChar(Key, AccelCharOf(Caption)); }
