// Natively one keyboard layout and one code page: the class layer's ANSI code page.
#include "kem3/unicode/ucsystem.h"

#include "kem3/unicode/uclocale.h"

unsigned KeyboardLayoutCodePage() { return SystemAnsiCodePage(); }

WideChar KeyCharToWide(unsigned Code) {
  if (Code >= 256) return static_cast<WideChar>(Code);
  const char byte = static_cast<char>(Code);
  return CodePageTextToWide(std::string_view(&byte, 1), KeyboardLayoutCodePage())[0];
}

unsigned LayerCodePage() { return kCpThreadAcp; }
