// What the library's message box and the launcher's confirmation dialog show,
// without the windows: the texts of the message parts, the body paragraphs
// cut into lines, the buttons of each buttons kind, the picture of each icon
// kind and the height the dialog takes for its text.
#pragma once
#include <array>
#include <vector>

#include "kem3/controls/kembut_roles.h"
#include "platform/types.h"
#include "platform/variant.h"

// Element 0 the caption, the others the body: an integer (of any width) is a
// text index of the current language, any other value a text.
using TMessageParts = std::vector<Variant>;

// The part's text: an index's language text (empty when the language lacks
// it), else the value as text.
WideString MessagePartText(const Variant& Part);

// The text cut into lines at CR LF, at a lone CR and at a lone LF; a break
// at the very end adds no empty line.
std::vector<WideString> MessageLines(std::u16string_view Text);

// The body paragraphs of parts 1 onward: each line of each part prefixed
// with "{s:" Style "}". Text indexes keep their mark-up; with LiteralStrings
// the other parts show exactly as they stand (KemLiteralText), without it
// they are mark-up too (the caller has made any user text literal).
std::vector<WideString> MessageParagraphs(const TMessageParts& Parts, const String& Style, bool LiteralStrings);

// The client height for body text of ContentHeight: 48 more (room for the
// buttons below it), and at least MinHeight while the text is below 80.
int MessageClientHeight(int ContentHeight, int MinHeight = 0);

// One of the message box's four buttons (Button1 … Button4, the last rightmost).
struct TMessageBoxButton {
  bool Visible = false;
  // The standard role (caption, modal result, Default); atNone: a button of
  // its own with the caption ButtonTexts[Text] and the modal result Result.
  TActionType Action = atNone;
  int Text = -1;
  TModalResult Result = mrNone;
  // Escape clicks it.
  bool Cancel = false;
};
using TMessageBoxButtons = std::array<TMessageBoxButton, 4>;

// The buttons of kinds 0 to 10; an unknown kind is kind 0 (OK alone).
TMessageBoxButtons MessageBoxButtons(int ButtonsKind);

enum TMessageIconPage : std::uint8_t { mipInformation, mipQuestion, mipExclamation, mipStop };
// The picture of an icon kind: 0 Information, 1 Question, 2 and 3
// Exclamation, 4 Stop; 5 and unknown kinds Information.
TMessageIconPage MessageIconPage(int IconKind);
