// The bar's hint window under Wine: what ends a hint, driven by messages.
#include "launcher/ov3hint_win.h"

#include <gtest/gtest.h>

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

// The bar's side of the hints on the real global window; the test runs the timers.
class TWindowSide : public TOvHintSide {
 public:
  void StartTimer(THintTimer, int) override {}
  void StopTimer(THintTimer) override {}
  void ShowWindow(const WideString& Text) override { ShowHintAt(Text, {300, 200}, 1, 0); }
  void SetOpacity(int O) override { Window()->SetOpacity(O); }
  void HideWindow() override { HideHintWindow(); }
  static TOvHintWindow* Window() { return dynamic_cast<TOvHintWindow*>(GlobalHintWindow()); }
};

}  // namespace

TEST(BarHintWindow, LayeredOnPlatformTypesSixAndSevenFadingInStepsOfTen) {
  TAppScope App;
  ScanSkinsIn(GetExeDir() + "Skins");
  ASSERT_TRUE(SelectSkinByName("Slate", "default"));
  for (int Type : {5, 6, 7, 8}) {
    SCOPED_TRACE(Type);
    InstallBarHintWindow(Type);
    const bool Layered = Type == 6 || Type == 7;
    TWindowSide Side;
    TOvBarHints Hints(Side, {500, 1000, true, LayeredHints()});
    Hints.ShowTimer(u"Editor");
    TOvHintWindow* W = TWindowSide::Window();
    EXPECT_EQ((GetWindowLongPtrW(W->Handle(), GWL_EXSTYLE) & WS_EX_LAYERED) != 0, Layered);
    std::vector<int> Steps{W->Opacity()}, Want{255};  // the plain window shows at once
    if (Layered)
      Want = {0,   10,  20,  30,  40,  50,  60,  70,  80,  90,  100, 110, 120, 130,
              140, 150, 160, 170, 180, 190, 200, 210, 220, 230, 240, 250, 255};
    for (; Hints.State() == THintState::FadingIn; Steps.push_back(W->Opacity())) Hints.FadeTimer();
    EXPECT_EQ(Steps, Want);
    // The skin's picture, not the plain window: its back colour inside the rim, left of the text.
    HDC Screen = GetDC(nullptr);
    const COLORREF Inside = GetPixel(Screen, W->Left() + 5, W->Top() + W->Height() / 2);
    ReleaseDC(nullptr, Screen);
    if (Layered) {
      EXPECT_EQ(Inside, 0xE2F6FAu);
    }
    Hints.Close();
  }
  FreeHintWindow();
  FreeSkinList();
}

// A 270,000-character title once made a hint of 1277 x 16685 pixels: the
// hint now stays within the screen, its text cut with an ellipsis, plain
// and layered, and comes up in well under the minute it took.
TEST(BarHintWindow, AVeryLongTextIsCutToTheScreen) {
  TAppScope App;
  ScanSkinsIn(GetExeDir() + "Skins");
  ASSERT_TRUE(SelectSkinByName("Slate", "default"));
  const WideString Title(270000, u'W');
  for (int Type : {5, 7}) {
    SCOPED_TRACE(Type);
    InstallBarHintWindow(Type);
    const DWORD Start = GetTickCount();
    ShowHintAt(Title, {300, 200}, 1, 0);
    EXPECT_LT(GetTickCount() - Start, 2000u);
    TOvHintWindow* W = dynamic_cast<TOvHintWindow*>(GlobalHintWindow());
    ASSERT_TRUE(W && IsHintWindowShown());
    EXPECT_LE(W->Height(), GetSystemMetrics(SM_CYSCREEN));
    EXPECT_LE(W->Width(), GetSystemMetrics(SM_CXSCREEN));
    EXPECT_GE(W->Top(), 0);
    ASSERT_LT(W->Text().size(), Title.size());
    EXPECT_EQ(W->Text().back(), u'\u2026');
    HideHintWindow();
  }
  FreeHintWindow();
  FreeSkinList();
}
