// The checkbox's click and toggle, box and caption places.
#include "kem3/controls/kemchkbx_model.h"

#include <gtest/gtest.h>

TEST(CheckBoxModel, ClickAndToggle) {
  struct Case {
    TCheckBoxState From;
    TCheckBoxState Click, Toggle, ToggleGrey;
  } cases[] = {
      {cbUnchecked, cbChecked, cbChecked, cbGrayed},
      {cbChecked, cbUnchecked, cbUnchecked, cbUnchecked},
      {cbGrayed, cbChecked, cbChecked, cbChecked},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(CheckBoxClicked(c.From), c.Click) << c.From;
    EXPECT_EQ(CheckBoxToggled(c.From, false), c.Toggle) << c.From;
    EXPECT_EQ(CheckBoxToggled(c.From, true), c.ToggleGrey) << c.From;
  }
}

TEST(CheckBoxModel, BoxAndCaptionPlaces) {
  EXPECT_EQ(CheckBoxOrigin(taRightJustify, 97, 17), Point(0, 2));
  EXPECT_EQ(CheckBoxOrigin(taLeftJustify, 97, 17), Point(84, 2));
  EXPECT_EQ(CheckBoxCaptionRect(taRightJustify, 97, 17), Rect(18, 0, 97, 17));
  EXPECT_EQ(CheckBoxCaptionRect(taLeftJustify, 97, 17), Rect(1, 0, 79, 17));
  int marks = 0;
  for (const char* row : kCheckMarkGlyph)
    for (int x = 0; x < 9; ++x) marks += row[x] == '#';
  EXPECT_EQ(marks, 21);
}
