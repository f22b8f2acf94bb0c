// The language's names for shortcut texts.
#include "kem3/unicode/ucshortcut.h"

#include <utility>

namespace {

TShortCutNames& Names() {
  static TShortCutNames names;
  return names;
}

void AddModifier(WideString& Text, const WideString& Name, const char16_t* English) {
  Text += Name.empty() ? WideString(English) : Name;
  Text += u'+';
}

}  // namespace

void SetShortCutNames(TShortCutNames Value) { Names() = std::move(Value); }

const TShortCutNames& ShortCutNames() { return Names(); }

WideString ShortCutModifierText(TShortCut ShortCut) {
  const TShortCutNames& names = Names();
  WideString text;
  if (ShortCut & scShift) AddModifier(text, names.Shift, u"Shift");
  if (ShortCut & scCtrl) AddModifier(text, names.Ctrl, u"Ctrl");
  if (ShortCut & scAlt) AddModifier(text, names.Alt, u"Alt");
  return text;
}

WideString ShortCutKeyName(TShortCut ShortCut) {
  const auto& keys = Names().Keys;
  const auto it = keys.find(ShortCut & 0xFFu);
  return it == keys.end() ? WideString() : it->second;
}
