// Shared sections and the cross-process lock of the hook library on Windows.
#pragma once
#include <windows.h>

#include <cstdint>

#include "hooklib/kemhshared.h"

namespace kemh {

// A section on the paging file, mapped for the life of this object. The exports
// create-or-open; the hook procedures only open, so a section that is gone stays
// gone. The view always covers the size we read, so a smaller foreign section
// of the same name fails to map instead of being read past its end.
class TSectionView {
 public:
  TSectionView() = default;
  TSectionView(const TSectionView&) = delete;
  TSectionView& operator=(const TSectionView&) = delete;
  ~TSectionView() { Close(); }

  // For the exports: hsOk, or hsCreateMapping / hsMapView with the system's
  // error code left as the last error.
  THookStatus Create(const char* name, std::uint32_t size) noexcept;
  // For the hook procedures: false when the section does not exist or cannot be mapped.
  bool Open(const char* name, std::uint32_t size) noexcept;

  template <class T>
  T* As() const noexcept {
    return static_cast<T*>(view_);
  }
  // Unmaps the view and hands over the mapping handle, which keeps the section alive.
  HANDLE Detach() noexcept;
  void Close() noexcept;

 private:
  THookStatus Map(std::uint32_t size) noexcept;
  HANDLE mapping_ = nullptr;
  void* view_ = nullptr;
};

// Serialises every change to the global client tables across processes, so
// two installing at once never set two system hooks or take one slot twice.
// The exports wait for it; a hook procedure only tries it (timeout 0) and, when
// an export holds it, leaves its change for a later message.
class THookLock {
 public:
  static constexpr DWORD ExportWait = 5000;
  explicit THookLock(DWORD timeout = ExportWait) noexcept;
  ~THookLock();
  THookLock(const THookLock&) = delete;
  THookLock& operator=(const THookLock&) = delete;
  bool Owned() const noexcept { return owned_; }

 private:
  HANDLE mutex_ = nullptr;
  bool owned_ = false;
};

// The library's own module, which the system loads into hooked processes.
HMODULE LibraryModule() noexcept;

inline HWND WindowOf(std::uint32_t stored) noexcept { return reinterpret_cast<HWND>(ReadHandle(stored)); }
inline HHOOK HookOf(std::uint32_t stored) noexcept { return reinterpret_cast<HHOOK>(ReadHandle(stored)); }

// A closed section handle of a local slot.
void CloseSectionHandle(void*& handle) noexcept;

// For hook procedures: clears the slot of a client window destroyed without
// removing its hook, under the lock and only when the lock is free at once.
void ClearDeadSlot(TClientSlot& slot, std::uint32_t window) noexcept;

}  // namespace kemh
