// The form skinner on real windows, with a skin the test draws: the window's
// shape, controls in their slots, textures aligned to the form, sizing by the
// grips within the skin's limits, dragging with the screen snap, and the
// library's controls painting themselves from the skin.
#include "kem3/controls/vosskinner_win.h"

#include <gtest/gtest.h>

#include <cstring>

#include "kem3/controls/kembtns_win.h"
#include "kem3/controls/kemplist_win.h"
#include "kem3/graphics/vosskin_fixture.h"
#include "platform/app_scope_win.h"
#include "platform/extctrls_win.h"
#include "platform/geometry_win.h"

namespace {

using namespace vosskintest;

std::string Definition() {
  return "<?xml version=\"1.0\"?><vosskindefinition title=\"T\"><layout><a>"
         "<textures><texture name=\"tiles\"><file name=\"tex.png\"/></texture>"
         "<texture name=\"list\"><color value=\"2040a0\"/></texture>"
         "<texture name=\"bar\"><color value=\"a02040\"/></texture>"
         "<texture name=\"sel\"><color value=\"00ff00\"/></texture></textures>"
         "<forms><form name=\"f\">" +
         FrameXml("frame", "frame.png", 5, 2) +
         "<grips><file name=\"grips.png\"/><upperleftcorner width=\"4\" height=\"4\"/>"
         "<upperrightcorner width=\"4\" height=\"4\"/><lowerleftcorner width=\"4\" height=\"4\"/>"
         "<lowerrightcorner width=\"4\" height=\"4\"/></grips></form></forms>"
         "<containers><group>"
         "<slot id=\"caption\" left=\"5\" top=\"2\" right=\"5\" bottom=\"-12\"/>"
         "<slot id=\"group\" left=\"5\" top=\"14\" right=\"5\" bottom=\"-40\"/>"
         "<slot id=\"client\" left=\"5\" top=\"42\" right=\"5\" bottom=\"5\"/>"
         "</group></containers><windows><window id=\"main\">"
         "<form frame=\"f\" texture=\"tiles\"><size minwidth=\"60\" minheight=\"40\" maxwidth=\"400\"/></form>"
         "<panellist texture=\"list\"><indent left=\"3\" top=\"3\" right=\"3\" bottom=\"3\"/>"
         "<scrollbar><vertical width=\"9\"/></scrollbar></panellist>"
         "<buttonset texture=\"bar\"><indent top=\"2\" bottom=\"2\"/><item><texture selected=\"sel\"/></item>"
         "</buttonset></window></windows></a></layout></vosskindefinition>";
}

std::uint32_t Px(const TBitmap& B, int X, int Y) {
  std::uint32_t v;
  std::memcpy(&v, static_cast<const std::uint8_t*>(B.ScanLine(Y)) + 4 * X, 4);
  return v & 0xFFFFFF;
}

class SkinnerWin : public testing::Test {
 protected:
  SkinnerWin() {
    Files.SetXml(Definition());
    Skin.SetDefinitionFile(Files.Definition());
    Skin.SetLayoutId("a");
    Skin.Reload();
    Form = NewForm<TQuietForm>(Application);
    Form->SetBounds(100, 100, 200, 100);
    Skinner = new TVosFormSkinner(Form);
    Skinner->SetParent(Form);
    Skinner->SetAlign(alClient);
    Skinner->SetCacheSlot(Skin.AddCacheSlot());
    Skinner->SetWindowIndex(Skin.IndexOfWindow("main"));
    Skinner->SetSkin(&Skin);
    Caption = new TVosFormCaption(Form);
    Caption->SetCaption(u"Skinned");
    Skinner->AttachControl("caption", Caption);
    Form->Show();
    Skinner->UpdateLayout(200, 100);
  }
  ~SkinnerWin() override { Form->Free(); }

  TAppScope App;
  TestSkin Files;
  TVosSkin Skin;
  TForm* Form;
  TVosFormSkinner* Skinner;
  TVosFormCaption* Caption;
};

TEST(VosFormSkinnerWin, OnlyAFormTakesASkinner) {
  TAppScope app;
  TPanel panel(nullptr);
  EXPECT_THROW(TVosFormSkinner skinner(&panel), EInvalidOperation);
}

TEST_F(SkinnerWin, TheWindowTakesTheFramesShapeAndItsControlsTheirSlots) {
  HRGN region = CreateRectRgn(0, 0, 0, 0);
  ASSERT_NE(GetWindowRgn(Form->Handle(), region), ERROR);
  const struct {
    int x, y;
    bool in;
  } points[] = {{0, 0, false}, {1, 0, false},   {199, 99, false}, {198, 99, false},
                {2, 0, true},  {100, 50, true}, {199, 50, true}};
  for (const auto& p : points) EXPECT_EQ(PtInRegion(region, p.x, p.y) != 0, p.in) << p.x << "," << p.y;
  DeleteObject(region);

  EXPECT_EQ(Caption->BoundsRect(), (TRect{5, 2, 195, 12}));
  EXPECT_EQ(Caption->Offset(), (TPoint{5, 2}));
  // A control in a container lines its texture up through both.
  TVosContainer* box = Skinner->CreateContainer("client");
  auto* inner = new TVosFormCaption(Form);
  inner->SetParent(box);
  Skinner->UpdateLayout(200, 100);
  EXPECT_EQ(box->BoundsRect(), (TRect{5, 42, 195, 95}));
  EXPECT_EQ(inner->BoundsRect(), (TRect{0, 0, 190, 53}));  // the container's first child fills it
  EXPECT_EQ(inner->Offset(), (TPoint{5, 42}));
  // A slot the skin does not have takes the control away.
  auto* lost = new TPanel(Form);
  lost->SetParent(Form);
  Skinner->AttachControl("nosuch", lost);
  EXPECT_EQ(lost->Parent(), nullptr);
  // The frame and the form's texture, on the form's grid, where no control covers it.
  Skinner->Repaint();
  const TBitmap& shown = *Skinner->PaintBuffer();
  EXPECT_EQ(Px(shown, 100, 0), kFrameGrey & 0xFFFFFF);
  EXPECT_EQ(Px(shown, 100, 13), (kTileA & 0xFFFFFF));  // 113 is odd: red
  EXPECT_EQ(Px(shown, 101, 13), (kTileB & 0xFFFFFF));
}

TEST_F(SkinnerWin, GripsSizeTheWindowWithinTheSkinsLimits) {
  const HWND s = Skinner->Handle();
  const struct {
    TPoint press;  // in the skinner
    TPoint move;   // of the pointer on the screen
    TRect bounds;  // of the form afterwards
  } cases[] = {
      {{198, 50}, {30, 10}, {100, 100, 330, 200}},   // the right band
      {{198, 50}, {-170, 0}, {100, 100, 160, 200}},  // not below the minimum width
      {{198, 50}, {400, 0}, {100, 100, 500, 200}},   // nor beyond the largest
      {{1, 1}, {150, 20}, {240, 120, 300, 200}},     // the upper-left corner: the right edge stays
      {{100, 50}, {10, 10}, {110, 110, 310, 210}},   // no grip: the press drags
  };
  Skinner->SetResizable(true);
  for (const auto& c : cases) {
    Form->SetBounds(100, 100, 200, 100);
    const TPoint start = Skinner->ClientToScreen(c.press);
    SetCursorPos(start.X, start.Y);
    SendMouse(s, WM_LBUTTONDOWN, c.press.X, c.press.Y, MK_LBUTTON);
    SetCursorPos(start.X + c.move.X, start.Y + c.move.Y);
    SendMouse(s, WM_MOUSEMOVE, c.press.X + c.move.X, c.press.Y + c.move.Y, MK_LBUTTON);
    SendMouse(s, WM_LBUTTONUP, c.press.X + c.move.X, c.press.Y + c.move.Y);
    EXPECT_EQ(Form->BoundsRect(), c.bounds) << c.press.X << "," << c.press.Y;
    EXPECT_EQ(Skinner->Width(), c.bounds.Width());
    EXPECT_FALSE(Skinner->Sizing() || Skinner->Dragging());
  }
  // Locked: the bands grip nothing.
  Skinner->SetResizable(false);
  EXPECT_EQ(Skinner->GripAt({198, 50}), 0);
}

TEST_F(SkinnerWin, TheCaptionDragsTheWindowAndItSnapsToTheWorkArea) {
  TVosFormSkinner::AttachFormDragHandlers(Skinner, Caption);
  int ended = 0;
  Skinner->OnDragEnd = [&](TObject*) { ++ended; };
  const TRect work = Screen->WorkAreaRect();
  const struct {
    bool snap;
    TPoint to;  // where the form's top left is dragged
    TPoint at;  // where it ends
  } cases[] = {
      {true, {work.Left + 7, work.Top + 6}, {work.Left, work.Top}},
      {false, {work.Left + 7, work.Top + 6}, {work.Left + 7, work.Top + 6}},
      {true, {work.Left + 150, work.Top + 120}, {work.Left + 150, work.Top + 120}},
      {true, {work.Right - 205, work.Top + 80}, {work.Right - 200, work.Top + 80}},
  };
  for (const auto& c : cases) {
    Skinner->SetScreenSnap(c.snap);
    Form->SetBounds(300, 300, 200, 100);
    const TPoint press = Caption->ClientToScreen({20, 5});
    SetCursorPos(press.X, press.Y);
    SendMouse(Caption->Handle(), WM_LBUTTONDOWN, 20, 5, MK_LBUTTON);
    ASSERT_TRUE(Skinner->Dragging());
    SetCursorPos(press.X + c.to.X - 300, press.Y + c.to.Y - 300);
    SendMouse(Caption->Handle(), WM_MOUSEMOVE, 20, 5, MK_LBUTTON);
    SendMouse(Caption->Handle(), WM_LBUTTONUP, 20, 5);
    EXPECT_EQ(Form->BoundsRect().TopLeft(), c.at);
    EXPECT_FALSE(Skinner->Dragging());
  }
  EXPECT_EQ(ended, 4);
  // Locked in place: a press does not drag.
  Skinner->SetMovable(false);
  SendMouse(Caption->Handle(), WM_LBUTTONDOWN, 20, 5, MK_LBUTTON);
  EXPECT_FALSE(Skinner->Dragging());
  SendMouse(Caption->Handle(), WM_LBUTTONUP, 20, 5);
}

TEST_F(SkinnerWin, TheLibrarysControlsPaintFromTheSkin) {
  auto* set = new TKemButtonSet(Form);
  Skinner->AttachControl("group", set);
  set->SetFormSkinner(Skinner);
  set->SetPageCaptions({u"One", u"Two"});
  set->SetPageIndex(1);
  auto* list = new TKemPanelList(Form);
  Skinner->AttachControl("client", list);
  list->SetFormSkinner(Skinner);
  list->SetStyle(plsListbox);
  for (int i = 0; i < 30; ++i) list->AddItem(u"Item", Variant(), nullptr, nullptr, false);
  list->Rebuild();
  Skinner->UpdateLayout(200, 100);
  set->RealignButtons();

  // The list: the skin's indents in place of its border, its thin scroller, its texture.
  EXPECT_EQ(list->ItemsArea(), (TRect{3, 3, list->Width() - 3, list->Height() - 3}));
  EXPECT_TRUE(list->Scroller()->Visible());
  EXPECT_EQ(list->Scroller()->Width(), 9);
  list->Repaint();
  EXPECT_EQ(Px(*list->PaintBuffer(), 1, 1), 0x2040A0u);
  // The set: a line of the skin's font plus its indents across; the bar's and the selected page's textures.
  const int thickness = set->Height();
  EXPECT_GE(thickness, 10);
  EXPECT_EQ(set->Buttons(0)->Top(), 2);
  EXPECT_EQ(set->Buttons(0)->Height(), thickness - 4);
  set->Repaint();
  set->Buttons(1)->Repaint();
  EXPECT_EQ(Px(*set->PaintBuffer(), set->Width() - 2, 1), 0xA02040u);
  EXPECT_EQ(Px(*set->Buttons(1)->PaintBuffer(), 1, 1), 0x00FF00u);
  auto* inside = new TPanel(Form);  // a child of the set shares what the indents leave
  inside->SetParent(set);
  inside->SetAlign(alClient);
  EXPECT_EQ(inside->BoundsRect(), (TRect{0, 2, set->Width(), thickness - 2}));
}

TEST_F(SkinnerWin, ASkinnedButtonWritesItsCaptionOverItsTexture) {
  auto* button = new TKemButton(Form);
  Skinner->AttachControl("client", button);
  button->SetSkin(&Skin);
  button->SetTextureIndex(1);  // the list's plain blue
  button->SetCaption(u"W");
  button->Repaint();
  int written = 0;
  for (int x = 0; x < button->Width(); ++x) written += Px(*button->PaintBuffer(), x, button->Height() / 2) != 0x2040A0u;
  EXPECT_GT(written, 0);
}

}  // namespace
