// String, number and file-name helpers of the run-time library.
#include "platform/sysutils.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <system_error>

#include "platform/exceptions.h"
#include "platform/unicode_convert.h"
#include "platform/wide_case.h"

// ---- Integers

String IntToStr(std::int64_t value) {
  char buf[24];
  auto r = std::to_chars(buf, buf + sizeof buf, value);
  return String(buf, r.ptr);
}

String IntToHexBits(std::uint64_t bits, int digits) {
  char buf[16];
  int n = 0;
  do {
    buf[n++] = "0123456789ABCDEF"[bits & 15];
    bits >>= 4;
  } while (bits != 0);
  // More than 32 digits is never a real request; the bound keeps a bad count cheap.
  String out(static_cast<size_t>(std::max(std::min(digits, 32) - n, 0)), '0');
  while (n > 0) out.push_back(buf[--n]);
  return out;
}

namespace {

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

// Reads integer text into a value of `bits` width. Decimal text must fit the
// signed range; hexadecimal text may use the whole unsigned range and is then
// taken as the bit pattern.
bool ParseInteger(std::string_view s, int bits, std::int64_t& value) {
  size_t i = 0;
  while (i < s.size() && s[i] == ' ') ++i;
  bool negative = false;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) negative = s[i++] == '-';
  bool hex = false;
  if (i < s.size() && (s[i] == '$' || s[i] == 'x' || s[i] == 'X')) {
    hex = true;
    ++i;
  } else if (i + 1 < s.size() && s[i] == '0' && (s[i + 1] == 'x' || s[i + 1] == 'X')) {
    hex = true;
    i += 2;
  }
  if (i == s.size()) return false;
  const std::uint64_t unsignedMax = bits == 64 ? ~std::uint64_t{0} : (std::uint64_t{1} << bits) - 1;
  const std::uint64_t signedMax = unsignedMax >> 1;
  const std::uint64_t limit = hex ? unsignedMax : signedMax + (negative ? 1 : 0);
  const unsigned base = hex ? 16 : 10;
  std::uint64_t magnitude = 0;
  for (; i < s.size(); ++i) {
    int d = hex ? HexValue(s[i]) : (s[i] >= '0' && s[i] <= '9' ? s[i] - '0' : -1);
    if (d < 0) return false;
    if (magnitude > (limit - static_cast<unsigned>(d)) / base) return false;
    magnitude = magnitude * base + static_cast<unsigned>(d);
  }
  if (negative) magnitude = (~magnitude + 1) & unsignedMax;
  // Sign-extend the pattern from `bits` wide to 64.
  if (bits < 64 && (magnitude >> (bits - 1)) & 1) magnitude |= ~unsignedMax;
  value = static_cast<std::int64_t>(magnitude);
  return true;
}

[[noreturn]] void RaiseNotInteger(std::string_view s) {
  throw EConvertError("'" + String(s) + "' is not a valid integer value");
}

}  // namespace

bool TryStrToInt(std::string_view s, int& value) {
  std::int64_t v;
  if (!ParseInteger(s, 32, v)) return false;
  value = static_cast<int>(v);
  return true;
}

bool TryStrToInt64(std::string_view s, std::int64_t& value) { return ParseInteger(s, 64, value); }

int StrToInt(std::string_view s) {
  int v;
  if (!TryStrToInt(s, v)) RaiseNotInteger(s);
  return v;
}

std::int64_t StrToInt64(std::string_view s) {
  std::int64_t v;
  if (!TryStrToInt64(s, v)) RaiseNotInteger(s);
  return v;
}

int StrToIntDef(std::string_view s, int def) {
  int v;
  return TryStrToInt(s, v) ? v : def;
}

std::int64_t StrToInt64Def(std::string_view s, std::int64_t def) {
  std::int64_t v;
  return TryStrToInt64(s, v) ? v : def;
}

// ---- Floating point

bool TryStrToFloat(std::string_view s, double& value) {
  size_t begin = 0, end = s.size();
  while (begin < end && s[begin] == ' ') ++begin;
  while (end > begin && s[end - 1] == ' ') --end;
  std::string_view t = s.substr(begin, end - begin);
  // Check the grammar ourselves: from_chars would also take "inf", "nan" and
  // hexadecimal floats, which are not numbers here.
  size_t i = 0;
  bool negative = false;
  if (i < t.size() && (t[i] == '+' || t[i] == '-')) negative = t[i++] == '-';
  const size_t mantissaStart = i;
  int intDigits = 0, leadingFractionZeros = 0;
  bool nonZero = false, anyDigit = false;
  for (; i < t.size() && t[i] >= '0' && t[i] <= '9'; ++i) {
    anyDigit = true;
    if (t[i] != '0') nonZero = true;
    if (nonZero) ++intDigits;
  }
  if (i < t.size() && t[i] == '.') {
    for (++i; i < t.size() && t[i] >= '0' && t[i] <= '9'; ++i) {
      anyDigit = true;
      if (t[i] != '0') nonZero = true;
      if (!nonZero) ++leadingFractionZeros;
    }
  }
  if (!anyDigit) return false;
  long exponent = 0;
  if (i < t.size() && (t[i] == 'e' || t[i] == 'E')) {
    ++i;
    bool negativeExponent = false;
    if (i < t.size() && (t[i] == '+' || t[i] == '-')) negativeExponent = t[i++] == '-';
    if (i == t.size()) return false;
    for (; i < t.size() && t[i] >= '0' && t[i] <= '9'; ++i) exponent = std::min(exponent * 10 + (t[i] - '0'), 1000000L);
    if (negativeExponent) exponent = -exponent;
  }
  if (i != t.size()) return false;
  double v = 0;
  auto r = std::from_chars(t.data() + mantissaStart, t.data() + t.size(), v, std::chars_format::general);
  if (r.ec == std::errc::result_out_of_range) {
    // Decimal magnitude of the first significant digit tells overflow from underflow.
    long magnitude = (intDigits > 0 ? intDigits : -leadingFractionZeros) + exponent;
    if (magnitude > 0) return false;
    v = 0;
  } else if (r.ec != std::errc() || r.ptr != t.data() + t.size()) {
    return false;
  }
  value = negative ? -v : v;
  return true;
}

double StrToFloat(std::string_view s) {
  double v;
  if (!TryStrToFloat(s, v)) throw EConvertError("'" + String(s) + "' is not a valid floating point value");
  return v;
}

double StrToFloatDef(std::string_view s, double def) {
  double v;
  return TryStrToFloat(s, v) ? v : def;
}

namespace {

// A finite value as decimal digits: value = 0.digits x 10^exponent. Empty
// digits mean zero.
struct Decimal {
  bool negative = false;
  String digits;
  int exponent = 0;
};

// Keeps `keep` significant digits, rounding half away from zero, and drops
// trailing zeros. keep may be 0 or below when a fixed format cuts off every digit.
void RoundDecimal(Decimal& d, int keep) {
  if (keep >= static_cast<int>(d.digits.size())) {
  } else if (keep < 0) {
    d.digits.clear();
  } else {
    bool up = d.digits[static_cast<size_t>(keep)] >= '5';
    d.digits.resize(static_cast<size_t>(keep));
    if (up) {
      int k = keep - 1;
      while (k >= 0 && d.digits[static_cast<size_t>(k)] == '9') d.digits[static_cast<size_t>(k--)] = '0';
      if (k >= 0) {
        ++d.digits[static_cast<size_t>(k)];
      } else {
        d.digits.insert(d.digits.begin(), '1');
        ++d.exponent;
      }
    }
  }
  while (!d.digits.empty() && d.digits.back() == '0') d.digits.pop_back();
  if (d.digits.empty()) d.exponent = 0;
}

// 18 significant digits, exactly rounded from the binary value; further
// rounding then happens on these decimal digits, half away from zero.
Decimal ToDecimal(double value) {
  Decimal d;
  d.negative = std::signbit(value);
  char buf[48];
  auto r = std::to_chars(buf, buf + sizeof buf, std::fabs(value), std::chars_format::scientific, 17);
  std::string_view text(buf, static_cast<size_t>(r.ptr - buf));  // d.ddddde+XX
  size_t e = text.find('e');
  for (size_t i = 0; i < e; ++i)
    if (text[i] != '.') d.digits.push_back(text[i]);
  int exp10 = 0;
  std::string_view expText = text.substr(e + 1);
  if (!expText.empty() && expText[0] == '+') expText.remove_prefix(1);
  std::from_chars(expText.data(), expText.data() + expText.size(), exp10);
  d.exponent = exp10 + 1;
  RoundDecimal(d, 18);
  return d;
}

void AppendExponent(String& out, int exponent, bool alwaysSign, int minDigits) {
  out.push_back('E');
  if (exponent < 0) {
    out.push_back('-');
  } else if (alwaysSign) {
    out.push_back('+');
  }
  String digits = IntToStr(std::abs(exponent));
  if (static_cast<int>(digits.size()) < minDigits) out.append(static_cast<size_t>(minDigits) - digits.size(), '0');
  out += digits;
}

String FormatGeneral(Decimal d, int precision, int expDigits) {
  RoundDecimal(d, precision);
  if (d.digits.empty()) return "0";
  String out = d.negative ? "-" : "";
  const int n = static_cast<int>(d.digits.size());
  if (d.exponent > precision || d.exponent < -3) {
    out.push_back(d.digits[0]);
    if (n > 1) {
      out.push_back('.');
      out.append(d.digits, 1);
    }
    AppendExponent(out, d.exponent - 1, false, expDigits);
  } else if (d.exponent <= 0) {
    out += "0.";
    out.append(static_cast<size_t>(-d.exponent), '0');
    out += d.digits;
  } else {
    out.append(d.digits, 0, static_cast<size_t>(std::min(n, d.exponent)));
    if (n < d.exponent) out.append(static_cast<size_t>(d.exponent - n), '0');
    if (n > d.exponent) {
      out.push_back('.');
      out.append(d.digits, static_cast<size_t>(d.exponent));
    }
  }
  return out;
}

String FormatExponent(Decimal d, int precision, int expDigits) {
  RoundDecimal(d, precision);
  String out = d.negative && !d.digits.empty() ? "-" : "";
  d.digits.resize(static_cast<size_t>(precision), '0');
  out.push_back(d.digits[0]);
  if (precision > 1) {
    out.push_back('.');
    out.append(d.digits, 1);
  }
  AppendExponent(out, d.digits[0] == '0' ? 0 : d.exponent - 1, true, expDigits);
  return out;
}

String FormatFixed(Decimal d, int precision, int decimals, bool thousands) {
  if (d.exponent > precision) return FormatGeneral(d, precision, 0);
  RoundDecimal(d, d.exponent + decimals);
  String intPart;
  for (int k = 0; k < d.exponent; ++k)
    intPart.push_back(k < static_cast<int>(d.digits.size()) ? d.digits[static_cast<size_t>(k)] : '0');
  if (intPart.empty()) intPart.push_back('0');
  String out;
  if (d.negative && !d.digits.empty()) out.push_back('-');
  const size_t len = intPart.size();
  for (size_t k = 0; k < len; ++k) {
    if (thousands && k > 0 && (len - k) % 3 == 0) out.push_back(',');
    out.push_back(intPart[k]);
  }
  if (decimals > 0) {
    out.push_back('.');
    for (int k = 0; k < decimals; ++k) {
      int index = d.exponent + k;  // position of this decimal in digits
      out.push_back(index >= 0 && index < static_cast<int>(d.digits.size()) ? d.digits[static_cast<size_t>(index)]
                                                                            : '0');
    }
  }
  return out;
}

}  // namespace

String FloatToStrF(double value, TFloatFormat format, int precision, int digits) {
  if (std::isnan(value)) return "NAN";
  if (std::isinf(value)) return value < 0 ? "-INF" : "INF";
  precision = std::clamp(precision, 1, 18);
  digits = std::clamp(digits, 0, 18);
  Decimal d = ToDecimal(value);
  switch (format) {
    case ffExponent:
      return FormatExponent(d, precision, std::min(digits, 4));
    case ffFixed:
      return FormatFixed(d, precision, digits, false);
    case ffNumber:
    case ffCurrency:
      return FormatFixed(d, precision, digits, true);
    case ffGeneral:
      break;
  }
  return FormatGeneral(d, precision, std::min(digits, 4));
}

String FloatToStr(double value) { return FloatToStrF(value, ffGeneral, 15, 0); }

// ---- Trimming

namespace {

template <class View>
View TrimView(View s, bool left, bool right) {
  size_t begin = 0, end = s.size();
  if (left)
    while (begin < end && static_cast<std::make_unsigned_t<typename View::value_type>>(s[begin]) <= ' ') ++begin;
  if (right)
    while (end > begin && static_cast<std::make_unsigned_t<typename View::value_type>>(s[end - 1]) <= ' ') --end;
  return s.substr(begin, end - begin);
}

}  // namespace

String Trim(std::string_view s) { return String(TrimView(s, true, true)); }
String TrimLeft(std::string_view s) { return String(TrimView(s, true, false)); }
String TrimRight(std::string_view s) { return String(TrimView(s, false, true)); }
WideString Trim(std::u16string_view s) { return WideString(TrimView(s, true, true)); }
WideString TrimLeft(std::u16string_view s) { return WideString(TrimView(s, true, false)); }
WideString TrimRight(std::u16string_view s) { return WideString(TrimView(s, false, true)); }

// ---- Case and comparison

namespace {

char AsciiUpper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c; }
char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; }

char32_t Fold(char32_t c) { return WideCharFold(c); }

char32_t DecodeUtf16At(std::u16string_view s, size_t& pos) {
  char32_t c = s[pos++];
  if (c >= 0xD800 && c <= 0xDBFF && pos < s.size() && s[pos] >= 0xDC00 && s[pos] <= 0xDFFF)
    c = 0x10000 + ((c - 0xD800) << 10) + (s[pos++] - 0xDC00);
  return c;
}

// Decodes for comparison: a byte that does not start valid UTF-8 reads as a
// value above every character, distinct per byte, so unlike bytes stay unlike.
char32_t DecodeUtf8ForCompare(std::string_view s, size_t& pos) {
  size_t start = pos;
  char32_t c = DecodeUtf8At(s, pos);
  if (c == kReplacementChar && s.substr(start, pos - start) != "\xEF\xBF\xBD")
    return 0x110000 + static_cast<unsigned char>(s[start]);
  return c;
}

// Maps every character of UTF-8 text; bytes that are not valid UTF-8 stay as they are.
String MapUtf8(std::string_view s, char32_t (*map)(char32_t)) {
  String out;
  out.reserve(s.size());
  size_t pos = 0;
  while (pos < s.size()) {
    size_t start = pos;
    char32_t c = DecodeUtf8At(s, pos);
    if (c == kReplacementChar && s.substr(start, pos - start) != "\xEF\xBF\xBD") {
      out.append(s.substr(start, pos - start));
    } else {
      AppendUtf8(out, map(c));
    }
  }
  return out;
}

WideString MapUtf16(std::u16string_view s, char32_t (*map)(char32_t)) {
  WideString out;
  out.reserve(s.size());
  size_t pos = 0;
  while (pos < s.size()) {
    char32_t c = DecodeUtf16At(s, pos);
    // A lone surrogate is kept as the unit it is.
    if (c >= 0xD800 && c <= 0xDFFF) {
      out.push_back(static_cast<char16_t>(c));
    } else {
      AppendUtf16(out, map(c));
    }
  }
  return out;
}

int Sign(std::int64_t v) { return v < 0 ? -1 : (v > 0 ? 1 : 0); }

// Case-insensitive order of two character sequences read by `next`.
template <class View, class Next>
int CompareFolded(View a, View b, Next next) {
  size_t i = 0, j = 0;
  while (i < a.size() && j < b.size()) {
    char32_t ca = Fold(next(a, i)), cb = Fold(next(b, j));
    if (ca != cb) return ca < cb ? -1 : 1;
  }
  return Sign(static_cast<std::int64_t>(a.size() - i) - static_cast<std::int64_t>(b.size() - j));
}

}  // namespace

String UpperCase(std::string_view s) {
  String out(s);
  for (char& c : out) c = AsciiUpper(c);
  return out;
}

String LowerCase(std::string_view s) {
  String out(s);
  for (char& c : out) c = AsciiLower(c);
  return out;
}

int CompareStr(std::string_view a, std::string_view b) { return Sign(a.compare(b)); }

int CompareText(std::string_view a, std::string_view b) {
  size_t n = std::min(a.size(), b.size());
  for (size_t i = 0; i < n; ++i) {
    auto ca = static_cast<unsigned char>(AsciiUpper(a[i]));
    auto cb = static_cast<unsigned char>(AsciiUpper(b[i]));
    if (ca != cb) return ca - cb;
  }
  return static_cast<int>(a.size() > b.size()) - static_cast<int>(a.size() < b.size());
}

bool SameText(std::string_view a, std::string_view b) { return CompareText(a, b) == 0; }

String AnsiUpperCase(std::string_view s) { return MapUtf8(s, WideCharUpper); }
String AnsiLowerCase(std::string_view s) { return MapUtf8(s, WideCharLower); }

int AnsiCompareText(std::string_view a, std::string_view b) { return CompareFolded(a, b, DecodeUtf8ForCompare); }

bool AnsiSameText(std::string_view a, std::string_view b) { return AnsiCompareText(a, b) == 0; }

WideString WideUpperCase(std::u16string_view s) { return MapUtf16(s, WideCharUpper); }
WideString WideLowerCase(std::u16string_view s) { return MapUtf16(s, WideCharLower); }

int WideCompareStr(std::u16string_view a, std::u16string_view b) {
  // By code point, so that characters beyond U+FFFF sort after U+E000..U+FFFF as in UTF-8.
  size_t i = 0, j = 0;
  while (i < a.size() && j < b.size()) {
    char32_t ca = DecodeUtf16At(a, i), cb = DecodeUtf16At(b, j);
    if (ca != cb) return ca < cb ? -1 : 1;
  }
  return Sign(static_cast<std::int64_t>(a.size() - i) - static_cast<std::int64_t>(b.size() - j));
}

int WideCompareText(std::u16string_view a, std::u16string_view b) { return CompareFolded(a, b, DecodeUtf16At); }

bool WideSameText(std::u16string_view a, std::u16string_view b) { return WideCompareText(a, b) == 0; }

// ---- File names

namespace {

bool IsPathDelimiter(char c) { return c == '\\' || c == '/'; }
bool IsNameDelimiter(char c) { return IsPathDelimiter(c) || c == DriveDelim; }

// Index just past the last path or drive delimiter (0 when there is none).
size_t NameStart(std::string_view fileName) {
  size_t i = fileName.size();
  while (i > 0 && !IsNameDelimiter(fileName[i - 1])) --i;
  return i;
}

// Index of the extension's dot, or npos.
size_t ExtensionDot(std::string_view fileName) {
  size_t dot = fileName.rfind('.');
  return dot != std::string_view::npos && dot >= NameStart(fileName) ? dot : std::string_view::npos;
}

}  // namespace

String ExtractFilePath(std::string_view fileName) { return String(fileName.substr(0, NameStart(fileName))); }

String ExtractFileDir(std::string_view fileName) {
  size_t n = NameStart(fileName);
  // Drop the final '\' unless it is the first character or follows another
  // delimiter: "C:\" and "\" stay roots.
  if (n > 1 && IsPathDelimiter(fileName[n - 1]) && !IsNameDelimiter(fileName[n - 2])) --n;
  return String(fileName.substr(0, n));
}

String ExtractFileName(std::string_view fileName) { return String(fileName.substr(NameStart(fileName))); }

String ExtractFileExt(std::string_view fileName) {
  size_t dot = ExtensionDot(fileName);
  return dot == std::string_view::npos ? String() : String(fileName.substr(dot));
}

String ChangeFileExt(std::string_view fileName, std::string_view extension) {
  size_t dot = ExtensionDot(fileName);
  String out(fileName.substr(0, dot == std::string_view::npos ? fileName.size() : dot));
  out += extension;
  return out;
}

String ExtractFileDrive(std::string_view fileName) {
  if (fileName.size() >= 2 && fileName[1] == DriveDelim) return String(fileName.substr(0, 2));
  if (fileName.size() >= 2 && IsPathDelimiter(fileName[0]) && IsPathDelimiter(fileName[1])) {
    // "\\server\share": up to the delimiter after the share name.
    size_t i = 2;
    int delimiters = 0;
    for (; i < fileName.size(); ++i)
      if (IsPathDelimiter(fileName[i]) && ++delimiters == 2) break;
    return String(fileName.substr(0, i));
  }
  return String();
}

String IncludeTrailingPathDelimiter(std::string_view s) {
  String out(s);
  if (out.empty() || !IsPathDelimiter(out.back())) out.push_back(PathDelim);
  return out;
}

String ExcludeTrailingPathDelimiter(std::string_view s) {
  if (!s.empty() && IsPathDelimiter(s.back())) s.remove_suffix(1);
  return String(s);
}

// ---- Substrings

namespace {

// Length of the match of pattern at pos in s, ignoring case, or npos.
size_t MatchFolded(std::string_view s, size_t pos, std::string_view pattern) {
  size_t i = pos, j = 0;
  while (j < pattern.size()) {
    if (i >= s.size()) return std::string_view::npos;
    if (Fold(DecodeUtf8ForCompare(s, i)) != Fold(DecodeUtf8ForCompare(pattern, j))) return std::string_view::npos;
  }
  return i - pos;
}

size_t MatchFolded(std::u16string_view s, size_t pos, std::u16string_view pattern) {
  size_t i = pos, j = 0;
  while (j < pattern.size()) {
    if (i >= s.size()) return std::u16string_view::npos;
    if (Fold(DecodeUtf16At(s, i)) != Fold(DecodeUtf16At(pattern, j))) return std::u16string_view::npos;
  }
  return i - pos;
}

template <class View>
std::basic_string<typename View::value_type> Replace(View s, View oldPattern, View newPattern, TReplaceFlags flags) {
  std::basic_string<typename View::value_type> out;
  if (oldPattern.empty()) return out.assign(s);
  const bool all = flags.Contains(rfReplaceAll), ignoreCase = flags.Contains(rfIgnoreCase);
  size_t pos = 0;
  while (pos < s.size()) {
    size_t length = View::npos;
    if (ignoreCase) {
      length = MatchFolded(s, pos, oldPattern);
    } else if (s.substr(pos, oldPattern.size()) == oldPattern) {
      length = oldPattern.size();
    }
    if (length == View::npos) {
      out.push_back(s[pos++]);
      continue;
    }
    out += newPattern;
    pos += length;
    if (!all) break;
  }
  out += s.substr(pos);
  return out;
}

template <class View>
int FindPos(View sub, View s) {
  if (sub.empty()) return 0;
  size_t p = s.find(sub);
  return p == View::npos ? 0 : static_cast<int>(p) + 1;
}

template <class View>
std::basic_string<typename View::value_type> CopyView(View s, std::int64_t index, std::int64_t count) {
  const auto size = static_cast<std::int64_t>(s.size());
  index = std::max<std::int64_t>(index, 1);
  if (count <= 0 || index > size) return {};
  count = std::min(count, size - index + 1);
  return std::basic_string<typename View::value_type>(
      s.substr(static_cast<size_t>(index - 1), static_cast<size_t>(count)));
}

}  // namespace

String StringReplace(std::string_view s, std::string_view oldPattern, std::string_view newPattern,
                     TReplaceFlags flags) {
  return Replace(s, oldPattern, newPattern, flags);
}

WideString WideStringReplace(std::u16string_view s, std::u16string_view oldPattern, std::u16string_view newPattern,
                             TReplaceFlags flags) {
  return Replace(s, oldPattern, newPattern, flags);
}

int Pos(std::string_view sub, std::string_view s) { return FindPos(sub, s); }
int Pos(std::u16string_view sub, std::u16string_view s) { return FindPos(sub, s); }

String Copy(std::string_view s, std::int64_t index, std::int64_t count) { return CopyView(s, index, count); }
WideString Copy(std::u16string_view s, std::int64_t index, std::int64_t count) { return CopyView(s, index, count); }

String QuotedStr(std::string_view s) {
  String out = "'";
  for (char c : s) {
    out.push_back(c);
    if (c == '\'') out.push_back('\'');
  }
  out.push_back('\'');
  return out;
}

String BoolToStr(bool b, bool useBoolStrs) {
  if (useBoolStrs) return b ? "True" : "False";
  return b ? "-1" : "0";
}
