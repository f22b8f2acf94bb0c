#include "kem3/unicode/ucsyscalls.h"

#include <gtest/gtest.h>

#include <vector>

#include "platform/unicode_convert.h"

namespace {

TEST(AnsiFullPathTest, AsksAgainWhen520IsTooSmall) {
  const std::string full = "C:\\" + std::string(700, 'a') + "\\caf\xE9.txt";
  std::vector<std::uint32_t> sizes;
  auto call = [&](char* buffer, std::uint32_t size, std::ptrdiff_t& part) -> std::uint32_t {
    sizes.push_back(size);
    if (size <= full.size()) return static_cast<std::uint32_t>(full.size() + 1);
    full.copy(buffer, full.size());
    buffer[full.size()] = 0;
    part = static_cast<std::ptrdiff_t>(full.size() - 8);
    return static_cast<std::uint32_t>(full.size());
  };
  std::vector<WideChar> buffer(800);
  WideChar* part = nullptr;
  EXPECT_EQ(AnsiFullPathName(call, 800, buffer.data(), &part), full.size());
  EXPECT_EQ(sizes, (std::vector<std::uint32_t>{520, static_cast<std::uint32_t>(full.size() + 2)}));
  EXPECT_EQ(WideString(buffer.data()), AnsiToWide(full));
  EXPECT_EQ(WideString(part), u"caf\u00E9.txt");
  EXPECT_EQ(AnsiFullPathName(call, 100, buffer.data(), &part), full.size() + 1);  // does not fit: no part
  EXPECT_EQ(part, nullptr);
}

TEST(AnsiResultTest, FillsTheBufferAsTheWideCallWould) {
  const struct {
    int length;
    std::string result;
    int flags;
    int returned;
    WideString buffer;  // up to the first untouched unit '#'
  } cases[] = {
      {8, "C:\\a\xE9", arEmptyOnOverflow, 5, WideString(u"C:\\a\u00E9\0#", 7)},
      {5, "C:\\ab", arEmptyOnOverflow, 6, WideString(u"\0#", 2)},  // exactly as long: empty
      {5, "C:\\ab", arExactFit, 6, WideString(u"C:\\a\0#", 6)},
      {3, "C:\\ab", arTruncate, 3, u"C:\\#"},
      {5, "C:\\a\\bc", arCutAtBackslash, 8, u"C:\\a#"},
      {3, "C:\\a\\bc", arCutAtBackslash, 8, u"C:#"},
      {0, "abc", arEmptyOnOverflow, 4, u"#"},
  };
  for (const auto& c : cases) {
    std::vector<WideChar> buffer(16, u'#');
    EXPECT_EQ(AnsiResultToWideBuffer(c.length, buffer.data(), c.result, c.flags), c.returned) << c.result;
    EXPECT_EQ(WideString(buffer.data(), c.buffer.size()), c.buffer) << c.result;
  }
}

// A string table block: the 16 entries' texts.
std::string Block(const std::vector<WideString>& texts) {
  std::string bytes;
  for (size_t i = 0; i < 16; ++i) {
    const WideString text = i < texts.size() ? texts[i] : WideString();
    bytes += {static_cast<char>(text.size()), 0};
    for (WideChar c : text) bytes += {static_cast<char>(c & 0xFF), static_cast<char>(c >> 8)};
  }
  return bytes;
}

TEST(StringTableTest, WalksTheBlockAndStaysInside) {
  EXPECT_EQ(StringTableBlockName(17), 2u);
  EXPECT_EQ(StringTableBlockName(0xFFFFFFFFu), 1u);  // -1 is read as 1
  const std::string block = Block({u"zero", u"Ελλάδα", u"", u"three"});
  const struct {
    std::uint32_t ident;
    int size, returned;
    WideString buffer;
  } cases[] = {
      {17, 32, 6, WideString(u"Ελλάδα\0", 7)},
      {17, 4, 3, WideString(u"Ελλ\0", 4)},
      {17, 0, 6, u"#"},
      {18, 32, 0, WideString(u"\0", 1)},
      {19, 32, 5, WideString(u"three\0", 6)},
      {0xFFFFFFF0u, 32, 4, WideString(u"zero\0", 5)},
  };
  for (const auto& c : cases) {
    std::vector<WideChar> buffer(40, u'#');
    EXPECT_EQ(CopyStringTableEntry(block, c.ident, buffer.data(), c.size), c.returned) << c.ident;
    EXPECT_EQ(WideString(buffer.data(), c.buffer.size()), c.buffer) << c.ident;
  }
  // A block cut short: entries that would run past it are empty, never read beyond.
  for (size_t cut = 0; cut < block.size(); ++cut)
    for (unsigned index = 0; index < 16; ++index) {
      const WideString entry = StringTableEntry(block.substr(0, cut), index);
      ASSERT_TRUE(entry.empty() || entry == StringTableEntry(block, index)) << cut << " " << index;
    }
}

TEST(FileRightsTest, FollowTheOpenMode) {
  const std::uint32_t cases[][3] = {{0x00, 0x80000000u, 0}, {0x01, 0x40000000u, 0}, {0x22, 0xC0000000u, 1},
                                    {0x30, 0x80000000u, 2}, {0x42, 0xC0000000u, 3}, {0x10, 0x80000000u, 0}};
  for (const auto& c : cases) {
    EXPECT_EQ(FileRightsOfMode(c[0]).Access, c[1]) << c[0];
    EXPECT_EQ(FileRightsOfMode(c[0]).ShareMode, c[2]) << c[0];
  }
}

TEST(ResourceTextTest, ReadsUtf8BehindTheMarkAndWidensTheRest) {
  EXPECT_EQ(WidenResourceText("\xEF\xBB\xBF\xCE\x91"), u"\u0391");
  EXPECT_EQ(WidenResourceText("\xEF\xBB\xBF"), AnsiToWide("\xEF\xBB\xBF"));
  EXPECT_EQ(WidenResourceText("caf\xE9"), u"caf\u00E9");
}

}  // namespace
