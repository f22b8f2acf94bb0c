// The program's start-up and shut-down, in one explicit order (never in static
// initialisers, whose order C++ does not fix).
#pragma once

// The class layer's application and screen, the common services, the hook
// library and the configuration database.
void StartUp();
// The mirror of StartUp, after the message loop has ended.
void ShutDown();

// Removes the temporary files that saves cut off by a crash or a kill left
// beside the contents, the settings and the icon cache file.
void RemoveStaleSaveFiles();

// The program block: one instance, the bar, the message loop. Returns the
// process's exit code.
int RunProgram();
