// A program for the binding's test: it binds the hook library the way the
// program does and tells in its exit code what it found.
//   bits 0-14  the functions bound, in binding order
//   bit 16     the library was loaded
//   bit 17     the library identified itself as the real kem3 (title and version)
//   bit 18     every wrapper without its function did nothing and gave a neutral value
//   bit 19     after freeing, a load by bare name would have found a kem3.dll
#include "kem3/framework/kemhi_win.h"

int main() {
  int result = 0;
  try {
    BindHookLibrary();
    for (int i = 0; i < HookFunctionCount; ++i)
      if (HookFunctionBound(static_cast<THookFunction>(i))) result |= 1 << i;
    if (HookLibraryLoaded()) result |= 1 << 16;
    if (hlGetTitle() == "Windows Hook Library" && hlGetVersion() == 0x020C0008) result |= 1 << 17;

    bool neutral = true;
    HWND window = CreateWindowExW(0, L"STATIC", L"probe", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    auto unbound = [](THookFunction f) { return !HookFunctionBound(f); };
    if (unbound(hfGetTitle) && !hlGetTitle().empty()) neutral = false;
    if (unbound(hfGetCopyright) && !hlGetCopyright().empty()) neutral = false;
    if (unbound(hfGetVersion) && hlGetVersion() != 0) neutral = false;
    if (unbound(hfGetArea)) {
      const RECT r = mhGetArea(window, 0, 0);
      if (r.left != 0 || r.top != 0 || r.right != -1 || r.bottom != -1) neutral = false;
    }
    // Without their functions these calls must neither fail nor raise.
    if (unbound(hfMouseInstall)) mhInstallHook(window);
    if (unbound(hfSetArea)) mhSetArea(window, 0, 0, 1, 0, 0, 10, 10);
    if (unbound(hfAssumeInside)) mhAssumeInside(window, 0);
    if (unbound(hfMoveEvents)) mhMoveEvents(window, true);
    if (unbound(hfMenuScroll)) mhMenuScroll(window, false);
    if (unbound(hfMouseRemove)) mhRemoveHook(window);
    if (unbound(hfKeyboardInstall)) khInstallHook(window);
    if (unbound(hfSetHotkey)) khSetHotkey(window, 1, 0x70, 0);
    if (unbound(hfRemoveHotkey)) khRemoveHotkey(window, 1);
    if (unbound(hfClearHotkeys)) khClearHotkeys(window);
    if (unbound(hfKeyboardRemove)) khRemoveHook(window);
    if (neutral) result |= 1 << 18;
    DestroyWindow(window);
    FreeHookLibrary();
    if (HookLibraryLoaded() || HookFunctionBound(hfGetTitle)) return 0x40000000;
  } catch (const Exception&) {
    return 0x20000000;
  }
  DWORD oldMode = 0;
  SetThreadErrorMode(SEM_FAILCRITICALERRORS, &oldMode);
  if (HMODULE planted = LoadLibraryW(L"kem3.dll")) {
    result |= 1 << 19;
    FreeLibrary(planted);
  }
  return result;
}
