// The program's own file: its full name, folder and base name, and the one
// settings file beside it that every setting of the process goes through.
#pragma once
#include "platform/types.h"

class TIniFile;

// The full path of the running program (UTF-8): GetModuleFileNameW on Windows,
// /proc/self/exe natively; empty when the system cannot say.
String ProgramFileName();
// Test seam: makes ProgramFileName answer FileName ("" gives the system's
// answer back). It also frees the settings file object and forgets the cached
// folder and base name, so the next GetIniFile opens the file beside the new name.
void SetProgramFileName(const String& FileName);

// The program's folder with its trailing path delimiter (cached).
String GetExeDir();
// The program's file name without folder, cut before its first "." (cached):
// "ov3.exe" -> "ov3".
String GetExeBaseName();

// The settings file: GetExeDir + GetExeBaseName + ".ini", one object for the
// whole process, created at the first call. Raises what TIniFile raises when
// the file exists but cannot be read.
TIniFile* GetIniFile();
// Whether the settings file was missing when GetIniFile created its object
// (a first start); false before that.
bool IniFileWasMissing();
// Frees the settings file object (saving what is unsaved) and forgets the
// cached folder and base name; the next GetIniFile creates a new object.
void FreeIniFile();
