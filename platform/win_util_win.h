// Small helpers that every Windows unit of the class layer shares: file names
// for the wide system calls and the system's text for an error code.
#pragma once
#include <string>

#include "platform/types.h"
#include "platform/winapi_win.h"

// A UTF-8 name as the wide text the W calls take.
std::wstring WidePath(const String& utf8);

// The system's text for an error code, as UTF-8, without the trailing line break.
String SysErrorMessage(DWORD code);
// The text for GetLastError(); read it before any other call can change it.
String LastErrorText();
