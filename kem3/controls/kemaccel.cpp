// Accelerator rules shared by the item controls.
#include "kem3/controls/kemaccel.h"

#include <algorithm>

#include "platform/wide_case.h"

bool AccelModifierMatches(TKemAccelModifier Modifier, TShiftState Shift) {
  const bool shift = Shift.Contains(ssShift), ctrl = Shift.Contains(ssCtrl), alt = Shift.Contains(ssAlt);
  switch (Modifier) {
    case amNone:
      return !shift && !ctrl && !alt;
    case amCtrl:
      return !shift && ctrl && !alt;
    case amAlt:
      return !shift && !ctrl && alt;
    case amShift:
      return shift && !ctrl && !alt;
  }
  return false;
}

WideChar AccelKeyChar(WideChar Key) {
  const char32_t upper = WideCharUpper(Key);
  const bool letter = upper >= U'A' && upper <= U'Z', digit = upper >= U'0' && upper <= U'9';
  return letter || digit ? static_cast<WideChar>(upper) : WideChar(0);
}

int NextAccelMatch(const std::vector<int>& Matches, int Current) {
  if (Matches.empty()) return -1;
  auto it = std::find(Matches.begin(), Matches.end(), Current);
  if (it == Matches.end() || ++it == Matches.end()) return Matches.front();
  return *it;
}
