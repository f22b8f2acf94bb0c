// Skinned text without fonts: the block rasteriser draws every character as
// a block, so passes, offsets, alpha, turning and the mark-up's layout show
// as blocks at the places the skin puts them, on every platform.
#include <gtest/gtest.h>

#include <cstring>

#include "kem3/graphics/vosskin.h"
#include "kem3/graphics/vosskinmarkup.h"
#include "kem3/graphics/vosskinpixels.h"

namespace {

std::uint32_t Px(const TBitmap& B, int X, int Y) {
  std::uint32_t v;
  std::memcpy(&v, static_cast<const std::uint8_t*>(B.ScanLine(Y)) + 4 * X, 4);
  return v & 0xFFFFFF;
}

TEST(VosSkinText, PassesDrawAtTheirOffsetsWithTheirColourAndAlpha) {
  // Size 9: blocks 5 x 11 on an advance of 6 and lines of 12.
  TVosSkinFont font;
  font.Size = 9;
  const struct {
    const char* drawing;
    int orientation;
    int smooth;
    TPoint at;
    std::uint32_t colour;  // 0x808080: untouched
  } cases[] = {
      {"0000ff,255,(0,0)", 0, 1, {2, 2}, 0xFF0000},   // blue-green-red: red
      {"0000ff,255,(0,0)", 0, 1, {5, 2}, 0x808080},   // between the characters
      {"0000ff,255,(0,0)", 0, 1, {13, 2}, 0x808080},  // after the text
      {"000000,255,(2,1);ffffff", 0, 1, {3, 3}, 0xFFFFFF},
      {"000000,255,(2,1);ffffff", 0, 1, {12, 5}, 0x000000},  // the shadow beside the last block
      {"000000,255,(2,1);ffffff", 0, 1, {2, 11}, 0x000000},  // and below the first
      {"ffffff,128", 0, 1, {2, 2}, 0xC0C0C0},
      {"nocolour,255", 0, 1, {2, 2}, 0x808080},
      {"ffffff", 1, 1, {15, 2}, 0xFFFFFF},  // turned clockwise: reads downwards at the right
      {"ffffff", 1, 1, {2, 2}, 0x808080},
      {"ffffff", 2, 1, {2, 37}, 0xFFFFFF},  // counter-clockwise: upwards at the left
      {"ffffff", 0, 2, {2, 2}, 0xFFFFFF},   // drawn twice the size and reduced
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.drawing) + " " + std::to_string(c.orientation));
    TVosSkin skin;
    skin.SetRasterizer(NewVosBlockRasterizer());
    TBitmap target;
    target.SetPixelFormat(pf32bit);
    target.SetSize(40, 40);
    VosClear(target, 0x808080);
    font.Smooth = c.smooth;
    const TRect box = c.orientation ? Rect(0, 0, 20, 40) : Rect(0, 0, 40, 20);
    skin.DrawSkinText(target, box, u"AB", VosParseTextDrawing(c.drawing), font, vtfLeft | vtfSingleLine, c.orientation);
    const std::uint32_t got = Px(target, c.at.X, c.at.Y);
    for (int shift : {0, 8, 16}) EXPECT_NEAR(static_cast<int>((got >> shift) & 0xFF), (c.colour >> shift) & 0xFF, 1);
  }
  // Nothing to draw: no text, no room.
  TVosSkin skin;
  TBitmap target;
  target.SetPixelFormat(pf32bit);
  target.SetSize(10, 10);
  VosClear(target, 0x808080);
  skin.DrawSkinText(target, Rect(0, 0, 10, 10), u"", VosDefaultText(), font, 0);
  skin.DrawSkinText(target, Rect(3, 0, 3, 10), u"A", VosDefaultText(), font, 0);
  EXPECT_EQ(Px(target, 1, 1), 0x808080u);
}

TEST(VosSkinText, BoxesFarBeyondTheTargetDrawOnlyWhatLandsOnIt) {
  // Indents of -32767 make a box 65,000 pixels wide around a 40 x 30 target:
  // the text centred in it lands where it lands in the target's own box.
  const TRect huge = Rect(-32767, -32767, 40 + 32767, 30 + 32767);
  for (int orientation : {0, 1, 2})
    for (int smooth : {1, 2}) {
      SCOPED_TRACE(std::to_string(orientation) + " smooth " + std::to_string(smooth));
      TVosSkinFont font;
      font.Size = 9;
      font.Smooth = smooth;
      const TVosSkinText drawing = VosParseTextDrawing("000000,255,(2,1);ffffff");
      auto draw = [&](const TRect& Box) {
        TVosSkin skin;
        skin.SetRasterizer(NewVosBlockRasterizer());
        TBitmap target;
        target.SetPixelFormat(pf32bit);
        target.SetSize(40, 30);
        VosClear(target, 0x808080);
        skin.DrawSkinText(target, Box, u"AB", drawing, font, vtfCenter | vtfVCenter | vtfSingleLine, orientation);
        std::vector<std::uint32_t> pixels;
        for (int y = 0; y < 30; ++y)
          for (int x = 0; x < 40; ++x) pixels.push_back(Px(target, x, y));
        return pixels;
      };
      const std::vector<std::uint32_t> own = draw(Rect(0, 0, 40, 30));
      EXPECT_EQ(draw(huge), own);
      EXPECT_NE(own, draw(Rect(0, 0, 0, 0)));  // the text is there to compare
    }
}

TEST(VosSkinMarkup, GroupsSetTheStyleOfTheTextAfterThem) {
  struct Case {
    const char* text;
    std::vector<TVosMarkupRun> runs;
  };
  TVosRunStyle bold;
  bold.Style = {fsBold};
  TVosRunStyle big;
  big.SizeDelta = 2;
  big.Align = vraCenter;
  big.SingleLine = true;
  TVosRunStyle coloured;
  coloured.ColorEnabled = 0x0000FF;
  coloured.ColorDisabled = 0x808080;
  coloured.MoveDown = -3;
  TVosRunStyle right;
  right.Align = vraRight;
  right.Style = {fsItalic, fsUnderline};
  const Case cases[] = {
      {"plain", {{u"plain", {}, false}}},
      {"{b}bold{}plain", {{u"bold", bold, false}, {u"plain", {}, false}}},
      {"{fs:2 c,sl}x", {{u"x", big, false}}},
      {"{fl:0000ff:808080;mv:-3}red", {{u"red", coloured, false}}},
      {"{r,i,u}end", {{u"end", right, false}}},
      {"a{}\r\nb{b}\rc", {{u"a", {}, false}, {u"b", {}, true}, {u"c", bold, true}}},
      {"{unclosed", {{u"{unclosed", {}, false}}},
      {"{bfl:00}{xyz}ok", {{u"ok", {}, false}}},  // unknown codes: plain
      {"", {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    WideString text;
    for (const char* p = c.text; *p; ++p) text += static_cast<char16_t>(*p);
    EXPECT_EQ(VosParseMarkup(text), c.runs);
  }
}

TEST(VosSkinMarkup, ColumnsStartAtTheirTabStopsAndRunsNeverOverlap) {
  struct Case {
    const char16_t* text;
    std::vector<int> stops;
    std::vector<TRect> rects;  // of the runs, five pixels per character, lines 10 high
  };
  const Case cases[] = {
      {u"ab\tcd\tef", {0, 30, -10}, {{0, 0, 10, 10}, {30, 0, 40, 10}, {90, 0, 100, 10}}},
      {u"a\tb\tc", {10}, {{10, 0, 15, 10}, {15, 0, 20, 10}, {20, 0, 25, 10}}},  // beyond the stops
      {u"{r}xy\tz", {0, 50}, {{40, 0, 50, 10}, {50, 0, 55, 10}}},
      {u"{c}x", {}, {{47, 0, 52, 10}}},
      {u"ab{r}c", {}, {{0, 0, 10, 10}, {95, 0, 100, 10}}},
      {u"aaaaaaaaaaaaaaaaaaaaaa{r}x", {}, {{0, 0, 110, 10}, {110, 0, 115, 10}}},
      {u"a{}\rb{mv:4}c", {2}, {{2, 0, 7, 10}, {2, 10, 7, 20}, {7, 14, 12, 24}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::u16string(c.text).size());
    const auto runs =
        VosLayoutMarkup(c.text, Rect(0, 0, 100, 40), c.stops, 10,
                        [](const WideString& t, const TVosRunStyle&) { return 5 * static_cast<int>(t.size()); });
    std::vector<TRect> rects;
    for (const TVosPlacedRun& r : runs) rects.push_back(r.Rect);
    EXPECT_EQ(rects, c.rects);
  }
}

TEST(VosSkinMarkup, PanelItemTextsTakeTheirStatesDrawingAndTheMarkupsColour) {
  // No skin loaded: the defaults (black; disabled at half strength); Arial 10 gives blocks on an advance of 6.
  const struct {
    bool enabled;
    int state;
    TPoint at;
    std::uint32_t colour;
  } cases[] = {
      {true, vpsNormal, {1, 1}, 0xFF0000},   // the mark-up's enabled colour
      {false, vpsNormal, {1, 1}, 0x00FF00},  // its disabled colour, at the disabled alpha
      {true, vpsNormal, {21, 1}, 0x000000},  // the second column: the drawing's own colour
      {false, vpsOver, {21, 1}, 0x404040},
  };
  for (const auto& c : cases) {
    TVosSkin skin;
    skin.SetRasterizer(NewVosBlockRasterizer());
    TBitmap target;
    target.SetPixelFormat(pf32bit);
    target.SetSize(40, 20);
    VosClear(target, 0x808080);
    skin.DrawPanelItemText(target, Rect(0, 0, 40, 20), {0, 20}, c.enabled, c.state, u"{fl:0000ff:00ff00}ab\tc");
    const std::uint32_t got = Px(target, c.at.X, c.at.Y);
    const std::uint32_t expected = c.enabled ? c.colour : (c.colour == 0x404040 ? c.colour : 0x40BF40);
    for (int shift : {0, 8, 16})
      EXPECT_NEAR(static_cast<int>((got >> shift) & 0xFF), (expected >> shift) & 0xFF, 1) << c.at.X;
  }
}

}  // namespace
