// Window placements of forms: reading a form's bounds and state, and the
// nearest monitor's work area.
#include "kem3/framework/kemcfg_win.h"

#include "platform/geometry_win.h"
#include "platform/screen_win.h"

namespace {

// The restored rectangle of a window in screen coordinates. The system gives
// it in workspace coordinates (relative to the work area) for every top-level
// window that is not a tool window.
bool RestoredBounds(HWND Window, TRect& Bounds) {
  WINDOWPLACEMENT placement{};
  placement.length = sizeof(placement);
  if (!GetWindowPlacement(Window, &placement)) return false;
  Bounds = FromRECT(placement.rcNormalPosition);
  if ((GetWindowLongPtrW(Window, GWL_EXSTYLE) & WS_EX_TOOLWINDOW) == 0) {
    MONITORINFO info{};
    info.cbSize = sizeof(info);
    if (GetMonitorInfoW(MonitorFromWindow(Window, MONITOR_DEFAULTTONEAREST), &info)) {
      OffsetRect(Bounds, info.rcWork.left - info.rcMonitor.left, info.rcWork.top - info.rcMonitor.top);
    }
  }
  return true;
}

}  // namespace

TcfgWindowPlacement cfgFormPlacement(TCustomForm& Form) {
  TcfgWindowPlacement window;
  window.Bounds = Form.BoundsRect();
  window.BorderStyle = Form.BorderStyle();
  window.Position = Form.Position();
  window.State = Form.WindowState();
  if (window.State != wsNormal && Form.HandleAllocated()) {
    TRect restored;
    if (RestoredBounds(Form.Handle(), restored)) window.Bounds = restored;
  }
  return window;
}

TRect cfgWorkAreaNearest(const TRect& Rect) {
  if (Screen) {
    if (TMonitor* monitor = Screen->MonitorFromRect(Rect, mdNearest)) {
      // The primary monitor's as the system records it, the one the bar
      // starts in: Wine's monitor information does not follow a work area that
      // a docked program or a moved taskbar sets.
      return monitor->Primary() ? Screen->WorkAreaRect() : monitor->WorkareaRect();
    }
  }
  RECT work{};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  return FromRECT(work);
}

void cfgLoadFormPlacement(const String& Section, TCustomForm* Form, bool KeepSize, const TRect* Bounds,
                          TWindowState DefaultState, TSize MinSize) {
  if (!Form) return;
  TcfgWindowPlacement window = cfgFormPlacement(*Form);
  window.MinSize = MinSize;
  const TcfgPlacementResult result =
      cfgLoadPlacement(Section, window, KeepSize, Bounds, DefaultState, cfgWorkAreaNearest);
  // Bounds first, in the normal state: they become the restored bounds of a
  // form that is then maximised.
  if (Form->WindowState() != wsNormal && result.SetState && result.State == wsNormal) Form->SetWindowState(wsNormal);
  Form->SetBoundsRect(result.Bounds);
  // Making the window reports a restored size, which would undo a maximised
  // state set before it: the window is made first.
  if (result.SetState && result.State == wsMaximized) Form->HandleNeeded();
  if (result.SetState) Form->SetWindowState(result.State);
}

void cfgSaveFormPlacement(const String& Section, TCustomForm* Form, bool KeepSize) {
  if (!Form) return;
  cfgSavePlacement(Section, cfgFormPlacement(*Form), KeepSize);
}
