// Texts of the current language as the controls ask for them, by index or by
// name. Until a language manager puts its lookups in place (SetLanguageTextHooks)
// no language is loaded: names are not found and every text is its default.
#pragma once
#include <functional>

#include "platform/types.h"

struct TLanguageTextHooks {
  // The text at Index, or Default when the index names no text.
  std::function<WideString(int Index, const WideString& Default)> Text;
  // The index of the text named Name: -1 when the language lacks it, -2 when
  // no language is loaded (callers then ask again at the next language update).
  std::function<int(const String& Name)> FindIndex;
};

// Puts the language manager's lookups in place; empty hooks restore the defaults.
void SetLanguageTextHooks(TLanguageTextHooks Hooks);

// What to do once a language switch has put its lookups in place: the text
// layout's styles resolve their fonts again. Empty: nothing.
void SetLanguageFontsHook(std::function<void()> Hook);
void LanguageFontsChanged();

WideString LanguageText(int Id, const WideString& Default);
int LanguageTextIndex(const String& Name);
