// Units of measure: the table's shape, conversions and name lookup.
#include "kem3/framework/kemunits.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

namespace {

constexpr TUnit umm = 1, um = 2, uinch = 5, ufoot = 6, umile = 8, udeg = 9, urad = 10, ugrad = 11, uxto1 = 12,
                u1tox = 13, umm2 = 15, uinch2 = 18, umm3 = 23, uinch3 = 26, ums = 31, us = 32, ums_ = 33, ukmh = 34,
                umileh = 35, ums2 = 36, ukmh2 = 37, ug = 39, ukg = 40, ucel = 42, ukel = 43, ufah = 44, urea = 45,
                ux = 46, upercent = 47, upermille = 48;

TEST(Units, CategoriesStartWhereUnitListsExpectThem) {
  const TUnit first[] = {0, 9, 14, 22, 30, 33, 36, 39, 42, 46, 49};
  int total = 0;
  for (int c = 0; c < UnitCategoryCount; ++c) {
    const auto cat = static_cast<TUnitCategory>(c);
    EXPECT_EQ(FirstUnitOf(cat), first[c]);
    for (int i = 0; i < UnitCountOf(cat); ++i) EXPECT_EQ(GetUnitCategory(FirstUnitOf(cat) + i), cat);
    total += UnitCountOf(cat);
  }
  EXPECT_EQ(total, UnitCount);
  // Each category's base unit has factor 1 (angles: rad; temperature: °C).
  for (TUnit base : {umm, urad, umm2, umm3, ums, ums_, ums2, ug, ucel, ux, unNone}) {
    EXPECT_EQ(UnitInfo(base).Factor, 1.0) << int(base);
  }
}

TEST(Units, NamesAndLookup) {
  EXPECT_EQ(UnitName(umm), "mm");
  EXPECT_EQ(UnitName(udeg), "deg");
  EXPECT_EQ(UnitName(upermille), "x1000");
  EXPECT_EQ(UnitDisplayName(0), u"µm");
  EXPECT_EQ(UnitDisplayName(udeg), u"°");
  EXPECT_EQ(UnitDisplayName(upermille), u"‰");
  EXPECT_EQ(FindUnit("MM"), umm);
  EXPECT_EQ(FindUnit("Mile_H"), umileh);
  EXPECT_EQ(FindUnit("cm"), unNone);  // not a unit of the table
  EXPECT_EQ(FindUnit(""), unNone);
  EXPECT_EQ(FindUnit("-"), unNone);
  for (int i = 0; i < UnitCount; ++i) EXPECT_EQ(FindUnit(UnitName(static_cast<TUnit>(i))), i);
}

TEST(Units, IndexesPastTheTableCountAsNoUnit) {
  EXPECT_EQ(UnitName(50), "-");
  EXPECT_EQ(UnitName(200), "-");
  EXPECT_EQ(GetUnitCategory(255), ucNone);
  EXPECT_EQ(ConvertUnit(99, 200, 12.5), 12.5);
  EXPECT_EQ(ConvertUnit(umm, 77, 12.5), 12.5);  // into "no unit": the number stays
  EXPECT_EQ(FirstUnitOf(static_cast<TUnitCategory>(11)), unNone);
  EXPECT_EQ(UnitCountOf(static_cast<TUnitCategory>(11)), 0);
}

TEST(Units, Lengths) {
  EXPECT_DOUBLE_EQ(ConvertUnit(umm, uinch, 25.4), 1.0);
  EXPECT_DOUBLE_EQ(ConvertUnit(uinch, umm, 1.0), 25.4);
  EXPECT_DOUBLE_EQ(ConvertUnit(ufoot, uinch, 1.0), 12.0);
  EXPECT_DOUBLE_EQ(ConvertUnit(umile, um, 1.0), 1609.344);
  EXPECT_DOUBLE_EQ(ConvertUnit(um, umm, 2.5), 2500.0);
  EXPECT_DOUBLE_EQ(ConvertUnit(uinch2, umm2, 1.0), 645.16);
  EXPECT_DOUBLE_EQ(ConvertUnit(uinch3, umm3, 1.0), 16387.064);
}

TEST(Units, SpeedsAndAccelerationsUseExactFactors) {
  EXPECT_DOUBLE_EQ(ConvertUnit(ums_, ukmh, 10.0), 36.0);
  EXPECT_DOUBLE_EQ(ConvertUnit(umileh, ukmh, 1.0), 1.609344);
  // One m/s² is 12,960 km/h²; a mile per hour squared is 1.609344 km/h².
  EXPECT_DOUBLE_EQ(ConvertUnit(ums2, ukmh2, 1.0), 12960.0);
  EXPECT_DOUBLE_EQ(ConvertUnit(ums2 + 2, ukmh2, 1.0), 1.609344);
  EXPECT_DOUBLE_EQ(ConvertUnit(ukg, ug, 1.5), 1500.0);
  EXPECT_DOUBLE_EQ(ConvertUnit(us, ums, 2.5), 2500.0);
}

TEST(Units, AnglesAndSlopes) {
  EXPECT_DOUBLE_EQ(ConvertUnit(udeg, uxto1, 45.0), 1.0);
  EXPECT_DOUBLE_EQ(ConvertUnit(uxto1, udeg, 1.0), 45.0);
  EXPECT_EQ(ConvertUnit(udeg, uxto1, 90.0), INFINITY);
  EXPECT_DOUBLE_EQ(ConvertUnit(udeg, ugrad, 90.0), 100.0);
  EXPECT_DOUBLE_EQ(ConvertUnit(udeg, urad, 180.0), std::numbers::pi);
  // 1:x is the cotangent: 45° is 1, a slope of 1:2 is atan(1/2).
  EXPECT_DOUBLE_EQ(ConvertUnit(udeg, u1tox, 45.0), 1.0);
  EXPECT_DOUBLE_EQ(ConvertUnit(u1tox, urad, 2.0), std::atan(0.5));
  EXPECT_EQ(ConvertUnit(udeg, u1tox, 0.0), INFINITY);   // tangent 0
  EXPECT_EQ(ConvertUnit(udeg, u1tox, 90.0), INFINITY);  // cosine 0
  // Where the trigonometry has no answer the value passes unchanged.
  EXPECT_EQ(ConvertUnit(urad, uxto1, INFINITY), INFINITY);
  EXPECT_TRUE(std::isnan(ConvertUnit(urad, u1tox, NAN)));
}

TEST(Units, Temperatures) {
  EXPECT_DOUBLE_EQ(ConvertUnit(ucel, ufah, 100.0), 212.0);
  EXPECT_DOUBLE_EQ(ConvertUnit(ucel, ukel, 100.0), 373.15);
  EXPECT_DOUBLE_EQ(ConvertUnit(ucel, urea, 100.0), 80.0);
  EXPECT_DOUBLE_EQ(ConvertUnit(ucel, urea, 0.0), 0.0);
  EXPECT_DOUBLE_EQ(ConvertUnit(ufah, ukel, 32.0), 273.15);
  EXPECT_DOUBLE_EQ(ConvertUnit(ukel, ufah, 373.15), 212.0);
  EXPECT_DOUBLE_EQ(ConvertUnit(urea, ucel, 80.0), 100.0);
}

TEST(Units, ScalesAndTheSameUnit) {
  EXPECT_DOUBLE_EQ(ConvertUnit(ux, upercent, 1.0), 100.0);
  EXPECT_DOUBLE_EQ(ConvertUnit(ux, upermille, 1.0), 1000.0);
  EXPECT_DOUBLE_EQ(ConvertUnit(upercent, upermille, 5.0), 50.0);
  // The same unit returns the value itself, even where a step would change it.
  EXPECT_EQ(ConvertUnit(ukel, ukel, 1.2345678901234567), 1.2345678901234567);
  EXPECT_EQ(ConvertUnit(uxto1, uxto1, 1e300), 1e300);
}

}  // namespace
