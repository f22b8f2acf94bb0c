// The shell's "open" verb for the launcher, through the wide system call.
#pragma once
#include "launcher/ov3launch.h"
#include "platform/winapi_win.h"

class TShellLauncherWin : public IShellLauncher {
 public:
  // Window: the bar, which owns any message the shell shows about a start.
  explicit TShellLauncherWin(HWND Window = nullptr) : Window(Window) {}
  void Open(const String& FileName, const String& Parameters, const String& Folder) override;

  HWND Window;
};
