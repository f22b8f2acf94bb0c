// TScreen: the screen and its monitors (with their work areas, for placing a
// bar on the monitor it is on), the cursor, and the forms of the program.
#pragma once
#include <map>
#include <memory>
#include <vector>

#include "platform/component.h"
#include "platform/controls_types.h"
#include "platform/events.h"
#include "platform/geometry.h"
#include "platform/graphics.h"
#include "platform/winapi_win.h"

class TCustomForm;

enum TMonitorDefaultTo { mdNearest, mdNull, mdPrimary };

// One monitor. Its rectangles are asked of the system at each call, so they
// follow a moved taskbar or a changed resolution.
class TMonitor : public TObject {
 public:
  explicit TMonitor(HMONITOR Handle) : FHandle(Handle) {}
  HMONITOR Handle() const { return FHandle; }
  // Its position in Screen->Monitors, -1 once it is gone.
  int MonitorNum() const { return FMonitorNum; }
  bool Primary() const;
  TRect BoundsRect() const;
  // The monitor less the taskbar and docked bars.
  TRect WorkareaRect() const;
  int Left() const { return BoundsRect().Left; }
  int Top() const { return BoundsRect().Top; }
  int Width() const { return BoundsRect().Width(); }
  int Height() const { return BoundsRect().Height(); }

 private:
  friend class TScreen;
  HMONITOR FHandle;
  int FMonitorNum = -1;
};

class TScreen : public TComponent {
 public:
  explicit TScreen(TComponent* AOwner);
  ~TScreen() override;

  // The primary monitor.
  int Width() const;
  int Height() const;
  TRect WorkAreaRect() const;
  int WorkAreaLeft() const { return WorkAreaRect().Left; }
  int WorkAreaTop() const { return WorkAreaRect().Top; }
  int WorkAreaWidth() const { return WorkAreaRect().Width(); }
  int WorkAreaHeight() const { return WorkAreaRect().Height(); }
  // All monitors together.
  TRect DesktopRect() const;
  int PixelsPerInch() const;

  // Monitors as the system lists them now. A TMonitor stays valid for the
  // screen's life (one that went away reports MonitorNum -1).
  int MonitorCount();
  TMonitor* Monitors(int Index);
  TMonitor* PrimaryMonitor();
  // The monitor that holds the most of a window or rectangle, or the point;
  // when none does: the nearest (mdNearest), the primary, or nullptr (mdNull).
  TMonitor* MonitorFromWindow(HWND Window, TMonitorDefaultTo Default = mdNearest);
  TMonitor* MonitorFromRect(const TRect& Rect, TMonitorDefaultTo Default = mdNearest);
  TMonitor* MonitorFromPoint(const TPoint& Point, TMonitorDefaultTo Default = mdNearest);

  // The cursor of every window of ours while not crDefault; setting it shows it at once.
  TCursor Cursor() const { return FCursor; }
  void SetCursor(TCursor Value);
  // The system cursor of a standard number, or one registered with SetCursors
  // (IDC_ARROW for an unknown number). The screen owns registered cursors.
  HCURSOR Cursors(TCursor Index) const;
  void SetCursors(TCursor Index, HCURSOR Handle);

  // The fonts of menus and hints that draw themselves: Tahoma 8 in the
  // default character set until a language names its own.
  TFont* MenuFont() const { return FMenuFont.get(); }
  TFont* HintFont() const { return FHintFont.get(); }

  int FormCount() const { return static_cast<int>(FForms.size()); }
  TCustomForm* Forms(int Index) const;
  // The form that was activated last (nullptr once it is gone).
  TCustomForm* ActiveForm() const { return FActiveForm; }
  TNotifyEvent OnActiveFormChange;

 private:
  friend class TCustomForm;
  void AddForm(TCustomForm* Form);
  void RemoveForm(TCustomForm* Form);
  void SetActiveForm(TCustomForm* Form);
  void RefreshMonitors();
  TMonitor* Find(HMONITOR Handle);

  std::vector<TCustomForm*> FForms;
  TCustomForm* FActiveForm = nullptr;
  TCursor FCursor = crDefault;
  std::map<TCursor, HCURSOR> FCursors;
  std::vector<std::unique_ptr<TMonitor>> FMonitors;  // listed ones first, gone ones after
  int FMonitorCount = 0;
  std::unique_ptr<TFont> FMenuFont = std::make_unique<TFont>();
  std::unique_ptr<TFont> FHintFont = std::make_unique<TFont>();
};

// The screen object, made by InitApplication and freed by DoneApplication.
extern TScreen* Screen;
