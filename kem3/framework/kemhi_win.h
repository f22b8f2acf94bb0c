// The binding of the hook library kem3.dll: loaded from the program's own folder
// at start-up, freed at shut-down, and called only through the wrappers below,
// which do nothing (and give 0, false or an empty text) when the library or one
// of its functions is missing, so screen areas and hotkeys then simply stay quiet.
#pragma once
#include <cstdint>

#include "kem3/framework/kemhi.h"
#include "platform/winapi_win.h"

// Loads "kem3.dll" by its full path beside the program (never through the
// library search path, where anyone could plant a file of that name) and
// resolves the functions; a missing library or function leaves its pointer
// empty. Called in the program's start-up sequence; binding again rebinds.
void BindHookLibrary();
// kem3.dll loaded by its full path beside the program, with a reference of the
// caller's own (FreeLibrary it); nullptr when it is missing or broken.
HMODULE LoadKemLibrary();
// Frees the library and empties every pointer. Called in the shut-down sequence,
// after every hook has been removed.
void FreeHookLibrary();
bool HookLibraryLoaded();
bool HookFunctionBound(THookFunction function);

// The library works with the low 32 bits of window handles, which is all of a
// window handle Windows uses. Install and set functions raise EKemHookError with
// the library's text when it fails; removals never raise, as they run while
// windows close.
String hlGetTitle();
String hlGetCopyright();
std::uint32_t hlGetVersion();
void mhInstallHook(HWND window);
void mhRemoveHook(HWND window);
void mhSetArea(HWND window, int area, int rectIndex, int rectCount, int left, int top, int right, int bottom);
// (0, 0, -1, -1), which holds no point, when nothing is stored or the library is missing.
RECT mhGetArea(HWND window, int area, int rectIndex);
void mhAssumeInside(HWND window, int area);
void mhMoveEvents(HWND window, bool on);
void mhMenuScroll(HWND window, bool on);
void khInstallHook(HWND window);
void khRemoveHook(HWND window);
void khSetHotkey(HWND window, int id, std::uint8_t key, std::uint32_t flags);
void khRemoveHotkey(HWND window, int id);
void khClearHotkeys(HWND window);
