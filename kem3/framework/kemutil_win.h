// Common services that need windows: the shell's windows recorded at
// start-up, bringing a window to the front, opening web addresses, the
// modifier keys and locking a control's redraw.
#pragma once
#include "platform/types.h"
#include "platform/winapi_win.h"

class TWinControl;

// The start-up and shut-down steps of the common services: records the
// taskbar, desktop and Program Manager windows, the system's version and the
// processor; the mirror forgets them, frees the settings file object and resets
// the decimal separator stack.
void InitCommonServices();
void DoneCommonServices();

// The windows found by InitCommonServices (nullptr when not found or not yet recorded).
HWND TaskbarWindow();
HWND DesktopWindow();
HWND ProgmanWindow();

// Brings a top-level window to the foreground, restoring it when minimised.
// Windows lets only the thread the user works with change the foreground, so
// where that lock exists the window's thread joins the foreground thread's
// input for the switch, then the lock time-out is lifted for a moment, and as
// the last resort the window is made topmost and back. True when the window is
// the foreground window afterwards.
bool ForceForegroundWindow(HWND window);

// Opens a web address with the shell; when that fails, with netscape.exe and
// then iexplore.exe. True when one of them started.
bool OpenUrl(const String& address);

// 1 Shift, 2 Alt, 4 Ctrl: the modifier keys down now.
int GetShiftStateBits();

// Locking stops a control's window from redrawing while it changes; unlocking
// lets it redraw and repaints it with its frame and all children. Nothing
// happens to a control without a window.
void SetRedrawLock(TWinControl* control, bool lock);
