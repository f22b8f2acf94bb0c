// The colour picker's cells, colours, hit tests and value.
#include "kem3/controls/kemcedit_model.h"

#include <gtest/gtest.h>

#include <set>

#include "platform/exceptions.h"
#include "platform/graphics.h"

TEST(ColorPickerModel, HoneycombCellsAndRingColours) {
  EXPECT_EQ(HoneycombCells(1, {1, 1, 1}).size(), 1u);
  EXPECT_EQ(HoneycombCells(0, {1, 1, 1}).size(), 1u);
  const auto cells = HoneycombCells(8, {1, 1, 1});
  ASSERT_EQ(cells.size(), 169u);
  EXPECT_EQ(HoneycombSize(8), (TSize{120, 107}));
  std::set<std::pair<int, int>> places;
  for (const THexCell& c : cells) {
    places.insert({c.At.X, c.At.Y});
    EXPECT_GE(c.At.X, 0);
    EXPECT_LE(c.At.X + kHexWidth, 120);
    EXPECT_GE(c.At.Y, 0);
    EXPECT_LE(c.At.Y + kHexHeight, 107);
  }
  EXPECT_EQ(places.size(), 169u);  // no cell twice
  EXPECT_EQ(cells[0].Color, clWhite);
  // The outer ring's corners take the pure hues, in corner order.
  const int outer = 1 + 3 * 7 * 6;  // first cell of ring 7
  EXPECT_EQ(cells[outer].At, Point(56 + 56, 49));
  EXPECT_EQ(cells[outer].Color, RGBColor(255, 0, 255));
  EXPECT_EQ(cells[outer + 7].Color, RGBColor(255, 0, 0));
  EXPECT_EQ(cells[outer + 35].Color, RGBColor(0, 0, 255));
  // Ring 1's right corner: a seventh of the way from white to magenta (218.57 rounded).
  EXPECT_EQ(cells[1].Color, RGBColor(255, 219, 255));
  // A black centre leaves the outer hues pure.
  const auto dark = HoneycombCells(8, BrightnessCentre(106, 107));
  EXPECT_EQ(dark[0].Color, clBlack);
  EXPECT_EQ(dark[outer + 7].Color, RGBColor(255, 0, 0));
  EXPECT_EQ(HexCellHit(cells, 56 + 3, 49), 0);
  EXPECT_EQ(HexCellHit(cells, 0, 0), -1);  // beside the honeycomb's upper left side
  EXPECT_EQ(HexCellHit(cells, 200, 49), -1);
}

TEST(ColorPickerModel, GridGapsAndGreys) {
  EXPECT_EQ(GridHeight(72), 175);
  EXPECT_EQ(GridHit(0, 0, 72), 0);
  EXPECT_EQ(GridHit(14, 14, 72), 0);
  EXPECT_EQ(GridHit(15, 3, 72), -1);  // the gap
  EXPECT_EQ(GridHit(3, 17, 72), -1);
  EXPECT_EQ(GridHit(145, 165, 72), 71);
  EXPECT_EQ(GridHit(165, 0, 72), -1);
  EXPECT_EQ(GridHit(3, 185, 72), -1);
  EXPECT_EQ(kPickerGridColors[71], 0x669999u);
  EXPECT_EQ(BrightnessGrey(0, 100), 255);
  EXPECT_EQ(BrightnessGrey(99, 100), 0);
  const auto greys = GreyCells();
  ASSERT_EQ(greys.size(), 23u);
  const int levels[] = {243, 231, 220, 208, 197, 185, 173, 162, 150, 139, 127,
                        115, 104, 92,  81,  69,  57,  46,  34,  23,  11};
  for (int i = 1; i <= 21; ++i) EXPECT_EQ(greys[i].Color, RGBColor(levels[i - 1], levels[i - 1], levels[i - 1]));
  EXPECT_EQ(greys[2].Bounds, Bounds(34, 8, 8, 9));
  EXPECT_EQ(GreyCellHit(greys, 10, 10), 0);
  EXPECT_EQ(GreyCellHit(greys, 0, 0), -1);  // outside the large hexagon
  EXPECT_EQ(GreyCellHit(greys, 137, 10), 22);
  EXPECT_EQ(GreyCellHit(greys, 33, 5), 1);
}

TEST(ColorPickerModel, ValueSelectedAndNamedColours) {
  TColorPickerModel m;
  EXPECT_EQ(m.Value(), 0xC0C0C0u);
  EXPECT_EQ(m.AddColor(0x112233, "clrText"), 0);  // the first one is selected
  EXPECT_EQ(m.Selected(), 0);
  EXPECT_EQ(m.Value(), 0x112233u);
  EXPECT_EQ(m.AddColor(0x445566, "clrBack"), 1);
  EXPECT_EQ(m.Selected(), 0);
  EXPECT_TRUE(m.ChannelsChanged(1, 2, 3));  // a channel change recolours the selected entry
  EXPECT_EQ(m.Color(0), RGBColor(1, 2, 3));
  m.SetApplying(true);
  EXPECT_FALSE(m.ChannelsChanged(9, 9, 9));
  m.SetApplying(false);
  EXPECT_FALSE(m.SetSelected(2));
  EXPECT_TRUE(m.SetSelected(1));
  EXPECT_EQ(m.Value(), 0x445566u);
  EXPECT_THROW(m.Color(2), EListError);
}
