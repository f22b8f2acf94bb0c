// Window placements in the settings file: what is stored, and how a stored
// rectangle is fitted into the work area of the monitor nearest to it.
#include "kem3/framework/kemcfg.h"

#include <algorithm>
#include <cstdint>
#include <limits>

bool cfgSizeableStyle(TFormBorderStyle Style) {
  return Style == bsNone || Style == bsSizeable || Style == bsSizeToolWin;
}

bool cfgCentredPosition(TPosition Position) {
  return Position == poScreenCenter || Position == poDesktopCenter || Position == poMainFormCenter ||
         Position == poOwnerFormCenter;
}

namespace {

using Coord = std::int64_t;

// A length as a window can have it: at least Minimum (and 1), at most the limit.
Coord HeldLength(Coord Length, int Minimum) {
  const Coord least = std::clamp<Coord>(Minimum, 1, cfgPlacementLimit);
  return std::clamp<Coord>(Length, least, cfgPlacementLimit);
}

// One axis of the fit: a length larger than the room shrinks to it (when it
// may), never below Minimum; then the start moves so the end is inside, and
// the start never before the room's own start.
void FitAxis(Coord& Start, Coord& Length, Coord RoomStart, Coord RoomEnd, bool Shrink, int Minimum) {
  if (Shrink && Length > RoomEnd - RoomStart) Length = HeldLength(RoomEnd - RoomStart, Minimum);
  if (Start + Length > RoomEnd) Start = RoomEnd - Length;
  if (Start < RoomStart) Start = RoomStart;
}

// A start from which a window of the largest length still ends within int.
int Narrow(Coord Start) {
  return static_cast<int>(std::clamp<Coord>(Start, std::numeric_limits<int>::min(),
                                            Coord(std::numeric_limits<int>::max()) - cfgPlacementLimit));
}

// A stored position, held to what window messages can carry.
int ReadPosition(const String& Section, const String& Key, int Current) {
  return static_cast<int>(
      std::clamp<Coord>(cfgReadInt(Section, Key, Current), -cfgPlacementLimit - 1, cfgPlacementLimit));
}

// A stored size; a size of nothing or less would leave an invisible window and
// keeps the current one.
int ReadSize(const String& Section, const String& Key, int Current, int Minimum) {
  const int stored = cfgReadInt(Section, Key, 0);
  return static_cast<int>(stored > 0 ? HeldLength(stored, Minimum) : Current);
}

}  // namespace

TRect cfgFitPlacement(TRect Bounds, const TRect& WorkArea, TFormBorderStyle BorderStyle, TPosition Position,
                      bool KeepSize, TSize MinSize) {
  if (cfgCentredPosition(Position)) return Bounds;
  // A user who cannot see or grab the window cannot move it back: the window
  // is moved onto the work area before anything is cut off it, and only what
  // is larger than the work area gets smaller.
  const bool shrink = !KeepSize && cfgSizeableStyle(BorderStyle);
  Coord left = Bounds.Left, top = Bounds.Top;
  Coord width = HeldLength(Coord(Bounds.Right) - Bounds.Left, 1);
  Coord height = HeldLength(Coord(Bounds.Bottom) - Bounds.Top, 1);
  // The edges of the work area, not its extent: with the taskbar on the left
  // or top the work area does not start at 0, and a second monitor's never does.
  FitAxis(left, width, WorkArea.Left, WorkArea.Right, shrink, MinSize.cx);
  FitAxis(top, height, WorkArea.Top, WorkArea.Bottom, shrink, MinSize.cy);
  return ::Bounds(Narrow(left), Narrow(top), static_cast<int>(width), static_cast<int>(height));
}

TcfgPlacementResult cfgLoadPlacement(const String& Section, const TcfgWindowPlacement& Window, bool KeepSize,
                                     const TRect* Bounds, TWindowState DefaultState, const TcfgWorkAreaOf& WorkAreaOf) {
  const TRect start = Bounds ? *Bounds : Window.Bounds;
  int left = start.Left, top = start.Top;
  int width = static_cast<int>(HeldLength(Coord(start.Right) - start.Left, 1));
  int height = static_cast<int>(HeldLength(Coord(start.Bottom) - start.Top, 1));
  if (!KeepSize && cfgSizeableStyle(Window.BorderStyle)) {
    width = ReadSize(Section, "Width", width, Window.MinSize.cx);
    height = ReadSize(Section, "Height", height, Window.MinSize.cy);
  }
  const bool centred = cfgCentredPosition(Window.Position);
  if (!centred) {
    left = ReadPosition(Section, "Left", left);
    top = ReadPosition(Section, "Top", top);
  }

  TcfgPlacementResult result;
  result.Bounds = ::Bounds(left, top, width, height);
  if (!centred && WorkAreaOf) {
    result.Bounds = cfgFitPlacement(result.Bounds, WorkAreaOf(result.Bounds), Window.BorderStyle, Window.Position,
                                    KeepSize, Window.MinSize);
  }
  switch (cfgReadInt(Section, "State", DefaultState == wsMaximized ? 1 : 0)) {
    case 0:
      result.SetState = true;
      result.State = wsNormal;
      break;
    case 1:
      result.SetState = true;
      result.State = wsMaximized;
      break;
    default:
      break;
  }
  return result;
}

void cfgSavePlacement(const String& Section, const TcfgWindowPlacement& Window, bool KeepSize) {
  cfgBatchWrites([&] {
    if (!cfgCentredPosition(Window.Position)) {
      cfgWriteInt(Section, "Left", Window.Bounds.Left);
      cfgWriteInt(Section, "Top", Window.Bounds.Top);
    }
    if (!KeepSize && cfgSizeableStyle(Window.BorderStyle)) {
      cfgWriteInt(Section, "Width", Window.Bounds.Width());
      cfgWriteInt(Section, "Height", Window.Bounds.Height());
    }
    cfgWriteInt(Section, "State", Window.State == wsMaximized ? 1 : 0);
  });
}
