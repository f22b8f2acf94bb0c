// The locale-aware lists, with the comparison injected so their own logic shows in every build.
#include "kem3/unicode/unicode_lists.h"

#include <gtest/gtest.h>

#include <vector>

#include "platform/exceptions.h"

namespace {

using namespace std::string_literals;
using unicode::TWideStringList;

std::vector<WideString> Items(const unicode::TWideStrings& s) {
  std::vector<WideString> out;
  for (int i = 0; i < s.Count(); ++i) out.push_back(s.Get(i));
  return out;
}

// Locale 2 orders backwards, so a change of locale must re-sort.
int TestCompare(LCID_T locale, std::u16string_view a, std::u16string_view b, bool) {
  int c = a.compare(b);
  c = c < 0 ? -1 : c > 0 ? 1 : 0;
  return locale == 2 ? -c : c;
}

class LocaleListTest : public ::testing::Test {
 protected:
  void SetUp() override { previous_ = SetLocaleCompare(TestCompare); }
  void TearDown() override { SetLocaleCompare(previous_); }
  TLocaleCompareFunc previous_ = nullptr;
};

TEST_F(LocaleListTest, SplitsAndJoinsText) {
  const struct {
    WideString text;
    std::vector<WideString> items;
    WideString joined;
  } cases[] = {
      {u"a\r\nb\rc\u2029d", {u"a", u"b", u"c", u"d"}, u"a\r\nb\r\nc\r\nd"},
      {u"a\r\n", {u"a"}, u"a"},
      {u"a\n\nb", {u"a", u"", u"b"}, u"a\r\n\r\nb"},
      {u"a\0b"s, {u"a"}, u"a"},
      {u"a\vb\fc\u2028", {u"a", u"b", u"c"}, u"a\r\nb\r\nc"},
      {u"", {}, u""},
  };
  for (const auto& c : cases) {
    TWideStringList list;
    list.SetTextStr(c.text);
    EXPECT_EQ(Items(list), c.items);
    EXPECT_EQ(list.GetTextStr(), c.joined);
  }
}

TEST_F(LocaleListTest, LoadsAndSavesByMarkAndCodePage) {
  const struct {
    std::string in;
    bool utf16;
    std::vector<WideString> items;
    std::string saved;
  } cases[] = {
      {"\xFE\xFF\x00\x41"s, true, {u"A"}, "\xFF\xFE\x41\x00"s},
      {"\xFF\xFE\x41\x00\x42"s, true, {u"A"}, "\xFF\xFE\x41\x00"s},  // odd last byte dropped
      {"a\xE9\r\nb", false, {u"a\u00E9", u"b"}, "a\xE9\r\nb"},
      {"x", false, {u"x"}, "x"},  // under 2 bytes: 8-bit text
  };
  for (const auto& c : cases) {
    TStringStream in(c.in);
    TWideStringList list;
    list.LoadFromStream(in);
    EXPECT_EQ(list.WriteUtf16(), c.utf16);
    EXPECT_EQ(Items(list), c.items);
    TStringStream out("");
    list.SaveToStream(out, true);
    EXPECT_EQ(out.DataString(), c.saved);
    EXPECT_TRUE(list.Saved());
  }
}

TEST_F(LocaleListTest, AsksBeforeLosingCharacters) {
  const struct {
    WideString item;
    bool answer;
    int asked;
    std::string written;
  } cases[] = {{u"\u00E9", false, 0, "\xE9"},
               {u"\u20AC", false, 0, "\x80"},
               {u"\u0416", false, 1, ""},
               {u"\u0416", true, 1, "?"}};
  for (const auto& c : cases) {
    TWideStringList list;
    list.SetWriteUtf16(false);
    list.Add(c.item);
    int asked = 0;
    list.OnLossyConversion = [&](TObject*, bool& goOn) {
      ++asked;
      goOn = c.answer;
    };
    TStringStream out("");
    list.SaveToStream(out, true);
    EXPECT_EQ(asked, c.asked);
    EXPECT_EQ(out.DataString(), c.written);
    EXPECT_EQ(list.Saved(), c.written.size() > 0);
  }
}

TEST_F(LocaleListTest, SortedListFollowsItsLocale) {
  TWideStringList list;
  list.SetSorted(true);
  for (const char16_t* s : {u"b", u"c", u"a", u"b"}) list.Add(s);
  EXPECT_EQ(Items(list), (std::vector<WideString>{u"a", u"b", u"c"}));
  list.SetLocale(2);
  EXPECT_EQ(Items(list), (std::vector<WideString>{u"c", u"b", u"a"}));
  int index = -1;
  EXPECT_TRUE(list.Find(u"a", index));
  EXPECT_EQ(index, 2);
  EXPECT_THROW(list.Insert(0, u"x"), EStringListError);
  list.SetDuplicates(dupError);
  EXPECT_THROW(list.Add(u"b"), EStringListError);

  TWideStringList other;
  other.SetLocale(7);
  other.AddStrings(list);  // across locales the items arrive unchanged
  other.Add(u"\u0416");
  TWideStringList copy;
  copy.AddStrings(other);
  EXPECT_EQ(copy.Get(3), u"\u0416");
}

TEST_F(LocaleListTest, NormalisedItemsAndEvents) {
  std::vector<std::string> events;
  {
    TWideStringList list;
    list.SetNormalizationForm(nfC);
    list.Add(u"e\u0301");
    EXPECT_EQ(list.Get(0), u"\u00E9");
    EXPECT_EQ(list.IndexOf(u"e\u0301"), 0);
    list.OnChanging = [&](TObject*) { events.push_back("changing"); };
    list.OnChange = [&](TObject*) { events.push_back("change"); };
    list.BeginUpdate();
    list.Add(u"x");
    list.Exchange(0, 1);
    list.EndUpdate();
  }  // freeing a non-empty list clears it
  EXPECT_EQ(events, (std::vector<std::string>{"changing", "change", "changing", "change"}));
}

TEST_F(LocaleListTest, EightBitListsTakeTheLocaleCodePage) {
  TStringList ansi;
  ansi.AddObject("\xE9t\xE9", &ansi);
  TWideStringList list;
  list.Assign(ansi);
  EXPECT_EQ(list.Get(0), u"\u00E9t\u00E9");
  EXPECT_EQ(list.GetObject(0), &ansi);
  list.Add(u"b");
  list.Move(1, 0);
  TStringList back;
  list.AssignTo(back);
  EXPECT_EQ(back[0], "b");
  EXPECT_EQ(back[1], "\xE9t\xE9");
  EXPECT_THROW(list.Delete(2), EStringListError);
  EXPECT_THROW(list.Exchange(0, 2), EStringListError);
}

}  // namespace
