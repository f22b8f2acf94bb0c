// Variant: the class library's tagged value as the program uses it: unassigned,
// null, 32- and 64-bit integers, double, Boolean, UTF-8 String and WideString,
// with the library's conversion rules and a comparison that never converts.
#pragma once
#include <concepts>
#include <cstdint>
#include <type_traits>
#include <variant>

#include "platform/types.h"

// Type codes as the class library numbers them.
enum TVarType : std::uint16_t {
  varEmpty = 0x0000,
  varNull = 0x0001,
  varInteger = 0x0003,
  varDouble = 0x0005,
  varOleStr = 0x0008,  // WideString
  varBoolean = 0x000B,
  varInt64 = 0x0014,
  varString = 0x0100,  // 8-bit String (UTF-8)
};

// "Empty", "Null", "Integer", "Int64", "Double", "Boolean", "String", "OleStr".
String VarTypeAsText(TVarType type);

// Integer types a Variant takes as numbers (characters and bool have their own kinds).
template <class T>
concept VariantIntegral =
    std::integral<T> && !std::is_same_v<T, bool> && !std::is_same_v<T, char> && !std::is_same_v<T, char8_t> &&
    !std::is_same_v<T, char16_t> && !std::is_same_v<T, char32_t> && !std::is_same_v<T, wchar_t>;

class Variant {
 public:
  Variant() = default;  // unassigned (varEmpty)
  Variant(bool value) : FValue(value) {}
  // Integers up to 32 bits become varInteger; wider ones and unsigned 32-bit
  // values (which may not fit) become varInt64.
  template <VariantIntegral T>
  Variant(T value) : FValue(FromIntegral(value)) {}
  Variant(double value) : FValue(value) {}
  Variant(float value) : FValue(static_cast<double>(value)) {}
  Variant(char value) : FValue(String(1, value)) {}
  Variant(const char* value) : FValue(String(value ? value : "")) {}
  Variant(String value) : FValue(std::move(value)) {}
  Variant(const char16_t* value) : FValue(WideString(value ? value : u"")) {}
  Variant(WideString value) : FValue(std::move(value)) {}

  static Variant Null();

  TVarType VarType() const;
  bool IsEmpty() const { return FValue.index() == 0; }
  bool IsNull() const { return FValue.index() == 1; }

  // Conversions raise EVariantError "Could not convert variant of type (String)
  // into type (Integer)" where no value fits, and "Overflow while converting
  // variant of type (Double) into type (Integer)" where the value is too large.
  // Unassigned reads as 0, false and ""; Null converts to nothing. True is -1
  // as a number; text converts when it is a number ("12", "$1F", "2.5") and,
  // to Boolean, also "True"/"False"; doubles go to integers rounded half to even.
  std::int32_t AsInteger() const;
  std::int64_t AsInt64() const;
  double AsDouble() const;
  bool AsBoolean() const;
  // Numbers with "." as decimal separator ("1.5", "1E20"), Booleans as "True"/"False".
  String AsString() const;
  WideString AsWideString() const;

  // Same kinds compare directly; integers and doubles compare by value (5 == 5.0);
  // String and WideString by content; Null equals Null and unassigned equals
  // unassigned; otherwise kinds differ and so do the values ("5" != 5).
  friend bool operator==(const Variant& a, const Variant& b);

 private:
  struct NullTag {
    bool operator==(const NullTag&) const = default;
  };
  using Value = std::variant<std::monostate, NullTag, std::int32_t, std::int64_t, double, bool, String, WideString>;
  static Value FromUnsigned(std::uint64_t value);
  template <class T>
  static Value FromIntegral(T value) {
    if constexpr (sizeof(T) < 4 || (sizeof(T) == 4 && std::is_signed_v<T>)) {
      return Value(std::in_place_type<std::int32_t>, static_cast<std::int32_t>(value));
    } else if constexpr (std::is_signed_v<T>) {
      return Value(std::in_place_type<std::int64_t>, static_cast<std::int64_t>(value));
    } else {
      return FromUnsigned(static_cast<std::uint64_t>(value));
    }
  }
  [[noreturn]] void CastError(TVarType target) const;
  [[noreturn]] void OverflowError(TVarType target) const;
  std::int64_t IntegerIn(std::int64_t lo, std::int64_t hi, TVarType target) const;

  Value FValue;
};

// The run-time library's helpers around Variant.
inline bool VarIsEmpty(const Variant& v) { return v.IsEmpty(); }
inline bool VarIsNull(const Variant& v) { return v.IsNull(); }
inline TVarType VarType(const Variant& v) { return v.VarType(); }
// Integer kinds and Boolean.
bool VarIsOrdinal(const Variant& v);
bool VarIsFloat(const Variant& v);
bool VarIsNumeric(const Variant& v);  // ordinal or float
bool VarIsStr(const Variant& v);      // String or WideString
// As AsString, but Null gives "".
String VarToStr(const Variant& v);
WideString VarToWideStr(const Variant& v);
