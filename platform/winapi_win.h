// The one way our code includes the Windows headers. The headers define the
// generic names of their text calls as macros (DeleteFile -> DeleteFileW,
// TextOut -> TextOutW…), which would silently rename our own functions and
// members of the same names in some units and not in others. We call the W
// and A forms explicitly, so the generic macros are removed here.
#pragma once
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#include <shellapi.h>

#undef CopyFile
#undef CreateDirectory
#undef CreateEvent
#undef CreateFont
#undef CreateMutex
#undef CreateWindow
#undef CreateWindowEx
#undef CallWindowProc
#undef DefWindowProc
#undef DeleteFile
#undef DispatchMessage
#undef DrawText
#undef FindResource
#undef FindText
#undef FindWindow
#undef FormatMessage
#undef GetClassName
#undef GetCharWidth
#undef GetComputerName
#undef GetCurrentDirectory
#undef GetFileAttributes
#undef GetMessage
#undef GetModuleFileName
#undef GetObject
#undef GetUserName
#undef GetWindowText
#undef LoadBitmap
#undef LoadCursor
#undef LoadIcon
#undef LoadImage
#undef LoadString
#undef MessageBox
#undef MoveFile
#undef PeekMessage
#undef PostMessage
#undef RegisterClass
#undef RemoveDirectory
#undef SendMessage
#undef SetCurrentDirectory
#undef SetWindowText
#undef ShellExecute
#undef TextOut
#undef Yield
