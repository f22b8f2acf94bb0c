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

// The character after the first single "&" of Caption ("&&" is a plain "&",
// a trailing "&" names nothing); 0 when there is none.
WideChar AccelCharOf(const WideString& Caption);
// Whether Key is Caption's accelerator, whatever the case of either.
bool IsAccel(WideChar Key, const WideString& Caption);
