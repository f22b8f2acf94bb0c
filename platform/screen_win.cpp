// TScreen and TMonitor.
#include "platform/screen_win.h"
#include "platform/dc_win.h"

#include <algorithm>

#include "platform/forms_win.h"
#include "platform/geometry_win.h"
#include "platform/lists.h"

TScreen* Screen = nullptr;

namespace {

MONITORINFO Info(HMONITOR Monitor) {
  MONITORINFO info{};
  info.cbSize = sizeof(info);
  if (!GetMonitorInfoW(Monitor, &info)) info = MONITORINFO{};
  return info;
}

DWORD Flags(TMonitorDefaultTo Default) {
  switch (Default) {
    case mdNull:
      return MONITOR_DEFAULTTONULL;
    case mdPrimary:
      return MONITOR_DEFAULTTOPRIMARY;
    default:
      return MONITOR_DEFAULTTONEAREST;
  }
}

BOOL CALLBACK CollectMonitor(HMONITOR Monitor, HDC, LPRECT, LPARAM Data) {
  reinterpret_cast<std::vector<HMONITOR>*>(Data)->push_back(Monitor);
  return TRUE;
}

LPCWSTR StandardCursor(TCursor Index) {
  switch (Index) {
    case crCross:
      return reinterpret_cast<LPCWSTR>(IDC_CROSS);
    case crIBeam:
      return reinterpret_cast<LPCWSTR>(IDC_IBEAM);
    case crSizeNESW:
      return reinterpret_cast<LPCWSTR>(IDC_SIZENESW);
    case crSizeNS:
      return reinterpret_cast<LPCWSTR>(IDC_SIZENS);
    case crSizeNWSE:
      return reinterpret_cast<LPCWSTR>(IDC_SIZENWSE);
    case crSizeWE:
      return reinterpret_cast<LPCWSTR>(IDC_SIZEWE);
    case crUpArrow:
      return reinterpret_cast<LPCWSTR>(IDC_UPARROW);
    case crHourGlass:
    case crSQLWait:
      return reinterpret_cast<LPCWSTR>(IDC_WAIT);
    case crNoDrop:
    case crNo:
      return reinterpret_cast<LPCWSTR>(IDC_NO);
    case crAppStart:
      return reinterpret_cast<LPCWSTR>(IDC_APPSTARTING);
    case crHelp:
      return reinterpret_cast<LPCWSTR>(IDC_HELP);
    case crHandPoint:
      return reinterpret_cast<LPCWSTR>(IDC_HAND);
    case crSizeAll:
      return reinterpret_cast<LPCWSTR>(IDC_SIZEALL);
    default:
      return reinterpret_cast<LPCWSTR>(IDC_ARROW);
  }
}

}  // namespace

bool TMonitor::Primary() const { return (Info(FHandle).dwFlags & MONITORINFOF_PRIMARY) != 0; }

TRect TMonitor::BoundsRect() const { return FromRECT(Info(FHandle).rcMonitor); }

TRect TMonitor::WorkareaRect() const { return FromRECT(Info(FHandle).rcWork); }

TScreen::TScreen(TComponent* AOwner) : TComponent(AOwner) {}

TScreen::~TScreen() {
  for (auto& [index, cursor] : FCursors) DestroyCursor(cursor);
}

int TScreen::Width() const { return GetSystemMetrics(SM_CXSCREEN); }

int TScreen::Height() const { return GetSystemMetrics(SM_CYSCREEN); }

TRect TScreen::WorkAreaRect() const {
  RECT r{};
  if (!SystemParametersInfoW(SPI_GETWORKAREA, 0, &r, 0)) return Rect(0, 0, Width(), Height());
  return FromRECT(r);
}

TRect TScreen::DesktopRect() const {
  return Bounds(GetSystemMetrics(SM_XVIRTUALSCREEN), GetSystemMetrics(SM_YVIRTUALSCREEN),
                GetSystemMetrics(SM_CXVIRTUALSCREEN), GetSystemMetrics(SM_CYVIRTUALSCREEN));
}

int TScreen::PixelsPerInch() const {
  TScreenDC screen;
  return GetDeviceCaps(screen.Handle(), LOGPIXELSY);
}

void TScreen::RefreshMonitors() {
  std::vector<HMONITOR> handles;
  EnumDisplayMonitors(nullptr, nullptr, CollectMonitor, reinterpret_cast<LPARAM>(&handles));
  std::vector<std::unique_ptr<TMonitor>> listed, gone;
  for (HMONITOR h : handles) {
    auto it = std::find_if(FMonitors.begin(), FMonitors.end(), [&](auto& m) { return m && m->FHandle == h; });
    listed.push_back(it != FMonitors.end() ? std::move(*it) : std::make_unique<TMonitor>(h));
  }
  for (auto& m : FMonitors) {
    if (m) gone.push_back(std::move(m));
  }
  FMonitors.clear();
  FMonitorCount = static_cast<int>(listed.size());
  for (int i = 0; i < FMonitorCount; ++i) {
    listed[static_cast<size_t>(i)]->FMonitorNum = i;
    FMonitors.push_back(std::move(listed[static_cast<size_t>(i)]));
  }
  for (auto& m : gone) {
    m->FMonitorNum = -1;
    FMonitors.push_back(std::move(m));
  }
}

TMonitor* TScreen::Find(HMONITOR Handle) {
  if (!Handle) return nullptr;
  for (int pass = 0; pass < 2; ++pass) {
    for (int i = 0; i < FMonitorCount; ++i) {
      if (FMonitors[static_cast<size_t>(i)]->FHandle == Handle) return FMonitors[static_cast<size_t>(i)].get();
    }
    RefreshMonitors();  // a monitor we have not seen yet
  }
  return nullptr;
}

int TScreen::MonitorCount() {
  RefreshMonitors();
  return FMonitorCount;
}

TMonitor* TScreen::Monitors(int Index) {
  RefreshMonitors();
  if (Index < 0 || Index >= FMonitorCount) ListIndexError(Index);
  return FMonitors[static_cast<size_t>(Index)].get();
}

TMonitor* TScreen::PrimaryMonitor() { return Find(::MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY)); }

TMonitor* TScreen::MonitorFromWindow(HWND Window, TMonitorDefaultTo Default) {
  return Find(::MonitorFromWindow(Window, Flags(Default)));
}

TMonitor* TScreen::MonitorFromRect(const TRect& Rect, TMonitorDefaultTo Default) {
  RECT r = ToRECT(Rect);
  return Find(::MonitorFromRect(&r, Flags(Default)));
}

TMonitor* TScreen::MonitorFromPoint(const TPoint& Point, TMonitorDefaultTo Default) {
  return Find(::MonitorFromPoint(ToPOINT(Point), Flags(Default)));
}

void TScreen::SetCursor(TCursor Value) {
  if (FCursor == Value) return;
  FCursor = Value;
  if (Value == crDefault) {
    // Moving the pointer onto itself makes the window under it set its own cursor again.
    POINT p;
    if (GetCursorPos(&p)) SetCursorPos(p.x, p.y);
  } else {
    ::SetCursor(Cursors(Value));
  }
}

HCURSOR TScreen::Cursors(TCursor Index) const {
  if (Index == crNone) return nullptr;
  auto it = FCursors.find(Index);
  if (it != FCursors.end()) return it->second;
  return LoadCursorW(nullptr, StandardCursor(Index));
}

void TScreen::SetCursors(TCursor Index, HCURSOR Handle) {
  auto it = FCursors.find(Index);
  if (it != FCursors.end()) {
    DestroyCursor(it->second);
    FCursors.erase(it);
  }
  if (Handle) FCursors[Index] = Handle;
}

TCustomForm* TScreen::Forms(int Index) const {
  if (Index < 0 || Index >= FormCount()) ListIndexError(Index);
  return FForms[static_cast<size_t>(Index)];
}

void TScreen::AddForm(TCustomForm* Form) {
  if (std::find(FForms.begin(), FForms.end(), Form) == FForms.end()) FForms.push_back(Form);
}

void TScreen::RemoveForm(TCustomForm* Form) {
  std::erase(FForms, Form);
  if (FActiveForm == Form) FActiveForm = nullptr;
}

void TScreen::SetActiveForm(TCustomForm* Form) {
  if (FActiveForm == Form) return;
  FActiveForm = Form;
  if (OnActiveFormChange) OnActiveFormChange(this);
}
