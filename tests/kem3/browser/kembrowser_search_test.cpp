#include "kem3/browser/kembrowser_search.h"

#include <gtest/gtest.h>

#include "kem3/unicode/ucwidestrings.h"
#include "platform/exceptions.h"
#include "platform/unicode_convert.h"

// Left out: no key, no value, no comparison; a separator or operator in a key or value.
TEST(BrowserSearchPage, CriteriaTextLeavesOutRowsTheSearcherWouldMisread) {
  const std::vector<TBrowserCriterionRow> rows = {
      {"Width", bcAtLeast, u" 32 "}, {"NAME", bcMatches, u"ic*"}, {"N", bcNotEqual, u"!x"}, {"", bcEqual, u"1"},
      {"W", bcEqual, u"  "},         {"W", bcCount, u"1"},        {"W", bcEqual, u"1;2"},   {"W", bcMatches, u"a<b"},
      {"W!", bcMatches, u"1"},       {"H", bcLess, u"=2"}};
  EXPECT_EQ(WideToUtf8(BrowserCriteriaText(rows)), "Width>=32;NAME=ic*;N!=!x");
}

// The reader hands the searcher the handler's values by key, as the searcher
// upper-cases keys; a handler that raises fails the file.
TEST(BrowserSearchPage, HandlerFieldsByKey) {
  String asked;
  TBrowserHandlerFields reader({"Width", "made", "Extra"}, [&asked](const String& file, TUcStrings& out) {
    asked = file;
    if (file.ends_with("bad.ico")) throw Exception("unreadable");
    out.Add(u"16");
    out.Add(u"12/24/2020");
  });
  ASSERT_TRUE(reader.Open(u"C:\\F\\ä.ico"));
  EXPECT_EQ(asked, "C:\\F\\ä.ico");
  for (auto [key, value] :
       {std::pair{"WIDTH", u"16"}, {"MADE", u"12/24/2020"}, {"made", u"12/24/2020"}, {"EXTRA", u""}, {"HEIGHT", u""}})
    EXPECT_EQ(WideToUtf8(reader.Field(key)), WideToUtf8(value)) << key;
  reader.Close();
  EXPECT_EQ(reader.Field("WIDTH"), u"");
  EXPECT_FALSE(reader.Open(u"C:\\F\\bad.ico"));
}
