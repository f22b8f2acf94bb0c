// The program's side of the hook library kem3.dll, as far as it needs no
// operating system: the notifications the library posts, its status codes and
// the errors they raise, and the names the binding resolves.
#pragma once
#include <cstdint>

#include "platform/exceptions.h"
#include "platform/types.h"

// Raised when the hook library reports a failure, with the library's own texts.
ORV_EXCEPTION(EKemHookError, Exception)

// Posted by the mouse hook (WM_USER+1): WParam carries the event kind in its low
// four bits (an entered or left area, or a packed button event with the pointer
// position above it); LParam is the area number, or -1 for outside all areas.
inline constexpr unsigned WM_MOUSEHOOK = 0x0401;
// Posted by the keyboard hook (WM_USER+2): WParam 1 with the modifier state in
// LParam after every first press and release, WParam 0 with a hotkey id.
inline constexpr unsigned WM_KEYBOARDHOOK = 0x0402;

enum THookEventKind {
  hekNone = 0,
  hekEnter = 1,
  hekLeave = 2,
  hekLeftDown = 3,
  hekRightDown = 4,
  hekMiddleDown = 5,
  hekLeftUp = 6,
  hekRightUp = 7,
  hekMiddleUp = 8,
  hekMove = 9,
};

// The event kind of a WM_MOUSEHOOK notification, from its WParam.
int HookEventKind(std::uintptr_t wparam);

// Status codes the library's install and set functions return.
enum THookLibraryStatus { hlsOk = 0, hlsNoResources = 1, hlsCreateMapping = 2, hlsMapView = 3 };
// The error text of a status (with the system's error code where the library
// left one), empty for success and for codes the library does not define.
String HookStatusText(int status, std::uint32_t errorCode);
// Raises EKemHookError for a failure status.
void CheckHookStatus(int status, std::uint32_t errorCode);

// The library's functions in the order the binding resolves them.
inline constexpr int HookFunctionCount = 15;
enum THookFunction {
  hfGetTitle,
  hfGetCopyright,
  hfGetVersion,
  hfMouseInstall,
  hfMouseRemove,
  hfSetArea,
  hfGetArea,
  hfAssumeInside,
  hfMoveEvents,
  hfMenuScroll,
  hfKeyboardInstall,
  hfKeyboardRemove,
  hfSetHotkey,
  hfRemoveHotkey,
  hfClearHotkeys,
};
extern const char* const HookFunctionNames[HookFunctionCount];
