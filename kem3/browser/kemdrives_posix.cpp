// The native build has no drive letters: every look-up fails, quietly.
#include "kem3/browser/kemdrives.h"

namespace {

class TPosixDriveSystem : public TDriveSystem {
 public:
  unsigned FailCriticalErrors() override { return 0; }
  void RestoreErrorMode(unsigned) override {}
  bool VolumeLabel(const WideString&, WideString&) override { return false; }
  bool RemoteName(const WideString&, WideString&) override { return false; }
};

}  // namespace

TDriveSystem& DriveSystem() {
  static TPosixDriveSystem system;
  return system;
}
