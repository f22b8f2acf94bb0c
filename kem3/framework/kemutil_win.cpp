// Common services that need windows.
#include "kem3/framework/kemutil_win.h"

#include <atomic>
#include <string>

#include "kem3/framework/kemexe.h"
#include "kem3/framework/kemsysinfo.h"
#include "kem3/framework/kemutil.h"
#include "platform/controls_win.h"
#include "platform/win_util_win.h"

namespace {

struct TShellWindows {
  HWND Taskbar = nullptr;
  HWND Desktop = nullptr;
  HWND Progman = nullptr;
};

TShellWindows ShellWindows;

// Set while the topmost toggle of ForceForegroundWindow runs: the messages it
// sends may bring a caller back here, and toggling again from inside would not
// help and could go on for ever.
std::atomic<bool> TopmostToggleRunning{false};

bool IsForeground(HWND window) { return GetForegroundWindow() == window; }

void BringToFront(HWND window) {
  BringWindowToTop(window);
  SetForegroundWindow(window);
}

void ToggleTopmost(HWND window) {
  constexpr UINT kShowInPlace = SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW;
  SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, kShowInPlace);
  SetWindowPos(window, HWND_NOTOPMOST, 0, 0, 0, 0, kShowInPlace);
}

bool ShellOpen(const std::wstring& file, const std::wstring& parameters) {
  const HINSTANCE result = ShellExecuteW(nullptr, L"open", file.c_str(),
                                         parameters.empty() ? nullptr : parameters.c_str(), nullptr, SW_SHOWNORMAL);
  return reinterpret_cast<INT_PTR>(result) > 32;
}

}  // namespace

void InitCommonServices() {
  ShellWindows.Taskbar = FindWindowW(L"Shell_TrayWnd", nullptr);
  ShellWindows.Desktop = GetDesktopWindow();
  ShellWindows.Progman = FindWindowW(L"ProgMan", nullptr);
  ResetDecimalSeparator();
  InitSystemInfo();
}

void DoneCommonServices() {
  FreeIniFile();
  ResetDecimalSeparator();
  DoneSystemInfo();
  ShellWindows = TShellWindows();
}

HWND TaskbarWindow() { return ShellWindows.Taskbar; }
HWND DesktopWindow() { return ShellWindows.Desktop; }
HWND ProgmanWindow() { return ShellWindows.Progman; }

bool ForceForegroundWindow(HWND window) {
  if (window == nullptr || !IsWindow(window)) return false;
  if (IsIconic(window)) ShowWindow(window, SW_RESTORE);
  if (IsForeground(window)) return true;
  if (!HasForegroundLock(GetWindowsVersionInfo())) {
    BringToFront(window);
    return IsForeground(window);
  }
  // (a) The window's thread shares the foreground thread's input state for
  // the switch, so the system counts it as the thread the user works with.
  const HWND foreground = GetForegroundWindow();
  const DWORD foregroundThread = foreground != nullptr ? GetWindowThreadProcessId(foreground, nullptr) : 0;
  const DWORD windowThread = GetWindowThreadProcessId(window, nullptr);
  const bool attached = foregroundThread != 0 && foregroundThread != windowThread &&
                        AttachThreadInput(windowThread, foregroundThread, TRUE) != 0;
  BringToFront(window);
  if (attached) AttachThreadInput(windowThread, foregroundThread, FALSE);
  // (b) The lock time-out lifted for the moment of the switch.
  if (!IsForeground(window)) {
    DWORD timeout = 0;
    SystemParametersInfoW(SPI_GETFOREGROUNDLOCKTIMEOUT, 0, &timeout, 0);
    SystemParametersInfoW(SPI_SETFOREGROUNDLOCKTIMEOUT, 0, nullptr, SPIF_SENDCHANGE);
    BringToFront(window);
    SystemParametersInfoW(SPI_SETFOREGROUNDLOCKTIMEOUT, 0, reinterpret_cast<void*>(static_cast<UINT_PTR>(timeout)),
                          SPIF_SENDCHANGE);
  }
  // (c) Topmost and back at least lifts it above the other windows.
  if (!IsForeground(window) && !TopmostToggleRunning.exchange(true)) {
    ToggleTopmost(window);
    TopmostToggleRunning = false;
  }
  return IsForeground(window);
}

bool OpenUrl(const String& address) {
  const std::wstring url = WidePath(address);
  if (ShellOpen(url, std::wstring())) return true;
  // The browsers take the address as their parameter: quoted, as it may hold
  // blanks, and without quotes of its own, which no address holds.
  std::wstring parameter = L"\"";
  for (wchar_t c : url)
    if (c != L'"') parameter += c;
  parameter += L'"';
  return ShellOpen(L"netscape.exe", parameter) || ShellOpen(L"iexplore.exe", parameter);
}

int GetShiftStateBits() {
  int bits = 0;
  if (GetKeyState(VK_SHIFT) < 0) bits |= 1;
  if (GetKeyState(VK_MENU) < 0) bits |= 2;
  if (GetKeyState(VK_CONTROL) < 0) bits |= 4;
  return bits;
}

void SetRedrawLock(TWinControl* control, bool lock) {
  if (control == nullptr || !control->HandleAllocated()) return;
  const HWND window = control->Handle();
  if (lock) {
    SendMessageW(window, WM_SETREDRAW, FALSE, 0);
  } else {
    SendMessageW(window, WM_SETREDRAW, TRUE, 0);
    RedrawWindow(window, nullptr, nullptr, RDW_ERASE | RDW_FRAME | RDW_INVALIDATE | RDW_ALLCHILDREN);
  }
}
