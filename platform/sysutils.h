// String, number and file-name helpers under the names and with the behaviour the
// program's code expects of its run-time library. Numbers are always written and
// read with "." as the decimal separator, whatever the process locale says.
// String positions are 1-based and count bytes (code units for WideString).
#pragma once
#include <concepts>
#include <cstdint>
#include <string_view>
#include <type_traits>

#include "platform/set.h"
#include "platform/types.h"

// ---- Integers

String IntToStr(std::int64_t value);
// Upper-case hexadecimal with at least `digits` digits. A negative value shows
// its two's complement in the width of its own type (IntToHex(-1, 2) of an int
// is "FFFFFFFF").
String IntToHexBits(std::uint64_t bits, int digits);
template <std::integral T>
String IntToHex(T value, int digits) {
  static_assert(!std::is_same_v<T, bool>, "IntToHex of a bool");
  return IntToHexBits(static_cast<std::make_unsigned_t<T>>(value), digits);
}

// Integer text: leading spaces, an optional sign, then decimal digits or
// hexadecimal digits after "$", "x" or "0x". Anything after the digits, or a
// value outside the type, makes the text invalid. Hexadecimal text may fill the
// whole width ("$FFFFFFFF" reads as -1), as the class library allows.
bool TryStrToInt(std::string_view s, int& value);
bool TryStrToInt64(std::string_view s, std::int64_t& value);
// EConvertError "'<s>' is not a valid integer value" when the text is invalid.
int StrToInt(std::string_view s);
std::int64_t StrToInt64(std::string_view s);
int StrToIntDef(std::string_view s, int def);
std::int64_t StrToInt64Def(std::string_view s, std::int64_t def);

// ---- Floating point

// Float text: optional spaces around [sign] digits [. digits] [E [sign] digits].
// Values beyond the range of double are invalid; values too small become 0.
bool TryStrToFloat(std::string_view s, double& value);
// EConvertError "'<s>' is not a valid floating point value" when invalid.
double StrToFloat(std::string_view s);
double StrToFloatDef(std::string_view s, double def);

enum TFloatFormat { ffGeneral, ffExponent, ffFixed, ffNumber, ffCurrency };
// The class library's float formatting:
//   ffGeneral  shortest of fixed and scientific with `precision` significant
//              digits, scientific when the value needs more than `precision`
//              integer digits or is below 0.0001; `digits` is the minimum
//              number of exponent digits ("1E15", "1.5E-5");
//   ffExponent "d.dddE+ddd" with `precision` significant digits and at least
//              `digits` exponent digits;
//   ffFixed    `digits` decimals ("-1234.50");
//   ffNumber   as ffFixed with "," between thousands ("-1,234.50");
//   ffCurrency as ffNumber (the program shows no currency symbol).
// precision is clamped to 1..18, digits to 0..18; NaN gives "NAN", infinities
// "INF" and "-INF". Decimal digits are rounded half away from zero, and a
// value that rounds to zero shows no sign.
String FloatToStrF(double value, TFloatFormat format, int precision, int digits);
// General format with 15 significant digits: 1.5 -> "1.5", 1E15 -> "1E15".
String FloatToStr(double value);

// ---- Trimming: characters up to and including ' ' go at the ends.

String Trim(std::string_view s);
String TrimLeft(std::string_view s);
String TrimRight(std::string_view s);
WideString Trim(std::u16string_view s);
WideString TrimLeft(std::u16string_view s);
WideString TrimRight(std::u16string_view s);

// ---- Case and comparison
// The plain functions fold only 'a'..'z'; the Ansi (UTF-8) and Wide ones fold
// every character the case tables know. Comparisons return <0, 0 or >0;
// case-insensitive ones compare characters folded to one case and order them
// by code point (the same order for UTF-8 and UTF-16 text).

String UpperCase(std::string_view s);
String LowerCase(std::string_view s);
int CompareStr(std::string_view a, std::string_view b);
int CompareText(std::string_view a, std::string_view b);
bool SameText(std::string_view a, std::string_view b);

String AnsiUpperCase(std::string_view s);
String AnsiLowerCase(std::string_view s);
int AnsiCompareText(std::string_view a, std::string_view b);
bool AnsiSameText(std::string_view a, std::string_view b);

WideString WideUpperCase(std::u16string_view s);
WideString WideLowerCase(std::u16string_view s);
int WideCompareStr(std::u16string_view a, std::u16string_view b);
int WideCompareText(std::u16string_view a, std::u16string_view b);
bool WideSameText(std::u16string_view a, std::u16string_view b);

// ---- File names
// The program is a Windows program: '\' and ':' delimit, and '/' is accepted as
// well so native paths work. PathDelim is what this build appends.

#ifdef _WIN32
inline constexpr char PathDelim = '\\';
#else
inline constexpr char PathDelim = '/';
#endif
inline constexpr char DriveDelim = ':';

// Up to and including the last delimiter: "C:\dir\f.txt" -> "C:\dir\".
String ExtractFilePath(std::string_view fileName);
// As ExtractFilePath without the trailing delimiter, unless it is a root: "C:\".
String ExtractFileDir(std::string_view fileName);
String ExtractFileName(std::string_view fileName);
// From the last '.' of the name part, dot included: "a.tar.gz" -> ".gz", "name." -> ".".
String ExtractFileExt(std::string_view fileName);
String ChangeFileExt(std::string_view fileName, std::string_view extension);
// "C:" of "C:\dir", "\\server\share" of a UNC name, else "".
String ExtractFileDrive(std::string_view fileName);
String IncludeTrailingPathDelimiter(std::string_view s);
String ExcludeTrailingPathDelimiter(std::string_view s);

// ---- Substrings

enum TReplaceFlag { rfReplaceAll, rfIgnoreCase };
using TReplaceFlags = Set<TReplaceFlag>;

// Replaces the first (or with rfReplaceAll every) occurrence of oldPattern.
// rfIgnoreCase matches characters case-insensitively (UTF-8 aware). An empty
// oldPattern matches nothing.
String StringReplace(std::string_view s, std::string_view oldPattern, std::string_view newPattern,
                     TReplaceFlags flags = {});
WideString WideStringReplace(std::u16string_view s, std::u16string_view oldPattern, std::u16string_view newPattern,
                             TReplaceFlags flags = {});

// 1-based position of the first occurrence of sub in s; 0 when absent or sub is empty.
int Pos(std::string_view sub, std::string_view s);
int Pos(std::u16string_view sub, std::u16string_view s);
// count characters from the 1-based index; an index below 1 counts from the
// start, a count past the end stops at the end, a negative count gives "".
String Copy(std::string_view s, std::int64_t index, std::int64_t count);
WideString Copy(std::u16string_view s, std::int64_t index, std::int64_t count);

// 'text' with every ' doubled.
String QuotedStr(std::string_view s);
// "-1"/"0", or "True"/"False" with useBoolStrs.
String BoolToStr(bool b, bool useBoolStrs = false);
