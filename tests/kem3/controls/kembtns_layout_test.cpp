// The button set's arithmetic: page lines, thickness, button lengths, the
// arrangement in the three directions, hits, drags, swaps and accelerators.
#include "kem3/controls/kembtns_layout.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// Every character 6 pixels wide, every line 13 high.
struct TFixedMeasure : ITextMeasure {
  TSize TextExtent(const WideString& Text) override { return TSize{6 * static_cast<int>(Text.size()), 13}; }
};

std::vector<TKemPage> Pages(std::initializer_list<const char16_t*> Lines) {
  std::vector<TKemPage> pages;
  for (const char16_t* line : Lines) pages.push_back(ParsePageLine(line));
  return pages;
}

TButtonSetGeometry Bar(TKemButtonSetDirection Direction, int Width, int Height) {
  TButtonSetGeometry g;
  g.Direction = Direction;
  g.Width = Width;
  g.Height = Height;
  return g;
}

}  // namespace

TEST(ButtonSetPages, ALineGivesCaptionGapAndFarEnd) {
  EXPECT_EQ(ParsePageLine(u"Games"), (TKemPage{u"Games", 0, false}));
  EXPECT_EQ(ParsePageLine(u"Tools,8"), (TKemPage{u"Tools", 8, false}));
  EXPECT_EQ(ParsePageLine(u"Tools,x"), (TKemPage{u"Tools", 0, false}));  // not a number: no gap
  EXPECT_EQ(ParsePageLine(u"A,b,3"), (TKemPage{u"A", 0, false}));        // only the text after the first comma
  EXPECT_EQ(ParsePageLine(u"Help:1"), (TKemPage{u"Help", 0, true}));
  EXPECT_EQ(ParsePageLine(u"Help:2"), (TKemPage{u"Help", 0, false}));  // any other text: an ordinary button
  EXPECT_EQ(ParsePageLine(u"Help:10"), (TKemPage{u"Help", 0, false}));
  EXPECT_EQ(ParsePageLine(u"Help: 1"), (TKemPage{u"Help", 0, false}));
  EXPECT_EQ(ParsePageLine(u"a:b:1"), (TKemPage{u"a", 0, false}));
  EXPECT_EQ(ParsePageLine(u"x:1,4"), (TKemPage{u"x:1", 4, false}));  // a comma wins over a colon
  EXPECT_EQ(ParsePageLine(u""), (TKemPage{u"", 0, false}));
}

TEST(ButtonSetPages, ThicknessComesFromTheButtonHeightOrTheFont) {
  EXPECT_EQ(ButtonSetThickness(0, 13, 0, 0, 4, false), 13 + 2 + 4);
  EXPECT_EQ(ButtonSetThickness(0, 13, 3, 5, 0, false), 13 + 3 + 5 + 2);
  EXPECT_EQ(ButtonSetThickness(0, 13, 3, 5, 0, true), 13 + 3 + 5 + 2 + 2);
  EXPECT_EQ(ButtonSetThickness(20, 13, 3, 5, 4, false), 24);  // a set height leaves the spaces out
  EXPECT_EQ(ButtonSetThickness(20, 13, 3, 5, 4, true), 26);
  EXPECT_EQ(ButtonSetThickness(-1, 13, 0, 0, 0, false), 15);
}

TEST(ButtonSetPages, LengthIsTheCaptionWithoutItsMarksPlusTen) {
  TFixedMeasure m;
  TButtonSetGeometry g;
  EXPECT_EQ(PageButtonLength(TKemPage{u"&Games"}, g, m), 5 * 6 + 10);
  EXPECT_EQ(PageButtonLength(TKemPage{u"R&&D"}, g, m), 3 * 6 + 10);
  g.ShowAccelChar = false;  // the marks show as they are and count
  EXPECT_EQ(PageButtonLength(TKemPage{u"&Games"}, g, m), 6 * 6 + 10);
  g.ButtonWidth = 40;
  EXPECT_EQ(PageButtonLength(TKemPage{u"&Games"}, g, m), 40);
}

TEST(ButtonSetArrange, HorizontalRunsRightwardsWithGapsAndAFarEnd) {
  TFixedMeasure m;
  TButtonSetGeometry g = Bar(bsdHorizontal, 300, 20);
  const auto rects = ArrangeButtonSet(Pages({u"ab", u"cde,8", u"Help:1", u"f"}), g, m);
  ASSERT_EQ(rects.size(), 4u);
  EXPECT_EQ(rects[0], Bounds(0, 0, 22, 20));
  EXPECT_EQ(rects[1], Bounds(22 + 8, 0, 28, 20));    // 8 px after the previous one
  EXPECT_EQ(rects[2], Bounds(300 - 34, 0, 34, 20));  // flush with the far end, moving nobody
  EXPECT_EQ(rects[3], Bounds(58, 0, 16, 20));
}

TEST(ButtonSetArrange, SpacesAndBorderNarrowTheButtonsAcross) {
  TFixedMeasure m;
  TButtonSetGeometry g = Bar(bsdHorizontal, 300, 30);
  g.SpaceAbove = 3;
  g.SpaceBelow = 5;
  g.Border = true;
  auto rects = ArrangeButtonSet(Pages({u"ab", u"c"}), g, m);
  EXPECT_EQ(rects[0], Bounds(1, 4, 22, 30 - 2 - 8));
  EXPECT_EQ(rects[1], Bounds(23, 4, 16, 20));

  g.Direction = bsdVerticalDown;  // reading top-down, the space below lies on the left
  g.Width = 30;
  g.Height = 300;
  rects = ArrangeButtonSet(Pages({u"ab", u"c"}), g, m);
  EXPECT_EQ(rects[0], Bounds(6, 1, 20, 22));
  EXPECT_EQ(rects[1], Bounds(6, 23, 20, 16));

  g.Direction = bsdVerticalUp;  // reading bottom-up, the space above lies on the left
  rects = ArrangeButtonSet(Pages({u"ab", u"c"}), g, m);
  EXPECT_EQ(rects[0], Bounds(4, 300 - 1 - 22, 20, 22));
  EXPECT_EQ(rects[1], Bounds(4, 300 - 1 - 22 - 16, 20, 16));
}

TEST(ButtonSetArrange, VerticalDownRunsDownwards) {
  TFixedMeasure m;
  const auto rects = ArrangeButtonSet(Pages({u"ab", u"c,4", u"z:1"}), Bar(bsdVerticalDown, 20, 200), m);
  EXPECT_EQ(rects[0], Bounds(0, 0, 20, 22));
  EXPECT_EQ(rects[1], Bounds(0, 26, 20, 16));
  EXPECT_EQ(rects[2], Bounds(0, 200 - 16, 20, 16));
}

TEST(ButtonSetArrange, VerticalUpRunsUpwardsFromTheBottom) {
  TFixedMeasure m;
  const auto rects = ArrangeButtonSet(Pages({u"ab", u"c,4", u"z:1", u"de"}), Bar(bsdVerticalUp, 20, 200), m);
  EXPECT_EQ(rects[0], Bounds(0, 200 - 22, 20, 22));
  EXPECT_EQ(rects[1], Bounds(0, 200 - 22 - 4 - 16, 20, 16));  // the gap lies below the button
  EXPECT_EQ(rects[2], Bounds(0, 0, 20, 16));                  // far end: flush with the top edge
  EXPECT_EQ(rects[3], Bounds(0, 158 - 22, 20, 22));
}

TEST(ButtonSetArrange, HitsExcludeTheEdges) {
  const std::vector<TRect> rects{Bounds(0, 0, 20, 10), Bounds(20, 0, 20, 10)};
  EXPECT_EQ(ButtonAtPos(rects, Point(5, 5)), 0);
  EXPECT_EQ(ButtonAtPos(rects, Point(25, 5)), 1);
  EXPECT_EQ(ButtonAtPos(rects, Point(20, 5)), -1);  // the left edge of the second button
  EXPECT_EQ(ButtonAtPos(rects, Point(0, 5)), -1);
  EXPECT_EQ(ButtonAtPos(rects, Point(5, 0)), -1);
  EXPECT_EQ(ButtonAtPos(rects, Point(5, 9)), 0);
  EXPECT_EQ(ButtonAtPos(rects, Point(39, 5)), 1);
  EXPECT_EQ(ButtonAtPos(rects, Point(50, 5)), -1);
  EXPECT_EQ(ButtonAtPos({}, Point(1, 1)), -1);
}

TEST(ButtonSetDrag, TheThresholdMustBePassedStrictly) {
  EXPECT_FALSE(DragThresholdPassed(Point(10, 10), Point(15, 15)));
  EXPECT_FALSE(DragThresholdPassed(Point(10, 10), Point(5, 5)));
  EXPECT_TRUE(DragThresholdPassed(Point(10, 10), Point(16, 10)));
  EXPECT_TRUE(DragThresholdPassed(Point(10, 10), Point(10, 4)));
  EXPECT_TRUE(DragThresholdPassed(Point(10, 10), Point(12, 12), 1));
}

TEST(ButtonSetDrag, SwappingExchangesTwoPagesAndTheIndexFollows) {
  auto pages = Pages({u"a", u"b", u"c"});
  int index = 0;
  SwapPages(pages, 0, 2, index);
  EXPECT_EQ(pages, Pages({u"c", u"b", u"a"}));  // the second stays in place
  EXPECT_EQ(index, 2);
  SwapPages(pages, 1, 2, index);
  EXPECT_EQ(index, 1);
  index = 0;
  SwapPages(pages, 1, 2, index);  // an index on neither page stays
  EXPECT_EQ(index, 0);
}

TEST(ButtonSetAccelerators, PagesAreFoundByTheirMarkedCharacter) {
  const auto pages = Pages({u"&Games", u"&Tools", u"Ne&ws", u"&games 2", u"No mark", u"R&&D"});
  EXPECT_EQ(PagesWithAccel(pages, u'G'), (std::vector<int>{0, 3}));
  EXPECT_EQ(PagesWithAccel(pages, u'g'), (std::vector<int>{0, 3}));
  EXPECT_EQ(PagesWithAccel(pages, u'W'), (std::vector<int>{2}));
  EXPECT_TRUE(PagesWithAccel(pages, u'N').empty());
  EXPECT_TRUE(PagesWithAccel(pages, u'D').empty());  // "&&" is a literal ampersand
}
