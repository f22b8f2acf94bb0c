// A second process for the hook tests: it shows a window with a scroll bar,
// feeds it pointer and key input with SendInput, and writes down which input
// messages reached the window (a swallowed key or discarded click never does).
// Usage: hookdriver LOGFILE LEFT TOP WIDTH HEIGHT COMMAND...
//   move X Y     pointer to the screen point, waiting until the window got the move
//   ldown lup rdown rup    buttons
//   kdown VK  kup VK       keys (VK in decimal)
// Exit code 0, or 2 when a move never arrived, 3 when the window did not get the focus.
#include "platform/winapi_win.h"

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

FILE* Log = nullptr;
POINT LastMove{-100000, -100000};

LRESULT CALLBACK DriverWindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_MOUSEMOVE:
    case WM_NCMOUSEMOVE: {
      POINT p{static_cast<short>(LOWORD(lparam)), static_cast<short>(HIWORD(lparam))};
      if (message == WM_MOUSEMOVE) ClientToScreen(window, &p);
      LastMove = p;
      break;
    }
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
      std::fprintf(Log, "keydown %u\n", static_cast<unsigned>(wparam));
      break;
    case WM_KEYUP:
    case WM_SYSKEYUP:
      std::fprintf(Log, "keyup %u\n", static_cast<unsigned>(wparam));
      break;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONUP:
    case WM_NCRBUTTONDOWN:
    case WM_NCRBUTTONUP:
      std::fprintf(Log, "button %x\n", message);
      break;
    case WM_CONTEXTMENU:
    case WM_SYSCOMMAND:
      return 0;  // no menus or scrolling loops of the system in the way
  }
  return DefWindowProcW(window, message, wparam, lparam);
}

void Pump() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

template <class Done>
bool PumpUntil(Done done) {
  const ULONGLONG deadline = GetTickCount64() + 5000;
  while (!done()) {
    if (GetTickCount64() > deadline) return false;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    Pump();
  }
  return true;
}

void Send(INPUT input) { SendInput(1, &input, sizeof(input)); }

void SendMove(int x, int y) {
  const int cx = GetSystemMetrics(SM_CXSCREEN), cy = GetSystemMetrics(SM_CYSCREEN);
  INPUT input{};
  input.type = INPUT_MOUSE;
  input.mi.dx = static_cast<LONG>((static_cast<long long>(x) * 65536 + cx - 1) / cx);
  input.mi.dy = static_cast<LONG>((static_cast<long long>(y) * 65536 + cy - 1) / cy);
  input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
  Send(input);
}

// The window getting the move also means that all input sent before it has
// been through the hooks.
bool Move(int x, int y) {
  POINT now;
  GetCursorPos(&now);
  if (now.x == x && now.y == y) {  // a move to where the pointer is would never arrive
    SendMove(x + 1, y);
    if (!PumpUntil([&] { return LastMove.x == x + 1 && LastMove.y == y; })) return false;
  }
  SendMove(x, y);
  return PumpUntil([&] { return LastMove.x == x && LastMove.y == y; });
}

void Button(DWORD flags) {
  INPUT input{};
  input.type = INPUT_MOUSE;
  input.mi.dwFlags = flags;
  Send(input);
}

void Key(int vk, bool up) {
  INPUT input{};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = static_cast<WORD>(vk);
  input.ki.wScan = static_cast<WORD>(MapVirtualKeyW(vk, MAPVK_VK_TO_VSC));
  input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
  if (vk == VK_RCONTROL || vk == VK_RMENU || vk == VK_RWIN || vk == VK_LWIN || vk == VK_APPS)
    input.ki.dwFlags |= KEYEVENTF_EXTENDEDKEY;
  Send(input);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 6) return 1;
  Log = std::fopen(argv[1], "w");
  if (Log == nullptr) return 1;
  WNDCLASSW wc{};
  wc.lpfnWndProc = DriverWindowProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
  wc.lpszClassName = L"HookDriverWindow";
  RegisterClassW(&wc);
  HWND window = CreateWindowExW(WS_EX_TOPMOST, wc.lpszClassName, L"Hook driver", WS_POPUP | WS_VSCROLL,
                                std::atoi(argv[2]), std::atoi(argv[3]), std::atoi(argv[4]), std::atoi(argv[5]), nullptr,
                                nullptr, wc.hInstance, nullptr);
  ShowWindow(window, SW_SHOW);
  SetForegroundWindow(window);
  SetFocus(window);
  if (!PumpUntil([&] { return GetForegroundWindow() == window && GetFocus() == window; })) return 3;

  int rc = 0;
  for (int i = 6; i < argc && rc == 0; ++i) {
    const std::string command = argv[i];
    if (command == "move" && i + 2 < argc) {
      if (!Move(std::atoi(argv[i + 1]), std::atoi(argv[i + 2]))) rc = 2;
      i += 2;
    } else if (command == "ldown") {
      Button(MOUSEEVENTF_LEFTDOWN);
    } else if (command == "lup") {
      Button(MOUSEEVENTF_LEFTUP);
    } else if (command == "rdown") {
      Button(MOUSEEVENTF_RIGHTDOWN);
    } else if (command == "rup") {
      Button(MOUSEEVENTF_RIGHTUP);
    } else if ((command == "kdown" || command == "kup") && i + 1 < argc) {
      Key(std::atoi(argv[++i]), command == "kup");
    } else {
      rc = 1;
    }
  }
  Pump();
  std::fclose(Log);
  // Leaving the window to the end of the process: destroying a shown window
  // makes Wine wait seconds for the display.
  return rc;
}
