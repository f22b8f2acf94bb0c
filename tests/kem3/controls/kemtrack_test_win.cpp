// The tracker on a real window: its picture, the thumb drag, paging on the
// timer seam, keys, an empty range and presses that end.
#include "kem3/controls/kemtrack_win.h"

#include <gtest/gtest.h>

#include "kem3/pictures/kemimage.h"
#include "platform/app_scope_win.h"
#include "platform/timer.h"

namespace {

constexpr TColor kHighlight = 0x0000F0, kShadow = 0x00F000, kFrame = 0xF00000, kSpark = 0x00F0F0;
constexpr TColor kFace = 0xF000F0, kFill = 0x303030, kPressed = 0x606060, kThumb = 0x0F0F0F;

struct TScene {
  TForm* Form = nullptr;
  TKemTracker* Tracker = nullptr;
  int Changes = 0;
  int Changing = 0;
};

// A 100 x 42 tracker (thumb 11 wide: centres 6 .. 95) in distinct colours.
void Make(TScene& s) {
  s.Form = NewForm<TQuietForm>(Application);
  s.Form->SetBounds(20, 20, 200, 100);
  s.Tracker = new TKemTracker(s.Form);
  TKemTracker* t = s.Tracker;
  t->SetParent(s.Form);
  t->SetBounds(10, 10, 100, 42);
  t->SetColorHighlight(kHighlight);
  t->SetColorShadow(kShadow);
  t->SetColorFrame(kFrame);
  t->SetColorSpark(kSpark);
  t->SetColor(kFace);
  t->SetColorFill(kFill);
  t->SetColorPressed(kPressed);
  t->SetColorThumb(kThumb);
  t->OnChange = [&s](TObject*) { ++s.Changes; };
  t->OnChanging = [&s](TObject*) { ++s.Changing; };
  s.Form->Show();
}

TColor PixelAt(TKemTracker* t, int x, int y) {
  t->Repaint();
  return t->PaintBuffer()->PixelColor(x, y);
}

LRESULT Press(TKemTracker* t, int x, int y) { return SendMouse(t->Handle(), WM_LBUTTONDOWN, x, y, MK_LBUTTON); }
LRESULT Move(TKemTracker* t, int x, int y) { return SendMouse(t->Handle(), WM_MOUSEMOVE, x, y, MK_LBUTTON); }
LRESULT Release(TKemTracker* t, int x, int y) { return SendMouse(t->Handle(), WM_LBUTTONUP, x, y); }

}  // namespace

TEST(KemTrackerWin, PaintsTrackTicksLegendAndThumb) {
  TAppScope app;
  TScene s;
  Make(s);
  TKemTracker* t = s.Tracker;
  EXPECT_EQ(t->ColorFillFocus(), MidColor(clBtnFace, clWindow));
  // The track (rows 9 .. 21), sunken two deep.
  EXPECT_EQ(PixelAt(t, 50, 9), kShadow);
  EXPECT_EQ(PixelAt(t, 50, 10), kFrame);
  EXPECT_EQ(PixelAt(t, 50, 15), kFill);
  EXPECT_EQ(PixelAt(t, 50, 20), kSpark);
  EXPECT_EQ(PixelAt(t, 50, 21), kHighlight);
  // Ticks: the ends from the top, the others from half the tick height.
  EXPECT_EQ(PixelAt(t, 6, 0), kFrame);
  EXPECT_EQ(PixelAt(t, 95, 0), kFrame);
  EXPECT_EQ(PixelAt(t, 50, 0), kFace);
  EXPECT_EQ(PixelAt(t, 50, 2), kFrame);
  // The legend's bracket, inset by half the thumb.
  EXPECT_EQ(PixelAt(t, 5, 28), kFrame);
  EXPECT_EQ(PixelAt(t, 94, 28), kFrame);
  // The thumb at 0, pointing up: edges and face.
  EXPECT_EQ(PixelAt(t, 1, 15), kHighlight);
  EXPECT_EQ(PixelAt(t, 2, 15), kSpark);
  EXPECT_EQ(PixelAt(t, 11, 15), kFrame);
  EXPECT_EQ(PixelAt(t, 10, 15), kShadow);
  EXPECT_EQ(PixelAt(t, 5, 20), kThumb);
  // In its own colours the thumb's face stands out from the track and the
  // control's colour, which are both the window colour.
  auto* plain = new TKemTracker(s.Form);
  plain->SetParent(s.Form);
  plain->SetBounds(10, 55, 100, 42);
  EXPECT_EQ(PixelAt(plain, 50, 15), ColorToRGB(clWindow));
  EXPECT_NE(PixelAt(plain, 5, 15), ColorToRGB(clWindow));
  EXPECT_NE(PixelAt(plain, 6, 8), ColorToRGB(clWindow));  // above the track
  t->SetLegendFormat("%.1f");
  t->SetLegendOffset(10);
  t->SetLegendScale(0.5);
  t->SetPosition(30);
  EXPECT_EQ(t->LegendText(), "  10.0  ");
}

TEST(KemTrackerWin, DragsThePressedThumb) {
  TAppScope app;
  TScene s;
  Make(s);
  TKemTracker* t = s.Tracker;
  Press(t, 7, 15);  // one pixel right of the thumb's centre
  EXPECT_TRUE(t->Dragging());
  EXPECT_EQ(PixelAt(t, 5, 20), kPressed);
  Move(t, 52, 15);
  EXPECT_EQ(t->Position(), 51);  // the centre at 51
  EXPECT_EQ(s.Changing, 1);
  EXPECT_EQ(s.Changes, 0);  // a drag reports through OnChanging
  Move(t, 300, 15);
  EXPECT_EQ(t->Position(), 100);
  Release(t, 300, 15);
  EXPECT_FALSE(t->Dragging());
  EXPECT_EQ(PixelAt(t, 95, 20), kThumb);

  // Disabling ends a drag.
  Press(t, 95, 15);
  ASSERT_TRUE(t->Dragging());
  t->SetEnabled(false);
  EXPECT_FALSE(t->Dragging());
}

TEST(KemTrackerWin, PagingRepeatsOnTheTimerUntilThePointer) {
  TAppScope app;
  TFakeTimerService timers;
  TScene s;
  Make(s);
  TKemTracker* t = s.Tracker;
  Press(t, 80, 15);  // the value under the pointer is 83
  EXPECT_EQ(t->Position(), 10);
  EXPECT_EQ(s.Changes, 1);
  timers.Advance(399);
  EXPECT_EQ(t->Position(), 10);
  timers.Advance(1);
  EXPECT_EQ(t->Position(), 20);
  timers.Advance(1000);
  EXPECT_EQ(t->Position(), 83);
  Release(t, 80, 15);
  EXPECT_FALSE(t->Paging());

  // Left of the thumb; a lost capture ends the repeat.
  Press(t, 20, 15);
  EXPECT_EQ(t->Position(), 73);
  ReleaseCapture();
  timers.Advance(1000);
  EXPECT_EQ(t->Position(), 73);
  EXPECT_FALSE(t->Paging());
}

TEST(KemTrackerWin, KeysAndAnEmptyRange) {
  TAppScope app;
  TScene s;
  Make(s);
  TKemTracker* t = s.Tracker;
  EXPECT_EQ(SendMessageW(t->Handle(), WM_GETDLGCODE, 0, 0), DLGC_WANTARROWS);
  const struct {
    WPARAM Key;
    int Position;
  } keys[] = {{VK_PRIOR, 10}, {VK_RIGHT, 11}, {VK_UP, 12}, {VK_LEFT, 11}, {VK_DOWN, 10}, {VK_NEXT, 0}, {VK_NEXT, 0}};
  for (const auto& k : keys) {
    SendMessageW(t->Handle(), WM_KEYDOWN, k.Key, 0);
    EXPECT_EQ(t->Position(), k.Position) << k.Key;
  }
  t->SetMax(5);
  t->SetMin(5);
  EXPECT_EQ(t->Position(), 5);
  Press(t, 6, 15);
  Move(t, 90, 15);
  EXPECT_EQ(t->Position(), 5);
  Release(t, 90, 15);
}
