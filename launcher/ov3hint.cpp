#include "launcher/ov3hint.h"

#include <algorithm>

#include "kem3/controls/kemhint.h"
#include "kem3/graphics/vosskin.h"

TRect PlaceHint(TPoint Anchor, TSize Size, const TRect& Monitor) {
  return KeepHintInside(Bounds(Anchor.X - Size.cx / 2, Anchor.Y, Size.cx, Size.cy), Monitor);
}

TSize SkinHintSize(TVosSkin& Skin, const WideString& Text, int MaxWidth) {
  const TVosIndents& In = Skin.GetHintIndent();
  const TSize Size = Skin.MeasureSkinText(Skin.GetHintFont(), Text, vtfCenter | vtfWordBreak | vtfNoPrefix, MaxWidth);
  return {Size.cx + In.Left + In.Right, Size.cy + In.Top + In.Bottom};
}

WideString IconHintText(const WideString& Caption, const WideString& Comment, int TitleMode, int CommentMode) {
  WideString Text = TitleMode == 1 ? WideString() : Caption;
  if (CommentMode != 0 && !Comment.empty()) {
    if (!Text.empty()) Text += u"\r\n";
    Text += Comment;
  }
  return Text;
}

WideString ExpandHintBreaks(const WideString& Text) {
  WideString Out;
  Out.reserve(Text.size());
  for (size_t I = 0; I < Text.size(); ++I)
    if (Text[I] == u'\\' && I + 1 < Text.size() && Text[I + 1] == u'n') {
      Out += u"\r\n";
      ++I;
    } else {
      Out += Text[I];
    }
  return Out;
}

int ClampHintShowDelay(int Ms) { return std::clamp(Ms, 1, 1000); }
int ClampHintHideDelay(int Ms) { return std::clamp(Ms, 100, 5000); }
int ClampHintPosition(int Pct) { return std::clamp(Pct, 0, 150); }

void TOvBarHints::Apply(const TOvHintSettings& Settings) {
  FShowDelay = ClampHintShowDelay(Settings.ShowDelay);
  FHideDelay = ClampHintHideDelay(Settings.HideDelay);
  FFade = Settings.Fade;
  FLayered = Settings.Layered;
}

void TOvBarHints::PointerOver(THintTarget Target) {
  if (Target.Kind == THintTarget::None) {
    FSide.StopTimer(THintTimer::Show);
    FArmed = false;
    return;
  }
  if (FArmed && Target == FTarget) return;
  FTarget = Target;
  FArmed = true;
  FSide.StartTimer(THintTimer::Show, FShowDelay);
}

void TOvBarHints::ShowTimer(const WideString& Found, bool Forced) {
  FSide.StopTimer(THintTimer::Show);
  const WideString Text = ExpandHintBreaks(Found);
  FSide.StopTimer(THintTimer::Hide);
  FSide.StopTimer(THintTimer::Refresh);
  if (Text.empty()) {
    if (FState != THintState::None) Hide();
    return;
  }
  if (FState == THintState::Shown && Text == FText && !Forced) {
    FSide.StartTimer(THintTimer::Hide, FHideDelay);
    FSide.StartTimer(THintTimer::Refresh, kHintRefreshInterval);
    return;
  }
  FText = Text;
  if (FState != THintState::None) {
    if (FState == THintState::FadingOut) FState = THintState::FadingIn;
    FSide.ShowWindow(Text);
    if (FState == THintState::Shown) FSide.StartTimer(THintTimer::Hide, FHideDelay);
  } else {
    FOpacity = 0;
    FSide.SetOpacity(FOpacity);
    FSide.ShowWindow(Text);
    if (Fades()) {
      FState = THintState::FadingIn;
      FSide.StartTimer(THintTimer::Fade, FadeInterval());
    } else {
      FState = THintState::Shown;
      FOpacity = 255;
      FSide.SetOpacity(FOpacity);
      FSide.StartTimer(THintTimer::Hide, FHideDelay);
    }
  }
  FSide.StartTimer(THintTimer::Refresh, kHintRefreshInterval);
}

void TOvBarHints::ShowFor(THintTarget Target, const WideString& Text) {
  FTarget = Target;
  FArmed = Target.Kind != THintTarget::None;
  ShowTimer(Text);
}

void TOvBarHints::HideTimer(bool PointerStillOn) {
  FSide.StopTimer(THintTimer::Hide);
  if (PointerStillOn)
    FSide.StartTimer(THintTimer::Hide, FHideDelay);
  else
    Hide();
}

void TOvBarHints::FadeTimer() {
  const bool In = FState == THintState::FadingIn;
  if (!In && FState != THintState::FadingOut) {
    FSide.StopTimer(THintTimer::Fade);
    return;
  }
  FOpacity = std::clamp(FOpacity + (In ? kHintFadeStep : -kHintFadeStep), 0, 255);
  FSide.SetOpacity(FOpacity);
  if (FOpacity == 255) {
    FSide.StopTimer(THintTimer::Fade);
    FState = THintState::Shown;
    FSide.StartTimer(THintTimer::Hide, FHideDelay);
  } else if (FOpacity == 0) {
    FSide.StopTimer(THintTimer::Fade);
    Close();
  }
}

void TOvBarHints::Hide() {
  FSide.StopTimer(THintTimer::Hide);
  FSide.StopTimer(THintTimer::Refresh);
  if (Fades() && FState != THintState::None) {
    FState = THintState::FadingOut;
    FSide.StartTimer(THintTimer::Fade, FadeInterval());
    return;
  }
  FState = THintState::None;
  FText.clear();
  FSide.HideWindow();
}

void TOvBarHints::WindowGone() {
  for (THintTimer T : {THintTimer::Hide, THintTimer::Fade, THintTimer::Refresh}) FSide.StopTimer(T);
  FState = THintState::None;
  FText.clear();
}

void TOvBarHints::Close() {
  FSide.StopTimer(THintTimer::Show);
  WindowGone();
  FTarget = {};
  FArmed = false;
  FSide.HideWindow();
}
