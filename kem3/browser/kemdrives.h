// Display names of drives for the file browser's drive list: the network path
// a drive is connected to, else its volume label in brackets. The system comes
// in through TDriveSystem, so the names are made the same way natively.
#pragma once
#include "platform/types.h"

class TDriveSystem {
 public:
  virtual ~TDriveSystem() = default;
  // Makes the calling thread fail critical errors (no box for an empty or
  // unready drive) and returns the mode it replaces.
  virtual unsigned FailCriticalErrors() = 0;
  virtual void RestoreErrorMode(unsigned Mode) = 0;
  // The label of the volume at Root ("C:\"); false when it cannot be read.
  virtual bool VolumeLabel(const WideString& Root, WideString& Label) = 0;
  // The remote name LocalName ("C:") is connected to; false for none.
  virtual bool RemoteName(const WideString& LocalName, WideString& Remote) = 0;
};

// The system's (Windows), or one that knows no drives (native build).
TDriveSystem& DriveSystem();

// "[" + label + "]"; "[]" when the volume cannot be read.
WideString DriveVolumeLabel(WideChar Drive, TDriveSystem& System = DriveSystem());
// The remote name of a connected network drive, else DriveVolumeLabel.
WideString DriveDisplayName(WideChar Drive, TDriveSystem& System = DriveSystem());
