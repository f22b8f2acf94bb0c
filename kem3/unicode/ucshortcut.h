// The names a shortcut's text is written with: the current language's words
// for the modifiers and the named keys, shared by every menu, hint and editor
// that shows a shortcut. Until a language gives its own, the class layer's
// English names stand.
#pragma once
#include <map>

#include "platform/keys.h"
#include "platform/types.h"

struct TShortCutNames {
  // Empty: "Shift", "Ctrl", "Alt".
  WideString Shift, Ctrl, Alt;
  // Virtual key -> its name; a key not in it keeps the name it has elsewhere.
  std::map<unsigned, WideString> Keys;
};

void SetShortCutNames(TShortCutNames Names);
const TShortCutNames& ShortCutNames();
// The modifier part in the class layer's order: "Umschalt+Strg+Alt+".
WideString ShortCutModifierText(TShortCut ShortCut);
// The language's name of the shortcut's key; empty when it gives none.
WideString ShortCutKeyName(TShortCut ShortCut);
