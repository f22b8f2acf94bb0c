#include "platform/unicode_convert.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

namespace {

const String kFffd = "\xEF\xBF\xBD";

// Every character a test string can hold: ASCII, Latin, CJK, the ends of the
// BMP and of Unicode, and characters that need a surrogate pair.
const WideString kAllKinds = u"A\u00E4\u00DF\u20AC\u4E00\uD7FF\uE000\uFFFD\uFFFF\U00010000\U0001F600\U0010FFFF";

}  // namespace

TEST(UnicodeConvert, RoundTrips) {
  const String utf8 = WideToUtf8(kAllKinds);
  EXPECT_EQ(utf8,
            "A\xC3\xA4\xC3\x9F\xE2\x82\xAC\xE4\xB8\x80\xED\x9F\xBF\xEE\x80\x80\xEF\xBF\xBD\xEF\xBF\xBF"
            "\xF0\x90\x80\x80\xF0\x9F\x98\x80\xF4\x8F\xBF\xBF");
  EXPECT_TRUE(IsValidUtf8(utf8));
  EXPECT_EQ(Utf8ToWide(utf8), kAllKinds);
  EXPECT_EQ(Utf8ToWide(""), u"");
  EXPECT_EQ(WideToUtf8(u""), "");
  // An embedded NUL is a character like any other.
  const String withNul("a\0b", 3);
  EXPECT_EQ(Utf8ToWide(withNul), WideString(u"a\0b", 3));
  EXPECT_EQ(WideToUtf8(WideString(u"a\0b", 3)), withNul);
}

TEST(UnicodeConvert, InvalidUtf8BecomesReplacementCharacters) {
  struct Case {
    String bytes;
    WideString wide;
  };
  const std::vector<Case> cases = {
      {"a\xE2\x82", u"a\uFFFD"},  // truncated at the end
      {"\xE2\x82"
       "b",
       u"\uFFFDb"},                                       // truncated before a character
      {"\xF0\x9F\x98", u"\uFFFD"},                        // truncated four-byte sequence
      {"\xC0\x80", u"\uFFFD\uFFFD"},                      // overlong NUL: C0 never starts a character
      {"\xC1\xBF", u"\uFFFD\uFFFD"},                      //
      {"\xE0\x80\xAF", u"\uFFFD"},                        // overlong '/'
      {"\xF0\x80\x80\xAF", u"\uFFFD"},                    //
      {"\xED\xA0\x80", u"\uFFFD"},                        // encoded surrogate D800
      {"\xED\xBF\xBF", u"\uFFFD"},                        // encoded surrogate DFFF
      {"\xED\xA0\xBD\xED\xB8\x80", u"\uFFFD\uFFFD"},      // a surrogate pair encoded as two characters
      {"\xF4\x90\x80\x80", u"\uFFFD"},                    // U+110000
      {"\xF5\x80\x80\x80", u"\uFFFD\uFFFD\uFFFD\uFFFD"},  // F5 never starts a character
      {"\xFF\xFE", u"\uFFFD\uFFFD"},                      //
      {"\x80", u"\uFFFD"},                                // lone continuation bytes
      {"a\xBF"
       "b",
       u"a\uFFFDb"},                      //
      {"\xC3\xA4\xA4", u"\u00E4\uFFFD"},  // one continuation byte too many
  };
  for (const Case& c : cases) {
    EXPECT_FALSE(IsValidUtf8(c.bytes)) << testing::PrintToString(c.bytes);
    EXPECT_EQ(Utf8ToWide(c.bytes), c.wide) << testing::PrintToString(c.bytes);
  }
  EXPECT_TRUE(IsValidUtf8(kFffd));  // a real U+FFFD is valid text
  EXPECT_TRUE(IsValidUtf8("\xF4\x8F\xBF\xBF"));
  EXPECT_TRUE(IsValidUtf8(""));
}

// Every two-byte sequence, checked against the rule written out independently,
// and many three-byte ones: no input fails, and the output is always valid.
TEST(UnicodeConvert, EverySmallInputIsSafe) {
  for (int a = 0; a < 256; ++a) {
    for (int b = 0; b < 256; ++b) {
      const String s{static_cast<char>(a), static_cast<char>(b)};
      const bool expected = (a < 0x80 && b < 0x80) || (a >= 0xC2 && a <= 0xDF && b >= 0x80 && b <= 0xBF);
      ASSERT_EQ(IsValidUtf8(s), expected) << a << " " << b;
      const String back = WideToUtf8(Utf8ToWide(s));
      ASSERT_TRUE(IsValidUtf8(back));
      if (expected) {
        ASSERT_EQ(back, s);
      }
    }
  }
  const int edges[] = {0x00, 0x41, 0x7F, 0x80, 0x8F, 0x90, 0x9F, 0xA0, 0xBF, 0xC0, 0xFF};
  for (int a = 0xC0; a < 256; ++a) {
    for (int b : edges) {
      for (int c : edges) {
        const String s{static_cast<char>(a), static_cast<char>(b), static_cast<char>(c)};
        const String back = WideToUtf8(Utf8ToWide(s));
        ASSERT_TRUE(IsValidUtf8(back));
        if (IsValidUtf8(s)) {
          ASSERT_EQ(back, s);
        }
      }
    }
  }
}

TEST(UnicodeConvert, LoneSurrogatesInUtf16) {
  EXPECT_EQ(WideToUtf8(u"\xD800"), kFffd);
  EXPECT_EQ(WideToUtf8(u"\xDC00"
                       "a"),
            kFffd + "a");
  EXPECT_EQ(WideToUtf8(u"a\xD83D"), "a" + kFffd);  // high half at the end
  EXPECT_EQ(WideToUtf8(u"\xD83D"
                       "a"),
            kFffd + "a");
  EXPECT_EQ(WideToUtf8(u"\xDE00\xD83D"), kFffd + kFffd);  // pair in the wrong order
  EXPECT_EQ(WideToUtf8(u"\xD83D\xD83D\xDE00"), kFffd + "\xF0\x9F\x98\x80");
}

TEST(UnicodeConvert, AppendAndDecode) {
  String s;
  AppendUtf8(s, U'A');
  AppendUtf8(s, 0xD800);
  AppendUtf8(s, 0x110000);
  AppendUtf8(s, 0x10FFFF);
  EXPECT_EQ(s, "A" + kFffd + kFffd + "\xF4\x8F\xBF\xBF");
  WideString w;
  AppendUtf16(w, 0xDFFF);
  AppendUtf16(w, 0x1F600);
  AppendUtf16(w, 0xFFFFFFFF);
  EXPECT_EQ(w, u"\uFFFD\U0001F600\uFFFD");

  const String text = "a\xC3\xA4\xFF\xF0\x9F\x98\x80";
  size_t pos = 0;
  EXPECT_EQ(DecodeUtf8At(text, pos), U'a');
  EXPECT_EQ(pos, 1u);
  EXPECT_EQ(DecodeUtf8At(text, pos), U'ä');
  EXPECT_EQ(pos, 3u);
  EXPECT_EQ(DecodeUtf8At(text, pos), kReplacementChar);
  EXPECT_EQ(pos, 4u);  // one byte for a bad sequence
  EXPECT_EQ(DecodeUtf8At(text, pos), U'\U0001F600');
  EXPECT_EQ(pos, text.size());
}

TEST(UnicodeConvert, AnsiCodePage) {
  // ASCII is the same in every ANSI code page.
  EXPECT_EQ(AnsiToWide("plain text"), u"plain text");
  EXPECT_EQ(WideToAnsi(u"plain text"), "plain text");
  EXPECT_EQ(AnsiToUtf8(""), "");
  EXPECT_EQ(TextToUtf8("Gr\xC3\xBC\xC3\x9F"
                       "e"),
            "Grüße");  // valid UTF-8 is kept
#ifndef _WIN32
  // The native build reads Windows-1252; the Windows build uses the system's page.
  EXPECT_EQ(AnsiToWide("\x80\x8A\x9F\xA0\xE4\xFF"), u"\u20AC\u0160\u0178\u00A0\u00E4\u00FF");
  EXPECT_EQ(AnsiToWide("\x81\x8D\x8F\x90\x9D"), u"\u0081\u008D\u008F\u0090\u009D");  // unassigned bytes
  EXPECT_EQ(WideToAnsi(u"\u20AC\u0160\u00E4\u0081"), "\x80\x8A\xE4\x81");
  EXPECT_EQ(WideToAnsi(u"\u4E00"), "?");
  EXPECT_EQ(WideToAnsi(u"a\U0001F600b"), "a?b");  // one '?' for a surrogate pair
  EXPECT_EQ(AnsiToUtf8("Gr\xFC\xDF"
                       "e \x80"),
            "Grüße €");
  EXPECT_EQ(Utf8ToAnsi("Grüße €"),
            "Gr\xFC\xDF"
            "e \x80");
  EXPECT_EQ(TextToUtf8("Gr\xFC\xDF"
                       "e"),
            "Grüße");                              // an older file's ANSI text
  EXPECT_EQ(TextToUtf8("\xE4 \xC3\xA4"), "ä Ã¤");  // one bad byte makes the whole text ANSI
  for (int b = 0; b < 256; ++b) {
    const std::string one(1, static_cast<char>(b));
    EXPECT_EQ(WideToAnsi(AnsiToWide(one)), one) << b;
  }
#endif
}

// The bulk conversions take ASCII a word at a time: wherever a character or a
// broken sequence falls against those words, they give what one character at a
// time gives.
TEST(UnicodeConvert, WordAtATimeAgreesWithOneCharacterAtATime) {
  const std::vector<String> sequences = {
      "a",        "plain",        "\xC3\xA4",     "\xE6\x97\xA5", "\xF0\x9F\x98\x80",  "\xE2\x82", "\xF0\x9F", "\x80",
      "\xC0\xAF", "\xED\xA0\x80", "\xEF\xBF\xBD", "\xFF",         std::string(1, '\0')};
  const std::vector<WideString> units = {u"a", u"plain", u"\u00E4", u"\u65E5", u"\U0001F600", u"\xD800", u"\xDC00"};
  std::mt19937 random(11);
  for (int round = 0; round < 3000; ++round) {
    String bytes;
    WideString wide;
    const size_t count = random() % 24;
    for (size_t i = 0; i < count; ++i) {
      bytes += sequences[random() % sequences.size()];
      wide += units[random() % units.size()];
    }
    WideString expected;
    bool valid = true;
    for (size_t pos = 0; pos < bytes.size();) {
      const size_t start = pos;
      const char32_t cp = DecodeUtf8At(bytes, pos);
      valid = valid && (cp != kReplacementChar || bytes.compare(start, pos - start, kFffd) == 0);
      AppendUtf16(expected, cp);
    }
    ASSERT_EQ(Utf8ToWide(bytes), expected) << testing::PrintToString(bytes);
    ASSERT_EQ(IsValidUtf8(bytes), valid) << testing::PrintToString(bytes);
    ASSERT_EQ(IsAscii(bytes), std::all_of(bytes.begin(), bytes.end(), [](char c) { return c >= 0; }));
    String expectedUtf8;
    for (size_t i = 0; i < wide.size(); ++i) {
      char32_t c = wide[i];
      if (c >= 0xD800 && c <= 0xDBFF && i + 1 < wide.size() && wide[i + 1] >= 0xDC00 && wide[i + 1] <= 0xDFFF)
        c = 0x10000 + ((c - 0xD800) << 10) + (wide[++i] - 0xDC00);
      AppendUtf8(expectedUtf8, c);
    }
    ASSERT_EQ(WideToUtf8(wide), expectedUtf8);
  }
}
