// Drive names from the system, through the wide calls. The network library is
// loaded when first needed, so a program that never lists drives does not bind it.
#include <windows.h>

#include "kem3/browser/kemdrives.h"

namespace {

using TWNetGetConnectionW = DWORD(WINAPI*)(LPCWSTR, LPWSTR, LPDWORD);

constexpr DWORD kNameBuffer = MAX_PATH + 1;

LPCWSTR W(const WideString& s) { return reinterpret_cast<LPCWSTR>(s.c_str()); }

WideString FromBuffer(const wchar_t* text) {
  const auto* p = reinterpret_cast<const WideChar*>(text);
  return WideString(p, p + wcsnlen(text, kNameBuffer));
}

class TWinDriveSystem : public TDriveSystem {
 public:
  // Per thread: the browser's workers look drives up beside the GUI thread.
  unsigned FailCriticalErrors() override {
    DWORD old = 0;
    if (!SetThreadErrorMode(GetThreadErrorMode() | SEM_FAILCRITICALERRORS, &old)) old = GetThreadErrorMode();
    return old;
  }
  void RestoreErrorMode(unsigned Mode) override { SetThreadErrorMode(Mode, nullptr); }

  bool VolumeLabel(const WideString& Root, WideString& Label) override {
    wchar_t name[kNameBuffer] = {};
    if (!GetVolumeInformationW(W(Root), name, kNameBuffer, nullptr, nullptr, nullptr, nullptr, 0)) return false;
    Label = FromBuffer(name);
    return true;
  }

  bool RemoteName(const WideString& LocalName, WideString& Remote) override {
    static const auto getConnection = [] {
      HMODULE mpr = LoadLibraryW(L"mpr.dll");
      return mpr ? reinterpret_cast<TWNetGetConnectionW>(
                       reinterpret_cast<void*>(GetProcAddress(mpr, "WNetGetConnectionW")))
                 : nullptr;
    }();
    if (!getConnection) return false;
    wchar_t name[kNameBuffer] = {};
    DWORD length = kNameBuffer;
    if (getConnection(W(LocalName), name, &length) != NO_ERROR) return false;
    Remote = FromBuffer(name);
    return true;
  }
};

}  // namespace

TDriveSystem& DriveSystem() {
  static TWinDriveSystem system;
  return system;
}
