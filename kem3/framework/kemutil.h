// Common services of the component library that need no operating system:
// paths, numbers and conversions, dates, versions, tokens and other text
// routines, accelerator marks and wildcards. What asks the system lives in
// kemsysinfo.h; what needs windows in kemutil_win.h.
#pragma once
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "platform/exceptions.h"
#include "platform/types.h"

struct TOSVersionInfo;

ORV_EXCEPTION(EDivByZero, Exception)

// ---- Paths (Windows paths: '\' separates, whatever the build)

// The path without the prefix when it begins with it (case-insensitive), else unchanged.
String StripPathPrefix(std::string_view path, std::string_view prefix);
// The path unchanged when it is absolute (holds ":\" or "\\"), else baseFolder + path.
String ExpandRelativePath(std::string_view path, std::string_view baseFolder);
// "%SystemRoot%" becomes the system folder + "\", "%ProgramFiles%" the program
// files folder (created when missing) + "\"; names are case-insensitive, one
// backslash right after the variable is dropped, and an unknown variable goes
// with its "%" signs. Only a path that begins with "%" and holds a second "%"
// is touched. The folders come from the system queries (kemsysinfo.h).
String ExpandPathVariables(std::string_view path);

// ---- Numbers and conversions

// The number in the text ("." as decimal separator, blanks around allowed), or def.
double StrToFloatSafe(std::string_view text, double def);
// As StrToFloatSafe after trimming, with the first "," read as "." (numbers
// typed by users of either habit).
double StrToFloatDot(std::string_view text, double def);

// The process-wide decimal separator that code may ask for, and a stack to
// change it for a while. Our own numbers never depend on it: sysutils reads and
// writes them with "." whatever is set here. The separator starts as "."; push
// saves the current one and sets c (0 sets the one that was current when the
// stack was first used); pop restores the last saved one, and does nothing on
// an empty stack. GUI thread only.
char DecimalSeparator();
void PushDecimalSeparator(char c);
void PopDecimalSeparator();
// Forgets the stack and goes back to "." (start-up, shut-down and tests).
void ResetDecimalSeparator();

// "yes"/"no"; YesNoToBool reads them without regard to case, anything else gives def.
String BoolToYesNo(bool value);
bool YesNoToBool(std::string_view text, bool def);

// "1500 B", "1 KB", "2 MB"…: divided by 1024 while above 1500, at most up to
// "TB"; empty for a negative count.
String FormatByteSize(std::int64_t count);

// A version word: high byte + low byte / 100, with ".0" when the low byte is 0
// (0x020C -> "2.12", 0x0300 -> "3.0").
String FormatVersionWord(std::uint16_t value);
// FormatVersionWord of the high word + separator + the low word in decimal.
String FormatVersion(std::uint32_t packed, std::string_view separator);
// "major.minor.build..." packed as major shl 24, minor shl 16 (8 bits) and
// build (16 bits); missing or bad numbers count 0.
std::uint32_t PackDottedVersion(std::string_view text);
// "%d.%.2d" of the version, with " build %d" of the low 16 bits of the build number.
String FormatWindowsVersion(const TOSVersionInfo& info, bool withBuild);

// What StrToDateByOrder knows of "today". The system's clock by default; tests
// put a fixed one in place.
class TDateClock {
 public:
  virtual ~TDateClock() = default;
  virtual int CurrentYear() = 0;
  // A two-digit year lands in the hundred years that begin this many years
  // before the current year (50: from 50 years back to 49 years ahead).
  virtual int TwoDigitYearWindow() { return 50; }
};
// Puts clock in place (nullptr: the system's) and returns the one it replaces.
// The caller keeps ownership.
TDateClock* SetDateClock(TDateClock* clock);

// The result of StrToDateByOrder for a text that is no date.
inline constexpr double kInvalidDate = -1e+90;
// The date in the text as days since 1899-12-30 (the class library's dates).
// The order text ("dd/mm/yyyy", "m-d-y"…) tells in which order day, month and
// year stand; the numbers are separated by "/" when the text holds one, else by
// "-". A two-digit year lands in the clock's window; a missing year with day and
// month present is the current year. kInvalidDate when no such date exists.
double StrToDateByOrder(std::string_view text, std::string_view order);
// Days since 1899-12-30 of a valid calendar date (year 1 to 9999), else kInvalidDate.
double EncodeDateValue(int year, int month, int day);

// -1, 0 or 1 (0 for NaN).
int FloatSign(double value);
int IntSign(std::int64_t value);
// The largest value; 0 for none.
int MaxIntArray(std::span<const int> values);
inline int IfThenInt(bool flag, int a, int b) { return flag ? a : b; }
inline String IfThenStr(bool flag, std::string_view a, std::string_view b) { return String(flag ? a : b); }
void SwapInt(int& a, int& b);
// Byte order of the big-endian numbers in icon and PNG data.
std::uint16_t SwapBytes16(std::uint16_t value);
std::uint32_t SwapBytes32(std::uint32_t value);
// Truncation, plus 1 when the fraction is positive; both clamp to the int64 range.
std::int64_t CeilToInt64(double value);
std::int64_t TruncToInt64(double value);
// a div b, plus 1 when a mod b > 0. EDivByZero when b is 0.
std::int64_t DivCeil(std::int64_t a, std::int64_t b);

// A colour's channels from 0 to 1, and back (rounded, clamped to 0..255).
struct TFloatRGB {
  double R = 0;
  double G = 0;
  double B = 0;
};
TFloatRGB MakeFloatRGB(TColor color);
TColor FloatRGBToColor(const TFloatRGB& rgb);

// ---- Text routines (8-bit text is UTF-8; characters named as char are ASCII)

// The text up to the first delimiter; text keeps what follows it. Without one
// the whole text is the token and text becomes empty.
String CutToken(String& text, char delimiter);
WideString CutWideToken(WideString& text, WideChar delimiter);
WideString CutWideTokenByChar(WideString& text, char delimiter);
// Every piece between the delimiters, empty ones too: one more than the
// delimiters ("" gives one empty piece).
std::vector<String> SplitText(std::string_view text, char delimiter);
std::vector<WideString> SplitWideText(std::u16string_view text, WideChar delimiter);
// The text up to the first delimiter outside quotes and brackets (brackets
// nest); one enclosing pair of quotes is removed unless keepQuotes; text keeps
// what follows the delimiter.
String CutQuotedToken(String& text, char delimiter, char openQuote, char closeQuote, bool keepQuotes, char openBracket,
                      char closeBracket);

int CountChar(std::string_view text, char c);
String ReplaceChar(std::string_view text, char from, char to);
String RemoveChar(std::string_view text, char c);
WideString RemoveWideChar(std::u16string_view text, WideChar c);
// Every run of the pattern repeated is reduced to one: with the pattern "\",
// "a\\\b" becomes "a\b".
String CollapseDoubles(std::string_view text, std::string_view pattern);
String ReplaceAll(std::string_view text, std::string_view oldPattern, std::string_view newPattern);
String ReplaceAllNoCase(std::string_view text, std::string_view oldPattern, std::string_view newPattern);
// One trailing c removed, when there.
String RemoveTrailingChar(std::string_view text, char c);
// One leading and one trailing c removed when both are there.
String RemoveEnclosingChar(std::string_view text, char c);
WideString RemoveEnclosingWideChar(std::u16string_view text, WideChar c);
// Every leading and trailing c removed.
String TrimChar(std::string_view text, char c);
// Up to the first blank.
String FirstWord(std::string_view text);
// The bytes up to the first zero byte, at most maxLength of them.
String BufferToStr(const void* buffer, std::size_t maxLength);
// Not empty and only "0" to "9".
bool IsDigits(std::string_view text);

enum TCapitalizeMode { cmFirstLetter = 0, cmEveryWord = 1 };
// The trimmed, lower-cased text; cmFirstLetter makes its first character upper
// case, cmEveryWord every character that does not follow a letter, a digit,
// "~" or a character beyond ASCII (the first one included). Other modes leave
// it lower case.
String CapitalizeText(std::string_view text, int mode);

// The upper-case accelerator character of a caption: the character after the
// first single "&" ("&&" stands for a literal "&"); 0 when there is none.
char32_t GetAccelChar(std::string_view caption);
WideChar GetAccelCharW(std::u16string_view caption);

// The caption without its marks: "&&" becomes one "&", every single "&" goes.
String StripAccelChars(std::string_view caption);
WideString StripAccelCharsW(std::u16string_view caption);

// Whether the text matches the mask: "*" any run of characters, "?" one
// character, everything else exactly. "*" alone matches every text; an empty
// text matches only "" and "*". Time grows with text length × mask length at
// most, whatever the mask.
bool MatchWildcard(std::string_view text, std::string_view mask);
