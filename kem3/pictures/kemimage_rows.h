// The rows of a bitmap's pixels for the bitmap routines: they lie bottom-up
// and contiguous, so one pointer and the stride reach every row and the
// memory is flushed once, not per row.
#pragma once
#include <cstddef>
#include <cstdint>
#include <type_traits>

#include "platform/bitmap.h"

// TByte is std::uint8_t for writing, const std::uint8_t for reading.
template <typename TByte>
struct TPixelRowsOf {
  using TBitmapRef = std::conditional_t<std::is_const_v<TByte>, const TBitmap&, TBitmap&>;
  // Bitmap must not be empty.
  explicit TPixelRowsOf(TBitmapRef Bitmap)
      : Top(static_cast<TByte*>(Bitmap.ScanLine(0))),
        Stride(Bitmap.ScanLineSize()),
        Width(Bitmap.Width()),
        Height(Bitmap.Height()) {}
  TByte* Row(std::int64_t Y) const { return Top - static_cast<std::ptrdiff_t>(Y) * Stride; }

  TByte* Top;
  std::ptrdiff_t Stride;
  int Width;
  int Height;
};
using TPixelRows = TPixelRowsOf<std::uint8_t>;
using TConstPixelRows = TPixelRowsOf<const std::uint8_t>;
