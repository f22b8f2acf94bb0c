// THintWindow, and the application's hint: the control under the mouse, the
// pause before the hint window shows, hiding it when the mouse moves on.
#include "platform/hintwindow_win.h"

#include <algorithm>

#include "platform/application_win.h"
#include "platform/geometry_win.h"
#include "platform/hints.h"
#include "platform/screen_win.h"
#include "platform/timer.h"

namespace {

constexpr UINT kHintTextFlags = DT_LEFT | DT_NOPREFIX | DT_WORDBREAK;
// The widest a hint grows before its text wraps.
constexpr int kHintMaxWidth = 300;

}  // namespace

THintWindow::THintWindow(TComponent* AOwner) : TCustomControl(AOwner) {
  SetVisible(false);
  SetColor(clInfoBk);
  SetParentFont(false);
  Font()->SetColor(clInfoText);
}

void THintWindow::CreateParams(TCreateParams& Params) {
  TCustomControl::CreateParams(Params);
  Params.Style = WS_POPUP | WS_BORDER;
  Params.ExStyle = WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE;
  Params.WndParent = Application ? Application->Handle() : nullptr;
  Params.ClassStyle |= CS_SAVEBITS;
  Params.WinClassName = u"TOrvHintWindow";
}

HDC THintWindow::MeasureDC() {
  if (!FMeasure) {
    FMeasure = std::make_unique<TBitmap>();
    FMeasure->SetSize(1, 1);
  }
  FMeasure->Canvas()->SetFont(*Font());
  return FMeasure->Canvas()->Handle();
}

TRect THintWindow::CalcHintRect(int MaxWidth, const WideString& AHint, void* /*AData*/) {
  RECT r{0, 0, MaxWidth, 0};
  DrawTextW(MeasureDC(), WideCStr(AHint), -1, &r, DT_CALCRECT | kHintTextFlags);
  r.right += 6;
  r.bottom += 2;
  return FromRECT(r);
}

void THintWindow::Paint() {
  TRect r = ClientRect();
  r.Left += 2;
  r.Top += 2;
  Canvas()->SetFont(*Font());
  RECT rr = ToRECT(r);
  SetBkMode(Canvas()->Handle(), TRANSPARENT);
  const WideString text = Caption();
  DrawTextW(Canvas()->Handle(), WideCStr(text), -1, &rr, kHintTextFlags);
}

void THintWindow::TextChanged() {
  if (!FActivating) {
    const WideString text = Caption();
    SIZE size{};
    GetTextExtentPoint32W(MeasureDC(), WideCStr(text), static_cast<int>(text.size()), &size);
    SetBounds(Left(), Top(), size.cx + 6, size.cy + 6);
  }
  TCustomControl::TextChanged();
}

void THintWindow::ActivateHint(TRect Rect, const WideString& AHint) {
  FActivating = true;
  struct TDone {
    bool& flag;
    ~TDone() { flag = false; }
  } done{FActivating};
  SetCaption(AHint);
  // CalcHintRect leaves 2 pixels under the text; the border takes one on each side and the text starts 2 down.
  Rect.Bottom += 4;
  // Kept on the work area: moved left or up by what sticks out.
  const TRect area = Screen ? Screen->WorkAreaRect() : Rect;
  if (Rect.Right > area.Right) OffsetRect(Rect, area.Right - Rect.Right, 0);
  if (Rect.Bottom > area.Bottom) OffsetRect(Rect, 0, area.Bottom - Rect.Bottom);
  if (Rect.Left < area.Left) OffsetRect(Rect, area.Left - Rect.Left, 0);
  if (Rect.Top < area.Top) OffsetRect(Rect, 0, area.Top - Rect.Top);
  SetBoundsRect(Rect);
  SetWindowPos(Handle(), HWND_TOPMOST, Rect.Left, Rect.Top, Rect.Width(), Rect.Height(),
               SWP_SHOWWINDOW | SWP_NOACTIVATE);
  Invalidate();
}

void THintWindow::ActivateHintData(const TRect& Rect, const WideString& AHint, void* /*AData*/) {
  ActivateHint(Rect, AHint);
}

void THintWindow::ReleaseHandle() { DestroyHandle(); }

WideString GetEffectiveHint(const TControl* Control) {
  for (const TControl* c = Control; c; c = c->Parent()) {
    if (!c->Hint().empty()) return c->Hint();
  }
  return {};
}

TControl* FindControlAtPos(const TPoint& ScreenPos) {
  const POINT p = ToPOINT(ScreenPos);
  // A system window's own children (a combo box's edit part) stand for it.
  HWND hit = WindowFromPoint(p);
  TWinControl* window = FindControl(hit);
  while (!window && hit && (GetWindowLongPtrW(hit, GWL_STYLE) & WS_CHILD)) {
    hit = GetParent(hit);
    window = FindControl(hit);
  }
  if (!window) return nullptr;
  TControl* child = window->ControlAtPos(window->ScreenToClient(ScreenPos), false, false);
  return child ? child : window;
}

// ---- The application's hint ------------------------------------------------------

void TApplication::SetHint(const WideString& Value) {
  if (FHint == Value) return;
  FHint = Value;
  if (OnHint) OnHint(this);
}

void TApplication::SetShowHint(bool Value) {
  if (FShowHint == Value) return;
  FShowHint = Value;
  if (!Value) CancelHint();
}

void TApplication::DoMouseIdle() {
  POINT p;
  if (!GetCursorPos(&p)) return;
  TControl* control = GetCaptureControl();
  if (!control) control = FindControlAtPos(FromPOINT(p));
  if (control != FHintControl) {
    CancelHint();
    if (FHintControl) FHintControl->RemoveFreeNotification(this);
    FHintControl = control;
    if (control) control->FreeNotification(this);
    if (control && FShowHint && HintPause >= 0) {
      if (!FHintTimer) {
        FHintTimer = new TTimer(this);
        FHintTimer->OnTimer = [this](TObject*) { HintTimerExpired(); };
      }
      FHintTimer->SetInterval(static_cast<unsigned>(std::max(HintPause, 1)));
      FHintTimer->SetEnabled(true);
    }
  }
  RefreshHint();
}

void TApplication::RefreshHint() { SetHint(GetLongHint(GetEffectiveHint(FHintControl))); }

void TApplication::HintTimerExpired() {
  if (FHintTimer) FHintTimer->SetEnabled(false);
  POINT p;
  if (GetCursorPos(&p)) ActivateHint(FromPOINT(p));
}

void TApplication::ActivateHint(const TPoint& CursorPos) {
  TControl* control = FindControlAtPos(CursorPos);
  bool shows = false;
  for (const TControl* c = control; c && !shows; c = c->Parent()) shows = c->ShowHint();
  const WideString hint = GetShortHint(GetEffectiveHint(control));
  if (!FShowHint || !shows || hint.empty()) {
    CancelHint();
    return;
  }
  if (!FHintWindow) {
    FHintWindow = HintWindowClass ? HintWindowClass(this) : new THintWindow(this);
    FHintWindow->FreeNotification(this);
  }
  THintInfo info{control, CursorPos};
  TRect r = FHintWindow->CalcHintRect(kHintMaxWidth, hint, &info);
  // Below the pointer, clear of the cursor's picture.
  OffsetRect(r, CursorPos.X, CursorPos.Y + GetSystemMetrics(SM_CYCURSOR) / 2 + 4);
  FHintWindow->ActivateHintData(r, hint, &info);
}

void TApplication::CancelHint() {
  if (FHintTimer) FHintTimer->SetEnabled(false);
  if (FHintWindow) FHintWindow->ReleaseHandle();
}
