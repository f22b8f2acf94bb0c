// Common services of the component library that talk to Windows: the
// program's own file name and bringing a window to the front.
#pragma once
#include "platform/types.h"
#include "platform/winapi_win.h"

// The full path of the running program (UTF-8); empty when the system cannot say.
String ProgramFileName();

// Brings a top-level window to the foreground and gives it the input focus:
// an iconic window is restored first. Windows lets only the thread that owns
// the foreground change it, so the calling thread joins that thread's input
// state for the duration of the switch.
void ForceForegroundWindow(HWND window);
