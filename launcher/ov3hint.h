// The bar's hints without the window: where a hint goes, what it says, and
// the show/hide/fade timers as a state machine. The Windows side runs the
// timers and the hint window as the machine says (TOvHintSide).
#pragma once
#include "platform/geometry.h"
#include "platform/types.h"

class TVosSkin;

// A hint centred below Anchor, kept inside the monitor that holds the anchor.
TRect PlaceHint(TPoint Anchor, TSize Size, const TRect& Monitor);

// The skin's hint around Text: the text in the skin's hint font, word-wrapped
// within MaxWidth, plus the hint's text indents (current window record).
TSize SkinHintSize(TVosSkin& Skin, const WideString& Text, int MaxWidth);

// Title mode (ovsIconsTitle): 0 and 2 show the caption, 1 hides it; comment
// mode (ovsIconsComment): not 0 appends a non-empty comment on a line of its own.
WideString IconHintText(const WideString& Caption, const WideString& Comment, int TitleMode, int CommentMode);
// Icon hints are armed only when one of the two can say something.
constexpr bool IconHintsArmed(int TitleMode, int CommentMode) { return TitleMode != 1 || CommentMode != 0; }
// Every two-character "\n" in a hint text becomes CR LF.
WideString ExpandHintBreaks(const WideString& Text);

// Values from the settings file held to their registered limits: a show
// delay of 0 would spin its timer, a hide delay of 0 or less would leave a
// hint up for good.
int ClampHintShowDelay(int Ms);  // ovsHintShowDelay: 1..1000
int ClampHintHideDelay(int Ms);  // ovsHintHideDelay: 100..5000
int ClampHintPosition(int Pct);  // ovsHintPosition: 0..150

enum class THintTimer { Show, Hide, Fade, Refresh };
enum class THintState { None, FadingIn, Shown, FadingOut };

// What is under the pointer: nothing, an icon of the panel, or the hint
// area of a bar module (Index is the item or the module).
struct THintTarget {
  enum TKind { None, Icon, Module } Kind = None;
  int Index = -1;
  bool operator==(const THintTarget&) const = default;
};

class TOvHintSide {
 public:
  virtual ~TOvHintSide() = default;
  virtual void StartTimer(THintTimer Timer, int Interval) = 0;
  virtual void StopTimer(THintTimer Timer) = 0;
  virtual void ShowWindow(const WideString& Text) = 0;  // at the target's anchor
  virtual void SetOpacity(int Opacity) = 0;
  virtual void HideWindow() = 0;
};

struct TOvHintSettings {
  int ShowDelay = 500;   // ovsHintShowDelay, ms
  int HideDelay = 1000;  // ovsHintHideDelay, ms
  bool Fade = true;      // ovsFadeHints
  bool Layered = false;  // the skin's fading hint (platform types 6 and 7)
};

inline constexpr int kHintFadeStep = 10;
inline constexpr int kHintRefreshInterval = 100;  // ms

class TOvBarHints {
 public:
  TOvBarHints(TOvHintSide& Side, const TOvHintSettings& Settings) : FSide(Side) { Apply(Settings); }
  void Apply(const TOvHintSettings& Settings);

  // The pointer moved onto Target: another target restarts the show timer,
  // the same one leaves it running, nothing stops it.
  void PointerOver(THintTarget Target);
  // The show timer fired and found Text for the target (empty: nothing to
  // show). Forced shows repeat even the text already up.
  void ShowTimer(const WideString& Text, bool Forced = false);
  // Text shown at once for Target, which becomes the hint's target (the
  // selection moved to another icon while a hint was up).
  void ShowFor(THintTarget Target, const WideString& Text);
  // The hide timer fired; PointerStillOn tells whether the target is still
  // under the pointer.
  void HideTimer(bool PointerStillOn);
  void FadeTimer();
  // A key press ends the hint; a click does not.
  void KeyPressed() { Close(); }
  // Fades out when fading, else hides at once.
  void Hide();
  // Hides at once and forgets the target (before a launch, for example).
  void Close();
  // The window went by itself (a key): nothing shows, the target stays armed.
  void WindowGone();

  THintState State() const { return FState; }
  THintTarget Target() const { return FTarget; }
  int Opacity() const { return FOpacity; }
  const WideString& Text() const { return FText; }
  int FadeInterval() const { return FFade ? 5 : 1; }

 private:
  bool Fades() const { return FLayered && FadeInterval() > 1; }
  TOvHintSide& FSide;
  THintTarget FTarget;  // the last target armed; kept for the hint it shows
  bool FArmed = false;
  THintState FState = THintState::None;
  WideString FText;
  int FOpacity = 255;
  int FShowDelay = 500, FHideDelay = 1000;
  bool FFade = true, FLayered = false;
};
