#include "platform/variant.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "platform/exceptions.h"

namespace {

std::string ErrorOf(const std::function<void()>& f) {
  try {
    f();
  } catch (const EVariantError& e) {
    return e.Message;
  }
  return "no error";
}

}  // namespace

TEST(Variant, KindsFollowTheAssignedValue) {
  EXPECT_EQ(Variant().VarType(), varEmpty);
  EXPECT_TRUE(Variant().IsEmpty());
  EXPECT_EQ(Variant::Null().VarType(), varNull);
  EXPECT_TRUE(VarIsNull(Variant::Null()));
  EXPECT_EQ(Variant(5).VarType(), varInteger);
  EXPECT_EQ(Variant(static_cast<unsigned char>(200)).VarType(), varInteger);
  EXPECT_EQ(Variant(static_cast<short>(-2)).VarType(), varInteger);
  EXPECT_EQ(Variant(std::int64_t{5}).VarType(), varInt64);
  EXPECT_EQ(Variant(4000000000u).VarType(), varInt64);
  EXPECT_EQ(Variant(4000000000u).AsInt64(), 4000000000);
  EXPECT_EQ(Variant(1.5).VarType(), varDouble);
  EXPECT_EQ(Variant(true).VarType(), varBoolean);
  EXPECT_EQ(Variant("x").VarType(), varString);
  EXPECT_EQ(Variant(String("x")).VarType(), varString);
  EXPECT_EQ(Variant('x').AsString(), "x");
  EXPECT_EQ(Variant(u"x").VarType(), varOleStr);
  EXPECT_TRUE(VarIsOrdinal(Variant(true)));
  EXPECT_TRUE(VarIsNumeric(Variant(2.0)));
  EXPECT_FALSE(VarIsNumeric(Variant("2")));
  EXPECT_TRUE(VarIsStr(Variant(u"2")));
  EXPECT_THROW(Variant(std::numeric_limits<std::uint64_t>::max()), EVariantError);
}

TEST(Variant, ToNumbers) {
  EXPECT_EQ(Variant().AsInteger(), 0);
  EXPECT_EQ(Variant("12").AsInteger(), 12);
  EXPECT_EQ(Variant(" -7").AsInteger(), -7);
  EXPECT_EQ(Variant("$1F").AsInteger(), 31);
  EXPECT_EQ(Variant(u"0x10").AsInt64(), 16);
  EXPECT_EQ(Variant("2.5").AsInteger(), 2);  // half to even
  EXPECT_EQ(Variant(3.5).AsInteger(), 4);
  EXPECT_EQ(Variant(-2.5).AsInteger(), -2);
  EXPECT_EQ(Variant(true).AsInteger(), -1);
  EXPECT_EQ(Variant(false).AsInt64(), 0);
  EXPECT_EQ(Variant(std::int64_t{-9}).AsInteger(), -9);
  EXPECT_DOUBLE_EQ(Variant("1.25").AsDouble(), 1.25);
  EXPECT_DOUBLE_EQ(Variant("1E3").AsDouble(), 1000.0);
  EXPECT_DOUBLE_EQ(Variant("$10").AsDouble(), 16.0);
  EXPECT_DOUBLE_EQ(Variant(7).AsDouble(), 7.0);
  EXPECT_DOUBLE_EQ(Variant(true).AsDouble(), -1.0);

  EXPECT_EQ(ErrorOf([] { Variant("abc").AsInteger(); }),
            "Could not convert variant of type (String) into type (Integer)");
  EXPECT_EQ(ErrorOf([] { Variant(u"abc").AsDouble(); }),
            "Could not convert variant of type (OleStr) into type (Double)");
  EXPECT_EQ(ErrorOf([] { Variant::Null().AsInt64(); }), "Could not convert variant of type (Null) into type (Int64)");
  EXPECT_EQ(ErrorOf([] { Variant("").AsInteger(); }), "Could not convert variant of type (String) into type (Integer)");
  EXPECT_EQ(ErrorOf([] { Variant(std::int64_t{1} << 40).AsInteger(); }),
            "Overflow while converting variant of type (Int64) into type (Integer)");
  EXPECT_EQ(ErrorOf([] { Variant(1e30).AsInt64(); }),
            "Overflow while converting variant of type (Double) into type (Int64)");
  EXPECT_EQ(ErrorOf([] { Variant(std::nan("")).AsInteger(); }),
            "Could not convert variant of type (Double) into type (Integer)");
  EXPECT_EQ(ErrorOf([] { Variant("99999999999").AsInteger(); }),
            "Overflow while converting variant of type (String) into type (Integer)");
}

TEST(Variant, ToBooleanAndText) {
  EXPECT_FALSE(Variant().AsBoolean());
  EXPECT_TRUE(Variant(2).AsBoolean());
  EXPECT_FALSE(Variant(0.0).AsBoolean());
  EXPECT_TRUE(Variant("true").AsBoolean());
  EXPECT_FALSE(Variant(" FALSE ").AsBoolean());
  EXPECT_TRUE(Variant("-1").AsBoolean());
  EXPECT_FALSE(Variant("0").AsBoolean());
  EXPECT_EQ(ErrorOf([] { Variant("yes").AsBoolean(); }),
            "Could not convert variant of type (String) into type (Boolean)");

  EXPECT_EQ(Variant().AsString(), "");
  EXPECT_EQ(Variant(true).AsString(), "True");
  EXPECT_EQ(Variant(false).AsString(), "False");
  EXPECT_EQ(Variant(-12).AsString(), "-12");
  EXPECT_EQ(Variant(std::int64_t{1} << 40).AsString(), "1099511627776");
  EXPECT_EQ(Variant(1.5).AsString(), "1.5");
  EXPECT_EQ(Variant(1e20).AsString(), "1E20");
  EXPECT_EQ(Variant(u"\u00e9").AsString(), "\xC3\xA9");
  EXPECT_EQ(Variant("\xC3\xA9").AsWideString(), u"\u00e9");
  EXPECT_EQ(Variant(3).AsWideString(), u"3");
  EXPECT_EQ(ErrorOf([] { Variant::Null().AsString(); }), "Could not convert variant of type (Null) into type (String)");
  EXPECT_EQ(VarToStr(Variant::Null()), "");
  EXPECT_EQ(VarToWideStr(Variant(2.25)), u"2.25");
}

TEST(Variant, EqualityNeverConverts) {
  EXPECT_EQ(Variant(5), Variant(5.0));
  EXPECT_EQ(Variant(5.0), Variant(std::int64_t{5}));
  EXPECT_EQ(Variant(5), Variant(std::int64_t{5}));
  EXPECT_NE(Variant(5), Variant(5.5));
  EXPECT_EQ(Variant(std::int64_t{1} << 62), Variant(4611686018427387904.0));
  EXPECT_NE(Variant(std::numeric_limits<std::int64_t>::max()), Variant(9223372036854775808.0));
  EXPECT_NE(Variant(std::nan("")), Variant(std::nan("")));
  EXPECT_EQ(Variant("abc"), Variant(u"abc"));
  EXPECT_NE(Variant("abc"), Variant("ABC"));
  EXPECT_NE(Variant("5"), Variant(5));
  EXPECT_NE(Variant(true), Variant(-1));
  EXPECT_EQ(Variant(true), Variant(true));
  EXPECT_NE(Variant(true), Variant(false));
  EXPECT_EQ(Variant(), Variant());
  EXPECT_NE(Variant(), Variant(0));
  EXPECT_NE(Variant(), Variant(""));
  EXPECT_NE(Variant(), Variant::Null());
  EXPECT_EQ(Variant::Null(), Variant::Null());
  // Comparison with plain values goes through the same rules.
  Variant v = 7;
  EXPECT_TRUE(v == 7);
  EXPECT_TRUE(7.0 == v);
  EXPECT_FALSE(v == "7");
  v = "text";
  EXPECT_TRUE(v == "text");
  EXPECT_EQ(v.VarType(), varString);
}
