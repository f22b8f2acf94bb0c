// The layer's wide accelerator helpers.
#include "kem3/unicode/ucaccel.h"

#include "platform/sysutils.h"

bool FarEastHotKeys = false;

int FindWideAccelPos(std::u16string_view Caption) {
  const size_t at = AccelCharIndex(Caption, true);
  return at == std::u16string_view::npos ? 0 : static_cast<int>(at) + 1;
}

WideString GetWideAccelChar(std::u16string_view Caption) {
  const size_t at = AccelCharIndex(Caption, true);
  return at == std::u16string_view::npos ? WideString() : WideString(1, Caption[at]);
}

bool IsWideAccel(WideChar Key, std::u16string_view Caption) {
  const WideString accel = GetWideAccelChar(Caption);
  return !accel.empty() && IsAccelChar(Key, accel[0]);
}

WideString StripWideHotKey(std::u16string_view Caption) { return StripHotKeyMarks(Caption, FarEastHotKeys); }

bool WideSameCaption(std::u16string_view A, std::u16string_view B) {
  return WideSameText(StripWideHotKey(A), StripWideHotKey(B));
}

bool WideSameCaptionStr(std::u16string_view A, std::u16string_view B) {
  return StripWideHotKey(A) == StripWideHotKey(B);
}
