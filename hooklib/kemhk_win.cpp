// The keyboard hook on Windows: its exports and the hook procedure that the
// system runs inside whichever process has the keyboard focus.
#include <windows.h>

#include "hooklib/kemhk.h"
#include "hooklib/kemhsection_win.h"

using namespace kemh;
using namespace kemhk;

namespace {

// Clients installed by this process; zero when the library is loaded.
TLocalHookTable<ClientCount> KeyboardLocalClients;

class TClientSectionName {
 public:
  explicit TClientSectionName(std::uint32_t window) noexcept {
    FormatClientSectionName(text_, SharedSectionName, window);
  }
  const char* c_str() const noexcept { return text_; }

 private:
  char text_[SectionNameSize];
};

template <class Change>
int ChangeClient(DWORD window, Change&& change) noexcept {
  TSectionView view;
  const THookStatus status = view.Create(TClientSectionName(window).c_str(), ClientSectionSize);
  if (status != hsOk) return status;
  change(*view.As<TKeyboardHookClient>());
  return hsOk;
}

// The slot's window while it still exists; a dead one's slot is cleared.
std::uint32_t LiveWindow(TClientSlot& slot) noexcept {
  const std::uint32_t window = SlotWindow(slot);
  if (window == 0 || IsWindow(WindowOf(window))) return window;
  ClearDeadClientSlot(slot, window);
  return 0;
}

bool OpenClient(TSectionView& view, std::uint32_t window) noexcept {
  return view.Open(TClientSectionName(window).c_str(), ClientSectionSize) &&
         view.As<TKeyboardHookClient>()->Window == window;
}

void Notify(std::uint32_t window, std::uint32_t kind, std::int32_t value) noexcept {
  PostMessageA(WindowOf(window), KeyboardHookMessage, kind, static_cast<LPARAM>(value));
}

// Runs in foreign processes: no lock, no exception, nothing created; a
// swallowed key is not handed on, every other one is.
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

void ReleaseKeyboardLocalSlot(DWORD window) noexcept {
  if (TLocalHookSlot* slot = KeyboardLocalClients.Find(window)) {
    CloseSectionHandle(slot->SharedSection);
    CloseSectionHandle(slot->ClientSection);
    *slot = TLocalHookSlot{};
  }
}

}  // namespace

// Window handles cross as their low 32 bits, as for the mouse hook.
extern "C" {

int WINAPI khInstallHook(DWORD window) noexcept {
  THookLock lock;
  bool reused = false;
  TLocalHookSlot* slot = KeyboardLocalClients.Alloc(window, reused);
  if (slot == nullptr) return hsNoResources;
  TSectionView global, client;
  THookStatus status = global.Create(SharedSectionName, SharedSectionSize);
  if (status == hsOk) status = client.Create(TClientSectionName(window).c_str(), ClientSectionSize);
  if (status != hsOk) {
    if (!reused) *slot = TLocalHookSlot{};
    return status;
  }
  auto& shared = *global.As<TKeyboardHookShared>();
  if (shared.Hook == 0) {
    HHOOK hook = SetWindowsHookExA(WH_KEYBOARD, KeyboardHookProc, LibraryModule(), 0);
    if (hook == nullptr) {
      if (!reused) *slot = TLocalHookSlot{};
      return hsNoResources;
    }
    shared.Hook = StoreHandle(reinterpret_cast<std::uintptr_t>(hook));
    shared.LastKey = 0;
  }
  // A full global table leaves the window unregistered: it simply gets no messages.
  AddClientSlot(shared.Clients, ClientCount, window);
  ResetClient(*client.As<TKeyboardHookClient>(), window);
  shared.ModifierState = 0;
  CloseSectionHandle(slot->SharedSection);
  CloseSectionHandle(slot->ClientSection);
  slot->SharedSection = global.Detach();
  slot->ClientSection = client.Detach();
  return hsOk;
}

int WINAPI khRemoveHook(DWORD window) noexcept {
  THookLock lock;
  TSectionView global;
  const THookStatus status = global.Create(SharedSectionName, SharedSectionSize);
  if (status == hsOk) {
    auto& shared = *global.As<TKeyboardHookShared>();
    if (RemoveClientSlots(shared.Clients, ClientCount, window) == 0 && shared.Hook != 0) {
      UnhookWindowsHookEx(HookOf(shared.Hook));
      shared.Hook = 0;
    }
  }
  ReleaseKeyboardLocalSlot(window);
  return status;
}

int WINAPI khSetHotkey(DWORD window, std::int32_t id, BYTE key, DWORD flags) noexcept {
  return ChangeClient(window, [&](TKeyboardHookClient& client) { SetHotkey(client, id, key, flags); });
}

int WINAPI khRemoveHotkey(DWORD window, std::int32_t id) noexcept {
  return ChangeClient(window, [&](TKeyboardHookClient& client) { RemoveHotkey(client, id); });
}

int WINAPI khClearHotkeys(DWORD window) noexcept {
  return ChangeClient(window, [&](TKeyboardHookClient& client) { ClearHotkeys(client); });
}

}  // extern "C"
