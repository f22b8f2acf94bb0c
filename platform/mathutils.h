// Rounding of floating-point values to integers as the class library does it,
// without undefined behaviour: values beyond the int64 range clamp to its ends
// and NaN gives 0.
#pragma once
#include <cmath>
#include <cstdint>
#include <limits>

namespace mathutils_detail {

// 2^63 is exact in a double; every double below it converts without overflow.
inline constexpr double kTwoTo63 = 9223372036854775808.0;

// A value that already holds an integer, clamped into the int64 range.
inline std::int64_t ClampToInt64(double integral) {
  if (std::isnan(integral)) return 0;
  if (integral >= kTwoTo63) return std::numeric_limits<std::int64_t>::max();
  if (integral < -kTwoTo63) return std::numeric_limits<std::int64_t>::min();
  return static_cast<std::int64_t>(integral);
}

}  // namespace mathutils_detail

// Nearest integer; halves go to the even neighbour (2.5 -> 2, 3.5 -> 4, -2.5 -> -2).
inline std::int64_t Round(double value) {
  double whole = std::trunc(value);
  double rest = value - whole;  // exact for every double
  if (std::fabs(rest) > 0.5 || (std::fabs(rest) == 0.5 && std::fmod(whole, 2.0) != 0.0))
    whole += value < 0 ? -1.0 : 1.0;
  return mathutils_detail::ClampToInt64(whole);
}

// Toward zero.
inline std::int64_t Trunc(double value) { return mathutils_detail::ClampToInt64(std::trunc(value)); }

// Toward minus and plus infinity.
inline std::int64_t Floor(double value) { return mathutils_detail::ClampToInt64(std::floor(value)); }
inline std::int64_t Ceil(double value) { return mathutils_detail::ClampToInt64(std::ceil(value)); }
