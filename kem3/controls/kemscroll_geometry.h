// The panel scroller's arithmetic, free of any window: position, length and
// steps with the rules of their setters, where the thumb lies along the track,
// which part of the track a press hits, the position a thumb drag reaches, and
// the pauses of the track's auto-repeat.
#pragma once
#include "platform/geometry.h"

enum TScrollerDirection { sdVertical, sdHorizontal };

inline constexpr int ScrollerDefaultThickness = 14;   // across the scroller
inline constexpr int ScrollerDefaultButtonSize = 14;  // along, per arrow button
inline constexpr int ScrollerMinThumb = 32;

// Position, length and steps. Length counts positions (at least 2); Position
// runs from 0 to Length - 1; the page step is always four steps.
class TScrollerRange {
 public:
  int Position() const { return FPosition; }
  // The position before the last change.
  int LastPosition() const { return FLastPosition; }
  int Length() const { return FLength; }
  int Step() const { return FStep; }
  int PageStep() const { return FPageStep; }

  // Clamps to 0 .. Length - 1; true when the position changed.
  bool SetPosition(int Value);
  // Stores Value, at least 2. When the position lies at or past Value (taken
  // as 1 when not above 0) it moves to Value - 1 and the result is true: the
  // scroller tells its owner then.
  bool SetLength(int Value);
  // Below 1 is taken as 1, so the arrows always move and never backwards.
  void SetStep(int Value);

  // The user's moves; each gives whether the position changed.
  bool PageBack() { return SetPosition(FPosition - FPageStep); }
  bool PageForward() { return SetPosition(FPosition + FPageStep); }
  bool StepBack();
  bool StepForward();

 private:
  int FPosition = 0;
  int FLastPosition = 0;
  int FLength = 50;
  int FStep = 8;
  int FPageStep = 32;
};

// The thumb along the scroller (its height when vertical, its width when
// horizontal), from the scroller's start; End is exclusive. Without room the
// track is too short for the thumb: Start and End both lie in the middle and
// presses on the track only page.
struct TScrollerThumb {
  int Start = 0;
  int End = 0;
  bool Room = false;
  int Size() const { return End - Start; }
  friend constexpr bool operator==(const TScrollerThumb&, const TScrollerThumb&) = default;
};

// The thumb for a scroller Along pixels long with arrows of ButtonSize at each
// end: as long as the track less Length (at least MinThumb), placed in
// proportion to Position.
TScrollerThumb ScrollerThumb(int Along, int ButtonSize, int Length, int Position, int MinThumb = ScrollerMinThumb);

enum TScrollerHit { shBefore, shThumb, shAfter };
// What a press at At (along) meets: before the thumb, on it or after it.
TScrollerHit ScrollerHitTest(const TScrollerThumb& Thumb, int At);

// The position a thumb drag reaches when the pointer moved Offset pixels along
// from where the drag began at StartPosition: the free track (less arrows and
// thumb) spans all Length positions. Clamped to 0 .. Length - 1; without room
// the position stays.
int ScrollerDragPosition(int StartPosition, int Offset, int Along, int ButtonSize, const TScrollerThumb& Thumb,
                         int Length);

// The coordinate along the scroller of a client point, and the scroller's length along.
inline int ScrollerAlong(TScrollerDirection Direction, TPoint P) { return Direction == sdVertical ? P.Y : P.X; }
inline int ScrollerAlong(TScrollerDirection Direction, int Width, int Height) {
  return Direction == sdVertical ? Height : Width;
}
// The thumb as a client rectangle across the whole thickness (empty without room).
TRect ScrollerThumbRect(TScrollerDirection Direction, int Thickness, const TScrollerThumb& Thumb);

// Pauses of the auto-repeat while a button is held on the track: one page at
// the press, the next after InitPause, then one every RepeatPause.
struct TScrollerRepeat {
  int InitPause = 400;
  int RepeatPause = 100;
};
