#include "platform/format.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <type_traits>

#include "platform/exceptions.h"

namespace {

String Bad(const String& pattern) { return "Format '" + pattern + "' invalid or incompatible with argument"; }

}  // namespace

TEST(Format, Integers) {
  EXPECT_EQ(Format("%d items", {42}), "42 items");
  EXPECT_EQ(Format("%d", {-42}), "-42");
  EXPECT_EQ(Format("%.5d|%.5d", {42, -42}), "00042|-00042");  // precision: minimum digits, sign outside
  EXPECT_EQ(Format("%.0d", {0}), "0");
  EXPECT_EQ(Format("%d", {std::numeric_limits<std::int64_t>::min()}), "-9223372036854775808");
  EXPECT_EQ(Format("%d", {std::numeric_limits<std::uint64_t>::max()}), "18446744073709551615");
  EXPECT_EQ(Format("%u", {-1}), "4294967295");  // a 32-bit argument stays 32-bit
  EXPECT_EQ(Format("%u", {std::int64_t{-1}}), "18446744073709551615");
  EXPECT_EQ(Format("%u", {7u}), "7");
  EXPECT_EQ(Format("%x|%X|%.4x", {255, 255, 10}), "FF|FF|000A");
  EXPECT_EQ(Format("%x", {-1}), "FFFFFFFF");
  EXPECT_EQ(Format("%x", {std::int64_t{-2}}), "FFFFFFFFFFFFFFFE");
  EXPECT_EQ(Format("%D", {5}), "5");  // type letters in either case
  short s = -3;
  unsigned char b = 200;
  EXPECT_EQ(Format("%d %d %d", {s, b, 'a' - 'a'}), "-3 200 0");
}

TEST(Format, Floats) {
  EXPECT_EQ(Format("%f", {1.0}), "1.00");
  EXPECT_EQ(Format("%.3f", {3.14159}), "3.142");
  EXPECT_EQ(Format("%.0f", {2.5}), "3");  // decimal halves away from zero
  EXPECT_EQ(Format("%.1f", {-0.04}), "0.0");
  EXPECT_EQ(Format("%e", {1500.0}), "1.50000000000000E+003");
  EXPECT_EQ(Format("%.3e", {-0.000123456}), "-1.23E-004");
  EXPECT_EQ(Format("%.2e", {1e300}), "1.0E+300");
  EXPECT_EQ(Format("%g", {1.5}), "1.5");
  EXPECT_EQ(Format("%g", {1e15}), "1E15");
  EXPECT_EQ(Format("%g", {0.00001}), "1E-5");
  EXPECT_EQ(Format("%.3g", {3.14159}), "3.14");
  EXPECT_EQ(Format("%n", {1234567.891}), "1,234,567.89");
  EXPECT_EQ(Format("%.0n", {-1234.5}), "-1,235");
  EXPECT_EQ(Format("%m", {1234.5}), "1,234.50");
  EXPECT_EQ(Format("%f", {1.5f}), "1.50");
  EXPECT_EQ(Format("%.100f", {1.0}), "1.000000000000000000");  // at most 18 decimals
  EXPECT_EQ(Format("%f|%g", {std::numeric_limits<double>::quiet_NaN(), -std::numeric_limits<double>::infinity()}),
            "NAN|-INF");
}

TEST(Format, Strings) {
  const String utf8 = "Grüße";
  const WideString wide = u"Wörter \U0001F600";
  EXPECT_EQ(Format("%s and %s", {"A", String("B")}), "A and B");
  EXPECT_EQ(Format("[%s]", {wide}), "[Wörter \U0001F600]");  // wide arguments arrive as UTF-8
  EXPECT_EQ(Format("[%s]", {u"ä"}), "[ä]");
  EXPECT_EQ(Format("%s%s", {'x', u'ü'}), "xü");  // characters count as strings
  EXPECT_EQ(Format("%s", {U'\U0001F600'}), "\U0001F600");
  EXPECT_EQ(Format("%s", {static_cast<const char*>(nullptr)}), "");
  EXPECT_EQ(Format("[%.3s]", {"abcdef"}), "[abc]");
  EXPECT_EQ(Format("[%.4s]", {utf8}), "[Grüß]");  // precision counts characters, not bytes
  EXPECT_EQ(Format("[%7s]", {utf8}), "[  Grüße]");
  EXPECT_EQ(Format("[%-7s]", {utf8}), "[Grüße  ]");
  EXPECT_EQ(Format("[%2s]", {"long"}), "[long]");  // width never cuts
  EXPECT_EQ(Format("[%.0s]", {"abc"}), "[]");
  EXPECT_EQ(WideFormat(u"[%s|%s]", {utf8, wide}), u"[Grüße|Wörter \U0001F600]");
  EXPECT_EQ(WideFormat(u"[%.8s]", {wide}), u"[Wörter \U0001F600]");  // a surrogate pair is one character
  EXPECT_EQ(WideFormat(u"[%.7s]", {wide}), u"[Wörter ]");
  EXPECT_EQ(WideFormat(u"[%10s]", {wide}), u"[  Wörter \U0001F600]");
  EXPECT_EQ(WideFormat(u"%d%%", {50}), u"50%");
}

TEST(Format, WidthsAndPercent) {
  EXPECT_EQ(Format("100%%", {}), "100%");
  EXPECT_EQ(Format("%%d", {}), "%d");
  EXPECT_EQ(Format("no specifiers", {1, 2}), "no specifiers");  // unused arguments are fine
  EXPECT_EQ(Format("[%5d]", {42}), "[   42]");
  EXPECT_EQ(Format("[%-5d]", {42}), "[42   ]");
  EXPECT_EQ(Format("[%05d]", {42}), "[   42]");  // no zero flag: 05 is a width
  EXPECT_EQ(Format("[%8.3f]", {-1.5}), "[  -1.500]");
  EXPECT_EQ(Format("[%*d]", {4, 7}), "[   7]");
  EXPECT_EQ(Format("[%-*d]", {4, 7}), "[7   ]");
  EXPECT_EQ(Format("[%.*f]", {1, 2.25}), "[2.3]");
  EXPECT_EQ(Format("[%*.*s]", {5, 2, "abc"}), "[   ab]");
  EXPECT_EQ(Format("[%*d]", {-4, 7}), "[7]");  // a negative width is none
  EXPECT_EQ(Format("[%.*d]", {-1, 7}), "[7]");
  EXPECT_EQ(Format("%p", {reinterpret_cast<void*>(0xABC)}), sizeof(void*) == 8 ? "0000000000000ABC" : "00000ABC");
  EXPECT_EQ(Format("%p", {nullptr}), String(sizeof(void*) * 2, '0'));
  // A hostile width is capped rather than allocated.
  EXPECT_EQ(Format("%2000000000d", {1}).size(), static_cast<size_t>(kMaxFormatWidth));
  EXPECT_EQ(Format("%.2000000000d", {1}).size(), static_cast<size_t>(kMaxFormatWidth));
  EXPECT_EQ(Format("%*d", {std::numeric_limits<std::int64_t>::max(), 1}).size(), static_cast<size_t>(kMaxFormatWidth));
}

TEST(Format, IndexSpecifiers) {
  EXPECT_EQ(Format("%1:s %0:s", {"world", "hello"}), "hello world");
  EXPECT_EQ(Format("%1:s %s", {"a", "b", "c"}), "b c");  // later specifiers continue after the index
  EXPECT_EQ(Format("%0:s-%0:s-%s", {"x", "y"}), "x-x-y");
  EXPECT_EQ(Format("%1:5d|", {0, 42}), "   42|");
  EXPECT_EQ(Format("%1:-5d|", {0, 42}), "42   |");
  EXPECT_EQ(Format("%*:s", {1, "b"}), "b");
  EXPECT_EQ(WideFormat(u"%1:s%0:s", {u"a", "b"}), u"ba");
}

TEST(Format, BadPatternsAndArgumentsRaise) {
  const auto expectBad = [](const char* pattern, std::initializer_list<FormatArg> args) {
    try {
      String out = Format(pattern, args);
      ADD_FAILURE() << "accepted: " << pattern << " -> " << out;
    } catch (const EConvertError& e) {
      EXPECT_EQ(e.Message, Bad(pattern));
    }
    EXPECT_EQ(FormatOrError(pattern, args), Bad(pattern));
  };
  // Arguments of the wrong kind.
  const void* p = &expectBad;
  expectBad("%s", {1});
  expectBad("%d", {"1"});
  expectBad("%d", {1.0});
  expectBad("%f", {1});  // an integer is no float, as in the class library
  expectBad("%e", {1u});
  expectBad("%g", {std::int64_t{1}});
  expectBad("%n", {2});
  expectBad("%m", {2});
  expectBad("%x", {1.5});
  expectBad("%s", {1.5});
  expectBad("%p", {1});
  expectBad("%d", {p});
  expectBad("%s", {p});
  expectBad("%*d", {"5", 1});  // "*" takes an integer
  expectBad("%*d", {1.5, 1});
  // Missing arguments.
  expectBad("%d", {});
  expectBad("%d %d", {1});
  expectBad("%.*f", {2});  // "*" took the argument the value needed
  expectBad("%2:s", {"a", "b"});
  expectBad("%*:s", {-1, "a"});
  // Unterminated specifiers.
  expectBad("%", {1});
  expectBad("abc %", {});
  expectBad("%5", {1});
  expectBad("%-", {1});
  expectBad("%.", {1});
  expectBad("%1:", {1, 2});
  // Unknown types and flags of other formatters.
  expectBad("%q", {1});
  expectBad("%5%", {});
  expectBad("% d", {1});
  expectBad("%#x", {1});
  expectBad("%+d", {1});
  expectBad("%ld", {1});
  expectBad("%5-d", {1});
  // Numbers too large to be a width, precision or index.
  expectBad("%99999999999999999999:s", {"a"});
  expectBad("%99999999999d", {1});
  expectBad("%.99999999999f", {1.0});
  // The wide pattern appears in the message as UTF-8.
  try {
    WideFormat(u"Größe %d", {"x"});
    ADD_FAILURE() << "accepted";
  } catch (const EConvertError& e) {
    EXPECT_EQ(e.Message, Bad("Größe %d"));
  }
  EXPECT_EQ(WideFormatOrError(u"Größe %d", {}), u"Format 'Größe %d' invalid or incompatible with argument");
  EXPECT_EQ(FormatOrError("%d of %d", {1, 2}), "1 of 2");
  // A NUL in the pattern is just another unknown type character.
  EXPECT_THROW(Format(std::string_view("%\0", 2), {1}), EConvertError);
}

// bool has no meaning for Format; passing one must not compile.
static_assert(!std::is_convertible_v<bool, FormatArg>);
static_assert(std::is_convertible_v<const char*, FormatArg>);
static_assert(std::is_convertible_v<int*, FormatArg>);
