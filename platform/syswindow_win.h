// Windows of the system's own classes ("EDIT", "LISTBOX", "COMBOBOX",
// "SysListView32"…) as controls of ours: the class is copied under a name of
// our own whose procedure is our window procedure, so every message passes
// through the control's WndProc from the first one on, and what a control does
// not take goes on to the system class's procedure (TWinControl::DefaultHandler
// calls it with CallWindowProcW).
//
// A parent hands the notifications its system children send it (WM_COMMAND,
// WM_NOTIFY, WM_DRAWITEM and its kin, WM_CTLCOLOR…) to the child concerned as
// CN_BASE + the message number, so each control handles its own.
#pragma once
#include "platform/messages_win.h"
#include "platform/types.h"
#include "platform/winapi_win.h"

struct TCreateParams;

// Registers (once) our copy of Params.SysClassName under Params.WinClassName
// and returns the system class's procedure. EOSError for an unknown class.
WNDPROC RegisterSubClass(const TCreateParams& Params);

// The system procedure behind a window of one of our copied classes, or
// DefWindowProcW for every other window: the default handling of messages that
// arrive while no control is bound to the window (while it is destroyed).
WNDPROC ClassDefaultProc(HWND Window);

// The child window a notification to its parent concerns (nullptr: none, such
// as a menu's WM_COMMAND or WM_DRAWITEM).
HWND NotifyingChild(HWND Parent, const TMessage& Message);

// A fresh identifier for a child window: owner-drawn lists name themselves in
// WM_MEASUREITEM by it alone.
UINT NextChildWindowId();
