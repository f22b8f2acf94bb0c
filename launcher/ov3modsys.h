// The system effects the bar modules need, behind one small interface: the
// power status, the fixed drives, and the recycle bins (query, empty, open).
// The Windows build fills it with the wide calls; tests put a fake in place.
#pragma once
#include <cstdint>
#include <vector>

#include "launcher/ov3modrules.h"

class TOvModuleSystem {
 public:
  virtual ~TOvModuleSystem() = default;
  virtual TPowerStatus PowerStatus() = 0;
  // "c:\", "d:\"… for every fixed drive.
  virtual std::vector<String> FixedDriveRoots() = 0;
  // False when the drive's bin cannot be asked.
  virtual bool QueryRecycleBin(const String& Root, std::int64_t& Count, std::int64_t& Size) = 0;
  // Without confirmation, progress or sound; the bin's icon follows at the end.
  virtual void EmptyRecycleBins(const std::vector<String>& Roots) = 0;
  virtual void OpenRecycleBinFolder() = 0;
};

// The system's effects (ov3modsys_win.cpp; natively a system without power
// data or drives), or the one a test put in place.
TOvModuleSystem& ModuleSystem();
// Puts System in place (nullptr: the system's) and returns the one it replaces.
TOvModuleSystem* SetModuleSystem(TOvModuleSystem* System);
// The system's own (the part each build fills).
TOvModuleSystem& SystemModuleSystem();
