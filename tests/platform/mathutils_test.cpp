#include "platform/mathutils.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {
constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();
constexpr std::int64_t kMin = std::numeric_limits<std::int64_t>::min();
constexpr double kInf = std::numeric_limits<double>::infinity();
}  // namespace

TEST(MathUtils, RoundHalvesToEven) {
  EXPECT_EQ(Round(2.5), 2);
  EXPECT_EQ(Round(3.5), 4);
  EXPECT_EQ(Round(0.5), 0);
  EXPECT_EQ(Round(1.5), 2);
  EXPECT_EQ(Round(-0.5), 0);
  EXPECT_EQ(Round(-1.5), -2);
  EXPECT_EQ(Round(-2.5), -2);
  EXPECT_EQ(Round(21.0 / 2 - 2), 8);  // (21 - 4) / 2 = 8.5
  EXPECT_EQ(Round(2.4999999999999996), 2);
  EXPECT_EQ(Round(2.5000000000000004), 3);
  EXPECT_EQ(Round(0.49999999999999994), 0);  // the largest double below 0.5: no false tie
  EXPECT_EQ(Round(-2.6), -3);
  EXPECT_EQ(Round(4503599627370497.0), 4503599627370497);  // 2^52 + 1: already whole
  EXPECT_EQ(Round(9007199254740993.0), 9007199254740992);  // not representable; rounds to the double
}

TEST(MathUtils, TruncFloorCeil) {
  EXPECT_EQ(Trunc(2.9), 2);
  EXPECT_EQ(Trunc(-2.9), -2);
  EXPECT_EQ(Trunc(-0.1), 0);
  EXPECT_EQ(Floor(-2.1), -3);
  EXPECT_EQ(Floor(2.9), 2);
  EXPECT_EQ(Ceil(2.1), 3);
  EXPECT_EQ(Ceil(-2.9), -2);
}

TEST(MathUtils, OutOfRangeClampsAndNanIsZero) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  for (auto f : {Round, Trunc, Floor, Ceil}) {
    EXPECT_EQ(f(nan), 0);
    EXPECT_EQ(f(kInf), kMax);
    EXPECT_EQ(f(-kInf), kMin);
    EXPECT_EQ(f(1e300), kMax);
    EXPECT_EQ(f(-1e300), kMin);
    EXPECT_EQ(f(9223372036854775808.0), kMax);                 // 2^63, one past the top
    EXPECT_EQ(f(-9223372036854775808.0), kMin);                // -2^63 itself fits
    EXPECT_EQ(f(9223372036854774784.0), 9223372036854774784);  // the largest double below 2^63
  }
}
