// The class library's Format, made safe: patterns come from language files that
// users write, so every mismatch between pattern and arguments raises
// EConvertError instead of reading the wrong thing.
//
// Specifiers: %[index:][-][width][.precision]type, "*" for index, width or
// precision takes the next (integer) argument, "%%" is "%". Types (either case):
//   d  integer, precision = minimum digits    u  integer as unsigned
//   x  integer in upper-case hexadecimal      p  pointer, 8 or 16 hex digits
//   e  "-d.ddd...E+ddd", precision = significant digits (default 15)
//   f  fixed, precision = decimals (default 2)
//   g  general as FloatToStr, precision = significant digits (default 15)
//   n  as f with "," between thousands        m  as n (money, 2 decimals)
//   s  string or character, precision = maximum characters
// e/f/g/n/m take only floating arguments and d/u/x only integers, as the class
// library demands. Width and precision count characters, and are capped at
// kMaxFormatWidth so that no pattern can demand a huge allocation.
#pragma once
#include <cstdint>
#include <initializer_list>
#include <string_view>

#include "platform/types.h"

inline constexpr int kMaxFormatWidth = 4096;

// One argument of Format. It is built implicitly from the argument expressions
// and keeps its own copy of string arguments. bool is refused on purpose: the
// class library has no conversion for it, and a pattern would show a number.
class FormatArg {
 public:
  enum class Kind { Int, UInt, Float, Str, Wide, Pointer };

  FormatArg(int v) : kind_(Kind::Int), narrow_(true), int_(v) {}
  FormatArg(unsigned v) : kind_(Kind::UInt), narrow_(true), uint_(v) {}
  FormatArg(long v) : kind_(Kind::Int), narrow_(sizeof v == 4), int_(v) {}
  FormatArg(unsigned long v) : kind_(Kind::UInt), narrow_(sizeof v == 4), uint_(v) {}
  FormatArg(long long v) : kind_(Kind::Int), int_(v) {}
  FormatArg(unsigned long long v) : kind_(Kind::UInt), uint_(v) {}
  FormatArg(double v) : kind_(Kind::Float), float_(v) {}
  FormatArg(long double v) : kind_(Kind::Float), float_(static_cast<double>(v)) {}
  FormatArg(char c) : kind_(Kind::Str), str_(1, c) {}
  FormatArg(char16_t c) : kind_(Kind::Wide), wide_(1, c) {}
  FormatArg(char32_t c);
  FormatArg(const char* s) : kind_(Kind::Str), str_(s ? s : "") {}
  FormatArg(char* s) : FormatArg(static_cast<const char*>(s)) {}
  FormatArg(std::string_view s) : kind_(Kind::Str), str_(s) {}
  FormatArg(const String& s) : kind_(Kind::Str), str_(s) {}
  FormatArg(const char16_t* s) : kind_(Kind::Wide), wide_(s ? s : u"") {}
  FormatArg(char16_t* s) : FormatArg(static_cast<const char16_t*>(s)) {}
  FormatArg(std::u16string_view s) : kind_(Kind::Wide), wide_(s) {}
  FormatArg(const WideString& s) : kind_(Kind::Wide), wide_(s) {}
  FormatArg(std::nullptr_t) : kind_(Kind::Pointer) {}
  template <class T>
  FormatArg(T* p) : kind_(Kind::Pointer), uint_(reinterpret_cast<std::uintptr_t>(p)) {}
  FormatArg(bool) = delete;

  Kind kind() const { return kind_; }
  // 32-bit integers show as 32-bit patterns in %u and %x (-1 is "FFFFFFFF").
  bool narrow() const { return narrow_; }
  std::int64_t intValue() const { return int_; }
  std::uint64_t uintValue() const { return uint_; }
  double floatValue() const { return float_; }
  const String& str() const { return str_; }
  const WideString& wide() const { return wide_; }

 private:
  Kind kind_;
  bool narrow_ = false;
  std::int64_t int_ = 0;
  std::uint64_t uint_ = 0;
  double float_ = 0;
  String str_;
  WideString wide_;
};

// EConvertError "Format '<pattern>' invalid or incompatible with argument" on any mismatch.
String Format(std::string_view pattern, std::initializer_list<FormatArg> args);
WideString WideFormat(std::u16string_view pattern, std::initializer_list<FormatArg> args);

// As Format, but a mismatch gives the error text as the result: the program
// shows it where the formatted text would have been.
String FormatOrError(std::string_view pattern, std::initializer_list<FormatArg> args);
WideString WideFormatOrError(std::u16string_view pattern, std::initializer_list<FormatArg> args);
