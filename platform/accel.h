// Accelerator characters of captions: "&Name" answers Alt+N. Every reader of
// the marks walks a caption with ScanAmpersands, so all agree on "&&" and on a
// trailing "&".
#pragma once
#include <cstddef>
#include <string_view>

#include "platform/types.h"

enum TAmpersandKind {
  akDoubled,   // the first of "&&": one literal "&" (the second is skipped)
  akMark,      // a single "&" before a character: that character is the accelerator
  akTrailing,  // a single "&" that ends the caption: no accelerator, shown as nothing
};

// Calls Visit(Index, Kind) for every "&" of Caption, in order.
template <class Char, class Visit>
void ScanAmpersands(std::basic_string_view<Char> Caption, Visit&& visit) {
  for (size_t i = 0; i < Caption.size(); ++i) {
    if (Caption[i] != Char('&')) continue;
    if (i + 1 == Caption.size()) {
      visit(i, akTrailing);
    } else if (Caption[i + 1] == Char('&')) {
      visit(i, akDoubled);
      ++i;
    } else {
      visit(i, akMark);
    }
  }
}

// 0-based index of the accelerator character: of the first mark, or of the
// last one (a caption with several marks answers to its last). npos when none.
template <class Char>
size_t AccelCharIndex(std::basic_string_view<Char> Caption, bool Last) {
  size_t found = std::basic_string_view<Char>::npos;
  bool done = false;
  ScanAmpersands(Caption, [&](size_t i, TAmpersandKind kind) {
    if (kind != akMark || done) return;
    found = i + 1;
    done = !Last;
  });
  return found;
}

// The character after the first single "&" of Caption ("&&" is a plain "&",
// a trailing "&" names nothing); 0 when there is none.
WideChar AccelCharOf(const WideString& Caption);
// The one comparison of a typed character with an accelerator character:
// as the key message brings it, whatever the case of either; 0 is no accelerator.
bool IsAccelChar(WideChar Key, WideChar Accel);
// Whether Key is Caption's accelerator (its first mark).
bool IsAccel(WideChar Key, const WideString& Caption);
