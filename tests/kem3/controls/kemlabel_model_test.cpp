// The label's measured text, offsets and turned sizes.
#include "kem3/controls/kemlabel_model.h"

#include <gtest/gtest.h>

TEST(LabelModel, EmptyCaptionsMeasureABlank) {
  EXPECT_EQ(LabelMeasureText(u"", true), u" ");
  EXPECT_EQ(LabelMeasureText(u"&", true), u"& ");
  EXPECT_EQ(LabelMeasureText(u"&", false), u"&");
  EXPECT_EQ(LabelMeasureText(u"Ok", true), u"Ok");
}

TEST(LabelModel, LayoutOffsets) {
  EXPECT_EQ(LabelLayoutOffset(tlTop, 40, 13), 0);
  EXPECT_EQ(LabelLayoutOffset(tlCenter, 40, 13), 13);
  EXPECT_EQ(LabelLayoutOffset(tlBottom, 40, 13), 27);
}

TEST(LabelModel, TurnedDirectionsSwapTheBox) {
  const TLabelSpaces spaces{1, 2, 3, 4};
  struct Case {
    TKemDirection Direction;
    bool WordWrap;
    TSize Size;
  } cases[] = {
      {tdLeftRight, false, {54, 19}}, {tdRightLeft, false, {54, 19}}, {tdTopBottom, false, {17, 56}},
      {tdBottomTop, false, {17, 56}}, {tdLeftRight, true, {65, 19}},  {tdTopBottom, true, {17, 80}},
  };
  for (const Case& c : cases) {
    // A text 50 wide and 13 high as it reads, in a label of 65 x 80.
    EXPECT_EQ(LabelAutoSize(c.Direction, {50, 13}, c.WordWrap, {65, 80}, spaces), c.Size) << c.Direction;
  }
  EXPECT_EQ(LabelTextBox(tdTopBottom, {17, 56}), (TSize{56, 17}));
  EXPECT_EQ(LabelTextBox(tdRightLeft, {17, 56}), (TSize{17, 56}));
  // Word wrap measures in the label's own width along the reading direction.
  EXPECT_EQ(LabelMeasureWidth(tdLeftRight, true, {65, 80}, spaces), 61);
  EXPECT_EQ(LabelMeasureWidth(tdBottomTop, true, {65, 80}, spaces), 74);
  EXPECT_EQ(LabelMeasureWidth(tdLeftRight, false, {65, 80}, spaces), 0);
}
