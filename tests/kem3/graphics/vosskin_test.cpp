// TVosSkin: loading layouts and their base chains into the model, lookups,
// broken definitions, the texture cache, regions and the drawing of frames,
// textures, borders and items; and our own skins as the build draws them.
#include "kem3/graphics/vosskin.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "kem3/framework/kemexe.h"
#include "kem3/graphics/vosskingeom.h"
#include "kem3/graphics/vosskinlist.h"
#include "kem3/graphics/vosskinpixels.h"
#include "platform/sysutils.h"
#include "vosskin_fixture.h"

namespace {

using namespace vosskintest;

std::string Frame(const std::string& Element, const std::string& File, int C, int E) {
  return FrameXml(Element, File, C, E);
}

// Every section and element kind, a derived layout, and base chains that loop.
std::string TestDefinition() {
  return R"xml(<?xml version="1.0" encoding="utf-8"?>
<vosskindefinition title="Test">
 <layouts><layout id="base" title="Base"/><layout id="derived" title="Derived"/></layouts>
 <layout>
  <base mode="horizontal">
   <textures>
    <texture name="plain"><color value="102030"/></texture>
    <texture name="tiles"><file name="tex.png"/></texture>
    <texture name="both"><color value="FF0000"/><file name="tex.png"/></texture>
    <texture name="wide"><file name="tex.png"/><stretch width="yes" height="0"/></texture>
    <texture name="PLAIN"><color value="ffffff"/></texture>
    <texture name="lost"><file name="nothere.png"/></texture>
   </textures>
   <borders>
    <border name="ring">)xml" +
         Frame("image", "ring.png", 4, 4) + Frame("shadow", "shadow.png", 4, 4) + R"xml(</border>
    <border name="huge">)xml" +
         Frame("image", "ring.png", 40, 40) + R"xml(</border>
   </borders>
   <glyphs>
    <glyph name="dot" index="3"><image><file name="glyph.png" offsetx="1" offsety="1" width="3" height="2"/></image></glyph>
    <glyph name="whole"><image><file name="glyph.png"/></image><shadow><file name="shadow.png"/></shadow></glyph>
    <glyph name="missing"><image><file name="nothere.png"/></image></glyph>
   </glyphs>
   <forms>
    <form name="main">)xml" +
         Frame("frame", "frame.png", 5, 2) + R"xml(
     <grips><file name="grips.png"/>
      <upperleftcorner width="4" height="4" maskcolor="000000"/><upperrightcorner width="4" height="4"/>
      <lowerleftcorner width="4" height="4" maskcolor="zz"/><lowerrightcorner width="4" height="4" maskcolor="ffffff"/>
     </grips>
    </form>
   </forms>
   <menus><menu name="m">)xml" +
         Frame("frame", "frame.png", 5, 2) + Frame("shadow", "frame.png", 5, 2) + R"xml(</menu></menus>
   <buttons><button name="arrow" index="2" normal="dot" pressed="whole" over="nosuch" gray="missing"/></buttons>
   <knobs><knob name="k" grip="arrow" radius="5"/></knobs>
   <containers><group><slot id="client" left="2" top="3" right="4" bottom="5"/><slot id="icon" centerx="1" width="9"/></group></containers>
   <windows>
    <window id="main">
     <form frame="main" texture="tiles"><size minwidth="50" maxheight="70"/><frame width="3"/>
      <caption texture="plain" textureback="tiles"><indent left="2"/><border normal="ring"/><font name="Tahoma" size="0" style="b" smooth="99"/><text normal="0000ff,255,(1,1)"/></caption>
      <icon texture="both"/>
     </form>
     <panellist texture="plain"><indent left="1" top="2" right="3" bottom="4"/>
      <scrollbar><horizontal height="7" left="arrow"/><vertical width="9" height="11" slider="ring"/></scrollbar>
      <item><border over="ring" selected="nosuch"/><texture normal="tiles" odd="plain" selected="wide"/><space left="3" vertical="2"/><fade width="6"/>
       <text><font size="12" lineheight="3"/><enabled over="ffffff,200"/></text>
      </item>
     </panellist>
     <buttonset texture="wide"><item><indent left="5" right="6"/></item></buttonset>
     <panel index="7" texture="tiles"/>
     <panel index="2" texture="wide"/>
     <buttons><button id="b1" button="arrow"/><button id="b2" texture="plain"/></buttons>
    </window>
    <window id="MAIN"><form texture="plain"/></window>
   </windows>
   <menu frame="m" texture="tiles">
    <marks><submenu><enabled normal="dot" over="whole"/></submenu></marks>
    <logos><logo name="main" glyph="whole" texture="plain"/></logos>
    <separator><size height="5"/></separator>
   </menu>
  </base>
  <derived base="base">
   <textures><texture name="plain"><color value="ABCDEF"/></texture><texture name="extra"><color value="00ff00"/></texture></textures>
   <windows><window id="other"/></windows>
  </derived>
  <loop1 base="loop2"><textures><texture name="one"/></textures></loop1>
  <loop2 base="loop1"><textures><texture name="two"/></textures></loop2>
  <self base="self"><textures><texture name="me"/></textures></self>
 </layout>
</vosskindefinition>)xml";
}

class VosSkinTest : public testing::Test {
 protected:
  VosSkinTest() {
    Files.SetXml(TestDefinition());
    Skin.SetDefinitionFile(Files.Definition());
  }
  void Load(const std::string& Id) {
    Skin.SetLayoutId(Id);
    Skin.Reload();
  }
  TestSkin Files;
  TVosSkin Skin;
};

TEST_F(VosSkinTest, ALayoutLoadsEveryKindOfElementWithItsDefaults) {
  Load("base");
  ASSERT_EQ(Skin.TextureCount(), 6);
  ASSERT_EQ(Skin.Windows().size(), 2u);
  Skin.SelectWindow(Skin.IndexOfWindow("main"));
  const TVosWindowRecord& w = Skin.Window();
  const TVosTexture* tiles = Skin.Texture(1);
  const struct {
    const char* what;
    long long got, expected;
  } checks[] = {
      // Names: the first in load order, case-insensitive; unknown names keep the defaults.
      {"texture PLAIN", Skin.IndexOfTexture("PLAIN"), 0},
      {"window MAIN", Skin.IndexOfWindow("MAIN"), 0},
      {"colour", Skin.Texture(0)->Color, 0x302010},
      {"tile", tiles->Image->Width(), 4},
      {"stretch yes", Skin.Texture(3)->StretchWidth, 1},
      {"missing picture", Skin.Texture(5)->Image != nullptr, 0},
      {"part clipped", Skin.Border(1)->Image[0].Width, 12},
      {"edge clipped", Skin.Border(1)->Image[4].Width, 0},
      {"cut glyph", Skin.Glyph(0)->Width() * 100 + Skin.Glyph(0)->Height(), 302},
      {"glyph index", Skin.Glyph(0)->Index, 3},
      {"glyph with shadow", Skin.Glyph(1)->Height(), 12},
      {"missing glyph", Skin.Glyph(2)->Width(), 0},
      {"button over unknown", Skin.Buttons()[0].Over, -1},
      {"button gray", Skin.Buttons()[0].Gray, 2},
      {"button pressed", Skin.Buttons()[0].Pressed, 1},
      {"knob grip", Skin.Knobs()[0].Grip, 0},
      {"slot", Skin.Containers()[0][0].Bottom, 5},
      {"form frame", w.FormFrame, 0},
      {"min width", w.MinWidth, 50},
      {"max width", w.MaxWidth, -1},
      {"frame width", w.FrameWidth, 3},
      {"frame height", w.FrameHeight, 4},
      {"caption back", w.Caption.TextureBack, 1},
      {"caption border", w.Caption.Border, 0},
      {"font size at least 1", w.CaptionFont.Size, 1},
      {"smooth at most 8", w.CaptionFont.Smooth, 8},
      {"caption text colour (red)", w.CaptionText.Drawings[0].Color, 0x0000FF},
      {"icon", w.IconTexture, 2},
      {"panel list indent", w.PanelList.Indent.Bottom, 4},
      {"panel list back follows", w.PanelList.TextureBack, 0},
      {"scroll height", Skin.GetScrollBarHeight(0), 7},
      {"scroll thickness", Skin.GetScrollBarWidth(1), 9},
      {"scroll button", Skin.GetScrollBarMargin(0), 0},
      {"scroll button none", Skin.GetScrollBarMargin(3), -1},
      {"slider", w.ScrollSlider[1], 0},
      {"item border over", w.ItemBorderOver, 0},
      {"item border unknown", w.ItemBorderSelected, -1},
      {"item space read", w.ItemSpaceLeft, 3},
      {"item space default", w.ItemSpaceTop, 8},
      {"fade", Skin.GetPanelItemFadeWidth(), 6},
      {"line height", w.ItemFont.LineHeight, 3},
      {"marked is over", w.ItemTextMarked == w.ItemTextOver, 1},
      {"over alpha", w.ItemTextOver.Drawings[0].Alpha, 200},
      {"disabled alpha", w.ItemTextDisabled.Drawings[0].Alpha, 128},
      {"set item indent", Skin.GetButtonSetItemIndent().Right, 6},
      {"panel 7 is panel 0", w.Panels[0].Texture, 1},
      {"panel 2", w.Panels[2].Texture, 3},
      {"window buttons", static_cast<long long>(w.Buttons.size()), 2},
      {"window button texture", w.Buttons[0].Texture, 1},
      {"menu frame", Skin.Menu().Frame, 0},
      {"submenu over", Skin.Menu().SubmenuMarks[1], 1},
      {"checked default", Skin.Menu().CheckedMarks[0], 0},
      {"logo width", Skin.GetMenuLogoWidth("MAIN"), 12},
      {"separator", Skin.Menu().SeparatorHeight, 5},
      {"menu shadow has no masks", Skin.MenuShadow(0)->at(0).Outside.Empty(), 1},
  };
  for (const auto& c : checks) EXPECT_EQ(c.got, c.expected) << c.what;
  EXPECT_EQ(Skin.ReadLayoutAttr("base", "mode"), "horizontal");
  EXPECT_EQ(Skin.ReadLayoutAttr("derived", "mode"), "");
  EXPECT_EQ(Skin.GetSkinDir(), ExtractFilePath(Files.Definition()));
}

TEST_F(VosSkinTest, BaseChainsLoadFirstAndLoopsStop) {
  const struct {
    const char* layout;
    std::vector<const char*> textures;  // in load order
    size_t windows;
  } cases[] = {
      {"derived", {"plain", "tiles", "both", "wide", "PLAIN", "lost", "plain", "extra"}, 1},
      {"loop1", {"two", "one"}, 0},
      {"self", {"me"}, 0},
      {"nosuch", {}, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.layout);
    Load(c.layout);
    ASSERT_EQ(Skin.TextureCount(), static_cast<int>(c.textures.size()));
    for (int i = 0; i < Skin.TextureCount(); ++i) EXPECT_EQ(Skin.Texture(i)->Name, c.textures[i]);
    EXPECT_EQ(Skin.Windows().size(), c.windows);
  }
  // The derived layout replaces the windows, keeps the base's slots, and the
  // base's texture wins a name both have.
  Load("derived");
  EXPECT_EQ(Skin.Windows()[0].Id, "other");
  EXPECT_EQ(Skin.Containers().size(), 1u);
  EXPECT_EQ(Skin.Texture(Skin.IndexOfTexture("plain"))->Color, 0x302010);
}

TEST_F(VosSkinTest, BrokenDefinitionsFailClearlyOrLoadNothing) {
  const struct {
    const char* xml;
    bool raises;
  } cases[] = {
      {"\x89PNG not xml at all", true},
      {"<?xml version=\"1.0\"?><skin><layout><a/></layout></skin>", true},
      {"<vosskindefinition><layout><a><textures><texture name=\"t\">", false},
      {"<vosskindefinition><layout/></vosskindefinition>", false},
      {"", true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.xml);
    Files.SetXml(c.xml);
    Skin.SetLayoutId("a");
    if (c.raises) {
      EXPECT_THROW(Skin.Reload(), EVosSkin);
    } else {
      EXPECT_NO_THROW(Skin.Reload());
    }
    EXPECT_LE(Skin.TextureCount(), 1);
    EXPECT_EQ(Skin.ReadLayoutAttr("a", "mode"), "");
  }
  Skin.SetDefinitionFile(Files.File("gone.xml"));
  EXPECT_NO_THROW(Skin.Reload());
  EXPECT_EQ(Skin.TextureCount(), 0);
}

std::uint32_t Px(const TBitmap& B, int X, int Y) {
  std::uint32_t v;
  std::memcpy(&v, static_cast<const std::uint8_t*>(B.ScanLine(Y)) + 4 * X, 4);
  return v & 0xFFFFFF;
}

std::unique_ptr<TBitmap> Target(int W, int H, std::uint32_t Fill = 0) {
  auto b = std::make_unique<TBitmap>();
  b->SetPixelFormat(pf32bit);
  b->SetSize(W, H);
  VosClear(*b, RGBColor((Fill >> 16) & 0xFF, (Fill >> 8) & 0xFF, Fill & 0xFF));
  return b;
}

TEST_F(VosSkinTest, TheWindowIsItsRectangleLessTheMagentaOfTheCornersAndTheTextureShowsThroughBlue) {
  Load("base");
  Skin.SelectWindow(0);
  const TVosRegion region = Skin.GetWindowRegion(0, 30, 20);
  auto target = Target(30, 20, 0x123456);
  Skin.DrawWindowFrame(*target, Rect(0, 0, 30, 20), true, {}, 0);
  const struct {
    TPoint at;
    bool inside;
    std::uint32_t colour;  // inside only
  } cases[] = {
      {{0, 0}, false, 0},
      {{1, 0}, false, 0},
      {{29, 19}, false, 0},
      {{2, 0}, true, kFrameGrey & 0xFFFFFF},  // the corner's own pixels
      {{4, 4}, true, kTileB & 0xFFFFFF},      // blue: the form texture, on the form's grid
      {{25, 4}, true, kTileA & 0xFFFFFF},
      {{10, 10}, true, kTileB & 0xFFFFFF},     // the middle
      {{10, 0}, true, kFrameGrey & 0xFFFFFF},  // an edge, stretched
  };
  for (const auto& c : cases) {
    EXPECT_EQ(region.Contains(c.at), c.inside) << c.at.X << "," << c.at.Y;
    if (c.inside) {
      EXPECT_EQ(Px(*target, c.at.X, c.at.Y), c.colour) << c.at.X << "," << c.at.Y;
    }
  }
  // Children are left out unless asked to clip them.
  auto again = Target(30, 20, 0x123456);
  Skin.DrawWindowFrame(*again, Rect(0, 0, 30, 20), false, {Rect(8, 8, 12, 12)}, 0);
  EXPECT_EQ(Px(*again, 9, 9), 0x123456u);
  EXPECT_EQ(Px(*again, 13, 10), kTileA & 0xFFFFFF);
  // Grips: corner masks at their places, bands of the record's frame sizes.
  const struct {
    int grip;
    TPoint at;
    bool in;
  } grips[] = {{1, {0, 0}, true},    {1, {3, 3}, false}, {2, {29, 0}, true},  {3, {1, 19}, false},
               {4, {29, 19}, false}, {5, {10, 3}, true}, {5, {10, 4}, false}, {8, {28, 10}, true}};
  for (const auto& g : grips) EXPECT_EQ(Skin.GetGripRegion(0, g.grip, 30, 20).Contains(g.at), g.in) << g.grip;
}

TEST_F(VosSkinTest, TexturesTileOnTheirFormsGridOrFillInTheirColour) {
  Load("base");
  const int slot = Skin.AddCacheSlot();
  Skin.SelectCacheSlot(slot);
  Skin.ResizeTextures(40, 30);
  EXPECT_EQ(Skin.Texture(3)->Cache[0]->Width(), 40);  // stretched across
  EXPECT_EQ(Skin.Texture(3)->Cache[0]->Height(), 4);
  EXPECT_EQ(Skin.Texture(1)->Cache[0]->Width(), 4);
  const struct {
    int texture;
    int offsetX, offsetY;
    TPoint at;
    std::uint32_t colour;
  } cases[] = {
      {1, 0, 0, {2, 2}, kTileB & 0xFFFFFF},
      {1, -1, 0, {2, 2}, kTileA & 0xFFFFFF},
      {1, -5, -6, {2, 2}, kTileA & 0xFFFFFF},
      {2, 0, 0, {2, 2}, 0xFF0000},  // colour and file: the colour
      {0, 7, 7, {3, 3}, 0x102030},
      {5, 0, 0, {3, 3}, 0x777777},  // no picture: nothing drawn
  };
  for (const auto& c : cases) {
    auto target = Target(8, 8, 0x777777);
    Skin.DrawTexture(c.texture, *target, c.offsetY, c.offsetX, Rect(1, 1, 7, 7));
    EXPECT_EQ(Px(*target, c.at.X, c.at.Y), c.colour) << c.texture << " " << c.offsetX;
    EXPECT_EQ(Px(*target, 0, 0), 0x777777u);
  }
}

TEST_F(VosSkinTest, BordersDarkenByTheirShadowThenBlendTheirImage) {
  Load("base");
  auto target = Target(20, 20, 0xC8C8C8);
  Skin.DrawBorder(0, *target, Rect(0, 0, 20, 20));
  // Shadow 0x80 grey: about half dark; then white at alpha 0x80 over it.
  const std::uint32_t edge = Px(*target, 1, 10) & 0xFF;
  EXPECT_NEAR(static_cast<int>(edge), (0xC8 * 0x7F / 255 * 0x7F + 0xFF * 0x80) / 255, 3);
  EXPECT_EQ(Px(*target, 10, 10), 0xC8C8C8u);  // the inside is the border's to leave
  // A border far around the target (indents of -32767) leaves all of it.
  auto inside = Target(20, 20, 0xC8C8C8);
  Skin.DrawBorder(0, *inside, Rect(-32767, -32767, 20 + 32767, 20 + 32767));
  EXPECT_EQ(Px(*inside, 1, 10), 0xC8C8C8u);
  auto none = Target(4, 4, 0x111111);
  Skin.DrawBorder(-1, *none, Rect(0, 0, 4, 4));
  Skin.DrawBorder(99, *none, Rect(0, 0, 4, 4));
  EXPECT_EQ(Px(*none, 1, 1), 0x111111u);
}

TEST_F(VosSkinTest, BordersReachingPastTheTargetKeepTheLayoutOfTheirWholeRectangle) {
  Load("base");
  // The target is a 20 x 12 window on a 60 x 40 picture at (20, 14): a border
  // drawn into it must give the pixels it gives there, where its whole
  // rectangle fits. The ring's edges are 4 thick; row 6 crosses the left and
  // right borders only.
  const struct {
    TRect rect;  // in the target's coordinates
    bool vertical;
    std::vector<int> bordered, bare;  // columns of row 6
  } cases[] = {
      {Rect(-2, 0, 22, 12), true, {0, 1, 18, 19}, {2, 3, 16, 17}},    // past the left and the right
      {Rect(-2, -3, 22, 15), true, {0, 1, 18, 19}, {2, 3, 16, 17}},   // past every side
      {Rect(3, -3, 25, 13), true, {3, 6}, {2, 7, 16, 19}},            // past the top, bottom and right
      {Rect(-2, -3, 22, 15), false, {0, 1, 18, 19}, {2, 3, 16, 17}},  // the same as a horizontal bar
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.rect.Left) + "," + std::to_string(c.rect.Top) + (c.vertical ? " vertical" : ""));
    auto target = Target(20, 12, 0xC8C8C8);
    Skin.DrawBorder(0, *target, c.rect, c.vertical);
    auto whole = Target(60, 40, 0xC8C8C8);
    TRect placed = c.rect;
    OffsetRect(placed, 20, 14);
    Skin.DrawBorder(0, *whole, placed, c.vertical);
    int wrong = 0;
    for (int y = 0; y < 12; ++y) {
      for (int x = 0; x < 20; ++x) wrong += Px(*target, x, y) != Px(*whole, x + 20, y + 14);
    }
    EXPECT_EQ(wrong, 0);
    for (int x : c.bordered) EXPECT_NE(Px(*target, x, 6), 0xC8C8C8u) << x;
    for (int x : c.bare) EXPECT_EQ(Px(*target, x, 6), 0xC8C8C8u) << x;
  }
}

TEST_F(VosSkinTest, PanelItemsTakeTheirStatesTextureOddRowsTheirOwn) {
  Load("base");
  Skin.SelectWindow(0);
  const struct {
    int flags, state;
    std::uint32_t colour;
  } cases[] = {
      {0, vpsNormal, kTileB & 0xFFFFFF},    // "normal" tiles
      {1, vpsNormal, 0x102030},             // odd rows: "odd"
      {1, vpsSelected, kTileB & 0xFFFFFF},  // no "selectodd": "selected"
      {0, vpsOver, 0x102030},               // no over texture: the panel list's shows
      {0, 9, 0x102030},
  };
  for (const auto& c : cases) {
    auto target = Target(10, 10);
    Skin.DrawPanelItem(*target, Rect(0, 0, 10, 10), c.flags, c.state, 0, 0);
    EXPECT_EQ(Px(*target, 5, 5), c.colour) << c.flags << "/" << c.state;
  }
}

// Our skins, as the build draws them beside the test program.
TEST(VosOurSkins, EveryLayoutHasWhatTheProgramUses) {
  ScanSkinsIn(GetExeDir() + "Skins");
  ASSERT_EQ(GetSkinCount(), 2);
  EXPECT_EQ(GetSkinTitle(0), "Slate");  // listed first: the default when nothing is stored
  int vertical = 0, layouts = 0;
  for (int s = 0; s < GetSkinCount(); ++s) {
    ASSERT_FALSE(GetSkinPreview(s)->Empty());
    for (int l = 0; l < GetSkinLayouts(s)->Count(); ++l, ++layouts) {
      SCOPED_TRACE(GetSkinTitle(s) + "/" + GetSkinLayouts(s)->Names(l));
      ASSERT_TRUE(SelectSkin(s, l));
      TVosSkin& skin = *CurrentSkin();
      const String mode = ReadSkinLayoutValue("mode");
      vertical += mode == "verticaldown" || mode == "verticalup";
      for (const char* id : {"main", "list", "hint"}) EXPECT_GE(skin.IndexOfWindow(id), 0) << id;
      std::vector<String> slots;
      for (const TVosSlot& slot : skin.Containers().at(0)) slots.push_back(slot.Id);
      EXPECT_EQ(slots, (std::vector<String>{"icon", "caption", "group", "client"}));
      for (const char* logo : {"main", "align", "icons", "groups", "module"}) EXPECT_GT(skin.GetMenuLogoWidth(logo), 0);
      skin.SelectWindow(skin.IndexOfWindow("main"));
      const TVosWindowRecord& w = skin.Window();
      const TVosFrame& frame = *skin.FormFrame(w.FormFrame);
      for (int i = 0; i < 4; ++i) {
        EXPECT_FALSE(frame[static_cast<size_t>(i)].Outside.Empty());
        EXPECT_FALSE(frame[static_cast<size_t>(i)].NoShowThrough);
      }
      for (int b : {w.ItemBorderOver, w.ItemBorderSelected, w.SetItemBorderSelected, w.ScrollSlider[0], w.Hint.Border})
        EXPECT_TRUE(skin.Border(b) && skin.Border(b)->HasImage);
      EXPECT_GT(w.ItemSpaceLeft + w.ItemSpaceRight, 0);
      EXPECT_GT(w.MinWidth, 0);
    }
  }
  EXPECT_EQ(vertical, 1);
  EXPECT_GE(layouts, 3);
  FreeSkinList();
}

// At the bar's first height (96 px) a horizontal layout's client slot holds a
// cell of a 32 px icon under which the title breaks into two lines of the
// item font (Tahoma 8: 13 px a line), and the scroller below it.
TEST(VosOurSkins, TheClientSlotHoldsATwoLineTitleAndTheScroller) {
  ScanSkinsIn(GetExeDir() + "Skins");
  int horizontal = 0;
  for (int s = 0; s < GetSkinCount(); ++s)
    for (int l = 0; l < GetSkinLayouts(s)->Count(); ++l) {
      SCOPED_TRACE(GetSkinTitle(s) + "/" + GetSkinLayouts(s)->Names(l));
      ASSERT_TRUE(SelectSkin(s, l));
      if (ReadSkinLayoutValue("mode") != "horizontal") continue;
      ++horizontal;
      TVosSkin& skin = *CurrentSkin();
      skin.SelectWindow(skin.IndexOfWindow("main"));
      const TVosWindowRecord& w = skin.Window();
      const TVosSlot& client = skin.Containers().at(0).back();
      ASSERT_EQ(client.Id, "client");
      const TRect slot = VosSlotRect({client.Left, client.Top, client.Right, client.Bottom}, 560, 96);
      const int cell = w.ItemSpaceTop + 32 + w.ItemSpaceVertical + 2 * 13 + w.ItemSpaceBottom;
      EXPECT_GE(slot.Height() - skin.GetPanelListIndentTop() - skin.GetPanelListIndentBottom(),
                cell + std::max(skin.GetScrollBarHeight(0), 0));
    }
  EXPECT_GE(horizontal, 2);
  FreeSkinList();
}

// Two title lines, a large icon or wide spaces make tall or wide cells: the
// hover and selection highlight fills them whole, down the middle too.
TEST(VosOurSkins, IconCellHighlightsFillCellsOfAnySize) {
  ScanSkinsIn(GetExeDir() + "Skins");
  const TSize cells[] = {{64, 64}, {64, 100}, {96, 400}, {328, 140}};
  for (int s = 0; s < GetSkinCount(); ++s)
    for (int l = 0; l < GetSkinLayouts(s)->Count(); ++l) {
      SCOPED_TRACE(GetSkinTitle(s) + "/" + GetSkinLayouts(s)->Names(l));
      ASSERT_TRUE(SelectSkin(s, l));
      TVosSkin& skin = *CurrentSkin();
      skin.SelectWindow(skin.IndexOfWindow("main"));
      for (int state : {vpsOver, vpsSelected})
        for (const TSize& cell : cells) {
          auto target = Target(cell.cx, cell.cy);
          skin.DrawPanelItem(*target, Rect(0, 0, cell.cx, cell.cy), 0, state, 0, 0);
          const int x = cell.cx / 2;
          const std::uint32_t fill = Px(*target, x, 8);
          int off = 0;
          for (int y = 8; y < cell.cy - 8; ++y) off += Px(*target, x, y) != fill;
          EXPECT_EQ(off, 0) << state << " " << cell.cx << "x" << cell.cy;
          EXPECT_EQ(Px(*target, cell.cx - 8, cell.cy / 2), fill) << state << " " << cell.cx << "x" << cell.cy;
        }
    }
  FreeSkinList();
}

}  // namespace
