// The system's timers behind TTimer: SetTimer on a message-only window of the
// main thread. Every (re)start takes a fresh id, so a WM_TIMER of a countdown
// that was stopped after the system queued it finds no timer and is dropped.
#include <map>

#include "platform/timer.h"
#include "platform/winapi_win.h"

namespace {

class TSystemTimerService : public TTimerService {
 public:
  ~TSystemTimerService() override {
    if (FWindow) DestroyWindow(FWindow);
  }

  void Start(TTimer* Timer, unsigned Interval) override {
    Stop(Timer);
    if (!EnsureWindow()) return;
    UINT_PTR id = ++FLastId;
    if (SetTimer(FWindow, id, Interval, nullptr)) FTimers[id] = Timer;
  }

  void Stop(TTimer* Timer) override {
    for (auto it = FTimers.begin(); it != FTimers.end(); ++it) {
      if (it->second == Timer) {
        KillTimer(FWindow, it->first);
        FTimers.erase(it);
        return;
      }
    }
  }

 private:
  static LRESULT CALLBACK WindowProc(HWND wnd, UINT msg, WPARAM wparam, LPARAM lparam) {
    if (msg == WM_TIMER) {
      auto* self = reinterpret_cast<TSystemTimerService*>(GetWindowLongPtrW(wnd, GWLP_USERDATA));
      if (self) self->Fire(wparam);
      return 0;
    }
    return DefWindowProcW(wnd, msg, wparam, lparam);
  }

  void Fire(UINT_PTR id) {
    auto it = FTimers.find(id);
    if (it == FTimers.end()) return;
    // Tick hands the handler's exceptions to the application; without an
    // application nothing may leave the window procedure all the same.
    try {
      it->second->Tick();
    } catch (...) {
    }
  }

  bool EnsureWindow() {
    if (FWindow) return true;
    static const wchar_t* const kClass = L"TOrvTimerWindow";
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = kClass;
    RegisterClassExW(&wc);  // fails harmlessly when already registered
    FWindow = CreateWindowExW(0, kClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
    if (!FWindow) return false;
    SetWindowLongPtrW(FWindow, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    return true;
  }

  HWND FWindow = nullptr;
  UINT_PTR FLastId = 0;
  std::map<UINT_PTR, TTimer*> FTimers;
};

}  // namespace

TTimerService* PlatformTimerService() {
  static TSystemTimerService service;
  return &service;
}
