// Program entry of ov3.exe: for now a borderless bar window without a taskbar
// button and a message loop.
#include <windows.h>

namespace {

LRESULT CALLBACK BarWindowProc(HWND wnd, UINT msg, WPARAM wparam, LPARAM lparam) {
  switch (msg) {
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(wnd, &ps);
      RECT rc;
      GetClientRect(wnd, &rc);
      HBRUSH brush = CreateSolidBrush(RGB(48, 60, 88));
      FillRect(dc, &rc, brush);
      DeleteObject(brush);
      EndPaint(wnd, &ps);
      return 0;
    }
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
  }
  return DefWindowProcW(wnd, msg, wparam, lparam);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof(wc);
  wc.lpfnWndProc = BarWindowProc;
  wc.hInstance = instance;
  wc.hIcon = LoadIconW(instance, L"MAINICON");
  wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
  wc.lpszClassName = L"TfMain";
  RegisterClassExW(&wc);
  // A tool window owned by an invisible window keeps the bar off the taskbar.
  HWND owner = CreateWindowExW(0, L"STATIC", L"Orvanel", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, instance, nullptr);
  HWND bar = CreateWindowExW(WS_EX_TOOLWINDOW, L"TfMain", L"Orvanel", WS_POPUP, 100, 100, 480, 72, owner, nullptr,
                             instance, nullptr);
  ShowWindow(bar, SW_SHOW);
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return 0;
}
