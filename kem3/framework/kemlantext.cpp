// The language lookups the controls use, and their defaults before a language
// manager exists.
#include "kem3/framework/kemlantext.h"

#include <utility>

namespace {

TLanguageTextHooks& Hooks() {
  static TLanguageTextHooks hooks;
  return hooks;
}

std::function<void()>& FontsHook() {
  static std::function<void()> hook;
  return hook;
}

}  // namespace

void SetLanguageFontsHook(std::function<void()> Hook) { FontsHook() = std::move(Hook); }

void LanguageFontsChanged() {
  if (FontsHook()) FontsHook()();
}

void SetLanguageTextHooks(TLanguageTextHooks Hooks_) { Hooks() = std::move(Hooks_); }

WideString LanguageText(int Id, const WideString& Default) {
  const auto& text = Hooks().Text;
  return text ? text(Id, Default) : Default;
}

int LanguageTextIndex(const String& Name) {
  const auto& find = Hooks().FindIndex;
  return find ? find(Name) : -2;
}
