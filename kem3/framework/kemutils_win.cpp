// Common services of the component library that talk to Windows.
#include "kem3/framework/kemutils_win.h"

#include <string>

#include "platform/unicode_convert.h"

String ProgramFileName() {
  std::wstring buffer(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (length == 0) return String();
    if (length < buffer.size()) {
      return WideToUtf8(std::u16string_view(reinterpret_cast<const char16_t*>(buffer.data()), length));
    }
    buffer.resize(buffer.size() * 2);
  }
}

void ForceForegroundWindow(HWND window) {
  if (window == nullptr || !IsWindow(window)) return;
  if (IsIconic(window)) ShowWindow(window, SW_RESTORE);
  const DWORD ownThread = GetCurrentThreadId();
  HWND foreground = GetForegroundWindow();
  const DWORD foregroundThread = foreground != nullptr ? GetWindowThreadProcessId(foreground, nullptr) : 0;
  // Joining the foreground thread's input state makes this thread count as
  // the one the user works with, so the switch below is granted.
  const bool attached = foregroundThread != 0 && foregroundThread != ownThread &&
                        AttachThreadInput(ownThread, foregroundThread, TRUE) != 0;
  SetForegroundWindow(window);
  BringWindowToTop(window);
  if (attached) AttachThreadInput(ownThread, foregroundThread, FALSE);
}
