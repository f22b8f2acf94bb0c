// The shell's "open" verb for the launcher.
#include "launcher/ov3launch_win.h"

#include <string>

#include "platform/win_util_win.h"

void TShellLauncherWin::Open(const String& FileName, const String& Parameters, const String& Folder) {
  const std::wstring file = WidePath(FileName);
  const std::wstring parameters = WidePath(Parameters);
  const std::wstring folder = WidePath(Folder);
  // No folder means the shell's own choice, as an icon without one expects.
  // A failed start shows nothing of ours: the result is not examined.
  ShellExecuteW(Window, L"open", file.c_str(), parameters.empty() ? nullptr : parameters.c_str(),
                folder.empty() ? nullptr : folder.c_str(), SW_SHOWNORMAL);
}
