#include "kem3/unicode/ucsyscalls.h"

#include <gtest/gtest.h>

#include <vector>

#include "platform/unicode_convert.h"

namespace {

TEST(PlatformFlagsTest, FollowThePlatformAndVersion) {
  struct Case {
    unsigned id, major, minor;
    bool unicode, xp, server2003, vista;
  };
  const Case cases[] = {
      {1, 4, 90, false, false, false, false}, {2, 5, 0, true, false, false, false}, {2, 5, 1, true, true, false, false},
      {2, 5, 2, true, true, true, false},     {2, 6, 0, true, true, true, true},    {2, 10, 0, true, true, true, true},
  };
  for (const Case& c : cases) {
    const TPlatformFlags f = PlatformFlagsFor(c.id, c.major, c.minor);
    EXPECT_EQ(f.UnicodePlatform, c.unicode);
    EXPECT_EQ(f.PlatformXPOrLater, c.xp) << c.major << "." << c.minor;
    EXPECT_EQ(f.PlatformServer2003OrLater, c.server2003) << c.major << "." << c.minor;
    EXPECT_EQ(f.PlatformVistaOrLater, c.vista) << c.major << "." << c.minor;
  }
}

TEST(AnsiResultTest, FillsTheBufferAsTheWideCallWould) {
  struct Case {
    int length;
    std::string result;
    int flags;
    int returned;
    WideString buffer;  // what the buffer holds up to the first untouched unit '#'
  };
  const Case cases[] = {
      {8, "C:\\a\xE9", arEmptyOnOverflow, 5, WideString(u"C:\\a\u00E9\0#", 7)},
      {5, "C:\\ab", arEmptyOnOverflow, 6, WideString(u"\0#", 2)},  // exactly as long: empty
      {5, "C:\\ab", arExactFit, 6, WideString(u"C:\\a\0#", 6)},
      {3, "C:\\ab", arTruncate, 3, u"C:\\#"},
      {5, "C:\\a\\bc", arCutAtBackslash, 8, u"C:\\a#"},
      {3, "C:\\a\\bc", arCutAtBackslash, 8, u"C:#"},
      {0, "abc", arEmptyOnOverflow, 4, u"#"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.result);
    std::vector<WideChar> buffer(16, u'#');
    EXPECT_EQ(AnsiResultToWideBuffer(c.length, buffer.data(), c.result, c.flags), c.returned);
    EXPECT_EQ(WideString(buffer.data(), c.buffer.size()), c.buffer);
  }
}

// A string table block: the 16 entries' texts.
std::string Block(const std::vector<WideString>& texts) {
  std::string bytes;
  for (size_t i = 0; i < 16; ++i) {
    const WideString text = i < texts.size() ? texts[i] : WideString();
    bytes.push_back(static_cast<char>(text.size() & 0xFF));
    bytes.push_back(static_cast<char>(text.size() >> 8));
    for (WideChar c : text) {
      bytes.push_back(static_cast<char>(c & 0xFF));
      bytes.push_back(static_cast<char>(c >> 8));
    }
  }
  return bytes;
}

TEST(StringTableTest, WalksTheBlockAndStaysInside) {
  EXPECT_EQ(StringTableBlockName(17), 2u);
  EXPECT_EQ(StringTableEntryIndex(17), 1u);
  EXPECT_EQ(StringTableBlockName(0xFFFFFFFFu), 1u);  // -1 is read as 1

  const std::string block = Block({u"zero", u"Ελλάδα", u"", u"three"});
  struct Case {
    std::uint32_t ident;
    int size;
    int returned;
    WideString buffer;
  };
  const Case cases[] = {
      {17, 32, 6, WideString(u"Ελλάδα\0", 7)},
      {17, 4, 3, WideString(u"Ελλ\0", 4)},
      {17, 0, 6, u"#"},
      {18, 32, 0, WideString(u"\0", 1)},
      {19, 32, 5, WideString(u"three\0", 6)},
      {0xFFFFFFF0u, 32, 4, WideString(u"zero\0", 5)},
  };
  for (const Case& c : cases) {
    std::vector<WideChar> buffer(40, u'#');
    EXPECT_EQ(CopyStringTableEntry(block, c.ident, buffer.data(), c.size), c.returned) << c.ident;
    EXPECT_EQ(WideString(buffer.data(), c.buffer.size()), c.buffer) << c.ident;
  }
  EXPECT_EQ(CopyStringTableEntry(block, 17, nullptr, 10), 6);

  // A block cut short: entries that would run past it are empty, never read beyond.
  for (size_t cut = 0; cut < block.size(); ++cut) {
    const std::string shortBlock = block.substr(0, cut);
    for (unsigned index = 0; index < 16; ++index) {
      const WideString entry = StringTableEntry(shortBlock, index);
      ASSERT_TRUE(entry.empty() || entry == StringTableEntry(block, index)) << cut << " " << index;
    }
  }
}

TEST(FileRightsTest, FollowTheOpenMode) {
  struct Case {
    std::uint32_t mode, access, share;
  };
  const Case cases[] = {
      {0x00, 0x80000000u, 0}, {0x01, 0x40000000u, 0}, {0x22, 0xC0000000u, 1},
      {0x30, 0x80000000u, 2}, {0x42, 0xC0000000u, 3}, {0x10, 0x80000000u, 0},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(FileRightsOfMode(c.mode).Access, c.access) << c.mode;
    EXPECT_EQ(FileRightsOfMode(c.mode).ShareMode, c.share) << c.mode;
  }
}

TEST(ResourceTextTest, ReadsUtf8BehindTheMarkAndWidensTheRest) {
  EXPECT_EQ(WidenResourceText("\xEF\xBB\xBF\xCE\x91"), u"\u0391");
  EXPECT_EQ(WidenResourceText("\xEF\xBB\xBF"), AnsiToWide("\xEF\xBB\xBF"));
  EXPECT_EQ(WidenResourceText("caf\xE9"), u"caf\u00E9");
  EXPECT_TRUE(IsIntResource(reinterpret_cast<const void*>(std::uintptr_t{0xFFFF})));
  EXPECT_FALSE(IsIntResource(reinterpret_cast<const void*>(std::uintptr_t{0x10000})));
  EXPECT_EQ(ErrorTextOrFallback(u"  Access is denied.\r\n", 5, u"system"), u"Access is denied.");
  EXPECT_EQ(ErrorTextOrFallback(u"\r\n", 1234, u"system"), u"Unspecified error (1234) from system.");
}

}  // namespace
