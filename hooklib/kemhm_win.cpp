// The mouse-area hook on Windows: its exports and the hook procedure that the
// system runs inside every process that receives mouse input.
#include <windows.h>

#include "hooklib/kemhclient_win.h"
#include "hooklib/kemhm.h"

using namespace kemh;
using namespace kemhm;

namespace {

LRESULT CALLBACK MouseHookProc(int code, WPARAM wparam, LPARAM lparam) noexcept;

struct TMouseHook {
  using Shared = TMouseHookShared;
  using Client = TMouseHookClient;
  static constexpr const char* SharedSectionName = kemhm::SharedSectionName;
  static constexpr std::uint32_t SharedSectionSize = SectionSize;
  static constexpr std::uint32_t ClientSectionSize = SectionSize;
  static constexpr int ClientCount = kemhm::ClientCount;
  static constexpr int HookType = WH_MOUSE;
  static constexpr HOOKPROC HookProc = MouseHookProc;
  static void HookSet(Shared& shared) noexcept { shared.OverScrollBar = 0; }
  static void Installed(Shared&) noexcept {}
};

using TMouseSectionName = TClientSectionName<TMouseHook>;

// Clients installed by this process; zero when the library is loaded.
constinit THookClients<TMouseHook> MouseClients;

class TPostToClient final : public TMousePoster {
 public:
  explicit TPostToClient(HWND window) noexcept : window_(window) {}
  void Post(std::uint32_t wparam, std::int32_t lparam) noexcept override {
    PostMessageA(window_, MouseHookMessage, static_cast<WPARAM>(wparam), static_cast<LPARAM>(lparam));
  }

 private:
  HWND window_;
};

// Runs in foreign processes: never waits, throws nothing, creates no section,
// and always calls the next hook.
LRESULT CALLBACK MouseHookProc(int code, WPARAM wparam, LPARAM lparam) noexcept {
  TSectionView global;
  if (!global.Open(SharedSectionName, SectionSize)) return CallNextHookEx(nullptr, code, wparam, lparam);
  auto& shared = *global.As<TMouseHookShared>();
  const auto message = static_cast<std::uint32_t>(wparam);
  const auto* data = reinterpret_cast<const MOUSEHOOKSTRUCT*>(lparam);
  if (data != nullptr) UpdateOverScrollBar(shared, message, data->wHitTestCode);
  const LRESULT result = CallNextHookEx(HookOf(shared.Hook), code, wparam, lparam);

  for (TClientSlot& slot : shared.Clients) {
    const std::uint32_t window = SlotWindow(slot);
    if (window == 0) continue;
    if (!IsWindow(WindowOf(window))) {
      // A client destroyed without removing its hook; only the exports unhook.
      ClearDeadSlot(slot, window);
      continue;
    }
    TSectionView view;
    if (!view.Open(TMouseSectionName(window).c_str(), SectionSize)) continue;
    auto& client = *view.As<TMouseHookClient>();
    if (client.Window != window) continue;  // not the section this slot was made for
    if (DiscardsMessage(client, shared, message)) return 1;
    if (code != HC_ACTION || data == nullptr) continue;
    TPostToClient poster(WindowOf(window));
    MouseClientStep(client, message, data->pt.x, data->pt.y, poster);
  }
  return result;
}

}  // namespace

// Window handles cross as their low 32 bits (all Windows needs of one), so
// 32-bit and 64-bit callers pass the same values. Results are THookStatus codes.
extern "C" {

int WINAPI mhInstallHook(DWORD window) noexcept { return MouseClients.Install(window); }

int WINAPI mhRemoveHook(DWORD window) noexcept { return MouseClients.Remove(window); }

int WINAPI mhSetArea(DWORD window, std::int32_t area, std::int32_t rectIndex, std::int32_t rectCount, std::int32_t left,
                     std::int32_t top, std::int32_t right, std::int32_t bottom) noexcept {
  return ChangeClient<TMouseHook>(window, [&](TMouseHookClient& client) {
    SetArea(client, area, rectIndex, rectCount, TMouseHookRect{left, top, right, bottom});
  });
}

int WINAPI mhGetArea(DWORD window, std::int32_t area, std::int32_t rectIndex, std::int32_t* rect) noexcept {
  if (rect == nullptr) return hsOk;
  TMouseHookRect r = EmptyRect;
  const int status =
      ChangeClient<TMouseHook>(window, [&](TMouseHookClient& client) { r = GetArea(client, area, rectIndex); });
  rect[0] = r.Left;
  rect[1] = r.Top;
  rect[2] = r.Right;
  rect[3] = r.Bottom;
  return status;
}

int WINAPI mhAssumeInside(DWORD window, std::int32_t area) noexcept {
  return ChangeClient<TMouseHook>(window, [&](TMouseHookClient& client) { AssumeInside(client, area); });
}

int WINAPI mhMoveEvents(DWORD window, BYTE on) noexcept {
  return ChangeClient<TMouseHook>(window, [&](TMouseHookClient& client) { client.MoveEvents = on ? 1 : 0; });
}

int WINAPI mhMenuScroll(DWORD window, BYTE on) noexcept {
  return ChangeClient<TMouseHook>(window, [&](TMouseHookClient& client) { client.MenuScroll = on ? 1 : 0; });
}

}  // extern "C"
