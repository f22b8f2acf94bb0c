// The message record our window procedure hands to controls, and the numbers
// of the class layer's own messages.
#pragma once
#include <functional>

#include "platform/types.h"
#include "platform/winapi_win.h"

// A WideString as the wide system calls take it (wchar_t is 16 bits on Windows).
inline const wchar_t* WideCStr(const WideString& Text) { return reinterpret_cast<const wchar_t*>(Text.c_str()); }

// One window message as the controls see it: a handler sets Result, which the
// window procedure returns to the system (or Perform to its caller).
struct TMessage {
  UINT Msg = 0;
  WPARAM WParam = 0;
  LPARAM LParam = 0;
  LRESULT Result = 0;
};

using TMessageHandler = std::function<void(TMessage& Message)>;

// Messages of the class layer, in a range of WM_APP that nothing else of ours uses.
inline constexpr UINT CM_BASE = WM_APP + 0x3000;
inline constexpr UINT CM_WAKEUP = CM_BASE + 1;   // to the application window: calls for the main thread wait
inline constexpr UINT CM_RELEASE = CM_BASE + 2;  // to the application window: components wait to be freed

// The signed client coordinates of a mouse message's LParam.
inline int MessageX(LPARAM LParam) { return static_cast<short>(LOWORD(static_cast<DWORD_PTR>(LParam))); }
inline int MessageY(LPARAM LParam) { return static_cast<short>(HIWORD(static_cast<DWORD_PTR>(LParam))); }
inline LPARAM PointToLParam(int X, int Y) {
  return static_cast<LPARAM>(
      MAKELONG(static_cast<WORD>(static_cast<short>(X)), static_cast<WORD>(static_cast<short>(Y))));
}
