// Numbers and conversions of the common services: floats, the decimal
// separator stack, yes/no, byte sizes, versions, dates, signs and colours.
#include <algorithm>
#include <cmath>
#include <ctime>
#include <limits>
#include <vector>

#include "kem3/framework/kemutil.h"
#include "platform/mathutils.h"
#include "platform/sysutils.h"

namespace {

// ---- Decimal separator

struct TSeparatorState {
  char Current = '.';
  bool Used = false;  // the stack has been used since the last reset
  char Original = '.';
  std::vector<char> Saved;
};

TSeparatorState& Separator() {
  static TSeparatorState state;
  return state;
}

// ---- Dates

class TSystemDateClock : public TDateClock {
 public:
  int CurrentYear() override {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
#ifdef _WIN32
    if (localtime_s(&local, &now) != 0) return 1970;
#else
    if (localtime_r(&now, &local) == nullptr) return 1970;
#endif
    return local.tm_year + 1900;
  }
};

TDateClock* CurrentDateClock = nullptr;

TDateClock& DateClock() {
  static TSystemDateClock systemClock;
  return CurrentDateClock != nullptr ? *CurrentDateClock : systemClock;
}

bool IsLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int DaysInMonth(int year, int month) {
  static constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

// Days from 1970-01-01 of a date of the proleptic Gregorian calendar.
std::int64_t DaysFromCivil(std::int64_t year, unsigned month, unsigned day) {
  year -= month <= 2;
  const std::int64_t era = (year >= 0 ? year : year - 399) / 400;
  const unsigned yearOfEra = static_cast<unsigned>(year - era * 400);
  const unsigned dayOfYear = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5 + day - 1;
  const unsigned dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
  return era * 146097 + static_cast<std::int64_t>(dayOfEra) - 719468;
}

// 1899-12-30, day 0 of the class library's dates, counted from 1970-01-01.
constexpr std::int64_t kDateEpoch = -25569;

// A number of a date or version: digits only, else -1 (missing or not a number).
int DigitsValue(std::string_view field) {
  const String digits = Trim(field);
  if (!IsDigits(digits)) return -1;
  return StrToIntDef(digits, -1);
}

}  // namespace

double StrToFloatSafe(std::string_view text, double def) {
  double value = 0;
  return TryStrToFloat(text, value) ? value : def;
}

double StrToFloatDot(std::string_view text, double def) {
  String s = Trim(text);
  const size_t comma = s.find(',');
  if (comma != String::npos) s[comma] = '.';
  return StrToFloatSafe(s, def);
}

char DecimalSeparator() { return Separator().Current; }

void PushDecimalSeparator(char c) {
  TSeparatorState& state = Separator();
  if (!state.Used) {
    state.Used = true;
    state.Original = state.Current;
  }
  state.Saved.push_back(state.Current);
  state.Current = c != '\0' ? c : state.Original;
}

void PopDecimalSeparator() {
  TSeparatorState& state = Separator();
  if (state.Saved.empty()) return;
  state.Current = state.Saved.back();
  state.Saved.pop_back();
}

void ResetDecimalSeparator() { Separator() = TSeparatorState(); }

String BoolToYesNo(bool value) { return value ? "yes" : "no"; }

bool YesNoToBool(std::string_view text, bool def) {
  if (SameText(text, "yes")) return true;
  if (SameText(text, "no")) return false;
  return def;
}

String FormatByteSize(std::int64_t count) {
  static constexpr const char* kUnits[] = {"B", "KB", "MB", "GB", "TB"};
  if (count < 0) return String();
  int divisions = 0;
  while (count > 1500 && divisions < 4) {
    count /= 1024;
    ++divisions;
  }
  return IntToStr(count) + " " + kUnits[divisions];
}

String FormatVersionWord(std::uint16_t value) {
  const int high = value >> 8;
  const int low = value & 0xFF;
  String text = FloatToStr(high + low / 100.0);
  if (low == 0) text += ".0";
  return text;
}

String FormatVersion(std::uint32_t packed, std::string_view separator) {
  const std::uint16_t low = packed & 0xFFFF;
  return FormatVersionWord(static_cast<std::uint16_t>(packed >> 16)) + String(separator) +
         (low == 0 ? String("0") : IntToStr(low));
}

std::uint32_t PackDottedVersion(std::string_view text) {
  String rest(text);
  std::uint32_t parts[3] = {0, 0, 0};
  for (std::uint32_t& part : parts) {
    if (rest.empty()) break;
    const int value = DigitsValue(CutToken(rest, '.'));
    part = value > 0 ? static_cast<std::uint32_t>(value) : 0;
  }
  return ((parts[0] & 0xFF) << 24) | ((parts[1] & 0xFF) << 16) | (parts[2] & 0xFFFF);
}

TDateClock* SetDateClock(TDateClock* clock) {
  TDateClock* previous = CurrentDateClock;
  CurrentDateClock = clock;
  return previous;
}

double EncodeDateValue(int year, int month, int day) {
  if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1 || day > DaysInMonth(year, month))
    return kInvalidDate;
  return static_cast<double>(DaysFromCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(day)) -
                             kDateEpoch);
}

double StrToDateByOrder(std::string_view text, std::string_view order) {
  // The order of the letters' first appearances is the order of the numbers.
  String letters;
  for (char c : order) {
    const char lower = c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    if ((lower == 'd' || lower == 'm' || lower == 'y') && letters.find(lower) == String::npos) letters += lower;
  }
  String rest(text);
  const char separator = rest.find('/') != String::npos ? '/' : '-';
  int day = -1;
  int month = -1;
  int year = -1;
  for (char letter : letters) {
    const int value = rest.empty() ? -1 : DigitsValue(CutToken(rest, separator));
    (letter == 'd' ? day : letter == 'm' ? month : year) = value;
  }
  TDateClock& clock = DateClock();
  if (year < 0 && day >= 0 && month >= 0) {
    year = clock.CurrentYear();
  } else if (year >= 0 && year <= 99) {
    const int first = clock.CurrentYear() - clock.TwoDigitYearWindow();
    year += first - ((first % 100) + 100) % 100;  // the century the window begins in
    if (year < first) year += 100;
  }
  return EncodeDateValue(year, month, day);
}

int FloatSign(double value) { return value > 0 ? 1 : value < 0 ? -1 : 0; }

int IntSign(std::int64_t value) { return value > 0 ? 1 : value < 0 ? -1 : 0; }

int MaxIntArray(std::span<const int> values) {
  if (values.empty()) return 0;
  return *std::max_element(values.begin(), values.end());
}

void SwapInt(int& a, int& b) { std::swap(a, b); }

std::uint16_t SwapBytes16(std::uint16_t value) { return static_cast<std::uint16_t>((value >> 8) | (value << 8)); }

std::uint32_t SwapBytes32(std::uint32_t value) {
  return (value >> 24) | ((value >> 8) & 0xFF00) | ((value << 8) & 0xFF0000) | (value << 24);
}

std::int64_t CeilToInt64(double value) {
  const std::int64_t whole = Trunc(value);
  if (value - std::trunc(value) > 0 && whole < std::numeric_limits<std::int64_t>::max()) return whole + 1;
  return whole;
}

std::int64_t TruncToInt64(double value) { return Trunc(value); }

std::int64_t DivCeil(std::int64_t a, std::int64_t b) {
  if (b == 0) throw EDivByZero("Division by zero");
  // The one quotient beyond the range: clamp it rather than overflow.
  if (b == -1 && a == std::numeric_limits<std::int64_t>::min()) return std::numeric_limits<std::int64_t>::max();
  return a / b + (a % b > 0 ? 1 : 0);
}

TFloatRGB MakeFloatRGB(TColor color) {
  const auto channel = [color](int shift) { return ((static_cast<std::uint32_t>(color) >> shift) & 0xFF) / 255.0; };
  return TFloatRGB{channel(0), channel(8), channel(16)};
}

TColor FloatRGBToColor(const TFloatRGB& rgb) {
  const auto channel = [](double value) {
    if (!(value > 0)) return std::uint32_t{0};  // NaN too
    return static_cast<std::uint32_t>(std::min<std::int64_t>(Round(std::min(value, 1.0) * 255), 255));
  };
  return static_cast<TColor>(channel(rgb.R) | (channel(rgb.G) << 8) | (channel(rgb.B) << 16));
}
