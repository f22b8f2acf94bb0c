// The native build's system for the browser's workers: it lists nothing.
#include "kem3/browser/kembrwork.h"

TBrowserSystem& SystemBrowserSystem() {
  static TNullBrowserSystem system;
  return system;
}

void ShowSystemBrowserMessage(const WideString&, const WideString&) {}
