// Window placements in the settings file: what is stored, and how a stored
// rectangle is fitted into the work area of the monitor nearest to it.
#include "kem3/framework/kemcfg.h"

#include <algorithm>

bool cfgSizeableStyle(TFormBorderStyle Style) {
  return Style == bsNone || Style == bsSizeable || Style == bsSizeToolWin;
}

bool cfgCentredPosition(TPosition Position) {
  return Position == poScreenCenter || Position == poDesktopCenter || Position == poMainFormCenter ||
         Position == poOwnerFormCenter;
}

TRect cfgFitPlacement(TRect Bounds, const TRect& WorkArea, TFormBorderStyle BorderStyle, TPosition Position,
                      bool KeepSize) {
  if (cfgCentredPosition(Position)) return Bounds;
  int left = Bounds.Left, top = Bounds.Top, width = Bounds.Width(), height = Bounds.Height();
  // The edges of the work area, not its extent: with the taskbar on the left
  // or top the work area does not start at 0, and a second monitor's never does.
  if (left >= WorkArea.Right) left = WorkArea.Right - width;
  if (top >= WorkArea.Bottom) top = WorkArea.Bottom - height;
  if (left < WorkArea.Left) left = WorkArea.Left;
  if (top < WorkArea.Top) top = WorkArea.Top;

  const bool shrink = !KeepSize && cfgSizeableStyle(BorderStyle);
  if (left + width > WorkArea.Right) {
    if (shrink) {
      width = WorkArea.Right - left;
    } else {
      // A window wider than the work area keeps its left part on screen.
      left = std::max(WorkArea.Right - width, WorkArea.Left);
    }
  }
  if (top + height > WorkArea.Bottom) {
    if (shrink) {
      height = WorkArea.Bottom - top;
    } else {
      top = std::max(WorkArea.Bottom - height, WorkArea.Top);
    }
  }
  return ::Bounds(left, top, width, height);
}

TcfgPlacementResult cfgLoadPlacement(const String& Section, const TcfgWindowPlacement& Window, bool KeepSize,
                                     const TRect* Bounds, TWindowState DefaultState, const TcfgWorkAreaOf& WorkAreaOf) {
  const TRect start = Bounds ? *Bounds : Window.Bounds;
  int left = start.Left, top = start.Top, width = start.Width(), height = start.Height();
  if (!KeepSize && cfgSizeableStyle(Window.BorderStyle)) {
    // A hand-edited size of nothing would leave an invisible window.
    const int w = cfgReadInt(Section, "Width", width);
    const int h = cfgReadInt(Section, "Height", height);
    if (w > 0) width = w;
    if (h > 0) height = h;
  }
  const bool centred = cfgCentredPosition(Window.Position);
  if (!centred) {
    left = cfgReadInt(Section, "Left", left);
    top = cfgReadInt(Section, "Top", top);
  }

  TcfgPlacementResult result;
  result.Bounds = ::Bounds(left, top, width, height);
  if (!centred && WorkAreaOf) {
    result.Bounds =
        cfgFitPlacement(result.Bounds, WorkAreaOf(result.Bounds), Window.BorderStyle, Window.Position, KeepSize);
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
