// The bar's hint window under Wine: what ends a hint, driven by messages.
#include "launcher/ov3hint_win.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "kem3/framework/kemexe.h"
#include "kem3/graphics/vosskinlist.h"
#include "launcher/ov3hint.h"
#include "platform/app_scope_win.h"

namespace {

// Posts Message to the application window and lets the thread take it.
void Deliver(UINT Message, WPARAM WParam = 0) {
  PostMessageW(Application->Handle(), Message, WParam, 0);
  MSG Msg;
  while (PeekMessageW(&Msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&Msg);
}

struct THintScope {
  TAppScope App;
  THintScope() { InstallBarHintWindow(); }
  ~THintScope() { FreeHintWindow(); }
};

}  // namespace

TEST(BarHintWindow, KeyEndsAHintClickDoesNot) {
  THintScope Scope;
  struct {
    UINT Message;
    bool StaysUp;
  } Cases[] = {{WM_LBUTTONDOWN, true}, {WM_RBUTTONDOWN, true}, {WM_MOUSEMOVE, true},
               {CM_WAKEUP, true},      {WM_KEYDOWN, false},    {WM_COMMAND, false}};
  for (auto& C : Cases) {
    ShowHintAt(u"Editor\r\nnotes \u0394", {200, 200}, 1, 0);
    ASSERT_TRUE(IsHintWindowShown());
    Deliver(C.Message, C.Message == WM_KEYDOWN ? VK_SHIFT : 0);
    EXPECT_EQ(IsHintWindowShown(), C.StaysUp) << C.Message;
    HideHintWindow();
  }
}

TEST(BarHintWindow, OnlyTakenMessagesCountAndFreeingUnhooks) {
  THintScope Scope;
  ShowHintAt(u"a", {200, 200}, 1, 0);
  ShowHintAt(u"b", {200, 200}, 1, 0);  // two shows need two keys
  PostMessageW(Application->Handle(), WM_KEYDOWN, VK_SHIFT, 0);
  MSG Msg;
  PeekMessageW(&Msg, nullptr, 0, 0, PM_NOREMOVE);  // a look does not count
  Deliver(WM_NULL);
  EXPECT_TRUE(IsHintWindowShown());
  Deliver(WM_KEYDOWN, VK_SHIFT);
  EXPECT_FALSE(IsHintWindowShown());
  // Freeing the window while up takes its hook away with it: a key later
  // must not reach a freed window.
  ShowHintAt(u"c", {200, 200}, 1, 0);
  RecreateHintWindow();
  EXPECT_FALSE(IsHintWindowShown());
  ShowHintAt(u"d", {200, 200}, 1, 0);
  FreeHintWindow();
  Deliver(WM_KEYDOWN, VK_SHIFT);
  EXPECT_FALSE(IsHintWindowShown());
}

namespace {

// The bar's side of the hints on the real global window, with the timers left to the test.
class TWindowSide : public TOvHintSide {
 public:
  void StartTimer(THintTimer, int) override {}
  void StopTimer(THintTimer) override {}
  void ShowWindow(const WideString& Text) override { ShowHintAt(Text, {300, 200}, 1, 0); }
  void SetOpacity(int O) override { Window()->SetOpacity(O); }
  void HideWindow() override { HideHintWindow(); }
  static TOvHintWindow* Window() { return dynamic_cast<TOvHintWindow*>(GlobalHintWindow()); }
};

// The screen's colour at P, as a user sees it.
TColor ScreenPixel(TPoint P) {
  HDC Screen = GetDC(nullptr);
  const COLORREF C = GetPixel(Screen, P.X, P.Y);
  ReleaseDC(nullptr, Screen);
  return TColor(C);
}

}  // namespace

TEST(BarHintWindow, LayeredOnPlatformTypesSixAndSevenFadingInStepsOfTen) {
  TAppScope App;
  ScanSkinsIn(GetExeDir() + "Skins");
  ASSERT_TRUE(SelectSkinByName("Slate", "default"));
  for (int Type : {5, 6, 7, 8}) {
    SCOPED_TRACE(Type);
    InstallBarHintWindow(Type);
    TWindowSide Side;
    TOvBarHints Hints(Side, {500, 1000, true, LayeredHints()});
    Hints.ShowTimer(u"Editor\\nnotes");
    TOvHintWindow* W = TWindowSide::Window();
    ASSERT_TRUE(W && W->HandleAllocated());
    const bool Layered = Type == 6 || Type == 7;
    EXPECT_EQ((GetWindowLongPtrW(W->Handle(), GWL_EXSTYLE) & WS_EX_LAYERED) != 0, Layered);
    std::vector<int> Steps{W->Opacity()};
    while (Hints.State() == THintState::FadingIn) {
      Hints.FadeTimer();
      Steps.push_back(W->Opacity());
    }
    EXPECT_EQ(Hints.State(), THintState::Shown);
    ASSERT_EQ(Steps.back(), 255);
    if (Layered) {
      ASSERT_EQ(Steps.size(), 27u);  // 0, 10 ... 250, 255
      for (size_t I = 0; I + 1 < Steps.size(); ++I) EXPECT_EQ(Steps[I], int(10 * I));
      // The skin's picture with its edge, not the plain window: the hint's
      // back colour shows inside its rim, left of the centred text.
      const TRect R = W->BoundsRect();
      MSG Msg;
      while (PeekMessageW(&Msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&Msg);
      EXPECT_EQ(ScreenPixel({R.Left + 5, R.Top + R.Height() / 2}), TColor(0xE2F6FA));
      if (const char* Shot = std::getenv("ORV_HINT_SHOT")) {
        HDC Screen = GetDC(nullptr);
        TBitmap B;
        B.SetPixelFormat(pf24bit);
        B.SetSize(R.Width() + 40, R.Height() + 40);
        BitBlt(B.Canvas()->Handle(), 0, 0, B.Width(), B.Height(), Screen, R.Left - 20, R.Top - 20, SRCCOPY);
        ReleaseDC(nullptr, Screen);
        B.SaveToFile(Shot);
      }
    } else {
      EXPECT_EQ(Steps.size(), 1u);  // the plain window shows at once
    }
    Hints.Close();
    EXPECT_FALSE(IsHintWindowShown());
  }
  FreeHintWindow();
  FreeSkinList();
}
