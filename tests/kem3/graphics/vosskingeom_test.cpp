// The skin engine's arithmetic: reading values of a definition, regions of
// bands and spans, frame parts, grips, slots, sizing and snapping.
#include <gtest/gtest.h>

#include <random>

#include "kem3/graphics/vosskingeom.h"
#include "kem3/graphics/vosskinpixels.h"
#include "kem3/graphics/vosskinregion.h"
#include "kem3/graphics/vosskinvalues.h"

namespace {

TEST(VosSkinValues, ReadEveryValueKindOrFallBack) {
  struct Case {
    const char* text;
    int integer;  // VosReadInt(text, -99)
    TColor rgb;
    TColor bgr;
    bool flag;
  };
  const Case cases[] = {
      {"12", 12, clNone, clNone, true},
      {"-7", -7, clNone, clNone, true},
      {"+3", 3, clNone, clNone, true},
      {"0", 0, clNone, clNone, false},
      {"99999999999", kVosMaxInt, clNone, clNone, true},
      {"-99999999999", -kVosMaxInt, clNone, clNone, true},
      {" 5", -99, clNone, clNone, false},
      {"5x", -99, clNone, clNone, false},
      {"-", -99, clNone, clNone, false},
      {"", -99, clNone, clNone, false},
      {"FF0000", -99, 0x0000FF, 0xFF0000, false},  // red as RGB; blue as written
      {"0000ff", -99, 0xFF0000, 0x0000FF, false},
      {"123456", kVosMaxInt, 0x563412, 0x123456, true},
      {"12345", 12345, clNone, clNone, true},
      {"12345g", -99, clNone, clNone, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(VosReadInt(c.text, -99), c.integer);
    EXPECT_EQ(VosReadColorRGB(c.text), c.rgb);
    EXPECT_EQ(VosReadColorBGR(c.text), c.bgr);
    EXPECT_EQ(VosReadFlag(c.text), c.flag);
  }
  EXPECT_EQ(VosReadFontStyle("bIu"), (TFontStyles{fsBold, fsItalic, fsUnderline}));
  EXPECT_EQ(VosReadFontStyle("xyz"), TFontStyles{});
}

TEST(VosSkinValues, TextDrawingsSplitIntoPassesAndOffsets) {
  struct Case {
    const char* text;
    size_t passes;
    TColor firstColor;
    int firstAlpha;
    size_t firstOffsets;
    TRect firstExtent;  // MinX, MinY, MaxX, MaxY
    bool simple;
  };
  const Case cases[] = {
      {"000000,255,(0,0)", 1, 0, 255, 1, {0, 0, 0, 0}, true},
      {"ffffff,128", 1, 0xFFFFFF, 128, 1, {0, 0, 0, 0}, false},  // alpha alone is not simple
      {"0000ff,255,(1,1)", 1, 0x0000FF, 255, 1, {0, 0, 1, 1}, false},
      {"101010,(2,-1),(-3,4)", 1, 0x101010, 255, 2, {-3, -1, 2, 4}, false},
      {"000000,200,(1,1);ffffff,255,(0,0)", 2, 0, 200, 1, {0, 0, 1, 1}, false},
      {" ; ;000000, ,(0,0), ", 1, 0, 255, 1, {0, 0, 0, 0}, true},
      {"nocolour,255,(0,0)", 1, clNone, 255, 1, {0, 0, 0, 0}, true},
      {"000000,999,(500,-500)", 1, 0, 255, 1, {0, -kVosMaxTextOffset, kVosMaxTextOffset, 0}, false},
      {"000000,12,(x,1),(1", 1, 0, 12, 1, {0, 0, 0, 0}, false},
      {"", 0, 0, 0, 0, {}, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    const TVosSkinText t = VosParseTextDrawing(c.text);
    ASSERT_EQ(t.Drawings.size(), c.passes);
    EXPECT_EQ(t.Simple, c.simple);
    if (!c.passes) continue;
    const TVosSkinTextDrawing& d = t.Drawings[0];
    EXPECT_EQ(d.Color, c.firstColor);
    EXPECT_EQ(d.Alpha, c.firstAlpha);
    EXPECT_EQ(d.Offsets.size(), c.firstOffsets);
    EXPECT_EQ((TRect{d.MinX, d.MinY, d.MaxX, d.MaxY}), c.firstExtent);
  }
  // Lists are cut at 64 passes of 64 offsets.
  std::string many, offsets = "000000";
  for (int i = 0; i < 100; ++i) many += "000000;", offsets += ",(1,1)";
  EXPECT_EQ(VosParseTextDrawing(many).Drawings.size(), static_cast<size_t>(kVosMaxTextPasses));
  EXPECT_EQ(VosParseTextDrawing(offsets).Drawings[0].Offsets.size(), static_cast<size_t>(kVosMaxTextOffsets));
}

// Per pixel, as the region must answer.
bool InRects(const std::vector<TRect>& Rects, int X, int Y) {
  for (const TRect& r : Rects)
    if (PtInRect(r, Point(X, Y))) return true;
  return false;
}

TEST(VosRegion, SetOperationsAgreeWithPixelsAndStayInBands) {
  std::mt19937 random(7);
  auto someRects = [&](int n) {
    std::vector<TRect> rects;
    for (int i = 0; i < n; ++i) {
      const int l = static_cast<int>(random() % 30), t = static_cast<int>(random() % 30);
      rects.push_back(Bounds(l, t, static_cast<int>(random() % 12), static_cast<int>(random() % 12)));
    }
    return rects;
  };
  auto regionOf = [](const std::vector<TRect>& rects) {
    TVosRegion r;
    for (const TRect& rect : rects) r = r.Union(TVosRegion::FromRect(rect));
    return r;
  };
  struct Op {
    const char* name;
    TVosRegion (TVosRegion::*call)(const TVosRegion&) const;
    bool (*keep)(bool, bool);
  };
  const Op ops[] = {
      {"union", &TVosRegion::Union, [](bool a, bool b) { return a || b; }},
      {"subtract", &TVosRegion::Subtract, [](bool a, bool b) { return a && !b; }},
      {"intersect", &TVosRegion::Intersect, [](bool a, bool b) { return a && b; }},
  };
  for (int round = 0; round < 40; ++round) {
    const std::vector<TRect> a = someRects(4), b = someRects(4);
    for (const Op& op : ops) {
      SCOPED_TRACE(op.name);
      const TVosRegion result = (regionOf(a).*op.call)(regionOf(b));
      for (int y = -1; y < 45; ++y)
        for (int x = -1; x < 45; ++x)
          ASSERT_EQ(result.Contains(x, y), op.keep(InRects(a, x, y), InRects(b, x, y))) << x << "," << y;
      // Bands lie apart, in order, and no two touching bands hold the same spans.
      const auto& bands = result.Bands();
      for (size_t i = 1; i < bands.size(); ++i) {
        ASSERT_LE(bands[i - 1].Bottom, bands[i].Top);
        ASSERT_FALSE(bands[i - 1].Bottom == bands[i].Top && bands[i - 1].Spans == bands[i].Spans);
      }
    }
  }
}

TEST(VosRegion, BuildsFromTheRunsOfAMaskColour) {
  // A rounded corner: magenta where x + y < 3, in a 24-bit and a 32-bit picture.
  for (TPixelFormat format : {pf24bit, pf32bit}) {
    TBitmap corner;
    corner.SetPixelFormat(format);
    corner.SetSize(5, 4);
    for (int y = 0; y < 4; ++y)
      for (int x = 0; x < 5; ++x) corner.SetPixelColor(x, y, x + y < 3 ? kVosOutsideColor : TColor{0x203040});
    const TVosRegion outside = TVosRegion::FromColor(corner, kVosOutsideColor);
    // One band per distinct row: three rows of runs, the fourth row has none.
    EXPECT_EQ(outside.Rects(), (std::vector<TRect>{{0, 0, 3, 1}, {0, 1, 2, 2}, {0, 2, 1, 3}}));
    EXPECT_EQ(outside.BoundingBox(), (TRect{0, 0, 3, 3}));
    EXPECT_TRUE(TVosRegion::FromColor(corner, kVosShowThroughColor).Empty());
  }
  // Identical rows become one band.
  TBitmap stripes;
  stripes.SetPixelFormat(pf24bit);
  stripes.SetSize(4, 6);
  for (int y = 0; y < 6; ++y)
    for (int x = 0; x < 4; ++x) stripes.SetPixelColor(x, y, x % 2 ? kVosOutsideColor : clBlack);
  EXPECT_EQ(TVosRegion::FromColor(stripes, kVosOutsideColor).Bands().size(), 1u);
}

TEST(VosSkinGeometry, SlotRectanglesFollowTheirMargins) {
  struct Case {
    TVosSlotMargins slot;
    int w, h;
    TRect expected;
  };
  const Case cases[] = {
      {{0, 0, 0, 0}, 300, 100, {0, 0, 300, 100}},                      // fills the window
      {{-10, 0, -50, 0}, 300, 100, {290, 0, 50, 100}},                 // inverted spans are kept as they are
      {{5, 25, 5, 5}, 560, 96, {5, 25, 555, 91}},                      // margins from every edge
      {{28, 4, -190, -22}, 560, 96, {28, 4, 190, 22}},                 // absolute right and bottom
      {{0, 5, 0, -21, true, false, 16, 0}, 96, 560, {40, 5, 56, 21}},  // centred across
      {{3, -7, 0, 0, true, true, 10, 9}, 21, 11, {8, -6, 18, 3}},      // both centred, shifted
      {{0, 0, 0, 0, true, true, 7, 7}, -5, -5, {-5, -5, 2, 2}},        // division toward zero
  };
  for (const Case& c : cases) EXPECT_EQ(VosSlotRect(c.slot, c.w, c.h), c.expected);
}

TEST(VosSkinGeometry, FramePartsAndGripBandsSitBetweenTheirCorners) {
  const std::array<TSize, 8> sizes{TSize{10, 9}, {11, 8}, {12, 7}, {13, 6}, {1, 3}, {2, 4}, {5, 1}, {6, 2}};
  struct Case {
    int part;
    TRect source;  // in a 40 x 30 picture
    TRect target;  // on a 100 x 50 target
  };
  const Case cases[] = {
      {0, {0, 0, 10, 9}, {0, 0, 10, 9}},     {1, {29, 0, 40, 8}, {89, 0, 100, 8}},
      {2, {0, 23, 12, 30}, {0, 43, 12, 50}}, {3, {27, 24, 40, 30}, {87, 44, 100, 50}},
      {4, {10, 0, 11, 3}, {10, 0, 89, 3}},   {5, {12, 26, 14, 30}, {12, 46, 87, 50}},
      {6, {0, 9, 5, 10}, {0, 9, 5, 43}},     {7, {34, 8, 40, 10}, {94, 8, 100, 44}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.part);
    EXPECT_EQ(VosPartSourceRect(c.part, 40, 30, sizes), c.source);
    EXPECT_EQ(VosPartTargetRect(c.part, 100, 50, sizes), c.target);
  }
  const std::array<TSize, 4> corners{TSize{8, 7}, {9, 6}, {10, 5}, {11, 4}};
  EXPECT_EQ(VosGripBand(5, 100, 50, corners, 4, 3), (TRect{8, 0, 91, 3}));
  EXPECT_EQ(VosGripBand(6, 100, 50, corners, 4, 3), (TRect{10, 47, 89, 50}));
  EXPECT_EQ(VosGripBand(7, 100, 50, corners, 4, 3), (TRect{0, 7, 4, 45}));
  EXPECT_EQ(VosGripBand(8, 100, 50, corners, 4, 3), (TRect{96, 6, 100, 46}));
  EXPECT_EQ(VosGripBand(1, 100, 50, corners, 4, 3), TRect{});
}

TEST(VosSkinGeometry, TheFirstGripInOrderWinsAndGivesItsCursor) {
  std::array<TVosRegion, 8> grips;
  grips[0] = TVosRegion::FromRect({0, 0, 8, 8});    // upper-left corner
  grips[4] = TVosRegion::FromRect({0, 0, 100, 4});  // upper band, under the corner too
  grips[7] = TVosRegion::FromRect({96, 0, 100, 50});
  const struct {
    TPoint at;
    int grip;
    int cursor;
  } cases[] = {{{2, 2}, 1, 1}, {{50, 1}, 5, 3}, {{98, 2}, 5, 3}, {{98, 20}, 8, 4}, {{50, 20}, 0, 0}};
  for (const auto& c : cases) {
    EXPECT_EQ(VosGripAt(grips, c.at), c.grip);
    EXPECT_EQ(VosGripCursorKind(c.grip), c.cursor);
  }
}

TEST(VosSkinGeometry, SizingMovesTheGripsEdgesWithinTheLimits) {
  const TRect start{100, 100, 400, 200};
  const TVosSizeLimits limits{200, 60, 500, 300};
  struct Case {
    int grip;
    TPoint delta;
    TRect expected;
  };
  const Case cases[] = {
      {1, {-10, -20}, {90, 80, 400, 200}},
      {1, {150, 0}, {200, 100, 400, 200}},    // below the minimum width the right edge stays
      {4, {400, 400}, {100, 100, 600, 400}},  // held at the largest size
      {3, {5, 5}, {105, 100, 400, 205}},
      {5, {30, -30}, {100, 70, 400, 200}},  // a band moves one edge only
      {8, {-250, 0}, {100, 100, 300, 200}},
      {7, {-150, 0}, {0, 100, 400, 200}},  // a negative left is cut at 0
  };
  for (const Case& c : cases) EXPECT_EQ(VosSizingBounds(start, c.delta, c.grip, limits, {1, 1}), c.expected);
  // Without limits the window keeps its corners.
  EXPECT_EQ(VosSizingBounds(start, {-400, -400}, 4, {}, {24, 20}), (TRect{100, 100, 124, 120}));
  EXPECT_EQ(VosSizingBounds(start, {400, 400}, 1, {}, {0, 0}), (TRect{399, 199, 400, 200}));
}

TEST(VosSkinGeometry, ADraggedWindowSnapsToTheNearerEdgeWithinTheBuffer) {
  const TRect area{0, 0, 1280, 770};
  struct Case {
    TRect bounds;
    int distance;
    TRect expected;
  };
  const Case cases[] = {
      {{8, 9, 108, 59}, 10, {0, 0, 100, 50}},
      {{11, 300, 111, 350}, 10, {11, 300, 111, 350}},
      {{1175, 715, 1275, 765}, 10, {1180, 720, 1280, 770}},
      {{-6, 300, 94, 350}, 10, {0, 300, 100, 350}},
      {{8, 9, 108, 59}, 0, {8, 9, 108, 59}},
      {{0, 5, 1276, 60}, 10, {0, 0, 1276, 55}},  // both edges near: the nearer one
  };
  for (const Case& c : cases) EXPECT_EQ(VosSnapToArea(c.bounds, area, c.distance), c.expected);
}

}  // namespace
