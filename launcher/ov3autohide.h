// The bar's auto-hide: the screen areas that call it back, the edge it hides
// behind, the idle countdown and the slide, as a state machine. The window,
// the pointer and the screen come in through TOvBarPlace; the Windows side
// runs the timers as the machine says (HideTimerOn, SlideTimerOn...).
#pragma once
#include <functional>
#include <string_view>

#include "platform/geometry.h"
#include "platform/types.h"

enum TOvHideEdge { heTop = 0, heBottom = 1, heLeft = 2, heRight = 3 };

inline constexpr int kScreenAreaCount = 8;
inline constexpr int kHideTimerInterval = 250;  // ms

// Area 0-3 the edges top, bottom, left, right; 4-7 the corners top-left,
// top-right, bottom-left, bottom-right; on a screen of Width x Height.
TRect ScreenAreaRect(int Area, int Width, int Height, int EdgeSize, int CornerSize);
// Whether Area calls the bar back: automatic mode (0) takes the hide edge and
// its two corners; custom mode (1) every area whose number the text names.
bool AreaInSet(int Area, int AreaMode, TOvHideEdge Edge, std::string_view CustomAreas);
// A vertical bar hides to the nearer side, a horizontal one up or down.
TOvHideEdge ChooseHideEdge(bool Vertical, TPoint BarPos, int ScreenWidth, int ScreenHeight);
// The edge of the work area a bar docks to once its skin turned it: a skin
// lays its bar along the edges of its own orientation only, so a bar turned
// upright goes to the left or right side, whichever is nearer the centre it
// had before (Before), and one laid down to the top or bottom; on a tie the
// left or top.
TOvHideEdge TurnedBarEdge(bool Vertical, const TRect& Before, const TRect& WorkArea);
// Inclusive on every side, as the mouse hook tests its areas.
bool PointInArea(const TRect& Area, TPoint P);

// A zero or negative value from the settings file would stop the slide or
// spin its timer, so the registered limits hold wherever they are used.
int ClampSlideStep(int Step);
int ClampSlideInterval(int Interval);

struct TOvAutoHideSettings {
  bool AutoHide = false;         // ovsAutoHide
  bool AtOnce = false;           // ovsAutoHideMethod = 1
  int HideDelay = 2000;          // ovsAutoHideHideDelay, ms
  int ShowDelay = 500;           // ovsAutoHideShowDelay, ms
  int SlideStep = 5;             // ovsAutoHideSteps, pixels per slide tick
  int SlideInterval = 10;        // ovsAutoHideSpeed, ms
  int AreaMode = 0;              // ovsScreenArea
  String CustomAreas = "0,4,5";  // ovsScreenAreas
};

// What the machine needs of the world.
class TOvBarPlace {
 public:
  virtual ~TOvBarPlace() = default;
  virtual TRect BarBounds() = 0;
  virtual void MoveBar(int Left, int Top) = 0;
  virtual TPoint CursorPos() = 0;
  virtual TSize ScreenSize() = 0;  // the primary screen
  // The bar is being moved or sized, or one of its menus is open.
  virtual bool HideBlocked() = 0;
  // Takes the foreground for the bar.
  virtual void BringToFront() = 0;
  virtual void CloseHint() = 0;
};

class TOvAutoHide {
 public:
  explicit TOvAutoHide(TOvBarPlace& Place) : FPlace(Place) {}

  TOvAutoHideSettings Settings;
  bool Vertical = false;  // the skin lays the bar out vertically

  bool Hidden() const { return FHidden; }
  bool ForcedHide() const { return FForcedHide; }
  TPoint Home() const { return FHome; }
  void SetHome(TPoint Home) { FHome = Home; }
  TOvHideEdge Edge() const { return FEdge; }
  int Countdown() const { return FCountdown; }
  int SlideStep() const { return FStep; }

  bool HideTimerOn() const { return FHideTimerOn; }
  bool SlideTimerOn() const { return FSlideTimerOn; }
  int SlideInterval() const { return ClampSlideInterval(Settings.SlideInterval); }
  bool ShowTimerOn() const { return FShowTimerOn; }

  // ovsAutoHide (or ovsAutoHideMethod) changed: on starts the countdown, off
  // brings the bar home.
  void AutoHideChanged();
  // Whether anything can call a hidden bar back: the mouse hook is installed
  // and holds the screen areas it reports. Without it the bar never hides: it
  // stays home, no countdown runs, and a hidden bar comes home at once.
  bool CanComeBack() const { return FHookInstalled && FAreasSet; }
  // The mouse hook installed or not.
  void SetCanComeBack(bool Value);
  // Hands the eight screen areas of the screen to the mouse hook, in order.
  // When SetArea raises (the hook's tables are full, or the library cannot
  // set areas) some area stays quiet and the bar could hide with nothing to
  // call it back: it stays home as without the hook until the areas are set
  // again, and the failure goes on to the caller to be told.
  void SetScreenAreas(TSize Screen, int EdgeSize, int CornerSize,
                      const std::function<void(int Area, const TRect& AreaRect)>& SetArea);
  // The bar at home at once (a new skin swaps its width and height); with
  // auto-hide on the countdown starts again from the full delay.
  void ReturnHome();
  // Any key on the bar: the bar stays a while longer.
  void ResetCountdown();
  void HideTick();
  void SlideTick();
  void ShowTick();
  // The mouse hook reports the pointer entering Area (whose rectangle it
  // keeps); true when that starts the way back.
  bool AreaEntered(int Area, const TRect& AreaRect);
  void RequestShowBar();
  // Does nothing unless the bar is hidden.
  void ShowBar();
  void RestoreHomePosition();
  // The hotkey's hide: at the next tick, wherever the pointer is.
  void HideNow();

 private:
  void StartHide();
  void EndShowBar();

  TOvBarPlace& FPlace;
  bool FHidden = false;
  bool FForcedHide = false;
  TPoint FHome;
  TOvHideEdge FEdge = heTop;
  int FCountdown = 0;
  int FStep = 0;
  TRect FShowArea;
  bool FHideTimerOn = false;
  bool FSlideTimerOn = false;
  bool FShowTimerOn = false;
  bool FHookInstalled = true;
  bool FAreasSet = true;
};
