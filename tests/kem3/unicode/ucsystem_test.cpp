#include "kem3/unicode/ucsystem.h"

#include <gtest/gtest.h>

#include <random>

namespace {

TEST(Utf7Test, DecodesTheRfcVectorsAndEncodesThemBack) {
  struct Case {
    std::string utf7;
    WideString text;
    bool encodesBack;  // the encoder writes this very form
  };
  const Case cases[] = {
      {"A+ImIDkQ.", u"A\u2262\u0391.", true},  // the run ends before "." without "-"
      {"Hi Mom -+Jjo--!", u"Hi Mom -\u263A-!", true},
      {"+ZeVnLIqe-", u"\u65E5\u672C\u8A9E", false},  // "-" at the end is absorbed
      {"+ZeVnLIqe", u"\u65E5\u672C\u8A9E", true},
      {"+-", u"+", true},
      {"a+-b", u"a+b", true},
      {"+AAA-", WideString(1, u'\0'), false},
      {"+AC0--", u"--", false},   // the first "-" is absorbed, the second kept
      {"+++8", u"\uFBEF", true},  // "+" is digit 62 inside a run
      {"", u"", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.utf7);
    EXPECT_EQ(UTF7ToWide(c.utf7), c.text);
    if (c.encodesBack) {
      EXPECT_EQ(WideToUTF7(c.text), c.utf7);
    }
  }
}

TEST(Utf7Test, RefusesInvalidInput) {
  for (const char* bad : {"+", "+AAB-", "\xE9", "a+.b", "+ZeVn\xE9", "+A-"}) {
    SCOPED_TRACE(bad);
    EXPECT_THROW(UTF7ToWide(bad), EUcGeneralError);
  }
}

TEST(Utf7Test, AnyUnitSequenceComesBackWhole) {
  std::mt19937 random(17);
  // Lone surrogates, NUL, "+", "-", digits and characters above the BMP's start.
  const char16_t pool[] = {u'\0', u'+',   u'-',   u'A',   u'z',   u'/',   u' ',   u'.', u'~',
                           u'\\', 0xD800, 0xDC00, 0xDBFF, 0x00E9, 0x263A, 0xFFFF, 0x7F, u'\r'};
  for (int round = 0; round < 2000; ++round) {
    WideString text(random() % 12, u'\0');
    for (char16_t& c : text) c = pool[random() % std::size(pool)];
    const std::string utf7 = WideToUTF7(text);
    for (char b : utf7) ASSERT_LT(static_cast<unsigned char>(b), 0x80);
    ASSERT_EQ(UTF7ToWide(utf7), text) << utf7;
  }
}

TEST(CodePageTest, ServesUtf7AndUtf8ItselfAndSwapsByteOrder) {
  EXPECT_EQ(CodePageToWide("Gr\xC3\xBC\xC3\x9F"
                           "e",
                           kCpUtf8),
            u"Grüße");
  EXPECT_EQ(WideToCodePage(u"\u263A", kCpUtf7), "+Jjo");
  EXPECT_EQ(WideToCodePage(u"\u20AC", 1252), "\x80");
  WideChar buffer[] = {0x0102, 0, 0x0304};
  SwapUtf16ByteOrder(buffer);
  EXPECT_EQ(WideString(buffer, 3), WideString(u"\u0201\0\u0304", 3));       // nothing behind the terminator
  EXPECT_EQ(Utf16BytesToWide(std::string("\x00\x41\x00", 3), true), u"A");  // the odd byte is dropped
  EXPECT_EQ(KeyCharToWide(0x20AC), u'\u20AC');
}

TEST(CodePageTest, CutsKeepSurrogatePairsWhole) {
  const std::u16string_view kText = u"a\U0001F600b\xD800";  // a, a pair, b, a lone high surrogate
  const struct { size_t Count, Kept; } kCases[] = {{0, 0}, {1, 1}, {2, 1}, {3, 3}, {4, 4}, {5, 5}, {6, 5}, {99, 5}};
  for (const auto& c : kCases) EXPECT_EQ(WholeCharsLength(kText, c.Count), c.Kept) << c.Count;
}

}  // namespace
