// The unit table and conversions between units.
#include "kem3/framework/kemunits.h"

#include <array>
#include <cmath>
#include <limits>
#include <numbers>

#include "platform/sysutils.h"

namespace {

using std::numbers::pi;

constexpr double kInch = 25.4;  // mm
constexpr double kFoot = 304.8;
constexpr double kYard = 914.4;
constexpr double kMile = 1609344.0;
constexpr double kMileKm = 1.609344;  // km

constexpr double Sq(double v) { return v * v; }
constexpr double Cube(double v) { return v * v * v; }

// Base units: mm, rad, mm², mm³, ms, m/s, m/s², g, °C, x, none. Factors are
// exact: the acceleration units take hours squared, not the speed factors.
constexpr std::array<TUnitInfo, UnitCount> kUnits{{
    {u"µm", "um", 1000.0, ucLength, ukNone, ukNone},
    {u"mm", "mm", 1.0, ucLength, ukNone, ukNone},
    {u"m", "m", 0.001, ucLength, ukNone, ukNone},
    {u"km", "km", 0.000001, ucLength, ukNone, ukNone},
    {u"mill", "mill", 1000.0 / kInch, ucLength, ukNone, ukNone},
    {u"inch", "inch", 1.0 / kInch, ucLength, ukNone, ukNone},
    {u"foot", "foot", 1.0 / kFoot, ucLength, ukNone, ukNone},
    {u"yard", "yard", 1.0 / kYard, ucLength, ukNone, ukNone},
    {u"mile", "mile", 1.0 / kMile, ucLength, ukNone, ukNone},
    {u"°", "deg", 180.0 / pi, ucAngle, ukNone, ukNone},
    {u"rad", "rad", 1.0, ucAngle, ukNone, ukNone},
    {u"grad", "grad", 200.0 / pi, ucAngle, ukNone, ukNone},
    {u"x:1", "xto1", 1.0, ucAngle, ukArcTangent, ukTangent},
    {u"1:x", "1tox", 1.0, ucAngle, ukArcCotangent, ukCotangent},
    {u"µm²", "um2", 1000000.0, ucArea, ukNone, ukNone},
    {u"mm²", "mm2", 1.0, ucArea, ukNone, ukNone},
    {u"m²", "m2", 0.000001, ucArea, ukNone, ukNone},
    {u"mill²", "mill2", Sq(1000.0 / kInch), ucArea, ukNone, ukNone},
    {u"inch²", "inch2", 1.0 / Sq(kInch), ucArea, ukNone, ukNone},
    {u"foot²", "foot2", 1.0 / Sq(kFoot), ucArea, ukNone, ukNone},
    {u"yard²", "yard2", 1.0 / Sq(kYard), ucArea, ukNone, ukNone},
    {u"mile²", "mile2", 1.0 / Sq(kMile), ucArea, ukNone, ukNone},
    {u"µm³", "um3", 1000000000.0, ucVolume, ukNone, ukNone},
    {u"mm³", "mm3", 1.0, ucVolume, ukNone, ukNone},
    {u"m³", "m3", 1e-09, ucVolume, ukNone, ukNone},
    {u"mill³", "mill3", Cube(1000.0 / kInch), ucVolume, ukNone, ukNone},
    {u"inch³", "inch3", 1.0 / Cube(kInch), ucVolume, ukNone, ukNone},
    {u"foot³", "foot3", 1.0 / Cube(kFoot), ucVolume, ukNone, ukNone},
    {u"yard³", "yard3", 1.0 / Cube(kYard), ucVolume, ukNone, ukNone},
    {u"mile³", "mile3", 1.0 / Cube(kMile), ucVolume, ukNone, ukNone},
    {u"µs", "us", 1000.0, ucTime, ukNone, ukNone},
    {u"ms", "ms", 1.0, ucTime, ukNone, ukNone},
    {u"s", "s", 0.001, ucTime, ukNone, ukNone},
    {u"m/s", "m_s", 1.0, ucSpeed, ukNone, ukNone},
    {u"km/h", "km_h", 3.6, ucSpeed, ukNone, ukNone},
    {u"mile/h", "mile_h", 3.6 / kMileKm, ucSpeed, ukNone, ukNone},
    {u"m/s²", "m_s2", 1.0, ucAcceleration, ukNone, ukNone},
    {u"km/h²", "km_h2", 3600.0 * 3.6, ucAcceleration, ukNone, ukNone},
    {u"mile/h²", "mile_h2", 3600.0 * 3.6 / kMileKm, ucAcceleration, ukNone, ukNone},
    {u"g", "g", 1.0, ucMass, ukNone, ukNone},
    {u"kg", "kg", 0.001, ucMass, ukNone, ukNone},
    {u"ton", "ton", 0.000001, ucMass, ukNone, ukNone},
    {u"°C", "cel", 1.0, ucTemperature, ukNone, ukNone},
    {u"K", "kel", 1.0, ucTemperature, ukMinus27315, ukPlus27315},
    {u"°F", "fah", 1.0, ucTemperature, ukFromFahrenheit, ukToFahrenheit},
    {u"°R", "rea", 0.8, ucTemperature, ukNone, ukNone},
    {u"x", "x", 1.0, ucScale, ukNone, ukNone},
    {u"%", "x100", 100.0, ucScale, ukNone, ukNone},
    {u"‰", "x1000", 1000.0, ucScale, ukNone, ukNone},
    {u"-", "-", 1.0, ucNone, ukNone, ukNone},
}};

constexpr std::array<TUnit, UnitCategoryCount + 1> kFirstUnit{0, 9, 14, 22, 30, 33, 36, 39, 42, 46, 49, UnitCount};

constexpr double kInfinity = std::numeric_limits<double>::infinity();
constexpr double kTiny = 1e-9;

TUnit Valid(TUnit Unit) { return Unit < UnitCount ? Unit : unNone; }

double Tangent(double y) {
  const double c = std::cos(y);
  if (std::fabs(c) < kTiny) return kInfinity;
  return std::sin(y) / c;
}

double Apply(TUnitKind Kind, double y) {
  switch (Kind) {
    case ukNone:
      return y;
    case ukTangent:
      // Where the trigonometry has no answer (infinite or NaN input) the value stays.
      return std::isfinite(y) ? Tangent(y) : y;
    case ukArcTangent:
      return std::atan(y);
    case ukCotangent: {
      if (!std::isfinite(y)) return y;
      const double t = Tangent(y);
      if (std::isinf(t) || std::fabs(t) < kTiny) return kInfinity;
      return 1.0 / t;
    }
    case ukArcCotangent:
      return std::atan(1.0 / y);
    case ukPlus27315:
      return y + 273.15;
    case ukMinus27315:
      return y - 273.15;
    case ukToFahrenheit:
      return y * 9.0 / 5.0 + 32.0;
    case ukFromFahrenheit:
      return (y - 32.0) * 5.0 / 9.0;
  }
  return y;
}

}  // namespace

const TUnitInfo& UnitInfo(TUnit Unit) { return kUnits[Valid(Unit)]; }

double ConvertUnit(TUnit From, TUnit To, double Value) {
  From = Valid(From);
  To = Valid(To);
  if (From == To) return Value;
  const TUnitInfo& from = kUnits[From];
  const TUnitInfo& to = kUnits[To];
  double y = Apply(from.KindToBase, Value / from.Factor);
  y = Apply(to.KindFromBase, y);
  return y * to.Factor;
}

String UnitName(TUnit Unit) { return UnitInfo(Unit).ShortName; }

WideString UnitDisplayName(TUnit Unit) { return UnitInfo(Unit).DisplayName; }

TUnitCategory GetUnitCategory(TUnit Unit) { return UnitInfo(Unit).Category; }

TUnit FindUnit(const String& Name) {
  for (int i = 0; i < UnitCount; ++i) {
    if (SameText(kUnits[i].ShortName, Name)) return static_cast<TUnit>(i);
  }
  return unNone;
}

TUnit FirstUnitOf(TUnitCategory Category) { return Category < UnitCategoryCount ? kFirstUnit[Category] : unNone; }

int UnitCountOf(TUnitCategory Category) {
  if (Category >= UnitCategoryCount) return 0;
  return kFirstUnit[Category + 1] - kFirstUnit[Category];
}
