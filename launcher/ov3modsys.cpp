// The replaceable module effects.
#include "launcher/ov3modsys.h"

#include <atomic>

namespace {
std::atomic<TOvModuleSystem*> gSystem{nullptr};
}  // namespace

TOvModuleSystem& ModuleSystem() {
  TOvModuleSystem* s = gSystem.load();
  return s ? *s : SystemModuleSystem();
}

TOvModuleSystem* SetModuleSystem(TOvModuleSystem* System) { return gSystem.exchange(System); }
