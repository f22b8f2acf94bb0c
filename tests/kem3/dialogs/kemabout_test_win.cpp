// The start-up splash: shown with its lines, put away by a click, freed by
// CloseSplash or by its owner.
#include "kem3/dialogs/kemabout_win.h"

#include <gtest/gtest.h>

#include "kem3/controls/kempicture_win.h"
#include "kem3/unicode/ucstdctrls_win.h"
#include "platform/app_scope_win.h"

namespace {

TEST(SplashWin, ShowsItsPictureAndLinesAndCloses) {
  TAppScope app;
  CloseSplash(false, 0);  // none: nothing
  SetSplashTitle(u"3.3.9");
  SetSplashTitleBox(2, 142, 100, 10, 6, static_cast<TColor>(0x808080));
  SetSplashStatusBox(21, 120, 0, 0, 8, static_cast<TColor>(0xFFFFFF));
  AddSplashStatus(u"Before");  // only stored while there is no splash
  ShowAboutOrSplash(false, false);
  TAboutForm* splash = SplashForm();
  ASSERT_NE(splash, nullptr);
  EXPECT_TRUE(IsWindowVisible(splash->Handle()));
  EXPECT_EQ(splash->ClientWidth(), 300) << "the program's own picture";
  EXPECT_EQ(splash->ClientHeight(), 156);
  EXPECT_EQ(splash->lTitle->Caption(), u"3.3.9");
  EXPECT_EQ(splash->lTitle->Alignment(), taLeftJustify);
  EXPECT_EQ(splash->lStatus->Caption(), u"Before");
  AddSplashStatus(u"A longer status line");
  EXPECT_EQ(splash->lStatus->Caption(), u"A longer status line");
  EXPECT_GT(splash->lStatus->Width(), 60) << "a box of 0 × 0 sizes itself to its text";
  // The status is drawn white on the picture's dark band at its box.
  auto whitePixels = [&] {
    splash->iPicture->Repaint();
    TBitmap* b = splash->iPicture->PaintBuffer();
    int n = 0;
    for (int y = 120; b && y < 136; ++y)
      for (int x = 21; x < 200; ++x) n += ColorToRGB(b->PixelColor(x, y)) == 0xFFFFFF;
    return n;
  };
  EXPECT_GT(whitePixels(), 20);
  AddSplashStatus(u"");
  EXPECT_EQ(whitePixels(), 0);

  SendMessageW(splash->iPicture->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(150, 60));
  SendMessageW(splash->iPicture->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(150, 60));
  EXPECT_FALSE(splash->Visible()) << "a click puts it away";
  EXPECT_EQ(SplashForm(), splash) << "but only CloseSplash frees it";
  CloseSplash(false, 2);
  EXPECT_EQ(SplashForm(), nullptr);

  // Fading steps down and frees it too; a step of 0 closes without a loop.
  for (int step : {64, 0}) {
    ShowAboutOrSplash(false, false);
    CloseSplash(true, step);
    EXPECT_EQ(SplashForm(), nullptr) << step;
  }
}

TEST(SplashWin, TheApplicationFreeingItLeavesNoReference) {
  {
    TAppScope app;
    ShowAboutOrSplash(false, false);
    ASSERT_NE(SplashForm(), nullptr);
  }
  EXPECT_EQ(SplashForm(), nullptr);
  CloseSplash(false, 0);
}

}  // namespace
