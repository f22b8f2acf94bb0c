// Shared sections, the cross-process lock and the module handle of the hook library.
#include "hooklib/kemhsection_win.h"

namespace kemh {

THookStatus TSectionView::Create(const char* name, std::uint32_t size) noexcept {
  Close();
  mapping_ = CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, size, name);
  if (mapping_ == nullptr) return hsCreateMapping;
  return Map(size);
}

bool TSectionView::Open(const char* name, std::uint32_t size) noexcept {
  Close();
  mapping_ = OpenFileMappingA(FILE_MAP_ALL_ACCESS, FALSE, name);
  return mapping_ != nullptr && Map(size) == hsOk;
}

THookStatus TSectionView::Map(std::uint32_t size) noexcept {
  view_ = MapViewOfFile(mapping_, FILE_MAP_ALL_ACCESS, 0, 0, size);
  if (view_ != nullptr) return hsOk;
  const DWORD error = GetLastError();
  CloseHandle(mapping_);
  mapping_ = nullptr;
  SetLastError(error);
  return hsMapView;
}

HANDLE TSectionView::Detach() noexcept {
  if (view_ != nullptr) UnmapViewOfFile(view_);
  view_ = nullptr;
  HANDLE mapping = mapping_;
  mapping_ = nullptr;
  return mapping;
}

void TSectionView::Close() noexcept {
  HANDLE mapping = Detach();
  if (mapping != nullptr) CloseHandle(mapping);
}

THookLock::THookLock(DWORD timeout) noexcept {
  mutex_ = CreateMutexA(nullptr, FALSE, "KEM3_Hook_Exports_Lock");
  if (mutex_ == nullptr) return;
  // A holder that died leaves the lock abandoned, which still hands it over. A
  // holder that hangs for seconds is not waited for: the exports go on unlocked
  // rather than freeze the caller's window.
  const DWORD wait = WaitForSingleObject(mutex_, timeout);
  owned_ = wait == WAIT_OBJECT_0 || wait == WAIT_ABANDONED;
}

THookLock::~THookLock() {
  if (mutex_ == nullptr) return;
  if (owned_) ReleaseMutex(mutex_);
  CloseHandle(mutex_);
}

HMODULE LibraryModule() noexcept {
  HMODULE module = nullptr;
  GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                     reinterpret_cast<LPCSTR>(&LibraryModule), &module);
  return module;
}

void CloseSectionHandle(void*& handle) noexcept {
  if (handle != nullptr) CloseHandle(static_cast<HANDLE>(handle));
  handle = nullptr;
}

void ClearDeadSlot(TClientSlot& slot, std::uint32_t window) noexcept {
  THookLock lock(0);
  if (lock.Owned()) ClearDeadClientSlot(slot, window);
}

}  // namespace kemh
