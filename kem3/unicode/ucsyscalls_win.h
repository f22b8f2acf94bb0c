// Every system call of the Unicode layer that takes or returns text: wide text
// in and out, the wide ("W") entry where the platform has it, else the 8-bit
// ("A") entry with the text converted both ways. The wide entries exist
// wherever our binaries run; the 8-bit path stays for the test switch below.
#pragma once
#include <cstdint>

#include "kem3/unicode/ucsyscalls.h"
#include "platform/types.h"
#include "platform/winapi_win.h"

// The flags, read from the system's version on first use and fixed from then on.
const TPlatformFlags& PlatformFlags();
inline bool UnicodePlatform() { return PlatformFlags().UnicodePlatform; }
inline bool PlatformXPOrLater() { return PlatformFlags().PlatformXPOrLater; }
inline bool PlatformServer2003OrLater() { return PlatformFlags().PlatformServer2003OrLater; }
inline bool PlatformVistaOrLater() { return PlatformFlags().PlatformVistaOrLater; }

// Tests only: sends every wrapper down its 8-bit path while set.
void SetAnsiSystemCallsForTesting(bool Value);
// The choice each wrapper makes per call.
bool UseWideSystemCalls();

BOOL WideSetWindowText(HWND Wnd, const WideChar* Text);
// The 8-bit path reads into 520 bytes and asks again with the size the system
// names when that is too small.
DWORD WideGetFullPathName(const WideChar* FileName, DWORD BufferLength, WideChar* Buffer, WideChar** FilePart);
HANDLE WideCreateFile(const WideChar* FileName, DWORD Access, DWORD ShareMode, SECURITY_ATTRIBUTES* Security,
                      DWORD Disposition, DWORD FlagsAndAttributes, HANDLE Template);
// Count -1: up to the terminator.
int WideDrawText(HDC DC, const WideChar* Text, int Count, RECT* Rect, UINT Format);
int WideLoadString(HINSTANCE Module, UINT Ident, WideChar* Buffer, int BufferSize);
// The wide string loader of the 8-bit path: reads the string table block itself
// and never past the end of its resource.
int LoadStringFromTable(HINSTANCE Module, UINT Ident, WideChar* Buffer, int BufferSize);
// A string resource of up to 4,096 characters.
WideString LoadWideResourceString(HINSTANCE Module, UINT Ident);

// Files by wide name: created for reading and writing (CREATE_ALWAYS), or
// opened with the rights of a class-library open mode.
HANDLE CreateFileByWideName(const WideString& FileName);
HANDLE OpenFileByWideName(const WideString& FileName, std::uint32_t Mode);
// The full path name, however long.
WideString ExpandWideFileName(const WideString& FileName);
WideString SystemErrorText(DWORD ErrorCode);
WideString FormatModuleErrorText(const WideString& SourceName, HMODULE Module, DWORD ErrorCode);
// A non-zero value unchanged; 0 raises EOSError with the last system error.
std::uintptr_t CheckWin32Result(std::uintptr_t Value);
