// Auto-hide: screen areas, hide edge, countdown and slide.
#include "launcher/ov3autohide.h"

#include <algorithm>
#include <cstdint>
#include <utility>

TRect ScreenAreaRect(int Area, int W, int H, int E, int C) {
  switch (Area) {
    case 0:
      return Rect(C, 0, W - C, E);
    case 1:
      return Rect(C, H - E, W - C, H);
    case 2:
      return Rect(0, C, E, H - C);
    case 3:
      return Rect(W - E, C, W, H - C);
    case 4:
      return Rect(0, 0, C, C);
    case 5:
      return Rect(W - C, 0, W, C);
    case 6:
      return Rect(0, H - C, C, H);
    case 7:
      return Rect(W - C, H - C, W, H);
    default:
      return Rect(0, 0, -1, -1);
  }
}

bool AreaInSet(int Area, int AreaMode, TOvHideEdge Edge, std::string_view CustomAreas) {
  if (Area < 0 || Area >= kScreenAreaCount) return false;
  if (AreaMode == 1) return CustomAreas.find(static_cast<char>('0' + Area)) != std::string_view::npos;
  // The edge and the corners at its two ends.
  static constexpr int kSets[4][3] = {{0, 4, 5}, {1, 6, 7}, {2, 4, 6}, {3, 5, 7}};
  const int* Set = kSets[Edge];
  return Area == Set[0] || Area == Set[1] || Area == Set[2];
}

TOvHideEdge ChooseHideEdge(bool Vertical, TPoint BarPos, int ScreenWidth, int ScreenHeight) {
  if (Vertical) return BarPos.X < ScreenWidth / 2 ? heLeft : heRight;
  return BarPos.Y >= ScreenHeight / 2 ? heBottom : heTop;
}

TOvHideEdge TurnedBarEdge(bool Vertical, const TRect& Before, const TRect& WorkArea) {
  // Twice the centres, in 64 bits: a bar stored far off the screen stays comparable.
  if (Vertical)
    return std::int64_t(Before.Left) + Before.Right <= std::int64_t(WorkArea.Left) + WorkArea.Right ? heLeft : heRight;
  return std::int64_t(Before.Top) + Before.Bottom <= std::int64_t(WorkArea.Top) + WorkArea.Bottom ? heTop : heBottom;
}

bool PointInArea(const TRect& Area, TPoint P) {
  return P.X >= Area.Left && P.X <= Area.Right && P.Y >= Area.Top && P.Y <= Area.Bottom;
}

int ClampSlideStep(int Step) { return std::clamp(Step, 1, 20); }
int ClampSlideInterval(int Interval) { return std::clamp(Interval, 1, 100); }

void TOvAutoHide::AutoHideChanged() {
  if (Settings.AutoHide && CanComeBack()) {
    // A hidden bar waits for its way back; hiding it again would take its
    // place off the screen for home.
    if (FHidden) return;
    FHideTimerOn = true;
    ResetCountdown();
  } else {
    FHideTimerOn = false;
    FSlideTimerOn = false;
    FShowTimerOn = false;
    RestoreHomePosition();
  }
}

void TOvAutoHide::SetCanComeBack(bool Value) {
  FHookInstalled = Value;
  AutoHideChanged();
}

void TOvAutoHide::SetScreenAreas(TSize Screen, int EdgeSize, int CornerSize,
                                 const std::function<void(int Area, const TRect& AreaRect)>& SetArea) {
  try {
    for (int Area = 0; Area < kScreenAreaCount; ++Area)
      SetArea(Area, ScreenAreaRect(Area, Screen.cx, Screen.cy, EdgeSize, CornerSize));
  } catch (...) {
    FAreasSet = false;
    AutoHideChanged();
    throw;
  }
  // Only a way back regained changes anything: a countdown under way goes on.
  if (!std::exchange(FAreasSet, true)) AutoHideChanged();
}

void TOvAutoHide::ReturnHome() {
  RestoreHomePosition();
  FShowTimerOn = false;
  FHideTimerOn = Settings.AutoHide && CanComeBack();
  ResetCountdown();
}

void TOvAutoHide::ResetCountdown() {
  if (FHideTimerOn) FCountdown = std::max(Settings.HideDelay, 0) / kHideTimerInterval;
}

void TOvAutoHide::HideTick() {
  if (!Settings.AutoHide || !CanComeBack()) {
    FHideTimerOn = false;
    return;
  }
  const bool WasSliding = FSlideTimerOn;
  FSlideTimerOn = false;
  const TRect Bar = FPlace.BarBounds();
  const TPoint Cursor = FPlace.CursorPos();
  const bool Outside = Cursor.X < Bar.Left || Cursor.X >= Bar.Right || Cursor.Y < Bar.Top || Cursor.Y >= Bar.Bottom;
  if (!FPlace.HideBlocked() && (Outside || FForcedHide)) {
    if (FCountdown > 0) {
      --FCountdown;
      return;
    }
    if (!WasSliding) FHome = Bar.TopLeft();
    StartHide();
    return;
  }
  ResetCountdown();
}

void TOvAutoHide::StartHide() {
  const TRect Bar = FPlace.BarBounds();
  const TSize Screen = FPlace.ScreenSize();
  FEdge = ChooseHideEdge(Vertical, Bar.TopLeft(), Screen.cx, Screen.cy);
  FPlace.CloseHint();
  FHidden = true;
  FForcedHide = true;
  FHideTimerOn = false;
  FSlideTimerOn = true;
  FStep = -ClampSlideStep(Settings.SlideStep);
  if (!Settings.AtOnce) return;
  // Each step moves at least one pixel towards a bound, so this ends; the
  // bound on the count only guards against a window that will not move.
  for (int Guard = 0; FSlideTimerOn && Guard < 1000000; ++Guard) SlideTick();
  FSlideTimerOn = false;
}

void TOvAutoHide::SlideTick() {
  const TRect Bar = FPlace.BarBounds();
  const TSize Screen = FPlace.ScreenSize();
  const bool Hiding = FStep < 0;
  int Left = Bar.Left, Top = Bar.Top;
  switch (FEdge) {
    case heTop:
      if (Hiding) {
        if (Top + Bar.Height() < 1) {
          FSlideTimerOn = false;
          return;
        }
        Top += FStep;
      } else {
        if (Top >= FHome.Y) return EndShowBar();
        Top = std::min(Top + FStep, FHome.Y);
      }
      break;
    case heBottom:
      if (Hiding) {
        if (Top >= Screen.cy) {
          FSlideTimerOn = false;
          return;
        }
        Top -= FStep;
      } else {
        if (FHome.Y >= Top) return EndShowBar();
        Top = std::max(Top - FStep, FHome.Y);
      }
      break;
    case heLeft:
      if (Hiding) {
        if (Left + Bar.Width() < 1) {
          FSlideTimerOn = false;
          return;
        }
        Left += FStep;
      } else {
        if (Left >= FHome.X) return EndShowBar();
        Left = std::min(Left + FStep, FHome.X);
      }
      break;
    case heRight:
      if (Hiding) {
        if (Left >= Screen.cx) {
          FSlideTimerOn = false;
          return;
        }
        Left -= FStep;
      } else {
        if (FHome.X >= Left) return EndShowBar();
        Left = std::max(Left - FStep, FHome.X);
      }
      break;
  }
  FPlace.MoveBar(Left, Top);
}

void TOvAutoHide::EndShowBar() {
  FHideTimerOn = Settings.AutoHide;
  ResetCountdown();
  FSlideTimerOn = false;
  FHidden = false;
  // Shown again: the next hide waits for the pointer to leave.
  FForcedHide = false;
}

bool TOvAutoHide::AreaEntered(int Area, const TRect& AreaRect) {
  if (!FHidden) return false;
  FShowArea = AreaRect;
  if (!AreaInSet(Area, Settings.AreaMode, FEdge, Settings.CustomAreas)) return false;
  RequestShowBar();
  return true;
}

void TOvAutoHide::RequestShowBar() {
  if (Settings.ShowDelay > 0)
    FShowTimerOn = true;
  else
    ShowBar();
}

void TOvAutoHide::ShowTick() {
  FShowTimerOn = false;
  if (PointInArea(FShowArea, FPlace.CursorPos())) ShowBar();
}

void TOvAutoHide::ShowBar() {
  if (!FHidden) return;
  FPlace.BringToFront();
  if (!Settings.AtOnce) {
    FSlideTimerOn = true;
    FStep = ClampSlideStep(Settings.SlideStep);
    return;
  }
  FHideTimerOn = Settings.AutoHide;
  ResetCountdown();
  RestoreHomePosition();
}

void TOvAutoHide::RestoreHomePosition() {
  if (!FHidden) return;
  FSlideTimerOn = false;
  FPlace.MoveBar(FHome.X, FHome.Y);
  FHidden = false;
  FForcedHide = false;
}

void TOvAutoHide::HideNow() {
  if (FHidden || !CanComeBack()) return;
  FHideTimerOn = true;
  FCountdown = 0;
  FForcedHide = true;
  HideTick();
}
