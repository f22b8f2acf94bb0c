#include "platform/sysutils.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <limits>

#include "platform/exceptions.h"
#include "platform/format.h"
#include "platform/wide_case.h"

TEST(SysUtilsInt, ToText) {
  EXPECT_EQ(IntToStr(0), "0");
  EXPECT_EQ(IntToStr(-42), "-42");
  EXPECT_EQ(IntToStr(std::numeric_limits<std::int64_t>::min()), "-9223372036854775808");
  EXPECT_EQ(IntToHex(255, 2), "FF");
  EXPECT_EQ(IntToHex(255, 6), "0000FF");
  EXPECT_EQ(IntToHex(0x12345, 2), "12345");  // never cut
  EXPECT_EQ(IntToHex(0, 0), "0");
  EXPECT_EQ(IntToHex(-1, 2), "FFFFFFFF");  // the width of the argument's type
  EXPECT_EQ(IntToHex(std::int64_t{-1}, 2), "FFFFFFFFFFFFFFFF");
  EXPECT_EQ(IntToHex(std::int16_t{-2}, 1), "FFFE");
  EXPECT_EQ(IntToHex(1, 1000000).size(), 32u);  // a silly digit count stays cheap
}

TEST(SysUtilsInt, ParsesWhatTheClassLibraryAccepts) {
  EXPECT_EQ(StrToInt("123"), 123);
  EXPECT_EQ(StrToInt("  -17"), -17);
  EXPECT_EQ(StrToInt("+5"), 5);
  EXPECT_EQ(StrToInt("$1F"), 31);
  EXPECT_EQ(StrToInt("0x1f"), 31);
  EXPECT_EQ(StrToInt("0X10"), 16);
  EXPECT_EQ(StrToInt("-$10"), -16);
  EXPECT_EQ(StrToInt("007"), 7);
  EXPECT_EQ(StrToInt("2147483647"), 2147483647);
  EXPECT_EQ(StrToInt("-2147483648"), std::numeric_limits<int>::min());
  EXPECT_EQ(StrToInt("$FFFFFFFF"), -1);  // hexadecimal fills the whole width
  EXPECT_EQ(StrToInt("$80000000"), std::numeric_limits<int>::min());
  EXPECT_EQ(StrToInt64("9223372036854775807"), std::numeric_limits<std::int64_t>::max());
  EXPECT_EQ(StrToInt64("-9223372036854775808"), std::numeric_limits<std::int64_t>::min());
  EXPECT_EQ(StrToInt64("$FFFFFFFFFFFFFFFF"), -1);
  EXPECT_EQ(StrToInt64("4294967296"), 4294967296LL);
}

TEST(SysUtilsInt, RejectsEverythingElse) {
  for (const char* bad : {"", " ", "abc", "12 ", "12a", "1.5", "-", "+", "$", "0x", "$G", "--1", "- 1", "\t1", "1e3",
                          "2147483648", "-2147483649", "$100000000", "99999999999999999999"}) {
    int v = 99;
    EXPECT_FALSE(TryStrToInt(bad, v)) << bad;
    EXPECT_EQ(v, 99) << "value left alone for " << bad;
    EXPECT_EQ(StrToIntDef(bad, -7), -7) << bad;
  }
  int v;
  EXPECT_FALSE(TryStrToInt(std::string_view("1\0", 2), v));
  std::int64_t v64;
  EXPECT_FALSE(TryStrToInt64("9223372036854775808", v64));
  EXPECT_FALSE(TryStrToInt64("$10000000000000000", v64));
  EXPECT_EQ(StrToInt64Def("x", 3), 3);
  try {
    StrToInt("abc");
    FAIL() << "no exception";
  } catch (const EConvertError& e) {
    EXPECT_EQ(e.Message, "'abc' is not a valid integer value");
  }
  EXPECT_THROW(StrToInt64(""), EConvertError);
}

TEST(SysUtilsFloat, Parses) {
  EXPECT_EQ(StrToFloat("1.5"), 1.5);
  EXPECT_EQ(StrToFloat(" -0.25 "), -0.25);
  EXPECT_EQ(StrToFloat("+3"), 3.0);
  EXPECT_EQ(StrToFloat(".5"), 0.5);
  EXPECT_EQ(StrToFloat("5."), 5.0);
  EXPECT_EQ(StrToFloat("1E3"), 1000.0);
  EXPECT_EQ(StrToFloat("1.5e-3"), 0.0015);
  EXPECT_EQ(StrToFloat("2e+2"), 200.0);
  EXPECT_EQ(StrToFloat("0.1"), 0.1);     // correctly rounded
  EXPECT_EQ(StrToFloat("1e-400"), 0.0);  // too small: zero
  EXPECT_EQ(StrToFloat("0.000000000000000000000000000000000001e-380"), 0.0);
  EXPECT_EQ(StrToFloat("1e-99999999999999999999"), 0.0);
  EXPECT_EQ(StrToFloatDef("1,5", -1), -1);  // "," is never the separator
  for (const char* bad : {"", ".", "e5", "1e", "1e+", "abc", "1.5x", "inf", "nan", "0x10", "1e400", "1,000", "- 1",
                          "1..2", "100000e99999"}) {
    double v = 7;
    EXPECT_FALSE(TryStrToFloat(bad, v)) << bad;
    EXPECT_EQ(v, 7) << bad;
  }
  try {
    StrToFloat("x1");
    FAIL() << "no exception";
  } catch (const EConvertError& e) {
    EXPECT_EQ(e.Message, "'x1' is not a valid floating point value");
  }
}

TEST(SysUtilsFloat, ToTextGeneral) {
  EXPECT_EQ(FloatToStr(1.5), "1.5");
  EXPECT_EQ(FloatToStr(100), "100");
  EXPECT_EQ(FloatToStr(0), "0");
  EXPECT_EQ(FloatToStr(-0.0), "0");
  EXPECT_EQ(FloatToStr(-0.5), "-0.5");
  EXPECT_EQ(FloatToStr(1e14), "100000000000000");
  EXPECT_EQ(FloatToStr(1e15), "1E15");
  EXPECT_EQ(FloatToStr(1.5e15), "1.5E15");
  EXPECT_EQ(FloatToStr(0.0001), "0.0001");
  EXPECT_EQ(FloatToStr(0.00001), "1E-5");
  EXPECT_EQ(FloatToStr(-0.000015), "-1.5E-5");
  EXPECT_EQ(FloatToStr(0.1 + 0.2), "0.3");  // 15 significant digits hide the binary error
  EXPECT_EQ(FloatToStr(1.0 / 3), "0.333333333333333");
  EXPECT_EQ(FloatToStr(2.0 / 3), "0.666666666666667");
  EXPECT_EQ(FloatToStr(999999999999999.9), "1E15");  // rounding carries into a new digit
  EXPECT_EQ(FloatToStr(123456789012345678.0), "1.23456789012346E17");
  EXPECT_EQ(FloatToStr(1e-300), "1E-300");
  EXPECT_EQ(FloatToStr(std::numeric_limits<double>::quiet_NaN()), "NAN");
  EXPECT_EQ(FloatToStr(std::numeric_limits<double>::infinity()), "INF");
  EXPECT_EQ(FloatToStr(-std::numeric_limits<double>::infinity()), "-INF");
  for (double v : {1.5, -2.25, 0.1, 1e100, 3.14159265358979, 123456.789}) EXPECT_EQ(StrToFloat(FloatToStr(v)), v) << v;
}

TEST(SysUtilsFloat, ToTextFormats) {
  EXPECT_EQ(FloatToStrF(1500, ffExponent, 15, 3), "1.50000000000000E+003");
  EXPECT_EQ(FloatToStrF(-0.00015, ffExponent, 3, 2), "-1.50E-04");
  EXPECT_EQ(FloatToStrF(0, ffExponent, 4, 0), "0.000E+0");
  EXPECT_EQ(FloatToStrF(9.99, ffExponent, 2, 1), "1.0E+1");
  EXPECT_EQ(FloatToStrF(1234.5678, ffFixed, 18, 2), "1234.57");
  EXPECT_EQ(FloatToStrF(0.125, ffFixed, 18, 2), "0.13");  // decimal halves round away from zero
  EXPECT_EQ(FloatToStrF(-0.125, ffFixed, 18, 2), "-0.13");
  EXPECT_EQ(FloatToStrF(2.675, ffFixed, 18, 2), "2.67");  // the double is just below 2.675
  EXPECT_EQ(FloatToStrF(0.5, ffFixed, 18, 0), "1");
  EXPECT_EQ(FloatToStrF(0.004, ffFixed, 18, 2), "0.00");
  EXPECT_EQ(FloatToStrF(-0.004, ffFixed, 18, 2), "0.00");  // no "-" before a zero
  EXPECT_EQ(FloatToStrF(0.005, ffFixed, 18, 2), "0.01");
  EXPECT_EQ(FloatToStrF(99.999, ffFixed, 18, 2), "100.00");
  EXPECT_EQ(FloatToStrF(5, ffFixed, 18, 30), "5.000000000000000000");  // at most 18 decimals
  EXPECT_EQ(FloatToStrF(1e16, ffFixed, 15, 2), "1E16");                // more integer digits than precision
  EXPECT_EQ(FloatToStrF(-1234567.891, ffNumber, 18, 2), "-1,234,567.89");
  EXPECT_EQ(FloatToStrF(123, ffNumber, 18, 0), "123");
  EXPECT_EQ(FloatToStrF(123456, ffCurrency, 18, 2), "123,456.00");
  EXPECT_EQ(FloatToStrF(1.25, ffGeneral, 2, 0), "1.3");
  EXPECT_EQ(FloatToStrF(1e20, ffGeneral, 15, 3), "1E020");
}

namespace {

// Switches the C locale to one with a decimal comma for one test, when the
// machine has one, and back afterwards.
class DecimalCommaLocale {
 public:
  DecimalCommaLocale() : previous_(std::setlocale(LC_ALL, nullptr)) {
    for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "de_DE", "fr_FR.UTF-8", "German_Germany.1252", "German"}) {
      if (std::setlocale(LC_ALL, name) && std::localeconv()->decimal_point[0] == ',') {
        active_ = true;
        return;
      }
    }
    std::setlocale(LC_ALL, previous_.c_str());
  }
  ~DecimalCommaLocale() { std::setlocale(LC_ALL, previous_.c_str()); }
  bool active() const { return active_; }

 private:
  String previous_;
  bool active_ = false;
};

}  // namespace

// Other code in the process (a shell extension, a printer driver) may switch the
// C locale to one with a decimal comma; number text must not follow it.
TEST(SysUtilsFloat, IgnoresTheProcessLocale) {
  DecimalCommaLocale german;
  if (!german.active()) GTEST_SKIP() << "no locale with a decimal comma installed";
  EXPECT_EQ(FloatToStr(1.5), "1.5");
  EXPECT_EQ(FloatToStrF(1234.5, ffNumber, 18, 2), "1,234.50");
  EXPECT_EQ(StrToFloat("2.5"), 2.5);
  double v;
  EXPECT_FALSE(TryStrToFloat("2,5", v));
  EXPECT_EQ(Format("%.2f|%g|%e|%n", {1.5, 0.25, 1500.0, 1234.5}), "1.50|0.25|1.50000000000000E+003|1,234.50");
}

TEST(SysUtilsTrim, BothKinds) {
  EXPECT_EQ(Trim("  a b \t\r\n"), "a b");
  EXPECT_EQ(Trim(String("\x01x\x1f")), "x");  // every control character counts as blank
  EXPECT_EQ(TrimLeft("  a "), "a ");
  EXPECT_EQ(TrimRight("  a "), "  a");
  EXPECT_EQ(Trim("   "), "");
  EXPECT_EQ(Trim(""), "");
  EXPECT_EQ(Trim("\xC2\xA0x"), "\xC2\xA0x");  // bytes above ' ' (UTF-8 of a no-break space) stay
  EXPECT_EQ(Trim(u" \tä \u00A0"), u"ä \u00A0");
  EXPECT_EQ(TrimLeft(WideString(u"  a ")), u"a ");
  EXPECT_EQ(TrimRight(u"  a "), u"  a");
}

TEST(SysUtilsCase, AsciiFunctionsFoldOnlyAscii) {
  EXPECT_EQ(UpperCase("abc xyZ äö"), "ABC XYZ äö");
  EXPECT_EQ(LowerCase("ABC ÄÖ"), "abc ÄÖ");
  EXPECT_EQ(CompareText("abc", "ABC"), 0);
  EXPECT_LT(CompareText("abc", "abd"), 0);
  EXPECT_GT(CompareText("b", "A"), 0);
  EXPECT_LT(CompareText("ab", "abc"), 0);
  EXPECT_GT(CompareText("abc", "AB"), 0);
  EXPECT_GT(CompareText("_", "a"), 0);  // folded to upper case, '_' sorts after letters
  EXPECT_NE(CompareText("ä", "Ä"), 0);
  EXPECT_TRUE(SameText("Hello", "hELLO"));
  EXPECT_FALSE(SameText("Hello", "Hell"));
  EXPECT_LT(CompareStr("A", "a"), 0);
  EXPECT_EQ(CompareStr("same", "same"), 0);
  EXPECT_GT(CompareStr("\xC3\xA4", "z"), 0);  // bytes compare unsigned
}

TEST(SysUtilsCase, UnicodeAware) {
  EXPECT_EQ(AnsiUpperCase("straße äöü éñ ÿ"), "STRAßE ÄÖÜ ÉÑ Ÿ");
  EXPECT_EQ(AnsiLowerCase("ÀÉÎ ŁŒ ΣΑΣ ПРИВЕТ Ա"), "àéî łœ σασ привет ա");
  EXPECT_EQ(AnsiUpperCase("a\xFF"
                          "b\xC3"),
            "A\xFF"
            "B\xC3");  // broken bytes survive unchanged
  EXPECT_TRUE(AnsiSameText("Ärger", "äRGER"));
  EXPECT_TRUE(AnsiSameText("ΣΊΣΥΦΟΣ", "σίσυφος"));
  EXPECT_TRUE(AnsiSameText("Straſse", "STRASSE"));  // long s folds with s
  EXPECT_FALSE(AnsiSameText("\xFF", "\xFE"));
  EXPECT_FALSE(AnsiSameText("a", "ab"));
  EXPECT_LT(AnsiCompareText("apfel", "Äpfel"), 0);
  EXPECT_LT(AnsiCompareText("_", "a"), 0);
  EXPECT_EQ(WideUpperCase(u"ǆemal ﬀ ｆｕｌｌ"), u"ǄEMAL ﬀ ＦＵＬＬ");  // the ff ligature has no single upper case
  EXPECT_EQ(WideLowerCase(u"ÄÖÜ ΩΜΕΓΑ Ѐ Ⱥ"), u"äöü ωμεγα ѐ ⱥ");
  EXPECT_EQ(WideUpperCase(u"x\xD800y\U0001F600"), u"X\xD800Y\U0001F600");  // lone surrogates stay
  EXPECT_TRUE(WideSameText(u"ÉCOLE", u"école"));
  EXPECT_EQ(WideCompareText(u"abc", u"ABC"), 0);
  EXPECT_LT(WideCompareText(u"abc", u"ABCD"), 0);
  EXPECT_GT(WideCompareText(u"б", u"А"), 0);
  EXPECT_LT(WideCompareStr(u"B", u"a"), 0);
  // Code point order, as UTF-8 byte order gives: an astral character follows U+FFFD.
  EXPECT_GT(WideCompareStr(u"\U0001F600", u"\uFFFD"), 0);
  EXPECT_GT(CompareStr("\U0001F600", "\uFFFD"), 0);
}

TEST(SysUtilsCase, CharacterTables) {
  EXPECT_EQ(WideCharUpper(U'a'), U'A');
  EXPECT_EQ(WideCharUpper(U'ß'), U'ß');  // no single-character upper case
  EXPECT_EQ(WideCharUpper(U'ÿ'), U'Ÿ');
  EXPECT_EQ(WideCharUpper(U'µ'), U'Μ');
  EXPECT_EQ(WideCharUpper(U'ı'), U'I');
  EXPECT_EQ(WideCharLower(U'İ'), U'i');
  EXPECT_EQ(WideCharUpper(U'ς'), U'Σ');
  EXPECT_EQ(WideCharLower(U'Σ'), U'σ');
  EXPECT_EQ(WideCharUpper(U'ǅ'), U'Ǆ');  // title case letters have both partners
  EXPECT_EQ(WideCharLower(U'ǅ'), U'ǆ');
  EXPECT_EQ(WideCharLower(U'Ā'), U'ā');
  EXPECT_EQ(WideCharUpper(U'ā'), U'Ā');
  EXPECT_EQ(WideCharUpper(U'ŉ'), U'ŉ');
  EXPECT_EQ(WideCharLower(U'Ѐ'), U'ѐ');
  EXPECT_EQ(WideCharLower(U'Ӏ'), U'ӏ');
  EXPECT_EQ(WideCharUpper(U'ֆ'), U'Ֆ');
  EXPECT_EQ(WideCharLower(U'Ｚ'), U'ｚ');
  EXPECT_EQ(WideCharUpper(U'ɐ'), U'Ɐ');  // partners outside the tables' blocks work both ways
  EXPECT_EQ(WideCharLower(U'Ɐ'), U'ɐ');
  for (char32_t c : {U'0', U'@', U'[', U'`', U'{', U'×', U'÷', U'一', U'\U0001F600', char32_t{0x110000}}) {
    EXPECT_EQ(WideCharUpper(c), c);
    EXPECT_EQ(WideCharLower(c), c);
  }
  // Latin Extended-A is alternating pairs: each letter's partner maps back to
  // it, except for three letters whose partner is plain ASCII and two without one.
  for (char32_t c = 0x100; c < 0x180; ++c) {
    if (c == U'İ' || c == U'ı' || c == U'ſ' || c == U'ĸ' || c == U'ŉ') continue;
    char32_t u = WideCharUpper(c), l = WideCharLower(c);
    EXPECT_TRUE(u != c || l != c) << int(c);
    if (u != c) {
      EXPECT_EQ(WideCharLower(u), c) << int(c);
    }
    if (l != c) {
      EXPECT_EQ(WideCharUpper(l), c) << int(c);
    }
  }
}

TEST(SysUtilsPath, Parts) {
  EXPECT_EQ(ExtractFilePath("C:\\dir\\file.txt"), "C:\\dir\\");
  EXPECT_EQ(ExtractFileDir("C:\\dir\\file.txt"), "C:\\dir");
  EXPECT_EQ(ExtractFileName("C:\\dir\\file.txt"), "file.txt");
  EXPECT_EQ(ExtractFileExt("C:\\dir\\file.txt"), ".txt");

  EXPECT_EQ(ExtractFilePath("C:\\"), "C:\\");
  EXPECT_EQ(ExtractFileDir("C:\\"), "C:\\");  // a root keeps its delimiter
  EXPECT_EQ(ExtractFileDir("C:\\file"), "C:\\");
  EXPECT_EQ(ExtractFileDir("\\file"), "\\");
  EXPECT_EQ(ExtractFileName("C:\\"), "");
  EXPECT_EQ(ExtractFilePath("C:file"), "C:");
  EXPECT_EQ(ExtractFileDir("C:file"), "C:");
  EXPECT_EQ(ExtractFileName("C:file"), "file");
  EXPECT_EQ(ExtractFilePath("file"), "");
  EXPECT_EQ(ExtractFileDir("file"), "");

  EXPECT_EQ(ExtractFileDir("\\\\server\\share\\file"), "\\\\server\\share");
  EXPECT_EQ(ExtractFileName("\\\\server\\share\\file"), "file");
  EXPECT_EQ(ExtractFileDrive("\\\\server\\share\\dir\\file"), "\\\\server\\share");
  EXPECT_EQ(ExtractFileDrive("\\\\server\\share"), "\\\\server\\share");
  EXPECT_EQ(ExtractFileDrive("\\\\server"), "\\\\server");
  EXPECT_EQ(ExtractFileDrive("C:\\x"), "C:");
  EXPECT_EQ(ExtractFileDrive("\\x"), "");
  EXPECT_EQ(ExtractFileDrive("/home/user"), "");
  EXPECT_EQ(ExtractFileDrive("//host/share/x"), "//host/share");

  EXPECT_EQ(ExtractFileExt("name."), ".");
  EXPECT_EQ(ExtractFileExt("dir.d\\file"), "");  // a dot in a folder is no extension
  EXPECT_EQ(ExtractFileExt("dir.d/file"), "");
  EXPECT_EQ(ExtractFileExt("archive.tar.gz"), ".gz");
  EXPECT_EQ(ExtractFileExt(".profile"), ".profile");
  EXPECT_EQ(ExtractFileExt("C:.ext"), ".ext");

  // Native paths.
  EXPECT_EQ(ExtractFilePath("/home/user/a.b"), "/home/user/");
  EXPECT_EQ(ExtractFileDir("/home/user/a.b"), "/home/user");
  EXPECT_EQ(ExtractFileDir("/a"), "/");
  EXPECT_EQ(ExtractFileName("/home/user/a.b"), "a.b");
  EXPECT_EQ(ExtractFileName("mixed\\dir/name"), "name");
}

TEST(SysUtilsPath, Changes) {
  EXPECT_EQ(ChangeFileExt("C:\\dir\\file.txt", ".bak"), "C:\\dir\\file.bak");
  EXPECT_EQ(ChangeFileExt("dir.d\\file", ".ini"), "dir.d\\file.ini");
  EXPECT_EQ(ChangeFileExt("name.", ".x"), "name.x");
  EXPECT_EQ(ChangeFileExt("a.tar.gz", ""), "a.tar");
  const String delim(1, PathDelim);
  EXPECT_EQ(IncludeTrailingPathDelimiter("C:\\dir"), "C:\\dir" + delim);
  EXPECT_EQ(IncludeTrailingPathDelimiter("C:\\dir\\"), "C:\\dir\\");
  EXPECT_EQ(IncludeTrailingPathDelimiter("/tmp/"), "/tmp/");
  EXPECT_EQ(IncludeTrailingPathDelimiter(""), delim);
  EXPECT_EQ(ExcludeTrailingPathDelimiter("C:\\dir\\"), "C:\\dir");
  EXPECT_EQ(ExcludeTrailingPathDelimiter("/tmp/"), "/tmp");
  EXPECT_EQ(ExcludeTrailingPathDelimiter("C:\\dir"), "C:\\dir");
  EXPECT_EQ(ExcludeTrailingPathDelimiter(""), "");
}

TEST(SysUtilsSubstrings, Replace) {
  EXPECT_EQ(StringReplace("aaa", "a", "b"), "baa");
  EXPECT_EQ(StringReplace("aaa", "a", "b", {rfReplaceAll}), "bbb");
  EXPECT_EQ(StringReplace("aaa", "aa", "a", {rfReplaceAll}), "aa");  // no rescan of replaced text
  EXPECT_EQ(StringReplace("abc", "", "x", {rfReplaceAll}), "abc");
  EXPECT_EQ(StringReplace("Hello hello", "HELLO", "bye", {rfReplaceAll}), "Hello hello");
  EXPECT_EQ(StringReplace("Hello hello", "HELLO", "bye", {rfReplaceAll, rfIgnoreCase}), "bye bye");
  EXPECT_EQ(StringReplace("Hello hello", "HELLO", "bye", {rfIgnoreCase}), "bye hello");
  EXPECT_EQ(StringReplace("ÄRGER ärger", "ärger", "x", {rfReplaceAll, rfIgnoreCase}), "x x");
  EXPECT_EQ(StringReplace("ab", "b", "bb", {rfReplaceAll}), "abb");
  EXPECT_EQ(StringReplace("%1 and %1", "%1", "x", {rfReplaceAll}), "x and x");
  EXPECT_EQ(WideStringReplace(u"ÉTÉ été", u"été", u"x", {rfReplaceAll, rfIgnoreCase}), u"x x");
  EXPECT_EQ(WideStringReplace(u"a.b.c", u".", u"\\", {rfReplaceAll}), u"a\\b\\c");
}

TEST(SysUtilsSubstrings, PosCopyQuoted) {
  EXPECT_EQ(Pos("b", "abc"), 2);
  EXPECT_EQ(Pos("a", "abc"), 1);
  EXPECT_EQ(Pos("x", "abc"), 0);
  EXPECT_EQ(Pos("", "abc"), 0);
  EXPECT_EQ(Pos("abcd", "abc"), 0);
  EXPECT_EQ(Pos(u"c", u"abc"), 3);
  EXPECT_EQ(Copy("abcdef", 2, 3), "bcd");
  EXPECT_EQ(Copy("abcdef", 5, 100), "ef");
  EXPECT_EQ(Copy("abcdef", 0, 2), "ab");  // an index below 1 counts from the start
  EXPECT_EQ(Copy("abcdef", -5, 2), "ab");
  EXPECT_EQ(Copy("abcdef", 7, 1), "");
  EXPECT_EQ(Copy("abcdef", 2, -1), "");
  EXPECT_EQ(Copy("abcdef", 1, std::numeric_limits<std::int64_t>::max()), "abcdef");
  EXPECT_EQ(Copy("abcdef", std::numeric_limits<std::int64_t>::max(), 1), "");
  EXPECT_EQ(Copy(u"äbc", 2, 2), u"bc");
  EXPECT_EQ(QuotedStr("it's"), "'it''s'");
  EXPECT_EQ(QuotedStr(""), "''");
  EXPECT_EQ(BoolToStr(true), "-1");
  EXPECT_EQ(BoolToStr(false), "0");
  EXPECT_EQ(BoolToStr(true, true), "True");
  EXPECT_EQ(BoolToStr(false, true), "False");
}
