// Accelerator marks in captions: "&" before the character that Alt and the
// menu keys answer to, "&&" for an ampersand that shows. Every reader of marks
// (the layer's wide helpers, the common services' 8-bit ones) walks a caption
// with the class layer's one scan, ScanAmpersands, so they agree on "&&" and on a trailing "&".
#pragma once
#include <cstddef>
#include <string>
#include <string_view>

#include "platform/accel.h"
#include "platform/types.h"

// The caption as shown: every single "&" goes, "&&" becomes one "&". With
// FarEast, a "(&X)" group (the style that appends the accelerator to a caption
// in a script without Latin letters) goes whole.
template <class Char>
std::basic_string<Char> StripHotKeyMarks(std::basic_string_view<Char> Caption, bool FarEast = false) {
  std::basic_string<Char> out;
  out.reserve(Caption.size());
  size_t copied = 0;
  ScanAmpersands(Caption, [&](size_t i, TAmpersandKind kind) {
    if (kind == akDoubled) {
      out.append(Caption.substr(copied, i + 1 - copied));
      copied = i + 2;
    } else if (kind == akMark && FarEast && i > 0 && Caption[i - 1] == Char('(') && i + 2 < Caption.size() &&
               Caption[i + 2] == Char(')')) {
      out.append(Caption.substr(copied, i - 1 - copied));
      copied = i + 3;
    } else {
      out.append(Caption.substr(copied, i - copied));
      copied = i + 1;
    }
  });
  out.append(Caption.substr(copied));
  return out;
}

// 1-based position of the accelerator character (the last mark wins); 0 when none.
int FindWideAccelPos(std::u16string_view Caption);
// That character as a one-character text; empty when none.
WideString GetWideAccelChar(std::u16string_view Caption);
// Whether Key, as the key message brings it, is the caption's accelerator
// character (GetWideAccelChar), whatever the case of either.
bool IsWideAccel(WideChar Key, std::u16string_view Caption);
// Whether the captions' accelerator characters are marked in the Far East
// style; the class library decides it from the user's locale at start-up.
extern bool FarEastHotKeys;
WideString StripWideHotKey(std::u16string_view Caption);
// Captions compared as shown (marks stripped): case-insensitively, or exactly.
bool WideSameCaption(std::u16string_view A, std::u16string_view B);
bool WideSameCaptionStr(std::u16string_view A, std::u16string_view B);
