// The drive list's display names.
#include "kem3/browser/kemdrives.h"

namespace {

// The thread's error mode for the span of one look-up, restored however it ends.
class TErrorModeGuard {
 public:
  explicit TErrorModeGuard(TDriveSystem& System) : FSystem(System), FMode(System.FailCriticalErrors()) {}
  ~TErrorModeGuard() { FSystem.RestoreErrorMode(FMode); }
  TErrorModeGuard(const TErrorModeGuard&) = delete;
  TErrorModeGuard& operator=(const TErrorModeGuard&) = delete;

 private:
  TDriveSystem& FSystem;
  unsigned FMode;
};

}  // namespace

WideString DriveVolumeLabel(WideChar Drive, TDriveSystem& System) {
  TErrorModeGuard guard(System);
  WideString label;
  if (!System.VolumeLabel(WideString{Drive, u':', u'\\'}, label)) label.clear();
  return u"[" + label + u"]";
}

WideString DriveDisplayName(WideChar Drive, TDriveSystem& System) {
  TErrorModeGuard guard(System);
  const WideChar letter = Drive >= u'a' && Drive <= u'z' ? static_cast<WideChar>(Drive - u'a' + u'A') : Drive;
  WideString remote;
  if (System.RemoteName(WideString{letter, u':'}, remote)) return remote;
  return DriveVolumeLabel(Drive, System);
}
