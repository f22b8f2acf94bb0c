// The panel list's layout with a fake text measure: item sizes, rows and
// columns in every style, the scroller it needs, hit tests and scrolling an
// item into view.
#include "kem3/controls/kemplist_layout.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <tuple>
#include <vector>

namespace {

// Every character 6 px wide, every line 13 px high; words wrap greedily.
struct TFakeMeasure : IPanelListMeasure {
  static constexpr int CharWidth = 6;
  static constexpr int LineHeight = 13;
  TSize TextExtent(const WideString& Text) override { return {CharWidth * static_cast<int>(Text.size()), LineHeight}; }
  TSize TextBoxExtent(const WideString& Text, int Width, bool WordWrap, bool) override {
    if (!WordWrap) return TextExtent(Text);
    int lines = 1, line = 0, widest = 0;
    size_t start = 0;
    while (start <= Text.size()) {
      size_t end = Text.find(u' ', start);
      if (end == WideString::npos) end = Text.size();
      const int word = CharWidth * static_cast<int>(end - start);
      const int needed = line == 0 ? word : line + CharWidth + word;
      if (line > 0 && needed > Width) {
        ++lines;
        line = word;
      } else {
        line = needed;
      }
      widest = std::max(widest, line);
      start = end + 1;
    }
    return {widest, lines * LineHeight};
  }
};

class TLayoutList : public TKemPanelListModel {};

struct TFixture {
  TLayoutList List;
  TKemPanelListLayout Layout;
  TFakeMeasure Measure;
  std::vector<std::unique_ptr<TBitmap>> Bitmaps;

  TBitmap* Image(int w, int h) {
    Bitmaps.push_back(std::make_unique<TBitmap>());
    Bitmaps.back()->SetSize(w, h);
    return Bitmaps.back().get();
  }
  // A control of ClientWidth with a 2 px border around the items area.
  void Run(int width, int height, int thickness = 14) {
    Layout.Run(List, Rect(2, 2, 2 + width, 2 + height), width + 4, thickness,
               [this](int i, TRect& r) { r = Layout.MeasureItem(List, *List.Items(i), Measure); });
  }
  TRect ItemRect(int i) const {
    const TKemPanelListItem* item = List.Items(i);
    TRect r = item->Rect;
    OffsetRect(r, item->Position.X, item->Position.Y);
    return r;
  }
};

}  // namespace

TEST(KemPlistLayout, ListItemsAreALineAndTwoVerticalSpacesHighAcrossTheClientWidth) {
  TFixture f;
  for (int i = 0; i < 4; ++i) f.List.Add(u"abc");
  f.Run(100, 68);
  EXPECT_EQ(f.List.Items(0)->Rect, Rect(0, 0, 104, 17));
  EXPECT_TRUE(f.List.Items(0)->Measured);
  EXPECT_EQ(f.ItemRect(3), Rect(0, 51, 104, 68));
  EXPECT_FALSE(f.Layout.ScrollerVisible()) << "a list that fits exactly needs no scroller";
  EXPECT_EQ(f.Layout.RowHeight(), 17);

  f.List.Add(u"abc");
  f.Run(100, 68);
  EXPECT_TRUE(f.Layout.ScrollerVisible());
  EXPECT_EQ(f.Layout.ReserveWidth(), 14);
  EXPECT_EQ(f.List.Items(0)->Rect.Width(), 90) << "measured again beside the scroller";
  EXPECT_EQ(f.Layout.ScrollLength(), 85 - 68 + 1);
  EXPECT_EQ(f.Layout.ScrollStep(), 17);
  EXPECT_EQ(f.Layout.Direction(), sdVertical);
}

TEST(KemPlistLayout, SeparatorsImagesHiddenItemsAndFixedHeightsInAList) {
  TFixture f;
  f.List.SetStyle(plsTreeview);
  f.List.Add(u"a");
  f.List.Add(u"")->IsSeparator = true;
  f.List.Add(u"b")->Images = {f.Image(16, 20), f.Image(16, 8)};
  TKemPanelListItem* hidden = f.List.Add(u"c");
  hidden->Visible = false;
  f.List.Add(u"d");
  f.Run(100, 200);
  EXPECT_EQ(f.List.Items(1)->Rect.Height(), 3);
  EXPECT_EQ(f.List.Items(2)->Rect.Height(), 22) << "the first image is taller than the text";
  EXPECT_TRUE(IsRectEmpty(hidden->Rect));
  EXPECT_EQ(f.ItemRect(4).Top, 17 + 3 + 22);
  EXPECT_EQ(f.Layout.SummedHeight(), 17 + 3 + 22 + 17);
  f.Layout.ItemHeight = 30;
  f.Run(100, 200);
  EXPECT_EQ(f.List.Items(2)->Rect.Height(), 30);
  EXPECT_EQ(f.List.Items(1)->Rect.Height(), 3);
}

TEST(KemPlistLayout, ListHitTestsAndScrolling) {
  TFixture f;
  for (int i = 0; i < 10; ++i) f.List.Add(u"x");
  f.List.Items(1)->Visible = false;
  f.Run(100, 68);
  // Items: 0 at 0, (1 hidden), 2 at 17, 3 at 34 ... 9 at 136; summed 153.
  EXPECT_EQ(f.Layout.ScrollLength(), 153 - 68 + 1);
  EXPECT_EQ(f.Layout.ItemAtPos(f.List, Point(10, 2 + 20), 0), 2);
  EXPECT_EQ(f.Layout.ItemAtPos(f.List, Point(10, 2 + 20), 17), 3);
  EXPECT_EQ(f.Layout.ItemClientRect(f.List, 3, 10), Rect(2, 2 + 34 - 10, 2 + 90, 2 + 51 - 10));
  EXPECT_EQ(f.Layout.MakeVisiblePosition(f.List, 5, 0), 85 - 68);
  EXPECT_EQ(f.Layout.MakeVisiblePosition(f.List, 2, 50), 17);
  EXPECT_EQ(f.Layout.MakeVisiblePosition(f.List, 4, 40), 40) << "already in view";
  EXPECT_EQ(f.Layout.MakeVisiblePosition(f.List, 9, 0), 153 - 68);
  EXPECT_EQ(f.Layout.Grid(72).Page, 4);
}

TEST(KemPlistLayout, UniformListViewCellsRunByRowsOrByColumns) {
  TFixture f;
  f.List.SetStyle(plsListview);
  f.Layout.ItemWidth = 50;
  for (int i = 0; i < 8; ++i) f.List.AddItem(u"ab", 0, f.Image(32, 32), nullptr, false);
  f.Run(200, 110);
  // 13 text + 32 image + 2 between + 2 + 2 spaces.
  EXPECT_EQ(f.List.Items(0)->Rect, Rect(0, 0, 50, 51));
  EXPECT_EQ(f.Layout.Columns(), 4);
  EXPECT_EQ(f.Layout.Rows(), 2);
  EXPECT_FALSE(f.Layout.ScrollerVisible());
  EXPECT_EQ(f.List.Items(5)->Position, Point(50, 51));
  f.List.SetOptions(TKemPanelListOptions{ploListviewArrangeVert});
  f.Run(200, 110);
  EXPECT_EQ(f.List.Items(1)->Position, Point(0, 51));
  EXPECT_EQ(f.List.Items(2)->Position, Point(50, 0));
}

TEST(KemPlistLayout, ListViewScrollsHorizontallyOrVertically) {
  TFixture f;
  f.List.SetStyle(plsListview);
  f.Layout.ItemWidth = 50;
  for (int i = 0; i < 9; ++i) f.List.AddItem(u"ab", 0, f.Image(32, 32), nullptr, false);
  f.Run(200, 110);
  EXPECT_TRUE(f.Layout.ScrollerVisible());
  EXPECT_EQ(f.Layout.Direction(), sdHorizontal);
  EXPECT_EQ(f.Layout.Rows(), 1) << "(110 - 14) div 51";
  EXPECT_EQ(f.Layout.Columns(), 9);
  EXPECT_EQ(f.Layout.ScrollLength(), 9 * 50 - 200 + 1);
  EXPECT_EQ(f.Layout.ScrollStep(), 50);
  EXPECT_EQ(f.Layout.ReserveHeight(), 14);
  EXPECT_EQ(f.List.Items(8)->Position, Point(400, 0));
  EXPECT_EQ(f.Layout.ItemClientRect(f.List, 8, 251).Left, 2 + 400 - 251);
  EXPECT_EQ(f.Layout.MakeVisiblePosition(f.List, 8, 0), 450 - 200);

  f.List.SetOptions(TKemPanelListOptions{ploListviewScrollVert});
  f.Run(200, 110);
  EXPECT_EQ(f.Layout.Direction(), sdVertical);
  EXPECT_EQ(f.Layout.Columns(), 3) << "(200 - 14) div 50";
  EXPECT_EQ(f.Layout.Rows(), 3);
  EXPECT_EQ(f.Layout.ScrollLength(), 3 * 51 - 110 + 1);
  EXPECT_EQ(f.Layout.ScrollStep(), 51);
  EXPECT_EQ(f.List.Items(4)->Position, Point(50, 51));
  EXPECT_EQ(f.Layout.ItemAtPos(f.List, Point(2 + 60, 2 + 60), 0), 4);
  EXPECT_EQ(f.Layout.ItemAtPos(f.List, Point(2 + 60, 2 + 60), 51), 7);
  const TPanelListGrid grid = f.Layout.Grid(110);
  EXPECT_EQ(grid.Rows, 3);
  EXPECT_EQ(grid.Columns, 3);
  EXPECT_EQ(grid.Page, 2);
}

TEST(KemPlistLayout, ListViewCellsAreAsHighAsTheTallestItem) {
  TFixture f;
  f.List.SetStyle(plsListview);
  f.Layout.ItemWidth = 50;
  f.List.Add(u"ab");
  f.List.Add(u"abcd efgh");  // two lines in 50 px
  f.List.Add(u"ab")->Visible = false;
  f.Run(200, 110);
  EXPECT_EQ(f.Layout.RowHeight(), 26 + 4);
  EXPECT_EQ(f.List.Items(0)->Rect.Height(), 30);
  f.List.SetOptions(TKemPanelListOptions{ploListviewHideText});
  f.Run(200, 110);
  EXPECT_EQ(f.Layout.RowHeight(), 4);
}

TEST(KemPlistLayout, ItemWidthZeroGivesOneColumnAcrossTheClientWidth) {
  TFixture f;
  f.List.SetStyle(plsListview);
  f.List.SetOptions(TKemPanelListOptions{ploListviewScrollVert});
  f.Layout.ItemWidth = 0;
  for (int i = 0; i < 2; ++i) f.List.Add(u"ab");
  f.Run(200, 40);
  EXPECT_EQ(f.Layout.Columns(), 1);
  EXPECT_EQ(f.List.Items(0)->Rect.Width(), 204);
  EXPECT_FALSE(f.Layout.ScrollerVisible());
  f.List.Add(u"ab");
  f.Run(200, 40);
  EXPECT_TRUE(f.Layout.ScrollerVisible());
  EXPECT_EQ(f.List.Items(0)->Rect.Width(), 190);
  EXPECT_EQ(f.Layout.Columns(), 1);
  EXPECT_EQ(f.Layout.Rows(), 3);
  EXPECT_EQ(f.List.Items(2)->Position, Point(0, 34));
  EXPECT_EQ(f.Layout.ScrollLength(), 3 * 17 - 40 + 1);
}

TEST(KemPlistLayout, ACellMeasuresNoMoreOfItsCaptionThanItCanShow) {
  struct TLongestMeasure : TFakeMeasure {
    size_t Longest = 0;
    TSize TextBoxExtent(const WideString& Text, int Width, bool WordWrap, bool Prefix) override {
      Longest = std::max(Longest, Text.size());
      return TFakeMeasure::TextBoxExtent(Text, Width, WordWrap, Prefix);
    }
  };
  const WideString huge(1 << 20, u'w');
  // 64 px cells in a view 80 px high: 7 lines of 13 px, each of 64 characters and a line break.
  const std::vector<std::tuple<WideString, TKemPanelListOptions, size_t>> cases = {
      {u"Notepad", {}, 7},
      {huge, {}, 7 * 66},
      {huge, {ploListviewIconLeft}, 7 * 62},  // a text box 2 + 2 spaces narrower
  };
  for (const auto& [caption, options, longest] : cases) {
    TLayoutList list;
    list.SetStyle(plsListview);
    list.SetOptions(options);
    list.Add(caption);
    TKemPanelListLayout layout;
    layout.ItemWidth = 64;
    TLongestMeasure measure;
    layout.Run(list, Rect(0, 0, 300, 80), 300, 14,
               [&](int i, TRect& r) { r = layout.MeasureItem(list, *list.Items(i), measure); });
    EXPECT_EQ(measure.Longest, longest) << caption.size();
  }
  WideString pairs;
  while (pairs.size() < 1000) pairs += u"\U0001F3AE";
  EXPECT_EQ(PanelListShownText(pairs, 63, 80, 13).size(), 7u * 65 - 1) << "never half a pair";
}

TEST(KemPlistLayout, IconLeftTextWrapsBesideTheImage) {
  TFixture f;
  f.List.SetStyle(plsListview);
  f.List.SetOptions(TKemPanelListOptions{ploListviewIconLeft, ploListviewScrollVert});
  f.Layout.ItemWidth = 100;
  // Text box: 100 - (2 + 16) - (2 + 2) = 78 px: "aaaa bbbb" fits, "cccc dddd" goes below.
  f.List.AddItem(u"aaaa bbbb cccc dddd", 0, f.Image(16, 16), nullptr, false);
  f.List.AddItem(u"x", 0, f.Image(16, 40), nullptr, false);
  f.Run(300, 200);
  EXPECT_EQ(f.Layout.RowHeight(), 40 + 4);
  EXPECT_EQ(f.List.Items(0)->Rect.Height(), 44) << "cells share the row height";
  TKemPanelListItem* item = f.List.Items(0);
  EXPECT_EQ(f.Layout.MeasureItem(f.List, *item, f.Measure).Height(), 30);
  f.List.SetOptions(TKemPanelListOptions{ploListviewIconLeft, ploListviewScrollVert, ploDisableWordwrap});
  EXPECT_EQ(f.Layout.MeasureItem(f.List, *item, f.Measure).Height(), 16 + 4) << "one line beside the image";
}

TEST(KemPlistLayout, PerItemHeightsStackItemsAcrossTheWidth) {
  TFixture f;
  f.List.SetStyle(plsListview);
  f.List.SetOptions(TKemPanelListOptions{ploListviewItemHeights, ploListviewScrollVert});
  f.List.Add(u"a");
  f.List.AddItem(u"b", 0, f.Image(10, 30), nullptr, false);
  f.Run(100, 200);
  EXPECT_EQ(f.List.Items(0)->Rect, Rect(0, 0, 104, 17));
  EXPECT_EQ(f.List.Items(1)->Rect, Rect(0, 0, 104, 13 + 30 + 2 + 4));
  EXPECT_EQ(f.List.Items(1)->Position, Point(0, 17));
  EXPECT_FALSE(f.Layout.ScrollerVisible());
  f.Run(100, 66);  // the summed height 66 reaches the view height
  EXPECT_TRUE(f.Layout.ScrollerVisible());
  EXPECT_EQ(f.List.Items(0)->Rect.Width(), 90);
  EXPECT_EQ(f.Layout.ScrollLength(), 66 - 66 + 1);
}

TEST(KemPlistLayout, IndividualWidthsFlowInRows) {
  TFixture f;
  f.List.SetStyle(plsListview);
  f.List.SetOptions(TKemPanelListOptions{ploIndividualWidths, ploListviewHideText, ploListviewScrollVert});
  for (int w : {30, 40, 50, 20}) f.List.AddItem(u"x", 0, f.Image(w, 16), nullptr, false);
  // Widths 34, 44, 54, 24; height 20; the row limit is 120 - 14 = 106.
  f.Run(120, 40);
  EXPECT_EQ(f.List.Items(1)->Position, Point(34, 0));
  EXPECT_EQ(f.List.Items(2)->Position, Point(0, 20));
  EXPECT_EQ(f.List.Items(3)->Position, Point(54, 20));
  EXPECT_EQ(f.Layout.Rows(), 2);
  EXPECT_FALSE(f.Layout.ScrollerVisible());
  f.Run(120, 30);
  EXPECT_TRUE(f.Layout.ScrollerVisible());
  EXPECT_EQ(f.Layout.ScrollLength(), 40 - 30);
  EXPECT_EQ(f.Layout.ScrollStep(), 20);

  // Horizontally: (54 - 14) div 20 = 2 rows; the limit starts at 156 div 2 = 78.
  f.List.SetOptions(TKemPanelListOptions{ploIndividualWidths, ploListviewHideText});
  f.Run(60, 54);
  EXPECT_EQ(f.Layout.Rows(), 2);
  EXPECT_EQ(f.List.Items(2)->Position, Point(0, 20));
  EXPECT_EQ(f.Layout.ContentWidth(), 78);
  EXPECT_TRUE(f.Layout.ScrollerVisible());
  EXPECT_EQ(f.Layout.ScrollLength(), 78 - 60);
  // One row: the limit grows in steps of 10 until everything fits.
  f.Run(60, 40);
  EXPECT_EQ(f.Layout.Rows(), 1);
  EXPECT_EQ(f.List.Items(3)->Position, Point(132, 0));
  EXPECT_EQ(f.Layout.ContentWidth(), 156);
}

TEST(KemPlistLayout, TreeIndentsPerLevelAndFindsTheExpandBox) {
  TFixture f;
  f.List.SetStyle(plsTreeview);
  TKemPanelListItem* root = f.List.Add(u"root");
  root->AddChild(u"child")->AddChild(u"leaf");
  f.Run(200, 100);
  // SpaceLeft 2, one column of SpaceHorz + 12 = 14 per level.
  EXPECT_EQ(f.Layout.ContentLeft(plsTreeview, 0), 16);
  EXPECT_EQ(f.Layout.ContentLeft(plsTreeview, 2), 44);
  EXPECT_EQ(f.Layout.ContentLeft(plsListbox, 2), 2);
  const TRect item = f.Layout.ItemClientRect(f.List, 1, 0);
  EXPECT_EQ(f.Layout.ExpandBoxRect(item, 1, false), Rect(item.Left + 17, item.Top, item.Left + 27, item.Bottom));
  bool hit = false;
  EXPECT_EQ(f.Layout.ItemAtPos(f.List, Point(item.Left + 20, item.Top + 3), 0, &hit), 1);
  EXPECT_TRUE(hit);
  EXPECT_EQ(f.Layout.ItemAtPos(f.List, Point(item.Left + 40, item.Top + 3), 0, &hit), 1);
  EXPECT_FALSE(hit);
  const TRect leaf = f.Layout.ItemClientRect(f.List, 2, 0);
  EXPECT_EQ(f.Layout.ItemAtPos(f.List, Point(leaf.Left + 31 + 2, leaf.Top + 3), 0, &hit), 2);
  EXPECT_FALSE(hit) << "an item without children has no expand box";
  root->Expanded = false;
  f.Run(200, 100);
  EXPECT_EQ(f.Layout.ItemAtPos(f.List, Point(10, item.Top + 3), 0), -1) << "hidden items are not hit";
  EXPECT_EQ(f.Layout.ExpandBoxRect(Rect(0, 0, 100, 17), 0, true), Rect(4, 5, 11, 12));
}

TEST(KemPlistLayout, BorderWidthsAndScrollDirections) {
  EXPECT_EQ(PanelListBorderWidth(plbNone), 0);
  EXPECT_EQ(PanelListBorderWidth(plbLowered), 1);
  EXPECT_EQ(PanelListBorderWidth(plbRaised), 1);
  EXPECT_EQ(PanelListBorderWidth(plbLoweredDeep), 2);
  EXPECT_EQ(PanelListBorderWidth(plbRaisedHigh), 2);
  EXPECT_EQ(PanelListScrollDirection(plsListbox, {}), sdVertical);
  EXPECT_EQ(PanelListScrollDirection(plsTreeview, {}), sdVertical);
  EXPECT_EQ(PanelListScrollDirection(plsListview, {}), sdHorizontal);
  EXPECT_EQ(PanelListScrollDirection(plsListview, TKemPanelListOptions{ploListviewScrollVert}), sdVertical);
}
