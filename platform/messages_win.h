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

// A notification a system child sent its parent, handed by the parent to the
// child as CN_BASE + the message number (CN_COMMAND, CN_NOTIFY…).
inline constexpr UINT CN_BASE = WM_APP + 0x3400;
inline constexpr UINT CN_COMMAND = CN_BASE + WM_COMMAND;
inline constexpr UINT CN_NOTIFY = CN_BASE + WM_NOTIFY;
inline constexpr UINT CN_DRAWITEM = CN_BASE + WM_DRAWITEM;
inline constexpr UINT CN_MEASUREITEM = CN_BASE + WM_MEASUREITEM;
inline constexpr UINT CN_COMPAREITEM = CN_BASE + WM_COMPAREITEM;
inline constexpr UINT CN_DELETEITEM = CN_BASE + WM_DELETEITEM;
inline constexpr UINT CN_VKEYTOITEM = CN_BASE + WM_VKEYTOITEM;
inline constexpr UINT CN_CHARTOITEM = CN_BASE + WM_CHARTOITEM;
inline constexpr UINT CN_HSCROLL = CN_BASE + WM_HSCROLL;
inline constexpr UINT CN_VSCROLL = CN_BASE + WM_VSCROLL;
inline constexpr UINT CN_CTLCOLORMSGBOX = CN_BASE + WM_CTLCOLORMSGBOX;
inline constexpr UINT CN_CTLCOLOREDIT = CN_BASE + WM_CTLCOLOREDIT;
inline constexpr UINT CN_CTLCOLORLISTBOX = CN_BASE + WM_CTLCOLORLISTBOX;
inline constexpr UINT CN_CTLCOLORBTN = CN_BASE + WM_CTLCOLORBTN;
inline constexpr UINT CN_CTLCOLORDLG = CN_BASE + WM_CTLCOLORDLG;
inline constexpr UINT CN_CTLCOLORSCROLLBAR = CN_BASE + WM_CTLCOLORSCROLLBAR;
inline constexpr UINT CN_CTLCOLORSTATIC = CN_BASE + WM_CTLCOLORSTATIC;
inline constexpr UINT CN_LAST = CN_BASE + 0x3FF;
