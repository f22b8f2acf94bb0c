// The panel scroller on real windows: its place on the panel, paging with
// auto-repeat, thumb drags, the arrow buttons, sizing, its painting and the
// shared arrow glyphs.
#include "kem3/controls/kemscroll_win.h"

#include <gtest/gtest.h>

#include "kem3/controls/kembut_win.h"
#include "platform/app_scope_win.h"
#include "platform/forms_win.h"

namespace {

// Counts the scroller's changes as its panel hears them.
class TProbePanel : public TKemScrolledPanel {
 public:
  using TKemScrolledPanel::TKemScrolledPanel;
  int ScrolledCount = 0;
  using TKemScrolledPanel::UpdateFormOffset;

 protected:
  void Scrolled() override { ++ScrolledCount; }
};

struct TScene {
  TForm* Form = nullptr;
  TProbePanel* Panel = nullptr;
  TKemPanelScroller* Scroller = nullptr;
};

// A panel on a shown form with its scroller visible along the right edge,
// 200 pixels long.
TScene ShownScene() {
  TScene s;
  s.Form = NewForm<TQuietForm>(Application);
  s.Form->SetBounds(30, 30, 300, 260);
  s.Panel = new TProbePanel(s.Form);
  s.Panel->SetParent(s.Form);
  s.Panel->SetBounds(20, 10, 150, 220);
  s.Scroller = s.Panel->Scroller();
  s.Scroller->SetBounds(136, 0, 14, 200);
  s.Scroller->SetVisible(true);
  s.Form->Show();
  return s;
}

LRESULT Press(TWinControl* c, int x, int y) { return SendMouse(c->Handle(), WM_LBUTTONDOWN, x, y, MK_LBUTTON); }
LRESULT Move(TWinControl* c, int x, int y) { return SendMouse(c->Handle(), WM_MOUSEMOVE, x, y, MK_LBUTTON); }
LRESULT Release(TWinControl* c, int x, int y) { return SendMouse(c->Handle(), WM_LBUTTONUP, x, y); }

}  // namespace

TEST(KemScrollWin, PanelMakesAHiddenScrollerThatReportsToScrolled) {
  TAppScope app;
  TScene s = ShownScene();
  auto* panel = new TProbePanel(s.Form);
  TKemPanelScroller* sc = panel->Scroller();
  ASSERT_NE(sc, nullptr);
  EXPECT_FALSE(sc->Visible());
  EXPECT_EQ(sc->Parent(), panel);
  EXPECT_EQ(sc->Owner(), panel);
  EXPECT_EQ(sc->Color(), TColor{0xE8E8E8});
  EXPECT_EQ(sc->Direction(), sdVertical);
  EXPECT_EQ(sc->Width(), 14);
  EXPECT_EQ(sc->InitPause(), 400);
  EXPECT_EQ(sc->RepeatPause(), 100);
  // Hidden, it takes nothing from the panel.
  EXPECT_EQ(sc->ViewWidth(), 0);
  EXPECT_EQ(sc->ViewHeight(), 0);

  // Setting the position is the program's move: no report. A shorter length
  // that pushes the position back is reported.
  sc->SetPosition(5);
  EXPECT_EQ(panel->ScrolledCount, 0);
  sc->SetLength(1);
  EXPECT_EQ(sc->Length(), 2);
  EXPECT_EQ(sc->Position(), 0);
  EXPECT_EQ(panel->ScrolledCount, 1);
  sc->SetLength(40);
  EXPECT_EQ(panel->ScrolledCount, 1);
  sc->SetPosition(5);
  sc->SetLength(3);
  EXPECT_EQ(sc->Position(), 2);
  EXPECT_EQ(panel->ScrolledCount, 2);
}

TEST(KemScrollWin, ViewSizeFollowsVisibilityAndDirection) {
  TAppScope app;
  TScene s = ShownScene();
  TKemPanelScroller* sc = s.Scroller;
  EXPECT_EQ(sc->ViewWidth(), 14);
  EXPECT_EQ(sc->ViewHeight(), 0);
  sc->SetDirection(sdHorizontal);
  EXPECT_EQ(sc->Height(), 14);
  EXPECT_EQ(sc->ViewWidth(), 0);
  EXPECT_EQ(sc->ViewHeight(), 14);
  sc->SetVisible(false);
  EXPECT_EQ(sc->ViewHeight(), 0);
}

TEST(KemScrollWin, ArrowsSitAtTheEndsForEitherDirection) {
  TAppScope app;
  TScene s = ShownScene();
  TKemPanelScroller* sc = s.Scroller;
  TKemButton* back = sc->ButtonBack();
  TKemButton* fwd = sc->ButtonForward();
  EXPECT_EQ(back->BoundsRect(), Rect(0, 0, 14, 14));
  EXPECT_EQ(fwd->BoundsRect(), Rect(0, 186, 14, 200));
  EXPECT_TRUE(back->Flat());
  EXPECT_TRUE(back->FlatRaised());
  EXPECT_FALSE(back->TabStop());
  EXPECT_TRUE(fwd->TimerState().Contains(tsAllowTimer));

  sc->SetDirection(sdHorizontal);
  sc->SetBounds(0, 206, 150, 14);
  EXPECT_EQ(back->BoundsRect(), Rect(0, 0, 14, 14));
  EXPECT_EQ(fwd->BoundsRect(), Rect(136, 0, 150, 14));
  // The glyph turns with the direction: left is 5 wide, up 8.
  EXPECT_EQ(back->Glyph()->Width(), 5);
  sc->SetDirection(sdVertical);
  EXPECT_EQ(back->Glyph()->Width(), 8);
  EXPECT_EQ(back->Glyph()->Height(), 5);
  EXPECT_EQ(fwd->Glyph()->Height(), 6);
}

TEST(KemScrollWin, SizeComesFromThePanelsEventAndZeroHidesTheArrows) {
  TAppScope app;
  TScene s = ShownScene();
  TKemPanelScroller* sc = s.Scroller;
  TObject* sender = nullptr;
  s.Panel->OnGetScrollSize = [&](TObject* Sender, int& ScrollSize, int& ButtonSize) {
    sender = Sender;
    EXPECT_EQ(ScrollSize, 14);
    EXPECT_EQ(ButtonSize, 14);
    ScrollSize = 20;
    ButtonSize = 0;
  };
  sc->UpdateScrollSize();
  EXPECT_EQ(sender, sc);
  EXPECT_EQ(sc->Thickness(), 20);
  EXPECT_EQ(sc->Width(), 20);
  EXPECT_EQ(sc->ButtonSize(), 0);
  EXPECT_FALSE(sc->ButtonBack()->Visible());
  EXPECT_FALSE(sc->ButtonForward()->Visible());
  // Without arrows the thumb may use the whole track.
  sc->SetLength(10);
  EXPECT_EQ(sc->Thumb(), (TScrollerThumb{0, 190, true}));

  s.Panel->OnGetScrollSize = [](TObject*, int&, int& ButtonSize) { ButtonSize = 16; };
  sc->UpdateScrollSize();
  EXPECT_EQ(sc->Width(), 14);
  EXPECT_TRUE(sc->ButtonBack()->Visible());
  EXPECT_EQ(sc->ButtonForward()->BoundsRect(), Rect(0, 184, 14, 200));
}

TEST(KemScrollWin, HoldingOnTheTrackPagesAtOnceAfter400ThenEvery100) {
  TAppScope app;
  TFakeTimerService timers;
  TScene s = ShownScene();
  TKemPanelScroller* sc = s.Scroller;
  sc->SetLength(400);  // thumb of the minimum 32 at the top
  sc->SetStep(5);      // pages of 20
  ASSERT_EQ(sc->Thumb(), (TScrollerThumb{14, 46, true}));

  Press(sc, 7, 150);  // after the thumb
  EXPECT_EQ(sc->Position(), 20);
  EXPECT_EQ(s.Panel->ScrolledCount, 1);
  EXPECT_EQ(GetCapture(), sc->Handle());
  timers.Advance(399);
  EXPECT_EQ(sc->Position(), 20);
  timers.Advance(1);
  EXPECT_EQ(sc->Position(), 40);
  timers.Advance(99);
  EXPECT_EQ(sc->Position(), 40);
  timers.Advance(1);
  EXPECT_EQ(sc->Position(), 60);
  timers.Advance(200);
  EXPECT_EQ(sc->Position(), 100);
  EXPECT_EQ(s.Panel->ScrolledCount, 5);
  Release(sc, 7, 150);
  timers.Advance(1000);
  EXPECT_EQ(sc->Position(), 100);
  EXPECT_EQ(timers.RunningCount(), 0);

  // Before the thumb: pages back, never below 0.
  Press(sc, 7, 20);
  EXPECT_EQ(sc->Position(), 80);
  timers.Advance(400 + 100 * 5);
  EXPECT_EQ(sc->Position(), 0);
  EXPECT_EQ(sc->LastPosition(), 20);
  Release(sc, 7, 20);

  // A lost capture ends the repeat at its next pause.
  Press(sc, 7, 150);
  EXPECT_EQ(sc->Position(), 20);
  ReleaseCapture();
  timers.Advance(1000);
  EXPECT_EQ(sc->Position(), 20);
}

TEST(KemScrollWin, DraggingTheThumbSpreadsTheFreeTrackOverAllPositions) {
  TAppScope app;
  TFakeTimerService timers;
  TScene s = ShownScene();
  TKemPanelScroller* sc = s.Scroller;
  sc->SetLength(100);  // 200 along: thumb 72, free track 100 px
  sc->SetPosition(10);
  TScrollerThumb t = sc->Thumb();
  ASSERT_TRUE(t.Room);
  const int y = t.Start + 5;
  Press(sc, 7, y);
  EXPECT_EQ(sc->Position(), 10);  // a press on the thumb does not page
  EXPECT_EQ(s.Panel->ScrolledCount, 0);
  Move(sc, 7, y + 30);
  EXPECT_EQ(sc->Position(), 40);
  EXPECT_EQ(sc->LastPosition(), 10);
  Move(sc, 7, y + 30);  // no change, no report
  EXPECT_EQ(s.Panel->ScrolledCount, 1);
  Move(sc, 30, y - 50);  // beyond the scroller: clamped
  EXPECT_EQ(sc->Position(), 0);
  Move(sc, 7, y + 500);
  EXPECT_EQ(sc->Position(), 99);
  EXPECT_EQ(s.Panel->ScrolledCount, 3);
  Release(sc, 7, y + 500);
  Move(sc, 7, y);  // released: moves do nothing
  EXPECT_EQ(sc->Position(), 99);
  EXPECT_EQ(timers.RunningCount(), 0);
}

TEST(KemScrollWin, WithoutRoomTheThumbCollapsesAndTheTrackStillPages) {
  TAppScope app;
  TFakeTimerService timers;
  TScene s = ShownScene();
  TKemPanelScroller* sc = s.Scroller;
  sc->SetBounds(136, 0, 14, 59);  // 28 for the arrows + 32 does not fit
  sc->SetLength(100);
  EXPECT_EQ(sc->Thumb(), (TScrollerThumb{29, 29, false}));
  EXPECT_TRUE(IsRectEmpty(sc->ThumbRect()));
  Press(sc, 7, 29);  // right where the thumb would be: pages forward, no drag
  EXPECT_EQ(sc->Position(), 32);
  Move(sc, 7, 40);
  EXPECT_EQ(sc->Position(), 32);
  Release(sc, 7, 40);
  Press(sc, 7, 20);
  EXPECT_EQ(sc->Position(), 0);
  Release(sc, 7, 20);
}

TEST(KemScrollWin, ArrowButtonsStepAndStopAtTheEnds) {
  TAppScope app;
  TFakeTimerService timers;
  TScene s = ShownScene();
  TKemPanelScroller* sc = s.Scroller;
  sc->SetLength(20);
  sc->SetStep(8);
  TKemButton* back = sc->ButtonBack();
  TKemButton* fwd = sc->ButtonForward();
  Press(back, 5, 5);
  Release(back, 5, 5);
  EXPECT_EQ(sc->Position(), 0);  // nothing at 0
  EXPECT_EQ(s.Panel->ScrolledCount, 0);
  Press(fwd, 5, 5);
  Release(fwd, 5, 5);
  EXPECT_EQ(sc->Position(), 8);
  EXPECT_EQ(s.Panel->ScrolledCount, 1);
  // The arrows never take the focus from the panel.
  EXPECT_FALSE(fwd->Focused());

  // Held, the forward arrow repeats as buttons do, up to the last position.
  Press(fwd, 5, 5);
  timers.Advance(400);
  EXPECT_EQ(sc->Position(), 16);
  timers.Advance(100);
  EXPECT_EQ(sc->Position(), 19);
  timers.Advance(100);
  EXPECT_EQ(sc->Position(), 19);
  Release(fwd, 5, 5);
  EXPECT_EQ(s.Panel->ScrolledCount, 3);

  // The scroller's pauses are the arrows' too.
  sc->SetInitPause(250);
  sc->SetRepeatPause(50);
  Press(back, 5, 5);
  timers.Advance(250);
  EXPECT_EQ(sc->Position(), 11);
  timers.Advance(50);
  EXPECT_EQ(sc->Position(), 3);
  Release(back, 5, 5);
  sc->SetPosition(19);
  s.Panel->ScrolledCount = 3;

  // The wheel's steps are the same.
  sc->StepBack();
  EXPECT_EQ(sc->Position(), 11);
  sc->StepForward();
  EXPECT_EQ(sc->Position(), 19);
  sc->StepForward();  // at the end: not reported
  EXPECT_EQ(s.Panel->ScrolledCount, 5);
}

TEST(KemScrollWin, TrackAndThumbArePaintedInTheirColours) {
  TAppScope app;
  TScene s = ShownScene();
  TKemPanelScroller* sc = s.Scroller;
  sc->SetColor(RGBColor(0x10, 0x20, 0x30));
  sc->SetColorHighlight(clWhite);
  sc->SetColorShadow(clGray);
  sc->SetColorSelection(clGreen);
  sc->SetLength(100);
  sc->SetPosition(50);
  const TRect t = sc->ThumbRect();
  ASSERT_EQ(t, Rect(0, 64, 14, 136));  // 100 free * 50 div 99 + 14
  sc->Repaint();
  TBitmap* picture = sc->PaintBuffer();
  ASSERT_NE(picture, nullptr);
  EXPECT_EQ(picture->PixelColor(7, t.Top - 1), RGBColor(0x10, 0x20, 0x30));
  EXPECT_EQ(picture->PixelColor(7, t.Bottom), RGBColor(0x10, 0x20, 0x30));
  EXPECT_EQ(picture->PixelColor(0, t.Top), clWhite);
  EXPECT_EQ(picture->PixelColor(7, t.Top), clWhite);
  EXPECT_EQ(picture->PixelColor(0, t.Top + 20), clWhite);
  EXPECT_EQ(picture->PixelColor(13, t.Top + 20), clGray);
  EXPECT_EQ(picture->PixelColor(7, t.Bottom - 1), clGray);
  EXPECT_EQ(picture->PixelColor(1, t.Top + 1), clGreen);
  EXPECT_EQ(picture->PixelColor(12, t.Bottom - 2), clGreen);
  // The arrows take the thumb's fill and edges.
  EXPECT_EQ(sc->ButtonBack()->Color(), clGreen);
  EXPECT_EQ(sc->ButtonForward()->ColorHighlight(), clWhite);
  EXPECT_EQ(sc->ButtonForward()->ColorShadow(), clGray);
}

TEST(KemScrollWin, GlyphsAreSharedAndRecolouredOnRequest) {
  TAppScope app;
  TScene s = ShownScene();
  TKemPanelScroller* sc = s.Scroller;
  TBitmap* up = sc->ButtonBack()->Glyph();
  ASSERT_EQ(up->Width(), 8);
  EXPECT_EQ(up->PixelColor(0, 0), TColor{0xC0C0C0});
  EXPECT_EQ(up->PixelColor(4, 2), clBlack);  // inside the triangle
  EXPECT_TRUE(up->Transparent());
  EXPECT_EQ(up->TransparentColor(), TColor{0xC0C0C0});

  sc->SetGlyphColor(clRed);
  EXPECT_EQ(sc->GlyphColor(), clRed);
  EXPECT_EQ(sc->ButtonBack()->Glyph()->PixelColor(4, 2), clRed);
  EXPECT_EQ(sc->ButtonForward()->Glyph()->PixelColor(4, 3), clRed);
  EXPECT_EQ(sc->ButtonForward()->Glyph()->PixelColor(0, 0), TColor{0xC0C0C0});

  // A second scroller shares the glyphs: they come in the last colour asked for,
  // and freeing it leaves the first scroller's glyphs alone.
  auto* other = new TProbePanel(s.Form);
  other->Scroller()->SetDirection(sdHorizontal);
  EXPECT_EQ(other->Scroller()->ButtonBack()->Glyph()->PixelColor(2, 4), clRed);
  delete other;
  sc->SetDirection(sdHorizontal);
  EXPECT_EQ(sc->ButtonForward()->Glyph()->PixelColor(3, 4), clRed);
}

TEST(KemScrollWin, OffsetWithinTheFormReachesTheArrows) {
  TAppScope app;
  TScene s = ShownScene();
  EXPECT_EQ(s.Panel->FormOffset(), Point(20, 10));
  TKemPanelScroller* sc = s.Scroller;
  EXPECT_EQ(sc->ButtonBack()->TextureOffset(), Point(20 + 136, 10));
  EXPECT_EQ(sc->ButtonForward()->TextureOffset(), Point(20 + 136, 10 + 186));

  // Inside a holder on the form the holder's place counts too.
  auto* holder = new TCustomControl(s.Form);
  holder->SetParent(s.Form);
  holder->SetBounds(5, 7, 200, 200);
  s.Panel->SetParent(holder);
  EXPECT_EQ(s.Panel->FormOffset(), Point(25, 17));
  s.Panel->SetLeft(30);
  EXPECT_EQ(s.Panel->FormOffset(), Point(35, 17));
  EXPECT_EQ(sc->ButtonBack()->TextureOffset(), Point(35 + 136, 17));

  // Without a form there is no offset; a skin of nil is the plain state.
  auto* loose = new TProbePanel(nullptr);
  loose->SetBounds(40, 40, 50, 50);
  EXPECT_EQ(loose->FormOffset(), Point(0, 0));
  loose->SetSkin(nullptr);
  loose->SetFormSkinner(nullptr);
  EXPECT_EQ(loose->Skin(), nullptr);
  EXPECT_EQ(loose->TextureSlot(), -1);
  delete loose;
}
