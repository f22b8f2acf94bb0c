// A hook library of our own that lacks one function (mhMenuScroll), for the
// binding's test: every other export does nothing. Built a second time as
// kem3areas.dll, whose area table is always full, for the bar's test.
#include "platform/winapi_win.h"

#include <cstdint>

extern "C" {

void WINAPI hlGetTitle(char* dest) {
  if (dest != nullptr) lstrcpyA(dest, "Stub");
}
void WINAPI hlGetCopyright(char* dest) {
  if (dest != nullptr) dest[0] = '\0';
}
DWORD WINAPI hlGetVersion() { return 1; }
int WINAPI mhInstallHook(DWORD) { return 0; }
int WINAPI mhRemoveHook(DWORD) { return 0; }
int WINAPI mhSetArea(DWORD, std::int32_t, std::int32_t, std::int32_t, std::int32_t, std::int32_t, std::int32_t,
                     std::int32_t) {
#ifdef KEM3STUB_AREAS_FULL
  return 1;  // no hook resources left, as a full area table answers
#else
  return 0;
#endif
}
int WINAPI mhGetArea(DWORD, std::int32_t, std::int32_t, std::int32_t*) { return 0; }
int WINAPI mhAssumeInside(DWORD, std::int32_t) { return 0; }
int WINAPI mhMoveEvents(DWORD, BYTE) { return 0; }
int WINAPI khInstallHook(DWORD) { return 0; }
int WINAPI khRemoveHook(DWORD) { return 0; }
int WINAPI khSetHotkey(DWORD, std::int32_t, BYTE, DWORD) { return 0; }
int WINAPI khRemoveHotkey(DWORD, std::int32_t) { return 0; }
int WINAPI khClearHotkeys(DWORD) { return 0; }

}  // extern "C"
