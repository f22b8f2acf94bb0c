// The edit's button lines, faces, layout and completion.
#include "kem3/controls/kemedit_model.h"

#include <gtest/gtest.h>

#include "platform/keys.h"

TEST(EditModel, ButtonLinesRoundTrip) {
  struct Case {
    const char* Face;
    int Id;
  } cases[] = {{"...", -1}, {"Marlett:4|2", 7}, {"a,b", 3}, {"\"", 0}, {"", 12}, {"x\",\"y", -5}};
  for (const Case& c : cases) {
    const String line = FormatEditButtonLine(c.Face, c.Id);
    EXPECT_EQ(ParseEditButtonLine(line), (TEditButtonLine{c.Face, c.Id})) << line;
  }
  EXPECT_EQ(FormatEditButtonLine("...", -1), "\"...\",-1");
  EXPECT_EQ(ParseEditButtonLine("\"...\",x"), (TEditButtonLine{"...", -1}));
  EXPECT_EQ(ParseEditButtonLine("plain"), (TEditButtonLine{"plain", -1}));
}

TEST(EditModel, ButtonFaces) {
  EXPECT_EQ(ParseEditButtonFace("..."), (TEditButtonFace{"Tahoma", "...", 1}));
  EXPECT_EQ(ParseEditButtonFace("Marlett:4|2"), (TEditButtonFace{"Marlett", "4", 2}));
  EXPECT_EQ(ParseEditButtonFace("a:b:c|x"), (TEditButtonFace{"a", "b:c", 1}));
  EXPECT_EQ(ParseEditButtonFace("x|-3"), (TEditButtonFace{"Tahoma", "x", 1}));
  EXPECT_EQ(ParseEditButtonFace("x|99999"), (TEditButtonFace{"Tahoma", "x", 64}));
  EXPECT_EQ(EditButtonWidth(1, false), 17);
  EXPECT_EQ(EditButtonWidth(1, true), 15);
  EXPECT_EQ(EditButtonWidth(2, false), 34);
}

TEST(EditModel, ButtonsFromTheRightAndTheHolderBeforeThem) {
  const TEditLayout l = EditLayout(120, 21, {17, 34});
  ASSERT_EQ(l.Buttons.size(), 2u);
  EXPECT_EQ(l.Buttons[0], Rect(101, 2, 118, 19));
  EXPECT_EQ(l.Buttons[1], Rect(67, 2, 101, 19));
  EXPECT_EQ(l.Holder, Rect(3, 3, 67, 18));  // touching the leftmost button
  EXPECT_EQ(EditLayout(80, 21, {}).Holder, Rect(3, 3, 78, 18));
}

TEST(EditModel, Completion) {
  const std::vector<WideString> items{u"Bern", u"Berlin", u"Μόσχα", u"Москва"};
  EXPECT_EQ(EditCompletion(u"be", items), -1);  // two characters never complete
  EXPECT_EQ(EditCompletion(u"ber", items), 0);
  EXPECT_EQ(EditCompletion(u"BERL", items), 1);
  EXPECT_EQ(EditCompletion(u"мос", items), 3);
  EXPECT_EQ(EditCompletion(u"Berlins", items), -1);
  EXPECT_TRUE(EditKeyCompletes('R'));
  EXPECT_FALSE(EditKeyCompletes(VK_BACK));
  EXPECT_FALSE(EditKeyCompletes(VK_DELETE));
  EXPECT_FALSE(EditKeyCompletes(VK_F12));
}
