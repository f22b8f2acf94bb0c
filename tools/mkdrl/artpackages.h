// The resource packages of the default contents, drawn by code. Each
// holds the entries its bar module reads, under the names it asks for.
#pragma once
#include <vector>

#include "artcanvas.h"
#include "tools/common/drlwriter.h"

namespace art {

using TPackage = std::vector<kempack::TPackageItem>;

// Analog clock, 256 x 256: "back" (face), "hour", "min", "sec" (hands pointing
// at twelve, turned by the module about "org"), "over" (cap and glass), and
// the string "org" with the centre of rotation.
TPackage ClockPackage();
// Desk calendar, 128 x 128: month pages "m01" to "m12" and day numbers "d01"
// to "d31" on transparent ground, blended onto the page.
TPackage CalendarPackage();
// Recycle bin, 128 x 128: "empty" and "full".
TPackage RecycleBinPackage();
// Battery, 128 x 128: "na" (no data), "cf" (mains power), "c0" to "c8"
// (charging) and "u0" to "u8" (on battery), by eighths of charge.
TPackage BatteryPackage();

// An image entry of type PNG, and a string entry.
kempack::TPackageItem ImageItem(const String& Name, const TArtCanvas& Canvas);
kempack::TPackageItem StringItem(const String& Name, const String& Value);

}  // namespace art
