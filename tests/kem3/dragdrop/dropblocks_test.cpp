// The parsers of dropped blocks: valid blocks of every kind, and each bound a
// hostile drag source could step over refused or cut at the block's end.
#include "kem3/dragdrop/dropblocks.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <fstream>
#include <functional>

namespace {

std::string U32(std::uint32_t v) {
  return {static_cast<char>(v), static_cast<char>(v >> 8), static_cast<char>(v >> 16), static_cast<char>(v >> 24)};
}
std::string Wide(const std::u16string& s) {
  std::string out;
  for (char16_t c : s) out += {static_cast<char>(c & 0xFF), static_cast<char>(c >> 8)};
  return out;
}
std::string DropFiles(std::uint32_t offset, bool wide, const std::string& names) {
  return U32(offset) + std::string(12, '\0') + U32(wide ? 1 : 0) + names;
}
// An ID list of items with the given payloads, and its terminator.
std::string IDList(const std::vector<std::string>& items) {
  std::string list;
  for (const std::string& item : items) {
    const auto cb = static_cast<std::uint16_t>(item.size() + 2);
    list += {static_cast<char>(cb), static_cast<char>(cb >> 8)};
    list += item;
  }
  return list + std::string(2, '\0');
}
std::string IDListArray(const std::vector<std::string>& lists) {
  std::string block = U32(static_cast<std::uint32_t>(lists.size() - 1));
  std::uint32_t offset = static_cast<std::uint32_t>(4 + 4 * lists.size());
  std::string data;
  for (const std::string& l : lists) {
    block += U32(offset + static_cast<std::uint32_t>(data.size()));
    data += l;
  }
  return block + data;
}

TEST(DropBlocks, DropFilesReadsNamesAndRefusesBadHeaders) {
  using Files = std::vector<WideString>;
  const std::u16string name = u"C:\\t\u00e4st\\\u4e2d.exe";
  struct Case {
    const char* what;
    std::string block;
    bool ok;
    Files files;
  } cases[] = {
      {"wide names stay UTF-16",
       DropFiles(20, true, Wide(name) + Wide(std::u16string(u"\0b", 2)) + std::string(4, '\0')),
       true,
       {name, u"b"}},
      {"8-bit names", DropFiles(20, false, std::string("a.txt\0b.txt\0\0", 13)), true, {u"a.txt", u"b.txt"}},
      {"names after a gap", DropFiles(24, false, std::string("xxxxa\0\0", 7)), true, {u"a"}},
      {"last name without terminator is cut at the end", DropFiles(20, true, Wide(u"abc") + "d"), true, {u"abc"}},
      {"an empty list", DropFiles(20, false, std::string(1, '\0')), true, {}},
      {"under 21 bytes", DropFiles(20, false, ""), false, {}},
      {"offset inside the header", DropFiles(19, false, "a\0"), false, {}},
      {"offset at the end", DropFiles(22, false, "ab"), false, {}},
      {"offset far beyond", DropFiles(0xFFFFFFF0u, false, "ab"), false, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    if (c.ok) {
      EXPECT_EQ(ParseDropFiles(c.block), c.files);
    } else {
      EXPECT_THROW(ParseDropFiles(c.block), EDropBlockError);
    }
  }
  EXPECT_EQ(ParseDropFiles(BuildDropFiles({name, u"x"})), (Files{name, u"x"}));
}

TEST(DropBlocks, IDListArrayWalksEveryListInsideTheBlock) {
  const std::string parent = IDList({"desk"}), a = IDList({"a1", "a22"}), b = IDList({});
  EXPECT_EQ(ParseIDListArray(IDListArray({parent, a, b})), (std::vector<std::string>{parent, a, b}));
  const std::string good = IDListArray({parent, a});
  struct Case {
    const char* what;
    std::string block;
  } bad[] = {
      {"no items", IDListArray({parent})},
      {"count beyond the block", U32(3) + U32(12) + U32(12) + std::string(2, '\0')},
      {"count that wraps 32 bits", U32(0x40000000) + std::string(64, '\0')},
      {"offset outside", U32(1) + U32(12) + U32(400) + std::string(2, '\0')},
      {"list without terminator", good.substr(0, good.size() - 1)},
      {"item of size 1", U32(1) + U32(12) + U32(12) + std::string("\x01\0\0\0", 4)},
      {"item running past the end", U32(1) + U32(12) + U32(12) + std::string("\x40\0\0\0", 4)},
      {"a list deeper than any path", IDListArray({parent, IDList(std::vector<std::string>(257, "f"))})},
      {"two offsets naming one list", U32(1) + U32(12) + U32(12) + IDList({"desk"})},
  };
  for (const Case& c : bad) {
    SCOPED_TRACE(c.what);
    EXPECT_THROW(ParseIDListArray(c.block), EDropBlockError);
  }
  const std::string deepest = IDList(std::vector<std::string>(256, "f"));
  EXPECT_EQ(ParseIDListArray(IDListArray({parent, deepest})).back(), deepest);
  // Items beyond the cap are not read; those before it are.
  const std::vector<std::string> wide(kMaxIDListArrayItems + 50, IDList({"i"}));
  std::size_t unread = 0;
  EXPECT_EQ(ParseIDListArray(IDListArray(wide), &unread).size(), kMaxIDListArrayItems + 1);
  EXPECT_EQ(unread, 49u);  // counted, for the note on a cut drop
}

// The memory a step takes at its peak beyond what was resident before it, where
// the system can tell (-1 elsewhere).
long long PeakGrowth(const std::function<void()>& Step) {
#ifdef __linux__
  const auto status = [](const char* field) {
    std::ifstream in("/proc/self/status");
    for (std::string line; std::getline(in, line);)
      if (line.rfind(field, 0) == 0) return std::stoll(line.substr(std::strlen(field))) * 1024;
    return -1LL;
  };
  std::ofstream("/proc/self/clear_refs") << "5";  // the peak starts again from here
  const long long before = status("VmRSS:");
  Step();
  const long long peak = status("VmHWM:");
  return before < 0 || peak < 0 ? -1 : peak - before;
#else
  Step();
  return -1;
#endif
}

// A 16 MiB file drop holds 4 M one-letter names: made all, they took 560 MiB
// and two seconds before the bar's cap on files applied. Past the cap the
// names are counted, not made.
TEST(DropBlocks, DropFilesPastTheCapAreCountedNotRead) {
  constexpr std::size_t n = (static_cast<std::size_t>(kMaxDropBlockSize) - 22) / 4;
  std::string block = DropFiles(20, true, "");
  block.reserve(static_cast<std::size_t>(kMaxDropBlockSize));
  for (std::size_t i = 0; i < n; ++i) block += std::string("a\0\0\0", 4);
  block.append(2, '\0');
  ASSERT_LE(block.size(), static_cast<std::size_t>(kMaxDropBlockSize));
  std::vector<WideString> names;
  std::size_t unread = 0;
  const auto start = std::chrono::steady_clock::now();
  const long long growth = PeakGrowth([&] { names = ParseDropFiles(block, &unread); });
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(500));
  if (growth >= 0) {
    EXPECT_LT(growth, 16LL << 20);
  }
  EXPECT_EQ(names, std::vector<WideString>(kMaxDropFileNames, u"a"));
  EXPECT_EQ(unread, n - kMaxDropFileNames);
  // 8-bit names likewise; a drop within the cap reads every name.
  std::string narrow;
  for (int i = 0; i < 1500; ++i) narrow += std::string("b\0", 2);
  EXPECT_EQ(ParseDropFiles(DropFiles(20, false, narrow + '\0'), &unread).size(), kMaxDropFileNames);
  EXPECT_EQ(unread, 500u);
  EXPECT_EQ(ParseDropFiles(DropFiles(20, false, std::string("b\0c\0\0", 5)), &unread).size(), 2u);
  EXPECT_EQ(unread, 0u);
}

// 8,000 offsets that all name one 32 KiB list: a 64 KiB block that would make
// 256 MB of copies and as many shell calls.
TEST(DropBlocks, IDListsNamedManyTimesAreRefusedAtOnce) {
  constexpr std::uint32_t n = 7999;
  const std::string list = IDList(std::vector<std::string>(100, std::string(318, 'p')));
  const std::uint32_t at = 4 + 4 * (n + 1);
  std::string block = U32(n);
  for (std::uint32_t i = 0; i <= n; ++i) block += U32(at);
  block += list;
  ASSERT_LE(block.size(), 64u * 1024);
  const auto start = std::chrono::steady_clock::now();
  EXPECT_THROW(ParseIDListArray(block), EDropBlockError);
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(200));
}

TEST(DropBlocks, FileGroupDescriptorNamesAreBoundedByTheBlockAnd260Characters) {
  auto descriptor = [](const std::string& name, bool wide) {
    std::string d(wide ? 592 : 332, '\0');
    const std::string bytes = wide ? Wide(std::u16string(name.begin(), name.end())) : name;
    d.replace(72, std::min(bytes.size(), d.size() - 72), bytes.substr(0, d.size() - 72));
    return d;
  };
  for (bool wide : {false, true}) {
    SCOPED_TRACE(wide ? "wide" : "8-bit");
    const std::string two = U32(2) + descriptor("Example.url", wide) + descriptor("b", wide);
    EXPECT_EQ(ParseFileGroupDescriptorNames(two, wide), (std::vector<WideString>{u"Example.url", u"b"}));
    // A count beyond the block reads only the descriptors that are there.
    EXPECT_EQ(ParseFileGroupDescriptorNames(U32(0xFFFFFFFF) + descriptor("a", wide), wide).size(), 1u);
    EXPECT_EQ(ParseFileGroupDescriptorNames(U32(1), wide).size(), 0u);
    // A name not ended within 260 characters is cut there.
    const std::string longName(300, 'n');
    EXPECT_EQ(
        ParseFileGroupDescriptorNames(U32(1) + descriptor(longName, wide) + std::string(600, 'x'), wide).front().size(),
        260u);
  }
  EXPECT_THROW(ParseFileGroupDescriptorNames("ab", false), EDropBlockError);
}

TEST(DropBlocks, SingleNamesNameMapsAndTexts) {
  EXPECT_EQ(ParseFileNameBlock(std::string("C:\\a.txt\0junk", 13), false), u"C:\\a.txt");
  EXPECT_EQ(ParseFileNameBlock(Wide(u"C:\\\u00e9") + "x", true), u"C:\\\u00e9");  // odd byte and no terminator
  EXPECT_EQ(ParseFileNameMap(std::string("a\0bb\0\0", 6), false), (std::vector<WideString>{u"a", u"bb"}));
  EXPECT_EQ(ParseFileNameMap(Wide(u"a") + std::string(2, '\0') + Wide(u"c"), true),
            (std::vector<WideString>{u"a", u"c"}));
  EXPECT_THROW(ParseFileNameMap(std::string("\0a\0", 3), false), EDropBlockError);
  EXPECT_EQ(ParseTextBlock(std::string("abc\0def", 7)), "abc");
  EXPECT_EQ(ParseTextBlock("caf\xE9"), "caf\xC3\xA9");  // ANSI read as such
}

TEST(DropBlocks, NetscapeRecords) {
  std::string bookmark = std::string("https://a/\0", 11) + std::string(1013, 'x') + std::string("Title\0", 6);
  EXPECT_EQ(ParseNetscapeBookmark(bookmark).URL, "https://a/");
  EXPECT_EQ(ParseNetscapeBookmark(bookmark).Title, "Title");
  EXPECT_EQ(ParseNetscapeBookmark(std::string(2000, 'u')).URL.size(), 1024u);  // never runs into the title
  EXPECT_EQ(ParseNetscapeBookmark("http://b").Title, "");

  auto image = [](std::uint32_t titleAt, std::uint32_t urlAt, std::uint32_t other) {
    std::string r = std::string(28, '\0') + U32(other) + U32(titleAt) + U32(urlAt) + U32(0) + "img";
    r.resize(64, '\0');
    r += std::string("Pic\0http://i/\0", 14);
    return r;
  };
  const TDroppedURL found = ParseNetscapeImage(image(64, 68, 0));
  EXPECT_EQ(found.URL, "http://i/");
  EXPECT_EQ(found.Title, "Pic");
  EXPECT_EQ(ParseNetscapeImage(image(0, 0, 0)).URL, "");
  EXPECT_THROW(ParseNetscapeImage(image(64, 78, 0)), EDropBlockError);       // URL offset at the size
  EXPECT_THROW(ParseNetscapeImage(image(64, 68, 9999)), EDropBlockError);    // an unused offset too
  EXPECT_THROW(ParseNetscapeImage(std::string(44, '\0')), EDropBlockError);  // 44 bytes or less
}

TEST(DropBlocks, InternetShortcutText) {
  struct Case {
    const char* text;
    std::optional<String> url;
    const char* icon;  // file, index
  } cases[] = {
      {"[InternetShortcut]\r\nURL=http://x/\r\n", "http://x/", ","},
      {"[other]\nURL=no\n[internetshortcut]\nIconIndex=0\nurl=http://y/\niconfile=a.ico\nIconIndex=9", "http://y/",
       "a.ico,0"},
      {"[InternetShortcut]\r\nIconFile=a\r\n[Next]\r\nURL=http://z/\r\nIconIndex=1\r\n", std::nullopt, "a,"},
      {"[InternetShortcut]", std::nullopt, ","},
      {"URL=http://x/", std::nullopt, ","},
      {"", std::nullopt, ","},
      // As the shell writes a value outside the ANSI code page: "?" in the plain
      // section, UTF-7 in the ".W" one, which comes first wherever it stands.
      {"[InternetShortcut.W]\r\nURL=https://+T4swSA.example/a+-b\r\nIconFile=C:+AFxPiw.ico\r\n"
       "[InternetShortcut]\r\nURL=https://??.example/a+b\r\nIconFile=C:\\?.ico\r\nIconIndex=2\r\n",
       "https://\xe4\xbe\x8b\xe3\x81\x88.example/a+b", "C:\\\xe4\xbe\x8b.ico,2"},
      // A ".W" value that is no UTF-7, or gives a line break, leaves the plain one.
      {"[InternetShortcut]\nURL=http://p/\nIconFile=p.ico\n[InternetShortcut.W]\nURL=+AAo-\nIconFile=+\xff\n",
       "http://p/", "p.ico,"},
      {"[InternetShortcut.W]\nURL=http://w/", "http://w/", ","},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    const TInternetShortcut shortcut = ParseInternetShortcut(c.text);
    EXPECT_EQ(shortcut.Url, c.url);
    EXPECT_EQ(shortcut.IconFile + "," + shortcut.IconIndex, c.icon);
  }
}

TEST(DropBlocks, BlocksAbove16MiBAreNotRead) {
  const std::string huge(static_cast<std::size_t>(kMaxDropBlockSize) + 1, 'a');
  const std::function<void(TDropBlock)> parsers[] = {
      [](TDropBlock b) { ParseTextBlock(b); }, [](TDropBlock b) { ParseInternetShortcut(b); },
      [](TDropBlock b) { ParseDropFiles(b); }, [](TDropBlock b) { ParseNetscapeBookmark(b); }};
  for (const auto& parse : parsers) EXPECT_THROW(parse(huge), EDropBlockError);
}

}  // namespace
