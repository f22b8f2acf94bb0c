// Units of measure: a fixed table of 50 units in eleven categories, so float
// settings can be kept and edited in a unit the user chooses, and conversion
// between any two units of one category.
#pragma once
#include <cstdint>

#include "platform/types.h"

using TUnit = std::uint8_t;

enum TUnitCategory : std::uint8_t {
  ucLength,
  ucAngle,  // angles and slopes
  ucArea,
  ucVolume,
  ucTime,
  ucSpeed,
  ucAcceleration,
  ucMass,
  ucTemperature,
  ucScale,
  ucNone,
};

inline constexpr int UnitCount = 50;
inline constexpr int UnitCategoryCount = 11;
// Indexes that other code names.
inline constexpr TUnit unMillimetre = 1;
inline constexpr TUnit unDegree = 9;
inline constexpr TUnit unMillisecond = 31;
inline constexpr TUnit unNone = 49;

// Non-linear steps around the factor, by the codes the table uses.
enum TUnitKind : std::uint8_t {
  ukNone,
  ukTangent,         // tan y; +infinity where the cosine vanishes
  ukArcTangent,      // atan y
  ukCotangent,       // 1 / tan y; +infinity where the tangent or cosine vanishes
  ukArcCotangent,    // atan (1 / y)
  ukPlus27315,       // y + 273.15
  ukMinus27315,      // y - 273.15
  ukToFahrenheit,    // y * 9 / 5 + 32
  ukFromFahrenheit,  // (y - 32) * 5 / 9
};

struct TUnitInfo {
  const char16_t* DisplayName;  // shown in unit lists
  const char* ShortName;        // stored in the settings file
  double Factor;                // value in this unit = value in the base unit * Factor
  TUnitCategory Category;
  TUnitKind KindToBase;    // applied after dividing by the factor
  TUnitKind KindFromBase;  // applied before multiplying by the factor
};

// The record of a unit; an index of UnitCount or more counts as unNone, so a
// bad index from a file never reads past the table.
const TUnitInfo& UnitInfo(TUnit Unit);

// Converts Value from one unit to another (of the same category; across
// categories only the factors apply).
double ConvertUnit(TUnit From, TUnit To, double Value);
// The short name ("mm") that the settings file stores.
String UnitName(TUnit Unit);
// The name shown in unit lists ("µm").
WideString UnitDisplayName(TUnit Unit);
TUnitCategory GetUnitCategory(TUnit Unit);
// The first unit whose short name equals Name without regard to case; unNone
// when none does.
TUnit FindUnit(const String& Name);
// The first unit of a category (0, 9, 14, 22, 30, 33, 36, 39, 42, 46, 49) and
// how many units it has; a unit list's entry i is FirstUnitOf + i.
TUnit FirstUnitOf(TUnitCategory Category);
int UnitCountOf(TUnitCategory Category);
