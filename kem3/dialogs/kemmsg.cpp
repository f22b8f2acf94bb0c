// The message box's and the confirmation dialog's texts, buttons and sizes.
#include "kem3/dialogs/kemmsg.h"

#include <algorithm>
#include <cstdint>

#include "kem3/controls/kemlout.h"
#include "kem3/framework/kemlantext.h"
#include "platform/exceptions.h"
#include "platform/unicode_convert.h"

WideString MessagePartText(const Variant& Part) {
  const TVarType type = Part.VarType();
  if (type == varInteger || type == varInt64) {
    // Indexes beyond an int name no text.
    const std::int64_t index = Part.AsInt64();
    return index >= 0 && index <= INT32_MAX ? LanguageText(static_cast<int>(index), WideString()) : WideString();
  }
  try {
    return Part.AsWideString();
  } catch (const Exception&) {
    return WideString();  // a Null shows nothing
  }
}

std::vector<WideString> MessageLines(std::u16string_view Text) {
  std::vector<WideString> lines;
  std::size_t start = 0;
  for (std::size_t i = 0; i < Text.size(); ++i) {
    if (Text[i] != u'\r' && Text[i] != u'\n') continue;
    lines.emplace_back(Text.substr(start, i - start));
    if (Text[i] == u'\r' && i + 1 < Text.size() && Text[i + 1] == u'\n') ++i;
    start = i + 1;
  }
  if (start < Text.size()) lines.emplace_back(Text.substr(start));
  return lines;
}

std::vector<WideString> MessageParagraphs(const TMessageParts& Parts, const String& Style, bool LiteralStrings) {
  const WideString prefix = u"{s:" + Utf8ToWide(Style) + u"}";
  std::vector<WideString> paragraphs;
  for (std::size_t i = 1; i < Parts.size(); ++i) {
    const TVarType type = Parts[i].VarType();
    const bool literal = LiteralStrings && type != varInteger && type != varInt64;
    for (const WideString& line : MessageLines(MessagePartText(Parts[i])))
      paragraphs.push_back(prefix + (literal ? KemLiteralText(line) : line));
  }
  return paragraphs;
}

int MessageClientHeight(int ContentHeight, int MinHeight) {
  return ContentHeight < 80 ? std::max(MinHeight, ContentHeight + 48) : ContentHeight + 48;
}

TMessageBoxButtons MessageBoxButtons(int ButtonsKind) {
  // A role button whose Cancel is the role's own, and one with Escape taken away.
  auto role = [](TActionType Action) {
    return TMessageBoxButton{true, Action, -1, mrNone, Action == atNo || Action == atCancel || Action == atClose};
  };
  auto notCancel = [](TActionType Action) { return TMessageBoxButton{true, Action, -1, mrNone, false}; };
  auto own = [](int Text, TModalResult Result) {
    return TMessageBoxButton{true, atNone, Text, Result, Result == mrCancel};
  };
  const TMessageBoxButton none;
  switch (ButtonsKind) {
    case 1:
      return {none, none, none, role(atClose)};
    case 2:
      return {none, none, role(atOk), role(atCancel)};
    case 3:
      return {none, none, role(atYes), role(atNo)};
    case 4:
      return {none, role(atYes), notCancel(atNo), role(atCancel)};
    case 5:
      return {role(atYes), role(atYesAll), notCancel(atNo), role(atCancel)};
    case 6:
      return {role(atYes), notCancel(atNo), notCancel(atNoAll), role(atCancel)};
    case 7:
      return {none, none, own(0, 18), role(atCancel)};
    case 8:
      return {none, own(0, 18), own(1, 19), role(atCancel)};
    case 9:
      return {none, own(0, 18), own(1, 19), own(2, mrCancel)};
    case 10:
      return {own(0, 18), own(1, 19), own(2, 20), own(3, mrCancel)};
    default:
      // OK alone, which Escape answers too.
      return {none, none, none, TMessageBoxButton{true, atOk, -1, mrNone, true}};
  }
}

TMessageIconPage MessageIconPage(int IconKind) {
  switch (IconKind) {
    case 1:
      return mipQuestion;
    case 2:
    case 3:
      return mipExclamation;
    case 4:
      return mipStop;
    default:
      return mipInformation;
  }
}
