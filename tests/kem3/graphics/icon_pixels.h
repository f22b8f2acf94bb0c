// Pixels of the icon tests read back as 0xAARRGGBB.
#pragma once
#include <cstdint>

#include "platform/bitmap.h"

inline std::uint32_t Argb(const TBitmap& B, int X, int Y) {
  const TRGBQuad q = static_cast<const TRGBQuad*>(B.ScanLine(Y))[X];
  return std::uint32_t{q.rgbReserved} << 24 | std::uint32_t{q.rgbRed} << 16 | std::uint32_t{q.rgbGreen} << 8 |
         q.rgbBlue;
}
