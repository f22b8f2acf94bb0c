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

// The splash's texts of the start: "Starting...", "Reading the settings...",
// "Building the bar...".
inline constexpr int kSplashStarting = 265, kSplashSettings = 266, kSplashContents = 267;
// The splash with the program's version and its first status line.
void ShowStartSplash();

// The program block: one instance, the bar, the message loop. Returns the
// process's exit code.
int RunProgram();
