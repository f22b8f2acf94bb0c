// Variant conversions and comparison.
#include "platform/variant.h"

#include <cmath>
#include <limits>

#include "platform/exceptions.h"
#include "platform/sysutils.h"
#include "platform/unicode_convert.h"

namespace {

enum Kind { kEmpty, kNull, kInt32, kInt64, kDouble, kBool, kString, kWide };

constexpr TVarType kKindTypes[] = {varEmpty,  varNull,    varInteger, varInt64,
                                   varDouble, varBoolean, varString,  varOleStr};

// Doubles as exact integers: 2^63 is the first double beyond int64.
constexpr double kTwo63 = 9223372036854775808.0;

}  // namespace

String VarTypeAsText(TVarType type) {
  switch (type) {
    case varEmpty:
      return "Empty";
    case varNull:
      return "Null";
    case varInteger:
      return "Integer";
    case varDouble:
      return "Double";
    case varOleStr:
      return "OleStr";
    case varBoolean:
      return "Boolean";
    case varInt64:
      return "Int64";
    case varString:
      return "String";
  }
  return "Unknown";
}

Variant Variant::Null() {
  Variant v;
  v.FValue.emplace<NullTag>();
  return v;
}

Variant::Value Variant::FromUnsigned(std::uint64_t value) {
  if (value > static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max())) {
    throw EVariantError("Overflow while converting variant of type (UInt64) into type (Int64)");
  }
  return Value(std::in_place_type<std::int64_t>, static_cast<std::int64_t>(value));
}

TVarType Variant::VarType() const { return kKindTypes[FValue.index()]; }

void Variant::CastError(TVarType target) const {
  throw EVariantError("Could not convert variant of type (" + VarTypeAsText(VarType()) + ") into type (" +
                      VarTypeAsText(target) + ")");
}

void Variant::OverflowError(TVarType target) const {
  throw EVariantError("Overflow while converting variant of type (" + VarTypeAsText(VarType()) + ") into type (" +
                      VarTypeAsText(target) + ")");
}

std::int64_t Variant::IntegerIn(std::int64_t lo, std::int64_t hi, TVarType target) const {
  auto fromDouble = [&](double d) -> std::int64_t {
    if (std::isnan(d)) CastError(target);
    double r = std::nearbyint(d);  // the default rounding mode: half to even
    if (!(r >= -kTwo63 && r < kTwo63)) OverflowError(target);
    return static_cast<std::int64_t>(r);
  };
  std::int64_t v = 0;
  switch (FValue.index()) {
    case kEmpty:
      return 0;
    case kNull:
      CastError(target);
    case kInt32:
      v = std::get<std::int32_t>(FValue);
      break;
    case kInt64:
      v = std::get<std::int64_t>(FValue);
      break;
    case kDouble:
      v = fromDouble(std::get<double>(FValue));
      break;
    case kBool:
      v = std::get<bool>(FValue) ? -1 : 0;
      break;
    case kString:
    case kWide: {
      String text = FValue.index() == kString ? std::get<String>(FValue) : WideToUtf8(std::get<WideString>(FValue));
      double d;
      if (TryStrToInt64(text, v)) break;
      if (!TryStrToFloat(text, d)) CastError(target);
      v = fromDouble(d);
      break;
    }
  }
  if (v < lo || v > hi) OverflowError(target);
  return v;
}

std::int32_t Variant::AsInteger() const {
  return static_cast<std::int32_t>(
      IntegerIn(std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max(), varInteger));
}

std::int64_t Variant::AsInt64() const {
  return IntegerIn(std::numeric_limits<std::int64_t>::min(), std::numeric_limits<std::int64_t>::max(), varInt64);
}

double Variant::AsDouble() const {
  switch (FValue.index()) {
    case kEmpty:
      return 0.0;
    case kInt32:
      return std::get<std::int32_t>(FValue);
    case kInt64:
      return static_cast<double>(std::get<std::int64_t>(FValue));
    case kDouble:
      return std::get<double>(FValue);
    case kBool:
      return std::get<bool>(FValue) ? -1.0 : 0.0;
    case kString:
    case kWide: {
      String text = AsString();
      double d;
      std::int64_t i;
      if (TryStrToFloat(text, d)) return d;
      if (TryStrToInt64(text, i)) return static_cast<double>(i);  // hexadecimal text
      break;
    }
  }
  CastError(varDouble);
}

bool Variant::AsBoolean() const {
  switch (FValue.index()) {
    case kEmpty:
      return false;
    case kInt32:
      return std::get<std::int32_t>(FValue) != 0;
    case kInt64:
      return std::get<std::int64_t>(FValue) != 0;
    case kDouble:
      return std::get<double>(FValue) != 0.0;
    case kBool:
      return std::get<bool>(FValue);
    case kString:
    case kWide: {
      String text = Trim(AsString());
      if (SameText(text, "True")) return true;
      if (SameText(text, "False")) return false;
      std::int64_t i;
      double d;
      if (TryStrToInt64(text, i)) return i != 0;
      if (TryStrToFloat(text, d)) return d != 0.0;
      break;
    }
  }
  CastError(varBoolean);
}

String Variant::AsString() const {
  switch (FValue.index()) {
    case kEmpty:
      return String();
    case kInt32:
      return IntToStr(std::get<std::int32_t>(FValue));
    case kInt64:
      return IntToStr(std::get<std::int64_t>(FValue));
    case kDouble:
      return FloatToStr(std::get<double>(FValue));
    case kBool:
      return std::get<bool>(FValue) ? "True" : "False";
    case kString:
      return std::get<String>(FValue);
    case kWide:
      return WideToUtf8(std::get<WideString>(FValue));
  }
  CastError(varString);
}

WideString Variant::AsWideString() const {
  if (FValue.index() == kWide) return std::get<WideString>(FValue);
  if (FValue.index() == kNull) CastError(varOleStr);
  return Utf8ToWide(AsString());
}

bool operator==(const Variant& a, const Variant& b) {
  const size_t ka = a.FValue.index(), kb = b.FValue.index();
  if (ka == kb) return a.FValue == b.FValue;
  auto isInteger = [](size_t k) { return k == kInt32 || k == kInt64; };
  auto asInt = [](const Variant::Value& v) -> std::int64_t {
    return v.index() == kInt32 ? std::get<std::int32_t>(v) : std::get<std::int64_t>(v);
  };
  if (isInteger(ka) && isInteger(kb)) return asInt(a.FValue) == asInt(b.FValue);
  if ((isInteger(ka) && kb == kDouble) || (ka == kDouble && isInteger(kb))) {
    double d = std::get<double>(ka == kDouble ? a.FValue : b.FValue);
    std::int64_t i = asInt(ka == kDouble ? b.FValue : a.FValue);
    // Exact: a double equals an integer only when it is that whole number.
    if (!(d >= -kTwo63 && d < kTwo63) || std::trunc(d) != d) return false;
    return static_cast<std::int64_t>(d) == i;
  }
  if ((ka == kString && kb == kWide) || (ka == kWide && kb == kString)) return a.AsString() == b.AsString();
  return false;
}

bool VarIsOrdinal(const Variant& v) {
  TVarType t = v.VarType();
  return t == varInteger || t == varInt64 || t == varBoolean;
}

bool VarIsFloat(const Variant& v) { return v.VarType() == varDouble; }

bool VarIsNumeric(const Variant& v) { return VarIsOrdinal(v) || VarIsFloat(v); }

bool VarIsStr(const Variant& v) { return v.VarType() == varString || v.VarType() == varOleStr; }

String VarToStr(const Variant& v) { return v.IsNull() ? String() : v.AsString(); }

WideString VarToWideStr(const Variant& v) { return v.IsNull() ? WideString() : v.AsWideString(); }
