// The mouse-area hook on Windows: its exports and the hook procedure that the
// system runs inside every process that receives mouse input.
#include <windows.h>

#include "hooklib/kemhm.h"
#include "hooklib/kemhsection_win.h"

using namespace kemh;
using namespace kemhm;

namespace {

// Clients installed by this process; zero when the library is loaded.
TLocalHookTable<ClientCount> MouseLocalClients;

class TClientSectionName {
 public:
  explicit TClientSectionName(std::uint32_t window) noexcept {
    FormatClientSectionName(text_, SharedSectionName, window);
  }
  const char* c_str() const noexcept { return text_; }

 private:
  char text_[SectionNameSize];
};

class TPostToClient final : public TMousePoster {
 public:
  explicit TPostToClient(HWND window) noexcept : window_(window) {}
  void Post(std::uint32_t wparam, std::int32_t lparam) noexcept override {
    PostMessageA(window_, MouseHookMessage, static_cast<WPARAM>(wparam), static_cast<LPARAM>(lparam));
  }

 private:
  HWND window_;
};

// Opens the section of a window for one change by an export; for a window that
// is not installed the section vanishes again when the view closes.
template <class Change>
int ChangeClient(DWORD window, Change&& change) noexcept {
  TSectionView view;
  const THookStatus status = view.Create(TClientSectionName(window).c_str(), SectionSize);
  if (status != hsOk) return status;
  change(*view.As<TMouseHookClient>());
  return hsOk;
}

// Runs in foreign processes: no lock, no exception, nothing created, and the
// next hook always called.
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
      ClearDeadClientSlot(slot, window);
      continue;
    }
    TSectionView view;
    if (!view.Open(TClientSectionName(window).c_str(), SectionSize)) continue;
    auto& client = *view.As<TMouseHookClient>();
    if (client.Window != window) continue;  // not the section this slot was made for
    if (DiscardsMessage(client, shared, message)) return 1;
    if (code != HC_ACTION || data == nullptr) continue;
    TPostToClient poster(WindowOf(window));
    MouseClientStep(client, message, data->pt.x, data->pt.y, poster);
  }
  return result;
}

void ReleaseMouseLocalSlot(DWORD window) noexcept {
  if (TLocalHookSlot* slot = MouseLocalClients.Find(window)) {
    CloseSectionHandle(slot->SharedSection);
    CloseSectionHandle(slot->ClientSection);
    *slot = TLocalHookSlot{};
  }
}

}  // namespace

// Window handles cross as their low 32 bits (all Windows needs of one), so
// 32-bit and 64-bit callers pass the same values. Results are THookStatus codes.
extern "C" {

int WINAPI mhInstallHook(DWORD window) noexcept {
  THookLock lock;
  bool reused = false;
  TLocalHookSlot* slot = MouseLocalClients.Alloc(window, reused);
  if (slot == nullptr) return hsNoResources;
  TSectionView global, client;
  THookStatus status = global.Create(SharedSectionName, SectionSize);
  if (status == hsOk) status = client.Create(TClientSectionName(window).c_str(), SectionSize);
  if (status != hsOk) {
    if (!reused) *slot = TLocalHookSlot{};
    return status;
  }
  auto& shared = *global.As<TMouseHookShared>();
  if (shared.Hook == 0) {
    HHOOK hook = SetWindowsHookExA(WH_MOUSE, MouseHookProc, LibraryModule(), 0);
    if (hook == nullptr) {
      if (!reused) *slot = TLocalHookSlot{};
      return hsNoResources;
    }
    shared.Hook = StoreHandle(reinterpret_cast<std::uintptr_t>(hook));
    shared.OverScrollBar = 0;
  }
  // A full global table leaves the window unregistered: it simply gets no messages.
  AddClientSlot(shared.Clients, ClientCount, window);
  ResetClient(*client.As<TMouseHookClient>(), window);
  // The new handles keep both sections alive; a second install swaps them in.
  CloseSectionHandle(slot->SharedSection);
  CloseSectionHandle(slot->ClientSection);
  slot->SharedSection = global.Detach();
  slot->ClientSection = client.Detach();
  return hsOk;
}

int WINAPI mhRemoveHook(DWORD window) noexcept {
  THookLock lock;
  TSectionView global;
  const THookStatus status = global.Create(SharedSectionName, SectionSize);
  if (status == hsOk) {
    auto& shared = *global.As<TMouseHookShared>();
    if (RemoveClientSlots(shared.Clients, ClientCount, window) == 0 && shared.Hook != 0) {
      UnhookWindowsHookEx(HookOf(shared.Hook));
      shared.Hook = 0;
    }
  }
  ReleaseMouseLocalSlot(window);
  return status;
}

int WINAPI mhSetArea(DWORD window, std::int32_t area, std::int32_t rectIndex, std::int32_t rectCount, std::int32_t left,
                     std::int32_t top, std::int32_t right, std::int32_t bottom) noexcept {
  return ChangeClient(window, [&](TMouseHookClient& client) {
    SetArea(client, area, rectIndex, rectCount, TMouseHookRect{left, top, right, bottom});
  });
}

int WINAPI mhGetArea(DWORD window, std::int32_t area, std::int32_t rectIndex, std::int32_t* rect) noexcept {
  if (rect == nullptr) return hsOk;
  TMouseHookRect r = EmptyRect;
  const int status = ChangeClient(window, [&](TMouseHookClient& client) { r = GetArea(client, area, rectIndex); });
  rect[0] = r.Left;
  rect[1] = r.Top;
  rect[2] = r.Right;
  rect[3] = r.Bottom;
  return status;
}

int WINAPI mhAssumeInside(DWORD window, std::int32_t area) noexcept {
  return ChangeClient(window, [&](TMouseHookClient& client) { AssumeInside(client, area); });
}

int WINAPI mhMoveEvents(DWORD window, BYTE on) noexcept {
  return ChangeClient(window, [&](TMouseHookClient& client) { client.MoveEvents = on ? 1 : 0; });
}

int WINAPI mhMenuScroll(DWORD window, BYTE on) noexcept {
  return ChangeClient(window, [&](TMouseHookClient& client) { client.MenuScroll = on ? 1 : 0; });
}

}  // extern "C"
