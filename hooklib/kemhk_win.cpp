// The keyboard hook on Windows: its exports and the hook procedure that the
// system runs inside whichever process has the keyboard focus.
#include <windows.h>

#include "hooklib/kemhclient_win.h"
#include "hooklib/kemhk.h"

using namespace kemh;
using namespace kemhk;

namespace {

LRESULT CALLBACK KeyboardHookProc(int code, WPARAM wparam, LPARAM lparam) noexcept;

struct TKeyboardHook {
  using Shared = TKeyboardHookShared;
  using Client = TKeyboardHookClient;
  static constexpr const char* SharedSectionName = kemhk::SharedSectionName;
  static constexpr std::uint32_t SharedSectionSize = kemhk::SharedSectionSize;
  static constexpr std::uint32_t ClientSectionSize = kemhk::ClientSectionSize;
  static constexpr int ClientCount = kemhk::ClientCount;
  static constexpr int HookType = WH_KEYBOARD;
  static constexpr HOOKPROC HookProc = KeyboardHookProc;
  static void HookSet(Shared& shared) noexcept { shared.LastKey = 0; }
  static void Installed(Shared& shared) noexcept { shared.ModifierState = 0; }
};

using TKeyboardSectionName = TClientSectionName<TKeyboardHook>;

// Clients installed by this process; zero when the library is loaded.
constinit THookClients<TKeyboardHook> KeyboardClients;

// The slot's window while it still exists; a dead one's slot is cleared.
std::uint32_t LiveWindow(TClientSlot& slot) noexcept {
  const std::uint32_t window = SlotWindow(slot);
  if (window == 0 || IsWindow(WindowOf(window))) return window;
  ClearDeadSlot(slot, window);
  return 0;
}

bool OpenClient(TSectionView& view, std::uint32_t window) noexcept {
  return view.Open(TKeyboardSectionName(window).c_str(), ClientSectionSize) &&
         view.As<TKeyboardHookClient>()->Window == window;
}

void Notify(std::uint32_t window, std::uint32_t kind, std::int32_t value) noexcept {
  PostMessageA(WindowOf(window), KeyboardHookMessage, kind, static_cast<LPARAM>(value));
}

// Runs in foreign processes: never waits, throws nothing, creates no section;
// a swallowed key is not handed on, every other one is.
LRESULT CALLBACK KeyboardHookProc(int code, WPARAM wparam, LPARAM lparam) noexcept {
  TSectionView global;
  if (!global.Open(SharedSectionName, SharedSectionSize)) return CallNextHookEx(nullptr, code, wparam, lparam);
  auto& shared = *global.As<TKeyboardHookShared>();
  const auto key = static_cast<std::uint32_t>(wparam);
  LRESULT result = 0;
  if (code == HC_ACTION) {
    const TKeyEvent event = ClassifyKeyEvent(static_cast<std::uint32_t>(lparam), shared.LastKey);
    const std::uint32_t state = ModifierState([](int vk) { return GetKeyState(vk); });
    shared.ModifierState = state;
    if (event.Reported()) {
      // Every client learns the modifier state before any hotkey is matched.
      for (TClientSlot& slot : shared.Clients) {
        const std::uint32_t window = LiveWindow(slot);
        TSectionView view;
        if (window != 0 && OpenClient(view, window)) Notify(window, NotifyState, static_cast<std::int32_t>(state));
      }
      for (TClientSlot& slot : shared.Clients) {
        const std::uint32_t window = LiveWindow(slot);
        TSectionView view;
        if (window == 0 || !OpenClient(view, window)) continue;
        const THotkeyMatch match =
            MatchHotkey(*view.As<TKeyboardHookClient>(), static_cast<std::uint8_t>(key), event.Released, state);
        if (!match.Matched) continue;
        Notify(window, NotifyHotkey, match.Id);
        if (match.Swallow) result = 1;
      }
    }
  }
  shared.LastKey = key;
  if (result == 0) result = CallNextHookEx(HookOf(shared.Hook), code, wparam, lparam);
  return result;
}

}  // namespace

// Window handles cross as their low 32 bits, as for the mouse hook.
extern "C" {

int WINAPI khInstallHook(DWORD window) noexcept { return KeyboardClients.Install(window); }

int WINAPI khRemoveHook(DWORD window) noexcept { return KeyboardClients.Remove(window); }

int WINAPI khSetHotkey(DWORD window, std::int32_t id, BYTE key, DWORD flags) noexcept {
  return ChangeClient<TKeyboardHook>(window, [&](TKeyboardHookClient& client) { SetHotkey(client, id, key, flags); });
}

int WINAPI khRemoveHotkey(DWORD window, std::int32_t id) noexcept {
  return ChangeClient<TKeyboardHook>(window, [&](TKeyboardHookClient& client) { RemoveHotkey(client, id); });
}

int WINAPI khClearHotkeys(DWORD window) noexcept {
  return ChangeClient<TKeyboardHook>(window, [&](TKeyboardHookClient& client) { ClearHotkeys(client); });
}

}  // extern "C"
