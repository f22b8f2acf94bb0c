// Program entry of ov3.exe.
#include "kem3/dialogs/kemabout_win.h"
#include "launcher/ov3startup_win.h"
#include "platform/exceptions.h"
#include "platform/unicode_convert.h"
#include "platform/winapi_win.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  try {
    return RunProgram();
  } catch (const Exception& e) {
    // Only start-up itself can get here: handlers report to the message loop.
    // The splash goes first, so it never hides the message.
    CloseSplash(false, 0);
    WideString text = Utf8ToWide(e.Message);
    MessageBoxW(nullptr, reinterpret_cast<const wchar_t*>(text.c_str()), L"Orvanel", MB_OK | MB_ICONERROR);
    return 1;
  }
}
