// The modules' effects on Windows: GetSystemPowerStatus, the logical drives,
// and the shell's recycle-bin calls (wide).
#include <windows.h>
// after windows.h
#include <shellapi.h>
#include <shlobj.h>

#include "launcher/ov3modsys.h"
#include "platform/win_util_win.h"

namespace {

class TWinModuleSystem : public TOvModuleSystem {
 public:
  TPowerStatus PowerStatus() override {
    SYSTEM_POWER_STATUS s{};
    TPowerStatus p;
    if (!GetSystemPowerStatus(&s)) return p;
    p.ACLineStatus = s.ACLineStatus;
    p.BatteryFlag = s.BatteryFlag;
    p.BatteryLifePercent = s.BatteryLifePercent;
    return p;
  }

  std::vector<String> FixedDriveRoots() override {
    std::vector<String> roots;
    const DWORD mask = GetLogicalDrives();
    for (int i = 0; i < 26; ++i) {
      if (!(mask & (1u << i))) continue;
      const String root = String(1, static_cast<char>('a' + i)) + ":\\";
      if (GetDriveTypeW(WidePath(root).c_str()) == DRIVE_FIXED) roots.push_back(root);
    }
    return roots;
  }

  bool QueryRecycleBin(const String& Root, std::int64_t& Count, std::int64_t& Size) override {
    SHQUERYRBINFO info{};
    info.cbSize = sizeof(info);
    if (FAILED(SHQueryRecycleBinW(WidePath(Root).c_str(), &info))) return false;
    Count = info.i64NumItems;
    Size = info.i64Size;
    return true;
  }

  void EmptyRecycleBins(const std::vector<String>& Roots) override {
    for (const String& root : Roots)
      SHEmptyRecycleBinW(nullptr, WidePath(root).c_str(), SHERB_NOCONFIRMATION | SHERB_NOPROGRESSUI | SHERB_NOSOUND);
    // Not in every SDK's headers: asked of shell32 by name.
    if (HMODULE shell = GetModuleHandleW(L"shell32.dll")) {
      using TUpdateIcon = void(WINAPI*)();
      if (auto update =
              reinterpret_cast<TUpdateIcon>(reinterpret_cast<void*>(GetProcAddress(shell, "SHUpdateRecycleBinIcon"))))
        update();
    }
  }

  void OpenRecycleBinFolder() override {
    PIDLIST_ABSOLUTE items = nullptr;
    if (FAILED(SHGetSpecialFolderLocation(nullptr, CSIDL_BITBUCKET, &items)) || !items) return;
    SHELLEXECUTEINFOW info{};
    info.cbSize = sizeof(info);
    info.fMask = SEE_MASK_IDLIST | SEE_MASK_FLAG_DDEWAIT;
    info.lpVerb = L"open";
    info.lpIDList = items;
    info.nShow = SW_SHOWNORMAL;
    ShellExecuteExW(&info);
    CoTaskMemFree(items);
  }
};

}  // namespace

TOvModuleSystem& SystemModuleSystem() {
  static TWinModuleSystem system;
  return system;
}
