// What the mouse and the keyboard hook do alike on Windows: naming a client's
// section, changing it for an export, and installing and removing a client.
#pragma once
#include <windows.h>

#include <cstdint>

#include "hooklib/kemhsection_win.h"
#include "hooklib/kemhshared.h"

namespace kemh {

// A hook describes itself to these templates with a traits struct:
//   Shared, Client              layouts of the global and of a client's section
//   SharedSectionName           also the prefix of the client sections' names
//   SharedSectionSize, ClientSectionSize, ClientCount
//   HookType, HookProc          what SetWindowsHookExA gets
//   HookSet(Shared&)            after the system hook was set
//   Installed(Shared&)          at the end of every install
// and ResetClient(Client&, window) lives beside Client.

template <class Hook>
class TClientSectionName {
 public:
  explicit TClientSectionName(std::uint32_t window) noexcept {
    FormatClientSectionName(text_, Hook::SharedSectionName, window);
  }
  const char* c_str() const noexcept { return text_; }

 private:
  char text_[SectionNameSize];
};

// Opens the section of a window for one change by an export; for a window that
// is not installed the section vanishes again when the view closes.
template <class Hook, class Change>
int ChangeClient(DWORD window, Change&& change) noexcept {
  TSectionView view;
  const THookStatus status = view.Create(TClientSectionName<Hook>(window).c_str(), Hook::ClientSectionSize);
  if (status != hsOk) return status;
  change(*view.As<typename Hook::Client>());
  return hsOk;
}

// The clients one process installed with one hook. Holds nothing but plain
// data, so a table at namespace scope is zero when the library is loaded.
template <class Hook>
class THookClients {
 public:
  // Window 0 is refused: nothing is installed, as no message could reach it.
  int Install(DWORD window) noexcept {
    if (window == 0) return hsOk;
    THookLock lock;
    bool reused = false;
    TLocalHookSlot* slot = local_.Alloc(window, reused);
    if (slot == nullptr) return hsNoResources;
    TSectionView global, client;
    THookStatus status = global.Create(Hook::SharedSectionName, Hook::SharedSectionSize);
    if (status == hsOk) status = client.Create(TClientSectionName<Hook>(window).c_str(), Hook::ClientSectionSize);
    if (status != hsOk) {
      if (!reused) *slot = TLocalHookSlot{};
      return status;
    }
    auto& shared = *global.As<typename Hook::Shared>();
    if (shared.Hook == 0) {
      HHOOK hook = SetWindowsHookExA(Hook::HookType, Hook::HookProc, LibraryModule(), 0);
      if (hook == nullptr) {
        if (!reused) *slot = TLocalHookSlot{};
        return hsNoResources;
      }
      shared.Hook = StoreHandle(reinterpret_cast<std::uintptr_t>(hook));
      Hook::HookSet(shared);
    }
    // A full global table leaves the window unregistered: it simply gets no messages.
    AddClientSlot(shared.Clients, Hook::ClientCount, window);
    ResetClient(*client.As<typename Hook::Client>(), window);
    Hook::Installed(shared);
    // The new handles keep both sections alive; a second install swaps them in.
    CloseSectionHandle(slot->SharedSection);
    CloseSectionHandle(slot->ClientSection);
    slot->SharedSection = global.Detach();
    slot->ClientSection = client.Detach();
    return hsOk;
  }

  // The system hook goes with the last client of all processes; this process
  // lets go of the window's sections even when the global one failed to open.
  int Remove(DWORD window) noexcept {
    if (window == 0) return hsOk;
    THookLock lock;
    TSectionView global;
    const THookStatus status = global.Create(Hook::SharedSectionName, Hook::SharedSectionSize);
    if (status == hsOk) {
      auto& shared = *global.As<typename Hook::Shared>();
      if (RemoveClientSlots(shared.Clients, Hook::ClientCount, window) == 0 && shared.Hook != 0) {
        UnhookWindowsHookEx(HookOf(shared.Hook));
        shared.Hook = 0;
      }
    }
    ReleaseLocalSlot(window);
    return status;
  }

 private:
  void ReleaseLocalSlot(DWORD window) noexcept {
    if (TLocalHookSlot* slot = local_.Find(window)) {
      CloseSectionHandle(slot->SharedSection);
      CloseSectionHandle(slot->ClientSection);
      *slot = TLocalHookSlot{};
    }
  }

  TLocalHookTable<Hook::ClientCount> local_;
};

}  // namespace kemh
