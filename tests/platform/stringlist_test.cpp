#include "platform/stringlist.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "platform/exceptions.h"
#include "platform/files.h"
#include "platform/streams.h"
#include "platform/unicode_convert.h"
#include "support/temp_dir.h"

namespace {

std::vector<String> Lines(const TStrings& s) {
  std::vector<String> out;
  for (int i = 0; i < s.Count(); ++i) out.push_back(s[i]);
  return out;
}

TStringList* Fill(TStringList& list, std::initializer_list<const char*> lines) {
  for (const char* l : lines) list.Add(l);
  return &list;
}

std::string ErrorOf(const std::function<void()>& f) {
  try {
    f();
  } catch (const EStringListError& e) {
    return e.Message;
  }
  return "no error";
}

struct TTracked : TObject {
  TTracked(int id, std::vector<int>& freed) : Id(id), Freed(freed) {}
  ~TTracked() override { Freed.push_back(Id); }
  int Id;
  std::vector<int>& Freed;
};

}  // namespace

TEST(StringList, EditingAndBounds) {
  TStringList list;
  Fill(list, {"one", "two", "three"});
  list.Insert(0, "zero");
  list.Move(0, 3);
  EXPECT_EQ(Lines(list), (std::vector<String>{"one", "two", "three", "zero"}));
  list.Exchange(0, 3);
  list.Delete(1);
  EXPECT_EQ(Lines(list), (std::vector<String>{"zero", "three", "one"}));
  EXPECT_EQ(list.IndexOf("THREE"), 1);  // case-insensitive by default
  EXPECT_EQ(list.IndexOf("four"), -1);
  list.Put(2, "ONE");
  EXPECT_EQ(list.Strings(2), "ONE");

  EXPECT_EQ(ErrorOf([&] { list.Get(3); }), "List index out of bounds (3)");
  EXPECT_EQ(ErrorOf([&] { list.Objects(-1); }), "List index out of bounds (-1)");
  EXPECT_EQ(ErrorOf([&] { list.Delete(3); }), "List index out of bounds (3)");
  EXPECT_EQ(ErrorOf([&] { list.Insert(4, "x"); }), "List index out of bounds (4)");
  EXPECT_EQ(ErrorOf([&] { list.Move(0, 3); }), "List index out of bounds (3)");
  list.Insert(3, "end");  // Count is a valid place to insert
  EXPECT_EQ(list.Count(), 4);
}

TEST(StringList, SortedListsKeepTheirOrder) {
  TStringList list;
  Fill(list, {"pear", "Apple", "fig"});
  list.SetSorted(true);
  EXPECT_EQ(Lines(list), (std::vector<String>{"Apple", "fig", "pear"}));
  EXPECT_EQ(list.Add("banana"), 1);
  EXPECT_EQ(list.Add("zucchini"), 4);

  int index = -1;
  EXPECT_TRUE(list.Find("FIG", index));
  EXPECT_EQ(index, 2);
  EXPECT_FALSE(list.Find("cherry", index));
  EXPECT_EQ(index, 2);  // where it would go
  EXPECT_EQ(list.IndexOf("PEAR"), 3);

  EXPECT_EQ(ErrorOf([&] { list.Insert(0, "x"); }), "Operation not allowed on sorted list");
  EXPECT_EQ(ErrorOf([&] { list.Put(0, "x"); }), "Operation not allowed on sorted list");
  EXPECT_EQ(ErrorOf([&] { list.Move(0, 1); }), "Operation not allowed on sorted list");

  // Duplicates: dupIgnore by default returns the existing index.
  EXPECT_EQ(list.Add("apple"), 0);
  EXPECT_EQ(list.Count(), 5);
  list.SetDuplicates(dupError);
  EXPECT_EQ(ErrorOf([&] { list.Add("APPLE"); }), "String list does not allow duplicates");
  list.SetDuplicates(dupAccept);
  EXPECT_EQ(list.Add("APPLE"), 0);  // goes before the equal one
  EXPECT_EQ(list.Count(), 6);
  EXPECT_TRUE(list.Find("apple", index));
  EXPECT_EQ(index, 0);

  // An unsorted list takes every line whatever Duplicates says.
  TStringList plain;
  plain.SetDuplicates(dupError);
  plain.Add("a");
  EXPECT_NO_THROW(plain.Add("a"));
}

TEST(StringList, CaseSensitivity) {
  TStringList list;
  Fill(list, {"b", "B", "a", "C"});
  list.SetSorted(true);
  EXPECT_EQ(Lines(list), (std::vector<String>{"a", "b", "B", "C"}));  // stable among equals
  list.SetCaseSensitive(true);                                        // re-sorts by bytes
  EXPECT_EQ(Lines(list), (std::vector<String>{"B", "C", "a", "b"}));
  EXPECT_EQ(list.IndexOf("c"), -1);
  EXPECT_EQ(list.IndexOf("C"), 1);
  int index;
  EXPECT_FALSE(list.Find("A", index));

  // Only ASCII letters fold, the same in every build.
  TStringList text;
  text.Add("\xC3\xA4");                     // ä
  EXPECT_EQ(text.IndexOf("\xC3\x84"), -1);  // Ä
}

TEST(StringList, NamesAndValues) {
  TStringList list;
  Fill(list, {"Path=C:\\x=y", "plain line", "Empty=", "path=second"});
  EXPECT_EQ(list.Values("PATH"), "C:\\x=y");  // first match, value keeps its '='
  EXPECT_EQ(list.Names(0), "Path");
  EXPECT_EQ(list.Names(1), "");
  EXPECT_EQ(list.ValueFromIndex(1), "");
  EXPECT_EQ(list.ValueFromIndex(0), "C:\\x=y");
  EXPECT_EQ(list.IndexOfName("empty"), 2);
  EXPECT_EQ(list.Values("Empty"), "");
  EXPECT_EQ(list.Values("missing"), "");

  list.SetValue("path", "D:\\");  // replaces in place, under the given name
  EXPECT_EQ(list[0], "path=D:\\");
  list.SetValue("New", "1");  // appends
  EXPECT_EQ(list[list.Count() - 1], "New=1");
  list.SetValue("PATH", "");  // deletes the first match
  EXPECT_EQ(list.Values("path"), "second");
  list.SetValue("nothing", "");  // deleting what is not there changes nothing
  EXPECT_EQ(list.Count(), 4);
  list.SetValueFromIndex(0, "v");
  EXPECT_EQ(list[0], "=v");  // a line without a name gets an empty one

  TStringList strict;
  strict.SetCaseSensitive(true);
  strict.Add("Key=1");
  EXPECT_EQ(strict.Values("key"), "");
  EXPECT_EQ(strict.Values("Key"), "1");

  TStringList colon;
  colon.SetNameValueSeparator(':');
  colon.Add("a:b=c");
  EXPECT_EQ(colon.Values("a"), "b=c");
}

TEST(StringList, TextSplitsEveryLineBreakKind) {
  TStringList list;
  list.SetText("a\r\nb\nc\rd");
  EXPECT_EQ(Lines(list), (std::vector<String>{"a", "b", "c", "d"}));
  EXPECT_EQ(list.Text(), "a\r\nb\r\nc\r\nd\r\n");
  list.SetText("one\r\n");
  EXPECT_EQ(Lines(list), std::vector<String>{"one"});
  list.SetText("\r\n");
  EXPECT_EQ(Lines(list), std::vector<String>{""});
  list.SetText("a\n\rb\n\n");
  EXPECT_EQ(Lines(list), (std::vector<String>{"a", "", "b", ""}));
  list.SetText("");
  EXPECT_EQ(list.Count(), 0);
  EXPECT_EQ(list.Text(), "");
  list.SetText(String("x\0y", 3));  // NUL is an ordinary character
  EXPECT_EQ(list[0].size(), 3u);
}

TEST(StringList, CommaTextQuoting) {
  TStringList list;
  Fill(list, {"a", "b c", "d,e", "f\"g", "", "h", "\xC3\xA9t\xC3\xA9", "tab\there"});
  EXPECT_EQ(list.CommaText(), "a,\"b c\",\"d,e\",\"f\"\"g\",,h,\xC3\xA9t\xC3\xA9,\"tab\there\"");

  TStringList back;
  back.SetCommaText(list.CommaText());
  EXPECT_TRUE(back.Equals(list));

  back.SetCommaText("  a b , c,\"x y\" z,\"q\"\"r\"");
  EXPECT_EQ(Lines(back), (std::vector<String>{"a", "b", "c", "x y", "z", "q\"r"}));
  back.SetCommaText("a,");
  EXPECT_EQ(Lines(back), (std::vector<String>{"a", ""}));
  back.SetCommaText(",a");
  EXPECT_EQ(Lines(back), (std::vector<String>{"", "a"}));
  back.SetCommaText("\"unclosed, still");
  EXPECT_EQ(Lines(back), std::vector<String>{"unclosed, still"});
  back.SetCommaText("");
  EXPECT_EQ(back.Count(), 0);

  TStringList one;
  one.Add("");
  EXPECT_EQ(one.CommaText(), "\"\"");
  one.SetCommaText("\"\"");
  EXPECT_EQ(Lines(one), std::vector<String>{""});
  one.SetCommaText(",");
  EXPECT_EQ(Lines(one), (std::vector<String>{"", ""}));
}

TEST(StringList, DelimitedTextWithOwnDelimiterAndStrictMode) {
  TStringList list;
  list.SetDelimiter(';');
  list.SetQuoteChar('\'');
  list.SetDelimitedText("a b;'c;d';'it''s'");
  EXPECT_EQ(Lines(list), (std::vector<String>{"a", "b", "c;d", "it's"}));
  EXPECT_EQ(list.DelimitedText(), "a;b;'c;d';'it''s'");
  EXPECT_EQ(list.CommaText(), "a,b,c;d,it's");  // CommaText keeps its own characters

  list.SetStrictDelimiter(true);
  list.SetDelimitedText(" a b ;c");
  EXPECT_EQ(Lines(list), (std::vector<String>{" a b ", "c"}));
  EXPECT_EQ(list.DelimitedText(), " a b ;c");
}

TEST(StringList, DelimitedTextRoundTrips) {
  const char alphabet[] = {'a', ' ', ',', '"', '\t', ';', '\'', 'z', '\xC3', '\xA9'};
  std::mt19937 rng(20240601);
  for (int strict = 0; strict < 2; ++strict) {
    for (int round = 0; round < 400; ++round) {
      TStringList list;
      list.SetStrictDelimiter(strict != 0);
      int count = static_cast<int>(rng() % 5);
      for (int i = 0; i < count; ++i) {
        String s;
        int len = static_cast<int>(rng() % 5);
        for (int k = 0; k < len; ++k) s += alphabet[rng() % sizeof alphabet];
        list.Add(s);
      }
      TStringList back;
      back.SetStrictDelimiter(strict != 0);
      back.SetDelimitedText(list.DelimitedText());
      ASSERT_TRUE(back.Equals(list)) << "strict=" << strict << " text=" << list.DelimitedText();
      if (!strict) {
        back.SetCommaText(list.CommaText());
        ASSERT_TRUE(back.Equals(list)) << list.CommaText();
      }
    }
  }
}

TEST(StringList, ChangeEventsAndUpdates) {
  TStringList list;
  int changes = 0, changings = 0;
  list.OnChange = [&](TObject* sender) {
    EXPECT_EQ(sender, &list);
    ++changes;
  };
  list.OnChanging = [&](TObject*) { ++changings; };
  list.Add("a");
  list.Add("b");
  EXPECT_EQ(changes, 2);
  EXPECT_EQ(changings, 2);

  list.BeginUpdate();
  list.BeginUpdate();
  list.Add("c");
  list.Delete(0);
  list.EndUpdate();
  EXPECT_EQ(changes, 2);  // still updating
  list.Add("d");
  list.EndUpdate();
  EXPECT_EQ(changes, 3);
  EXPECT_EQ(changings, 3);

  list.BeginUpdate();
  list.EndUpdate();
  list.EndUpdate();  // unbalanced: ignored
  EXPECT_EQ(changes, 3);

  list.SetText("x\r\ny\r\nz");
  EXPECT_EQ(changes, 4);
  list.SetCommaText("1,2");
  EXPECT_EQ(changes, 5);

  TStringList empty;
  int emptyChanges = 0;
  empty.OnChange = [&](TObject*) { ++emptyChanges; };
  empty.Clear();
  EXPECT_EQ(emptyChanges, 0);
}

TEST(StringList, OwnedObjectsAreFreed) {
  std::vector<int> freed;
  {
    TStringList list(true);
    list.AddObject("a", new TTracked(1, freed));
    list.AddObject("b", new TTracked(2, freed));
    list.AddObject("c", new TTracked(3, freed));
    list.AddObject("d", nullptr);
    list.Delete(0);
    EXPECT_EQ(freed, std::vector<int>{1});
    auto* keep = static_cast<TTracked*>(list.Objects(0));
    list.PutObject(0, nullptr);  // replacing does not free
    EXPECT_EQ(freed, std::vector<int>{1});
    EXPECT_EQ(list.IndexOfObject(nullptr), 0);
    list.Move(1, 0);  // moving does not free either
    EXPECT_EQ(freed, std::vector<int>{1});
    list.PutObject(2, keep);
  }
  EXPECT_EQ(freed, (std::vector<int>{1, 2, 3}));

  freed.clear();
  TTracked stack(9, freed);
  {
    TStringList list;
    list.AddObject("x", &stack);
    list.Clear();
  }
  EXPECT_TRUE(freed.empty());
}

TEST(StringList, AssignAndAddStrings) {
  TStringList source;
  source.SetDelimiter(';');
  TObject marker;
  source.AddObject("one", &marker);
  source.Add("two");
  TStringList copy;
  copy.Add("old");
  copy.Assign(source);
  EXPECT_TRUE(copy.Equals(source));
  EXPECT_EQ(copy.Objects(0), &marker);
  EXPECT_EQ(copy.Delimiter(), ';');

  copy.Assign(copy);
  EXPECT_EQ(copy.Count(), 2);
  copy.AddStrings(copy);
  EXPECT_EQ(Lines(copy), (std::vector<String>{"one", "two", "one", "two"}));
  EXPECT_FALSE(copy.Equals(source));
}

TEST(StringList, SortAndCustomSort) {
  TStringList list;
  Fill(list, {"ccc", "a", "bb", "B", "dd"});
  list.CustomSort([](TStringList* l, int i, int j) {
    return static_cast<int>(l->Get(i).size()) - static_cast<int>(l->Get(j).size());
  });
  EXPECT_EQ(Lines(list), (std::vector<String>{"a", "B", "bb", "dd", "ccc"}));
  list.Sort();
  EXPECT_EQ(Lines(list), (std::vector<String>{"a", "B", "bb", "ccc", "dd"}));
}

TEST(StringList, FilesAndStreams) {
  TempDir dir;
  String name = dir.file("list.txt");
  TStringList list;
  Fill(list, {"first",
              "\xC3\xBC"
              "ber",
              ""});
  list.SaveToFile(name);
  EXPECT_EQ(ReadFileBytes(name),
            "first\r\n\xC3\xBC"
            "ber\r\n\r\n");

  TStringList back;
  back.LoadFromFile(name);
  EXPECT_TRUE(back.Equals(list));

  // Byte order mark, CR-only breaks, and a line in the ANSI code page.
  WriteFileAtomic(name, "\xEF\xBB\xBFone\rcaf\xE9\rlast");
  back.LoadFromFile(name);
  EXPECT_EQ(Lines(back), (std::vector<String>{"one", AnsiToUtf8("caf\xE9"), "last"}));
  EXPECT_THROW(back.LoadFromFile(dir.file("missing.txt")), EFOpenError);

  TMemoryStream stream;
  list.SaveToStream(stream);
  EXPECT_EQ(stream.Size(), 16);
  stream.SetPosition(7);  // loads from the position on
  back.LoadFromStream(stream);
  EXPECT_EQ(Lines(back), (std::vector<String>{"\xC3\xBC"
                                              "ber",
                                              ""}));
}
