// The keyboard layout's code page and the layer's default code page from the system.
#include "kem3/unicode/uclocale.h"
#include "kem3/unicode/ucsyscalls_win.h"
#include "kem3/unicode/ucsystem.h"

unsigned KeyboardLayoutCodePage() {
  return LocaleAnsiCodePage(LOWORD(reinterpret_cast<ULONG_PTR>(GetKeyboardLayout(0))));
}

WideChar KeyCharToWide(unsigned Code) {
  if (Code >= 256) return static_cast<WideChar>(Code);
  const char byte = static_cast<char>(Code);
  wchar_t wide = 0;
  MultiByteToWideChar(KeyboardLayoutCodePage(), MB_USEGLYPHCHARS, &byte, 1, &wide, 1);
  return static_cast<WideChar>(wide);
}

unsigned LayerCodePage() {
  static const unsigned codePage = [] {
    const auto version = GetVersion();
    if (UnicodePlatform() && LOBYTE(LOWORD(version)) >= 5) return kCpThreadAcp;
    return LocaleAnsiCodePage(GetThreadLocale());
  }();
  return codePage;
}
