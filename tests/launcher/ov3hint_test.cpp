// The bar's hints on fake timers and a fake window.
#include "launcher/ov3hint.h"

#include <gtest/gtest.h>

#include <string>

namespace {

const char* Name(THintTimer T) {
  static const char* Names[] = {"show", "hide", "fade", "refresh"};
  return Names[int(T)];
}

class TFakeSide : public TOvHintSide {
 public:
  void StartTimer(THintTimer T, int Ms) override { Log += std::string("+") + Name(T) + std::to_string(Ms) + " "; }
  void StopTimer(THintTimer T) override {
    if (LogStops) Log += std::string("-") + Name(T) + " ";
  }
  void ShowWindow(const WideString& Text) override {
    Shown = Text;
    Log += "show ";
  }
  void SetOpacity(int O) override { Opacity = O; }
  void HideWindow() override { Log += "hide "; }
  std::string Log;
  WideString Shown;
  int Opacity = -1;
  bool LogStops = false;
};

}  // namespace

TEST(BarHints, PlacementBelowAndInsideTheMonitor) {
  const TRect Monitor = Rect(1024, 0, 2048, 768);  // the second monitor
  struct {
    TPoint Anchor;
    TRect Expected;
  } Cases[] = {{{1500, 100}, Bounds(1450, 100, 100, 40)},
               {{1030, 100}, Bounds(1024, 100, 100, 40)},
               {{2040, 100}, Bounds(1948, 100, 100, 40)},
               {{1500, 750}, Bounds(1450, 728, 100, 40)},
               {{1500, -20}, Bounds(1450, 0, 100, 40)}};
  for (auto& C : Cases)
    EXPECT_EQ(PlaceHint(C.Anchor, {100, 40}, Monitor), C.Expected) << C.Anchor.X << "," << C.Anchor.Y;
}

TEST(BarHints, TextFromTitleAndComment) {
  struct {
    int Title, Comment;
    const char16_t* Caption;
    const char16_t* Note;
    const char16_t* Expected;
    bool Armed;
  } Cases[] = {{0, 0, u"Editor", u"notes", u"Editor", true},
               {1, 0, u"Editor", u"notes", u"", false},
               {2, 0, u"Editor", u"notes", u"Editor", true},
               {0, 1, u"Editor", u"notes", u"Editor\r\nnotes", true},
               {1, 1, u"Editor", u"notes", u"notes", true},
               {2, 1, u"Editor", u"", u"Editor", true},
               {1, 1, u"Editor", u"", u"", true},
               {0, 1, u"", u"notes", u"notes", true}};
  for (auto& C : Cases) {
    EXPECT_EQ(IconHintText(C.Caption, C.Note, C.Title, C.Comment), C.Expected) << C.Title << C.Comment;
    EXPECT_EQ(IconHintsArmed(C.Title, C.Comment), C.Armed) << C.Title << C.Comment;
  }
  EXPECT_EQ(ExpandHintBreaks(u"a\\nb\\\\n\\"), u"a\r\nb\\\r\n\\");
}

TEST(BarHints, SettingsHeldToTheirLimits) {
  struct {
    int (*Clamp)(int);
    int In, Out;
  } Cases[] = {{ClampHintShowDelay, 0, 1},       {ClampHintShowDelay, 500, 500}, {ClampHintShowDelay, 99999, 1000},
               {ClampHintHideDelay, 0, 100},     {ClampHintHideDelay, -5, 100},  {ClampHintHideDelay, 9000, 5000},
               {ClampHintHideDelay, 1000, 1000}, {ClampHintPosition, -1, 0},     {ClampHintPosition, 200, 150}};
  for (auto& C : Cases) EXPECT_EQ(C.Clamp(C.In), C.Out) << C.In;
  TFakeSide Side;
  TOvBarHints Hints(Side, {0, 0, false, false});
  Hints.PointerOver({THintTarget::Icon, 1});
  Hints.ShowTimer(u"x");
  EXPECT_EQ(Side.Log, "+show1 show +hide100 +refresh100 ");
}

TEST(BarHints, MovesArmTheShowTimer) {
  struct {
    THintTarget Move;
    const char* Log;
  } Steps[] = {{{THintTarget::Icon, 3}, "+show500 "}, {{THintTarget::Icon, 3}, ""},
               {{THintTarget::Icon, 4}, "+show500 "}, {{THintTarget::Module, 0}, "+show500 "},
               {{THintTarget::None, -1}, "-show "},   {{THintTarget::Module, 0}, "+show500 "}};
  TFakeSide Side;
  Side.LogStops = true;
  TOvBarHints Hints(Side, {});
  for (auto& S : Steps) {
    Side.Log.clear();
    Hints.PointerOver(S.Move);
    EXPECT_EQ(Side.Log, S.Log) << int(S.Move.Kind) << S.Move.Index;
  }
  EXPECT_EQ(Hints.Target(), (THintTarget{THintTarget::Module, 0}));
}

TEST(BarHints, ShowHideAndKeys) {
  TFakeSide Side;
  TOvBarHints Hints(Side, {500, 1000, true, false});  // no layered window: no fading
  Hints.PointerOver({THintTarget::Icon, 0});
  Side.Log.clear();
  Hints.ShowTimer(u"one\\ntwo");
  EXPECT_EQ(Side.Shown, u"one\r\ntwo");
  EXPECT_EQ(Side.Opacity, 255);
  EXPECT_EQ(Hints.State(), THintState::Shown);
  struct {
    const char* Step;
    const char* Log;
    THintState After;
  } Steps[] = {{"same", "+hide1000 +refresh100 ", THintState::Shown},
               {"other", "show +hide1000 +refresh100 ", THintState::Shown},
               {"stay", "+hide1000 ", THintState::Shown},
               {"leave", "hide ", THintState::None},
               {"again", "show +hide1000 +refresh100 ", THintState::Shown},
               {"key", "hide ", THintState::None},
               {"empty", "", THintState::None}};
  for (auto& S : Steps) {
    Side.Log.clear();
    std::string Step = S.Step;
    if (Step == "same") Hints.ShowTimer(u"one\\ntwo");
    if (Step == "other") Hints.ShowTimer(u"three");
    if (Step == "stay") Hints.HideTimer(true);
    if (Step == "leave") Hints.HideTimer(false);
    if (Step == "again") Hints.ShowTimer(u"three");
    if (Step == "key") Hints.KeyPressed();
    if (Step == "empty") Hints.ShowTimer(u"");
    EXPECT_EQ(Side.Log, S.Log) << Step;
    EXPECT_EQ(Hints.State(), S.After) << Step;
  }
  EXPECT_EQ(Hints.Target().Kind, THintTarget::None);  // the key closed it
}

TEST(BarHints, FadesInStepsOfTen) {
  for (bool Fade : {true, false}) {
    TFakeSide Side;
    TOvBarHints Hints(Side, {500, 1000, Fade, true});
    Hints.PointerOver({THintTarget::Icon, 0});
    Side.Log.clear();
    Hints.ShowTimer(u"x");
    if (!Fade) {  // a fade interval of 1 ms shows and hides at once
      EXPECT_EQ(Side.Log, "show +hide1000 +refresh100 ");
      Hints.Hide();
      EXPECT_EQ(Hints.State(), THintState::None);
      continue;
    }
    EXPECT_EQ(Side.Log, "show +fade5 +refresh100 ");
    int Ticks = 0;
    while (Hints.State() == THintState::FadingIn && Ticks < 100) {
      Hints.FadeTimer();
      ++Ticks;
      if (Hints.State() == THintState::FadingIn) {
        EXPECT_EQ(Side.Opacity, Ticks * 10);
      }
    }
    EXPECT_EQ(Ticks, 26);  // 10, 20 ... 250, then 255
    EXPECT_EQ(Side.Opacity, 255);
    Hints.Hide();
    EXPECT_EQ(Hints.State(), THintState::FadingOut);
    Hints.FadeTimer();
    EXPECT_EQ(Side.Opacity, 245);
    Hints.ShowTimer(u"y");  // shown again while fading out: fades back in
    EXPECT_EQ(Hints.State(), THintState::FadingIn);
    Hints.Hide();
    for (Ticks = 0; Hints.State() != THintState::None && Ticks < 100; ++Ticks) Hints.FadeTimer();
    EXPECT_EQ(Ticks, 25);
    EXPECT_EQ(Side.Opacity, 0);
  }
}
