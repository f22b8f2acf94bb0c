// Accelerator marks: the wide helpers and the common services' 8-bit ones
// read marks alike.
#include "kem3/unicode/ucaccel.h"

#include <gtest/gtest.h>

#include "kem3/framework/kemutil.h"

TEST(UcAccel, MarksAreFoundAndStripped) {
  struct Case {
    std::u16string caption;
    int pos;               // FindWideAccelPos: the last mark
    std::u16string accel;  // GetWideAccelChar
    std::u16string shown;  // StripWideHotKey
    WideChar first;        // kem3's GetAccelCharW: the first mark, upper case
  };
  const Case cases[] = {
      {u"Save &As", 7, u"A", u"Save As", u'A'},
      {u"&Save As", 2, u"S", u"Save As", u'S'},
      {u"Fish && Chips", 0, u"", u"Fish & Chips", 0},
      {u"&&&a&", 4, u"a", u"&a", u'A'},  // a trailing "&" is no accelerator and shows as nothing
      {u"Tail&", 0, u"", u"Tail", 0},
      {u"&", 0, u"", u"", 0},
      {u"&x and &y", 9, u"y", u"x and y", u'X'},
      {u"\u0386\u03bd&\u03bf\u03b9\u03be\u03b7", 4, u"\u03bf", u"\u0386\u03bd\u03bf\u03b9\u03be\u03b7", u'\u039f'},
      {u"", 0, u"", u"", 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.caption.begin(), c.caption.end()));
    EXPECT_EQ(FindWideAccelPos(c.caption), c.pos);
    EXPECT_EQ(GetWideAccelChar(c.caption), c.accel);
    EXPECT_EQ(StripWideHotKey(c.caption), c.shown);
    EXPECT_EQ(StripAccelCharsW(c.caption), c.shown);
    EXPECT_EQ(GetAccelCharW(c.caption), c.first);
  }
}

TEST(UcAccel, FarEastGroupsGoWholeAndCaptionsCompareAsShown) {
  EXPECT_EQ(StripWideHotKey(u"\u30d5\u30a1\u30a4\u30eb(&F)"), u"\u30d5\u30a1\u30a4\u30eb(F)");
  FarEastHotKeys = true;
  EXPECT_EQ(StripWideHotKey(u"\u30d5\u30a1\u30a4\u30eb(&F)"), u"\u30d5\u30a1\u30a4\u30eb");
  EXPECT_EQ(StripWideHotKey(u"(&&F) &Open"), u"(&F) Open");  // a doubled mark makes no group
  FarEastHotKeys = false;
  EXPECT_TRUE(WideSameCaption(u"Op&en", u"&OPEN"));
  EXPECT_FALSE(WideSameCaptionStr(u"Op&en", u"&OPEN"));
  EXPECT_TRUE(WideSameCaptionStr(u"Op&en", u"&Open"));
  EXPECT_FALSE(WideSameCaption(u"Open", u"Opened"));
}

TEST(UcAccel, TheLastMarksCharacterAnswersInAnyCase) {
  EXPECT_TRUE(IsWideAccel(u'Y', u"&x and &y"));
  EXPECT_FALSE(IsWideAccel(u'x', u"&x and &y"));
  EXPECT_TRUE(IsWideAccel(u'\u03bf', u"\u0386\u03bd&\u039f\u03b9\u03be\u03b7"));
  for (WideChar key : {u'&', u'F', WideChar(0)}) EXPECT_FALSE(IsWideAccel(key, u"Fish && Chips&")) << int(key);
}
