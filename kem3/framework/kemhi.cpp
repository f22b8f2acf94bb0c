// Notifications, status texts and function names of the hook-library binding.
#include "kem3/framework/kemhi.h"

#include "platform/sysutils.h"

const char* const HookFunctionNames[HookFunctionCount] = {
    "hlGetTitle",    "hlGetCopyright", "hlGetVersion",   "mhInstallHook",  "mhRemoveHook",
    "mhSetArea",     "mhGetArea",      "mhAssumeInside", "mhMoveEvents",   "mhMenuScroll",
    "khInstallHook", "khRemoveHook",   "khSetHotkey",    "khRemoveHotkey", "khClearHotkeys",
};

int HookEventKind(std::uintptr_t wparam) { return static_cast<int>(wparam & 0xF); }

String HookStatusText(int status, std::uint32_t errorCode) {
  switch (status) {
    case hlsNoResources:
      return "No available hook resources.";
    case hlsCreateMapping:
      return "Failed to create file mapping. " + IntToStr(errorCode);
    case hlsMapView:
      return "Failed to map view of file. " + IntToStr(errorCode);
    default:
      return String();
  }
}

void CheckHookStatus(int status, std::uint32_t errorCode) {
  String text = HookStatusText(status, errorCode);
  if (!text.empty()) throw EKemHookError(std::move(text));
}
