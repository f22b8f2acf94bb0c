// Natively the modules see no battery, no drives and no recycle bin.
#include "launcher/ov3modsys.h"

namespace {

class TPosixModuleSystem : public TOvModuleSystem {
 public:
  TPowerStatus PowerStatus() override { return {}; }
  std::vector<String> FixedDriveRoots() override { return {}; }
  bool QueryRecycleBin(const String&, std::int64_t&, std::int64_t&) override { return false; }
  void EmptyRecycleBins(const std::vector<String>&) override {}
  void OpenRecycleBinFolder() override {}
};

}  // namespace

TOvModuleSystem& SystemModuleSystem() {
  static TPosixModuleSystem system;
  return system;
}
