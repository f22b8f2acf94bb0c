#include "kem3/framework/kemutil.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

TEST(KemUtil, AccelCharIsTheUpperCaseCharacterAfterTheFirstSingleAmpersand) {
  EXPECT_EQ(GetAccelChar("&File"), U'F');
  EXPECT_EQ(GetAccelChar("Save &as"), U'A');
  EXPECT_EQ(GetAccelChar("Fish && &chips"), U'C');
  EXPECT_EQ(GetAccelChar("no mark"), 0u);
  EXPECT_EQ(GetAccelChar("trailing &"), 0u);
  EXPECT_EQ(GetAccelChar("&&"), 0u);
  EXPECT_EQ(GetAccelChar("&über"), U'Ü');
  EXPECT_EQ(GetAccelCharW(u"Ga&mes"), u'M');
  EXPECT_EQ(GetAccelCharW(u"&&x"), 0);
}

TEST(KemUtil, StripAccelCharsKeepsDoubledAmpersandsAsOne) {
  EXPECT_EQ(StripAccelChars("Save && &Exit"), "Save & Exit");
  EXPECT_EQ(StripAccelChars("&&&a&"), "&a");
  EXPECT_EQ(StripAccelChars("plain"), "plain");
  EXPECT_EQ(StripAccelCharsW(u"&Ünï && cødé"), u"Ünï & cødé");
}

// ---- Paths

TEST(KemUtilPaths, StripPathPrefixComparesWithoutCase) {
  EXPECT_EQ(StripPathPrefix("C:\\Apps\\Orv\\x.exe", "c:\\apps\\"), "Orv\\x.exe");
  EXPECT_EQ(StripPathPrefix("C:\\Äpps\\x", "c:\\äPPS\\"), "x");
  EXPECT_EQ(StripPathPrefix("D:\\Apps\\x", "C:\\Apps\\"), "D:\\Apps\\x");
  EXPECT_EQ(StripPathPrefix("C:\\A", "C:\\Apps\\"), "C:\\A");  // prefix longer than the path
  EXPECT_EQ(StripPathPrefix("C:\\A", ""), "C:\\A");
}

TEST(KemUtilPaths, ExpandRelativePathLeavesAbsolutePathsAlone) {
  EXPECT_EQ(ExpandRelativePath("C:\\x\\y.exe", "D:\\base\\"), "C:\\x\\y.exe");
  EXPECT_EQ(ExpandRelativePath("\\\\server\\share\\f", "D:\\base\\"), "\\\\server\\share\\f");
  EXPECT_EQ(ExpandRelativePath("sub\\f.txt", "D:\\base\\"), "D:\\base\\sub\\f.txt");
  EXPECT_EQ(ExpandRelativePath("", "D:\\base\\"), "D:\\base\\");
}

// ---- Numbers

TEST(KemUtilNumbers, FloatsReadWithADotWhateverTheHabit) {
  EXPECT_DOUBLE_EQ(StrToFloatSafe("1.5", 7), 1.5);
  EXPECT_DOUBLE_EQ(StrToFloatSafe(" -2.25 ", 7), -2.25);
  EXPECT_DOUBLE_EQ(StrToFloatSafe("1,5", 7), 7);
  EXPECT_DOUBLE_EQ(StrToFloatSafe("abc", 7), 7);
  EXPECT_DOUBLE_EQ(StrToFloatSafe("", 7), 7);
  EXPECT_DOUBLE_EQ(StrToFloatDot("  1,5  ", 7), 1.5);
  EXPECT_DOUBLE_EQ(StrToFloatDot("3.25", 7), 3.25);
  EXPECT_DOUBLE_EQ(StrToFloatDot("1,5,5", 7), 7);  // only the first comma becomes a dot
  EXPECT_DOUBLE_EQ(StrToFloatDot("1e400", 7), 7);
}

TEST(KemUtilNumbers, DecimalSeparatorStackRestoresWhatWasSet) {
  ResetDecimalSeparator();
  EXPECT_EQ(DecimalSeparator(), '.');
  PopDecimalSeparator();  // an empty stack: nothing happens
  EXPECT_EQ(DecimalSeparator(), '.');
  PushDecimalSeparator(',');
  EXPECT_EQ(DecimalSeparator(), ',');
  PushDecimalSeparator(';');
  PushDecimalSeparator('\0');  // the separator of the stack's first use
  EXPECT_EQ(DecimalSeparator(), '.');
  PopDecimalSeparator();
  EXPECT_EQ(DecimalSeparator(), ';');
  PopDecimalSeparator();
  PopDecimalSeparator();
  EXPECT_EQ(DecimalSeparator(), '.');
  PopDecimalSeparator();
  EXPECT_EQ(DecimalSeparator(), '.');
  ResetDecimalSeparator();
}

TEST(KemUtilNumbers, YesNo) {
  EXPECT_EQ(BoolToYesNo(true), "yes");
  EXPECT_EQ(BoolToYesNo(false), "no");
  EXPECT_TRUE(YesNoToBool("YES", false));
  EXPECT_FALSE(YesNoToBool("No", true));
  EXPECT_TRUE(YesNoToBool("1", true));
  EXPECT_FALSE(YesNoToBool(" yes", false));
  EXPECT_FALSE(YesNoToBool("", false));
}

TEST(KemUtilNumbers, FormatByteSizeDividesWhileAbove1500) {
  EXPECT_EQ(FormatByteSize(0), "0 B");
  EXPECT_EQ(FormatByteSize(1500), "1500 B");
  EXPECT_EQ(FormatByteSize(1501), "1 KB");
  EXPECT_EQ(FormatByteSize(2097152), "2 MB");
  EXPECT_EQ(FormatByteSize(1536000), "1500 KB");
  EXPECT_EQ(FormatByteSize(std::int64_t{5} << 40), "5 TB");
  EXPECT_EQ(FormatByteSize(std::numeric_limits<std::int64_t>::max()), "8388607 TB");  // never beyond TB
  EXPECT_EQ(FormatByteSize(-1), "");
}

TEST(KemUtilNumbers, VersionWordsAndPackedVersions) {
  EXPECT_EQ(FormatVersionWord(0x020C), "2.12");
  EXPECT_EQ(FormatVersionWord(0x0300), "3.0");
  EXPECT_EQ(FormatVersionWord(0x0105), "1.05");
  EXPECT_EQ(FormatVersionWord(0x0110), "1.16");
  EXPECT_EQ(FormatVersionWord(0x0000), "0.0");
  EXPECT_EQ(FormatVersion(0x020C0457, "."), "2.12.1111");
  EXPECT_EQ(FormatVersion(0x03000000, " build "), "3.0 build 0");
  EXPECT_EQ(PackDottedVersion("2.81.1117.0"), (2u << 24) | (81u << 16) | 1117u);
  EXPECT_EQ(PackDottedVersion("0.0.0"), 0u);
  EXPECT_EQ(PackDottedVersion("6"), 6u << 24);
  EXPECT_EQ(PackDottedVersion("x.2.y"), 2u << 16);
  EXPECT_EQ(PackDottedVersion("1.300.70000"), (1u << 24) | (44u << 16) | (70000u & 0xFFFF));
  EXPECT_EQ(PackDottedVersion(""), 0u);
}

TEST(KemUtilNumbers, SignsSwapsAndIntegerRounding) {
  EXPECT_EQ(FloatSign(-0.5), -1);
  EXPECT_EQ(FloatSign(0.0), 0);
  EXPECT_EQ(FloatSign(std::nan("")), 0);
  EXPECT_EQ(IntSign(42), 1);
  EXPECT_EQ(IntSign(std::numeric_limits<std::int64_t>::min()), -1);
  const int values[] = {3, -7, 12, 5};
  EXPECT_EQ(MaxIntArray(values), 12);
  EXPECT_EQ(MaxIntArray({}), 0);
  const int negatives[] = {-3, -2};
  EXPECT_EQ(MaxIntArray(negatives), -2);
  EXPECT_EQ(IfThenInt(true, 1, 2), 1);
  EXPECT_EQ(IfThenStr(false, "a", "b"), "b");
  int a = 1, b = 2;
  SwapInt(a, b);
  EXPECT_EQ(a, 2);
  EXPECT_EQ(b, 1);
  EXPECT_EQ(SwapBytes16(0x1234), 0x3412);
  EXPECT_EQ(SwapBytes32(0x12345678u), 0x78563412u);
  EXPECT_EQ(CeilToInt64(1.2), 2);
  EXPECT_EQ(CeilToInt64(3.0), 3);
  EXPECT_EQ(CeilToInt64(-1.7), -1);
  EXPECT_EQ(CeilToInt64(1e300), std::numeric_limits<std::int64_t>::max());
  EXPECT_EQ(CeilToInt64(std::nan("")), 0);
  EXPECT_EQ(TruncToInt64(-1.7), -1);
  EXPECT_EQ(TruncToInt64(-1e300), std::numeric_limits<std::int64_t>::min());
  EXPECT_EQ(DivCeil(7, 2), 4);
  EXPECT_EQ(DivCeil(6, 2), 3);
  EXPECT_EQ(DivCeil(-7, 2), -3);
  EXPECT_EQ(DivCeil(0, 5), 0);
  EXPECT_EQ(DivCeil(std::numeric_limits<std::int64_t>::min(), -1), std::numeric_limits<std::int64_t>::max());
  EXPECT_THROW(DivCeil(1, 0), EDivByZero);
}

TEST(KemUtilNumbers, FloatColoursRoundTripAndClamp) {
  const TFloatRGB rgb = MakeFloatRGB(0x00336699);
  EXPECT_DOUBLE_EQ(rgb.R, 0x99 / 255.0);
  EXPECT_DOUBLE_EQ(rgb.G, 0x66 / 255.0);
  EXPECT_DOUBLE_EQ(rgb.B, 0x33 / 255.0);
  EXPECT_EQ(FloatRGBToColor(rgb), 0x00336699);
  EXPECT_EQ(FloatRGBToColor({1.5, -1, std::nan("")}), 0x000000FF);
  EXPECT_EQ(FloatRGBToColor({0.5, 0, 1}), 0x00FF0080);  // 127.5 rounds to the even 128
}

// ---- Dates

namespace {

class TFixedDateClock : public TDateClock {
 public:
  explicit TFixedDateClock(int year, int window = 50) : FYear(year), FWindow(window) {}
  int CurrentYear() override { return FYear; }
  int TwoDigitYearWindow() override { return FWindow; }

 private:
  int FYear;
  int FWindow;
};

class KemUtilDates : public testing::Test {
 protected:
  void SetUp() override { FPrevious = SetDateClock(&Clock); }
  void TearDown() override { SetDateClock(FPrevious); }
  TFixedDateClock Clock{2025};

 private:
  TDateClock* FPrevious = nullptr;
};

}  // namespace

TEST_F(KemUtilDates, DaysCountFromTheClassLibrarysEpoch) {
  EXPECT_EQ(EncodeDateValue(1899, 12, 30), 0);
  EXPECT_EQ(EncodeDateValue(1900, 1, 1), 2);
  EXPECT_EQ(EncodeDateValue(2024, 1, 1), 45292);
  EXPECT_EQ(EncodeDateValue(1, 1, 1), -693593);
  EXPECT_EQ(EncodeDateValue(2023, 2, 29), kInvalidDate);
  EXPECT_EQ(EncodeDateValue(2000, 2, 29), 36585);
  EXPECT_EQ(EncodeDateValue(1900, 2, 29), kInvalidDate);
  EXPECT_EQ(EncodeDateValue(10000, 1, 1), kInvalidDate);
}

TEST_F(KemUtilDates, OrderTextTellsWhereDayMonthAndYearStand) {
  EXPECT_EQ(StrToDateByOrder("29/02/2024", "dd/mm/yyyy"), EncodeDateValue(2024, 2, 29));
  EXPECT_EQ(StrToDateByOrder("2/29/2024", "m/d/y"), EncodeDateValue(2024, 2, 29));
  EXPECT_EQ(StrToDateByOrder("12-31-2000", "m-d-y"), EncodeDateValue(2000, 12, 31));
  EXPECT_EQ(StrToDateByOrder("2024-03-05", "yyyy-mm-dd"), EncodeDateValue(2024, 3, 5));
  EXPECT_EQ(StrToDateByOrder(" 5 / 3 / 2024 ", "DD/MM/YYYY"), EncodeDateValue(2024, 3, 5));
  // "/" in the text separates, whatever the order text uses.
  EXPECT_EQ(StrToDateByOrder("5/3/2024", "d-m-y"), EncodeDateValue(2024, 3, 5));
  // Repeated letters count once.
  EXPECT_EQ(StrToDateByOrder("5/3/2024", "d/m/y/d"), EncodeDateValue(2024, 3, 5));
}

TEST_F(KemUtilDates, TwoDigitYearsLandInTheWindowAroundToday) {
  EXPECT_EQ(StrToDateByOrder("12-31-99", "m-d-y"), EncodeDateValue(1999, 12, 31));
  EXPECT_EQ(StrToDateByOrder("1-1-75", "m-d-y"), EncodeDateValue(1975, 1, 1));  // 50 years back
  EXPECT_EQ(StrToDateByOrder("1-1-74", "m-d-y"), EncodeDateValue(2074, 1, 1));  // 49 years ahead
  EXPECT_EQ(StrToDateByOrder("1-1-00", "m-d-y"), EncodeDateValue(2000, 1, 1));
  EXPECT_EQ(StrToDateByOrder("1-1-0024", "m-d-y"), EncodeDateValue(2024, 1, 1));  // by value, not digits
  EXPECT_EQ(StrToDateByOrder("1-1-100", "m-d-y"), EncodeDateValue(100, 1, 1));
  TFixedDateClock nearCentury(2049);
  SetDateClock(&nearCentury);
  EXPECT_EQ(StrToDateByOrder("1-1-99", "m-d-y"), EncodeDateValue(1999, 1, 1));
  EXPECT_EQ(StrToDateByOrder("1-1-98", "m-d-y"), EncodeDateValue(2098, 1, 1));
  TFixedDateClock noWindow(2025, 0);
  SetDateClock(&noWindow);
  EXPECT_EQ(StrToDateByOrder("1-1-25", "m-d-y"), EncodeDateValue(2025, 1, 1));
  EXPECT_EQ(StrToDateByOrder("1-1-24", "m-d-y"), EncodeDateValue(2124, 1, 1));
  SetDateClock(&Clock);
}

TEST_F(KemUtilDates, MissingYearIsTheCurrentOne) {
  EXPECT_EQ(StrToDateByOrder("24/12", "dd/mm/yyyy"), EncodeDateValue(2025, 12, 24));
  EXPECT_EQ(StrToDateByOrder("12/24", "mm/dd"), EncodeDateValue(2025, 12, 24));
  EXPECT_EQ(StrToDateByOrder("24/12/", "dd/mm/yyyy"), EncodeDateValue(2025, 12, 24));
  EXPECT_EQ(StrToDateByOrder("24/12/x", "dd/mm/yyyy"), EncodeDateValue(2025, 12, 24));
  EXPECT_EQ(StrToDateByOrder("29/2", "d/m/y"), kInvalidDate);  // 2025 is no leap year
}

TEST_F(KemUtilDates, InvalidDatesGiveTheSentinel) {
  EXPECT_EQ(StrToDateByOrder("", "dd/mm/yyyy"), kInvalidDate);
  EXPECT_EQ(StrToDateByOrder("31/02/2024", "dd/mm/yyyy"), kInvalidDate);
  EXPECT_EQ(StrToDateByOrder("12/13/2024", "dd/mm/yyyy"), kInvalidDate);
  EXPECT_EQ(StrToDateByOrder("0/1/2024", "d/m/y"), kInvalidDate);
  EXPECT_EQ(StrToDateByOrder("aa/01/2024", "dd/mm/yyyy"), kInvalidDate);
  EXPECT_EQ(StrToDateByOrder("-1/01/2024", "dd/mm/yyyy"), kInvalidDate);
  EXPECT_EQ(StrToDateByOrder("$1F/01/2024", "dd/mm/yyyy"), kInvalidDate);
  EXPECT_EQ(StrToDateByOrder("1/1/2024", ""), kInvalidDate);
  EXPECT_EQ(StrToDateByOrder("99999999999/1/2024", "d/m/y"), kInvalidDate);
  EXPECT_EQ(StrToDateByOrder("/01/2024", "dd/mm/yyyy"), kInvalidDate);  // a missing day: no year guessed
  EXPECT_EQ(StrToDateByOrder("1/1/12345", "d/m/y"), kInvalidDate);
}

// ---- Tokens and characters

TEST(KemUtilText, CutTokenTakesUpToTheFirstDelimiter) {
  String text = "a.b.c";
  EXPECT_EQ(CutToken(text, '.'), "a");
  EXPECT_EQ(text, "b.c");
  text = "abc";
  EXPECT_EQ(CutToken(text, '.'), "abc");
  EXPECT_EQ(text, "");
  text = ".x";
  EXPECT_EQ(CutToken(text, '.'), "");
  EXPECT_EQ(text, "x");
  text = "x.";
  EXPECT_EQ(CutToken(text, '.'), "x");
  EXPECT_EQ(text, "");
  WideString wide = u"ä|ö|ü";
  EXPECT_EQ(CutWideToken(wide, u'|'), u"ä");
  EXPECT_EQ(wide, u"ö|ü");
  EXPECT_EQ(CutWideTokenByChar(wide, '|'), u"ö");
  EXPECT_EQ(CutWideTokenByChar(wide, '|'), u"ü");
  EXPECT_EQ(wide, u"");
  // Splitting keeps the empty pieces CutToken's loops would drop at the end.
  EXPECT_EQ(SplitText("a||b|", '|'), (std::vector<String>{"a", "", "b", ""}));
  EXPECT_EQ(SplitWideText(u"", u'|'), std::vector<WideString>{u""});
}

TEST(KemUtilText, CutQuotedTokenSkipsDelimitersInQuotesAndBrackets) {
  // Attribute values of the XML reader: quote = the value's first character.
  String rest = "\"a b\" next=1";
  EXPECT_EQ(CutQuotedToken(rest, ' ', '"', '"', false, '\1', '\1'), "a b");
  EXPECT_EQ(rest, "next=1");
  rest = "'it\"s' x";
  EXPECT_EQ(CutQuotedToken(rest, ' ', '\'', '\'', false, '\1', '\1'), "it\"s");
  rest = "\"a b\" x";
  EXPECT_EQ(CutQuotedToken(rest, ' ', '"', '"', true, '\1', '\1'), "\"a b\"");
  // Brackets nest; a closing one without an opening one changes nothing.
  rest = "f(a,(b,c)),g";
  EXPECT_EQ(CutQuotedToken(rest, ',', '"', '"', false, '(', ')'), "f(a,(b,c))");
  EXPECT_EQ(rest, "g");
  rest = "a),b";
  EXPECT_EQ(CutQuotedToken(rest, ',', '"', '"', false, '(', ')'), "a)");
  // Distinct opening and closing quotes; an unclosed quote runs to the end.
  rest = "[x;y];z";
  EXPECT_EQ(CutQuotedToken(rest, ';', '[', ']', false, '\1', '\1'), "x;y");
  EXPECT_EQ(rest, "z");
  rest = "\"open; never closed";
  EXPECT_EQ(CutQuotedToken(rest, ';', '"', '"', false, '\1', '\1'), "\"open; never closed");
  EXPECT_EQ(rest, "");
  rest = "\"";  // one quote is no enclosing pair
  EXPECT_EQ(CutQuotedToken(rest, ' ', '"', '"', false, '\1', '\1'), "\"");
}

TEST(KemUtilText, CharacterRoutines) {
  EXPECT_EQ(CountChar("a,b,,c", ','), 3);
  EXPECT_EQ(CountChar("", ','), 0);
  EXPECT_EQ(ReplaceChar("a/b/c", '/', '\\'), "a\\b\\c");
  EXPECT_EQ(RemoveChar("a-b-c-", '-'), "abc");
  EXPECT_EQ(RemoveWideChar(u"ä-ö-", u'-'), u"äö");
  EXPECT_EQ(CollapseDoubles("a\\\\b\\\\\\\\\\c\\", "\\"), "a\\b\\c\\");
  EXPECT_EQ(CollapseDoubles("abababx ab", "ab"), "abx ab");
  EXPECT_EQ(CollapseDoubles("aaa", ""), "aaa");
  EXPECT_EQ(ReplaceAll("aAaA", "a", "x"), "xAxA");
  EXPECT_EQ(ReplaceAllNoCase("aAäÄ", "ä", "x"), "aAxx");
  EXPECT_EQ(RemoveTrailingChar("C:\\dir\\\\", '\\'), "C:\\dir\\");
  EXPECT_EQ(RemoveTrailingChar("", '\\'), "");
  EXPECT_EQ(RemoveEnclosingChar("\"quoted\"", '"'), "quoted");
  EXPECT_EQ(RemoveEnclosingChar("\"half", '"'), "\"half");
  EXPECT_EQ(RemoveEnclosingChar("\"", '"'), "\"");
  EXPECT_EQ(RemoveEnclosingChar("\"\"", '"'), "");
  EXPECT_EQ(RemoveEnclosingWideChar(u"|ü|", u'|'), u"ü");
  EXPECT_EQ(TrimChar("--a-b--", '-'), "a-b");
  EXPECT_EQ(TrimChar("----", '-'), "");
  EXPECT_EQ(FirstWord("first second"), "first");
  EXPECT_EQ(FirstWord("single"), "single");
  EXPECT_EQ(FirstWord(" lead"), "");
  const char buffer[8] = {'a', 'b', '\0', 'c', 'd', 'e', 'f', 'g'};
  EXPECT_EQ(BufferToStr(buffer, sizeof buffer), "ab");
  EXPECT_EQ(BufferToStr(buffer + 3, 5), "cdefg");  // no zero: the maximum length
  EXPECT_EQ(BufferToStr(buffer + 3, 2), "cd");
  EXPECT_EQ(BufferToStr(nullptr, 4), "");
  EXPECT_TRUE(IsDigits("0123456789"));
  EXPECT_FALSE(IsDigits(""));
  EXPECT_FALSE(IsDigits("12a"));
  EXPECT_FALSE(IsDigits("-1"));
  EXPECT_FALSE(IsDigits("١"));  // digits of other scripts are no digits here
}

TEST(KemUtilText, CapitalizeTextModes) {
  EXPECT_EQ(CapitalizeText("  hELLO wORLD  ", cmFirstLetter), "Hello world");
  EXPECT_EQ(CapitalizeText("  hELLO wORLD  ", cmEveryWord), "Hello World");
  EXPECT_EQ(CapitalizeText("o'neil-smith x2y ~ab a~b", cmEveryWord), "O'Neil-Smith X2y ~ab A~b");
  EXPECT_EQ(CapitalizeText("élan über xéa", cmEveryWord), "Élan Über Xéa");
  EXPECT_EQ(CapitalizeText("ÉLAN", cmFirstLetter), "Élan");
  EXPECT_EQ(CapitalizeText("x\x7Fy", cmEveryWord), "X\x7Fy");
  EXPECT_EQ(CapitalizeText("Mixed Case", 2), "mixed case");
  EXPECT_EQ(CapitalizeText("   ", cmEveryWord), "");
}

// ---- Wildcards

TEST(KemUtilWildcard, StarsAndQuestionMarks) {
  EXPECT_TRUE(MatchWildcard("abc", "abc"));
  EXPECT_TRUE(MatchWildcard("abc", "a?c"));
  EXPECT_TRUE(MatchWildcard("abc", "a*"));
  EXPECT_TRUE(MatchWildcard("abc", "*c"));
  EXPECT_TRUE(MatchWildcard("abc", "*b*"));
  EXPECT_TRUE(MatchWildcard("abc", "a*b*c"));
  EXPECT_TRUE(MatchWildcard("abc", "a**c"));
  EXPECT_TRUE(MatchWildcard("abcbc", "*bc"));
  EXPECT_TRUE(MatchWildcard("mississippi", "m*iss*ppi"));
  EXPECT_FALSE(MatchWildcard("abc", "*b"));
  EXPECT_FALSE(MatchWildcard("abc", "ab"));
  EXPECT_FALSE(MatchWildcard("abc", "abcd"));
  EXPECT_FALSE(MatchWildcard("abc", "????"));
  EXPECT_FALSE(MatchWildcard("ABC", "abc"));  // compared exactly
  EXPECT_FALSE(MatchWildcard("file.txt", "*.TXT"));
  EXPECT_TRUE(MatchWildcard("FILE.TXT", "*.TXT"));
  EXPECT_TRUE(MatchWildcard("äb", "?b"));  // "?" is one character, not one byte
  EXPECT_TRUE(MatchWildcard("a*c", "a*c"));
}

TEST(KemUtilWildcard, EmptyTextsAndMasks) {
  EXPECT_TRUE(MatchWildcard("", ""));
  EXPECT_TRUE(MatchWildcard("", "*"));
  EXPECT_TRUE(MatchWildcard("anything at all", "*"));
  EXPECT_FALSE(MatchWildcard("", "**"));
  EXPECT_FALSE(MatchWildcard("", "?"));
  EXPECT_FALSE(MatchWildcard("abc", ""));
}

TEST(KemUtilWildcard, PathologicalMasksStayCheap) {
  // Masks that make a backtracking matcher try every way of splitting the
  // text; each of these would take ages that way.
  const String as(20000, 'a');
  EXPECT_FALSE(MatchWildcard(as, "*a*a*a*a*a*a*a*a*a*a*a*a*a*a*a*a*a*a*a*a*b"));
  EXPECT_TRUE(MatchWildcard(as + "b", "*a*a*a*a*a*a*a*a*a*a*a*a*a*a*a*a*a*a*a*a*b"));
  EXPECT_FALSE(MatchWildcard(as, "*?*?*?*?*?*?*?*?*?*?*?*?*?*?*?*?*?*?*?*?*b"));
  EXPECT_TRUE(MatchWildcard(as, String(5000, '*') + "a"));
}
