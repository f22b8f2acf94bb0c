// Exported identification functions of kem3.dll (plain names and fixed ordinals
// come from the generated .def file).
#include <windows.h>

#include "hooklib/kemhl.h"

extern "C" {

void WINAPI hlGetTitle(char* dest) { kemhl::CopyText(dest, kemhl::Title); }

void WINAPI hlGetCopyright(char* dest) { kemhl::CopyText(dest, kemhl::Copyright); }

DWORD WINAPI hlGetVersion() { return kemhl::Version; }
}
