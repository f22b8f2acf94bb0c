// The bar's hint window under Wine: what ends a hint, driven by messages.
#include "launcher/ov3hint_win.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "kem3/controls/kemhint.h"
#include "kem3/framework/kemexe.h"
#include "kem3/graphics/vosskinlist.h"
#include "launcher/ov3hint.h"
#include "launcher/window_shot_win.h"
#include "platform/app_scope_win.h"
#include "support/wait_win.h"

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
    // The skin's picture, not the plain window: its back colour inside the rim,
    // left of the text, once the screen shows it (Wine hands it on later).
    if (Layered) {
      COLORREF Inside = 0;
      testproc::WaitUntil(
          [&] {
            HDC Screen = GetDC(nullptr);
            Inside = GetPixel(Screen, W->Left() + 5, W->Top() + W->Height() / 2);
            ReleaseDC(nullptr, Screen);
            return Inside == 0xE2F6FAu;
          },
          3000, [] {});
      EXPECT_EQ(Inside, 0xE2F6FAu);
    }
    Hints.Close();
  }
  FreeHintWindow();
  FreeSkinList();
}

// A 270,000-character title once made a hint of 1277 x 16685 pixels, and a
// long title of words one of 1254 pixels, as wide as the screen, over the
// bar's icons: a hint now takes half the screen's width at most, plain and
// layered, its text in lines broken at blanks (inside a word only where the
// word alone is wider) and cut with an ellipsis after the last; and it comes
// up in well under the minute it took.
TEST(BarHintWindow, AVeryLongTextIsCutToHalfTheScreen) {
  TAppScope App;
  ScanSkinsIn(GetExeDir() + "Skins");
  ASSERT_TRUE(SelectSkinByName("Slate", "default"));
  WideString Words = u"Portable";
  for (int I = 0; I < 11; ++I) Words += u" Applications Suite Launcher Portable";
  const struct {
    const char* Name;
    WideString Title;
    bool Cut;
  } Titles[] = {{"one word", WideString(270000, u'W'), true}, {"words", Words, false}};
  for (int Type : {5, 7}) {
    InstallBarHintWindow(Type);
    for (const auto& T : Titles) {
      SCOPED_TRACE(std::to_string(Type) + " " + T.Name);
      const DWORD Start = GetTickCount();
      ShowHintAt(T.Title, {300, 200}, 1, 0);
      EXPECT_LT(GetTickCount() - Start, 2000u);
      TOvHintWindow* W = dynamic_cast<TOvHintWindow*>(GlobalHintWindow());
      ASSERT_TRUE(W && IsHintWindowShown());
      EXPECT_LE(W->Width(), GetSystemMetrics(SM_CXSCREEN) / 2);
      EXPECT_LE(W->Height(), GetSystemMetrics(SM_CYSCREEN));
      EXPECT_GE(W->Top(), 0);
      // What the window shows, its lines joined again.
      WideString Joined = W->Text();
      int Lines = 1;
      for (size_t At; (At = Joined.find(u"\r\n")) != WideString::npos; ++Lines) Joined.replace(At, 2, u" ");
      EXPECT_LE(Lines, kHintMaxLines);
      EXPECT_GT(Lines, 2);
      if (T.Cut) {
        EXPECT_EQ(W->Text().back(), u'\u2026');
      } else {
        EXPECT_EQ(Joined, T.Title) << "broken at the blanks, nothing lost";
        if (Type == 7) SaveShot(W->Handle(), "long_title_hint");
      }
      HideHintWindow();
    }
  }
  FreeHintWindow();
  FreeSkinList();
}
