#include "kem3/unicode/ucwidestrings.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <vector>

#include "platform/exceptions.h"
#include "platform/files.h"
#include "platform/unicode_convert.h"
#include "support/temp_dir.h"

namespace {

using namespace std::string_literals;

std::vector<WideString> Items(const TWideStrings& s) {
  std::vector<WideString> out;
  for (int i = 0; i < s.Count(); ++i) out.push_back(s.Get(i));
  return out;
}

TEST(UcStringListTest, LoadsByMarkAndSplitsLines) {
  struct Case {
    std::string bytes;
    std::vector<WideString> items;
    TStreamTextEncoding encoding;
    std::int64_t positionAfterDetect;
  };
  const Case cases[] = {
      {std::string("\xFE\xFF\x00\x41", 4), {u"A"}, seUtf16BE, 2},
      {"\xEF\xBB\xBF"
       "AB",
       {u"AB"},
       seUtf8,
       3},
      {"AB", {u"AB"}, seAnsi, 0},
      {"\xE9", {u"\u00E9"}, seAnsi, 0},                                // one byte: ANSI
      {std::string("\xFF\xFE\x41\x00\x42", 5), {u"A"}, seUtf16LE, 2},  // odd last byte dropped
      {std::string("\xFF\xFE", 2), {}, seUtf16LE, 2},
      {"\xFF\xFE"
       "a\0\r\0b\0\n\0c\0\r\0\n\0d\0\x28\x20"
       "e\0"s,
       {u"a", u"b", u"c", u"d", u"e"},
       seUtf16LE,
       2},
      {"\xFF\xFE"
       "a\0\r\0\n\0\x28\x20"
       "b\0"s,
       {u"a", u"b"},
       seUtf16LE,
       2},
  };
  for (const Case& c : cases) {
    TStringStream probe(c.bytes);
    EXPECT_EQ(DetectStreamEncoding(probe), c.encoding) << c.bytes;
    EXPECT_EQ(probe.Position(), c.positionAfterDetect) << c.bytes;
    TStringStream s(c.bytes);
    TUcStringList list;
    list.LoadFromStream(s);
    EXPECT_EQ(Items(list), c.items) << c.bytes;
  }
}

TEST(UcStringListTest, SavesUtf16WithMarkThroughReplace) {
  TempDir dir;
  WideString name = Utf8ToWide(dir.file("\u0436.txt"));
  WriteFileAtomic(WideToUtf8(name), "\xEF\xBB\xBF\xC3\xA9\r\nx");
  TUcStringList list;
  list.LoadFromFile(name);
  EXPECT_EQ(list.LastFileEncoding(), seUtf8);
  list.SaveToFile(name);
  EXPECT_EQ(ReadFileBytes(WideToUtf8(name)), std::string("\xFF\xFE\xE9\0\r\0\n\0x\0\r\0\n\0", 14));
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);  // no temporary left
}

TEST(UcStringListTest, SortedFindAndDuplicates) {
  struct Case {
    TDuplicates dup;
    std::vector<WideString> adds;
    WideString find;
    bool found;
    int index;
    int count;
  };
  const Case cases[] = {
      {dupIgnore, {u"b", u"a", u"B"}, u"b", true, 1, 2},
      {dupAccept, {u"b", u"b", u"b"}, u"b", true, 0, 3},
      {dupAccept, {u"a", u"c"}, u"b", false, 1, 2},
      {dupIgnore, {u"a", u"c"}, u"d", false, 2, 2},
  };
  for (const Case& c : cases) {
    TUcStringList list;
    list.SetSorted(true);
    list.SetDuplicates(c.dup);
    for (const WideString& s : c.adds) list.Add(s);
    int index = -1;
    EXPECT_EQ(list.Find(c.find, index), c.found);
    EXPECT_EQ(index, c.index);
    EXPECT_EQ(list.Count(), c.count);
  }
  TUcStringList errors;
  errors.SetSorted(true);
  errors.SetDuplicates(dupError);
  errors.Add(u"x");
  EXPECT_THROW(errors.Add(u"X"), EStringListError);
  EXPECT_THROW(errors.Insert(0, u"y"), EStringListError);
  EXPECT_THROW(errors.Get(1), EStringListError);
}

TEST(UcStringListTest, GrowsAndSortsAndFiresEvents) {
  TUcStringList list;
  std::vector<int> capacities;
  for (int i = 0; i < 95; ++i) {
    list.Add(WideString(1, static_cast<WideChar>(u'z' - i % 26)) + Utf8ToWide(std::to_string(i)));
    if (capacities.empty() || capacities.back() != list.GetCapacity()) capacities.push_back(list.GetCapacity());
  }
  EXPECT_EQ(capacities, (std::vector<int>{4, 8, 12, 28, 44, 60, 76, 95}));
  list.Sort();
  for (int i = 1; i < list.Count(); ++i) EXPECT_LE(list.CompareStrings(list.Get(i - 1), list.Get(i)), 0);

  std::vector<std::string> events;
  {
    TUcStringList watched;
    watched.OnChanging = [&](TObject*) { events.push_back("changing"); };
    watched.OnChange = [&](TObject*) { events.push_back("change"); };
    watched.SetTextStr(u"a\r\nb");
    watched.Exchange(0, 1);
  }
  EXPECT_EQ(events, (std::vector<std::string>{"changing", "change", "changing", "change"}));
}

TEST(UcStringListTest, AssignsWithEightBitLists) {
  TStringList ansi;
  ansi.SetDelimiter(';');
  ansi.AddObject("\xC3\xA9t\xC3\xA9", &ansi);
  TUcStringList wide;
  wide.Assign(ansi);
  EXPECT_EQ(wide.Get(0), u"\u00E9t\u00E9");
  EXPECT_EQ(wide.GetObject(0), &ansi);
  TStringList back;
  wide.AssignTo(back);
  EXPECT_EQ(back.Delimiter(), ';');
  EXPECT_EQ(back[0], "\xC3\xA9t\xC3\xA9");
  wide.AnsiStrings().Add("x=1");
  EXPECT_EQ(wide.IndexOfName(u"X"), 1);
}

TEST(UcStringListTest, TheAnsiViewLoadsAndSavesInAnyCodePage) {
  struct Case {
    unsigned codePage;
    std::string bytes;
    std::vector<WideString> items;
  };
  const Case cases[] = {
      {0, "\xC3\xA9t\xC3\xA9\r\n\xCE\x91\r\n", {u"\u00E9t\u00E9", u"\u0391"}},  // 0: the adapter's, UTF-8
      {65000, "+AOk-t+AOk\r\n+A5E\r\n", {u"\u00E9t\u00E9", u"\u0391"}},
      {1252, "caf\xE9\r\n\x80\r\n", {u"caf\u00E9", u"\u20AC"}},
  };
  for (const Case& c : cases) {
    TUcStringList list;
    list.Add(u"old");
    int changes = 0;
    list.OnChange = [&](TObject*) { ++changes; };
    TStringStream in(c.bytes);
    list.AnsiStrings().LoadFromStreamCP(in, c.codePage);
    EXPECT_EQ(Items(list), c.items) << c.codePage;
    EXPECT_EQ(changes, 1) << c.codePage;  // one update bracket
    TStringStream out("");
    list.AnsiStrings().SaveToStreamCP(out, c.codePage);
    EXPECT_EQ(out.DataString(), c.bytes) << c.codePage;
  }
  TUcStringList list;
  list.AnsiStrings().SetCodePage(65000);
  list.AnsiStrings().Add("+A5E");
  EXPECT_EQ(list.Get(0), u"\u0391");
}

std::string ErrorOf(const std::function<void()>& op) {
  try {
    op();
  } catch (const EStringListError& e) {
    return e.Message;
  }
  return "";
}

TEST(UcStringListTest, EditsNamesAndRefusesBadIndexes) {
  TUcStringList list;
  list.SetTextStr(u"b=2\r\na=1\r\nc");
  list.Move(0, 2);
  EXPECT_EQ(Items(list), (std::vector<WideString>{u"a=1", u"c", u"b=2"}));
  TStringList marker;
  list.PutObject(0, &marker);
  list.Put(0, u"A=9");
  EXPECT_EQ(list.GetObject(0), &marker);
  const struct {
    std::function<void()> op;
    std::string message;
  } errors[] = {
      {[&] { list.Get(3); }, "List index out of bounds (3)"},
      {[&] { list.Insert(4, u"x"); }, "List index out of bounds (4)"},
      {[&] { list.Exchange(-1, 9); }, "List index out of bounds (-1)"},
      {[&] { list.Delete(-2); }, "List index out of bounds (-2)"},
  };
  for (const auto& e : errors) EXPECT_EQ(ErrorOf(e.op), e.message);
  list.SetSorted(true);
  EXPECT_EQ(ErrorOf([&] { list.Put(0, u"x"); }), "Operation not allowed on sorted list");
  EXPECT_EQ(list.IndexOfName(u"b"), 1);
  EXPECT_EQ(list.IndexOfName(u"c"), -1);
  EXPECT_EQ(list.IndexOfName(u"z"), -1);
}

}  // namespace
