// Keeps the program to one running instance. The program entry asks first
// thing whether another instance holds the name; a second start then wakes
// the running one (a registered message broadcast to every top-level window),
// hands it its command line by WM_COPYDATA and ends. The running instance's
// main window passes every message through HandleInstanceMessage, which
// answers the wake-up by bringing the window to the front.
//
// The running instance keeps its main window handle in the handle file (the
// program's path with the extension ".hnd", exactly 4 bytes, little-endian),
// so the second start knows where to send its command line. The file is
// rewritten whenever it does not hold the running instance's own handle and
// removed when that instance ends, so no later start sends its command line
// to whatever window inherited a stale handle.
#pragma once
#include "platform/messages_win.h"
#include "platform/types.h"
#include "platform/winapi_win.h"

// Registers the wake-up message under the name and takes the named mutex;
// true when another instance already holds the name. The handle file lies
// beside the program unless given. Calling it again gives up the name taken
// before.
bool InitSingleInstance(const String& name);
bool InitSingleInstance(const String& name, const String& handleFile);

// The window whose handle the running instance publishes and which comes to
// the front on a wake-up: the main window, set once it exists.
void SetInstanceMainWindow(HWND window);

// ForwardToPreviousInstance, then the process ends with exit code 0 (static
// finalisation runs, no windows are torn down). An entry with a shut-down
// sequence of its own calls ForwardToPreviousInstance and returns instead.
[[noreturn]] void ActivatePreviousInstance();
// Wakes the running instance and hands it this process's command line (the
// 8-bit one, zero-terminated). Never raises: a running instance that cannot be
// reached simply gets nothing.
void ForwardToPreviousInstance();

// The main window's filter, called before its own handling of every message:
// true when the message was the wake-up call and has been answered (Result
// set), false when the window goes on with it.
bool HandleInstanceMessage(TMessage& Message);

// The handle in the handle file; 0 when there is none or it cannot be read.
HWND ReadInstanceHandle();
// Publishes the main window's handle unless the file already holds it. Errors
// are swallowed: the wake-up works without the file.
void WriteInstanceHandle();

// The running instance's exit path, after its main window is gone: removes
// the handle file and gives the name up. Does nothing in a process that did
// not hold the name.
void DoneSingleInstance();

// The registered wake-up message (0 before InitSingleInstance) and the handle file.
UINT InstanceActivateMessage();
const String& InstanceHandleFile();
