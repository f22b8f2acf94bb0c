// The native build's system for the browser's workers: it lists nothing.
#include "kem3/framework/kembrwork.h"

namespace {
class TNoBrowserSystem : public TBrowserSystem {
 public:
  unsigned FailCriticalErrors() override { return 0; }
  void RestoreErrorMode(unsigned) override {}
  bool VolumeLabel(const WideString&, WideString&) override { return false; }
  bool RemoteName(const WideString&, WideString&) override { return false; }
  bool ListFolder(const WideString&, const std::function<bool(const TBrowseFindData&)>&) override { return false; }
  bool FileInfo(const WideString&, TBrowseFindData&) override { return false; }
  std::uint32_t LogicalDrives() override { return 0; }
  int DriveType(const WideString&) override { return 0; }
  bool VolumeInfo(const WideString&, WideString&, bool&) override { return false; }
  bool DiskSizes(const WideString&, std::int64_t&, std::int64_t&) override { return false; }
  bool SpecialFolder(TBrowseSpecialFolder, WideString&) override { return false; }
  std::unique_ptr<TNetEnum> OpenNetwork(const TNetNode*) override { return nullptr; }
  std::uint32_t Connect(const WideString&) override { return 53; }
  std::unique_ptr<TNetEnum> OpenShares(const WideString&) override { return nullptr; }
  String ShortDateOrder() override { return "d.m.y"; }
};
}  // namespace

TBrowserSystem& SystemBrowserSystem() {
  static TNoBrowserSystem system;
  return system;
}

void ShowSystemBrowserMessage(const WideString&, const WideString&) {}
