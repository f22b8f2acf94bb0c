// The language lookups the controls use, and their defaults before a language
// manager exists.
#include "kem3/controls/kemlantext.h"

#include <utility>

namespace {

TLanguageTextHooks& Hooks() {
  static TLanguageTextHooks hooks;
  return hooks;
}

}  // namespace

void SetLanguageTextHooks(TLanguageTextHooks Hooks_) { Hooks() = std::move(Hooks_); }

WideString LanguageText(int Id, const WideString& Default) {
  const auto& text = Hooks().Text;
  return text ? text(Id, Default) : Default;
}

int LanguageTextIndex(const String& Name) {
  const auto& find = Hooks().FindIndex;
  return find ? find(Name) : -2;
}
