#include "kem3/controls/kemhint_win.h"

#include <algorithm>
#include <memory>

#include "kem3/controls/kemhint.h"
#include "platform/application_win.h"
#include "platform/screen_win.h"

namespace {

std::unique_ptr<THintWindow> GHint;
int GMaxWidth = -1;
int GShowCount = 0;
bool GShown = false;
HHOOK GHook = nullptr;
// Wide enough that a line measured in it is never wrapped.
constexpr int kUnbrokenWidth = 1 << 20;

bool EndsHint(const MSG& Msg) {
  if (auto* Kem = dynamic_cast<const TKemHintWindow*>(GHint.get())) return Kem->IsHintMsg(Msg);
  return false;
}

LRESULT CALLBACK HintMessageHook(int Code, WPARAM WParam, LPARAM LParam) {
  const LRESULT Result = CallNextHookEx(GHook, Code, WParam, LParam);
  // A message only peeked at is still to come: counting it too would release
  // one show twice.
  if (Code >= 0 && WParam == PM_REMOVE && EndsHint(*reinterpret_cast<const MSG*>(LParam))) ReleaseHint();
  return Result;
}

void InstallHintMessageHook() {
  if (!GHook) GHook = SetWindowsHookExW(WH_GETMESSAGE, HintMessageHook, nullptr, GetCurrentThreadId());
}

void RemoveHintMessageHook() {
  if (GHook) UnhookWindowsHookEx(GHook);
  GHook = nullptr;
}

}  // namespace

bool TKemHintWindow::IsHintMsg(const MSG& Msg) const {
  const UINT M = Msg.message;
  return (M >= WM_KEYFIRST && M <= WM_KEYLAST) || M == WM_COMMAND || M == WM_LBUTTONDOWN || M == WM_RBUTTONDOWN ||
         M == WM_MBUTTONDOWN || M == WM_NCLBUTTONDOWN || M == WM_NCRBUTTONDOWN || M == WM_ACTIVATEAPP;
}

void TKemHintWindow::Paint() {
  TRect R = ClientRect();
  R.Left += InsetX + 2;
  R.Top += InsetY + 2;
  TFont F;
  F.Assign(*Font());
  if (Screen) F.SetColor(Screen->HintFont()->Color());
  Canvas()->SetFont(F);
  RECT RR{R.Left, R.Top, R.Right, R.Bottom};
  SetBkMode(Canvas()->Handle(), TRANSPARENT);
  const WideString Text = Caption();
  DrawTextW(Canvas()->Handle(), reinterpret_cast<const wchar_t*>(Text.c_str()), -1, &RR, DT_WORDBREAK | DT_NOPREFIX);
}

TRect TKemHintWindow::TakeHintArea(const TRect& Rect) {
  const TPoint P = FHasHintPoint ? FHintPoint : TPoint{Rect.Left, Rect.Top};
  FHasHintPoint = false;
  TMonitor* M = Screen ? Screen->MonitorFromPoint(P) : nullptr;
  return M ? M->BoundsRect() : Rect;
}

TRect TKemHintWindow::SetHintBounds(TRect Rect, const WideString& AHint) {
  // The caption must not size the window by itself here.
  SetActivating(true);
  SetCaption(AHint);
  SetActivating(false);
  Rect = KeepHintInside(Rect, TakeHintArea(Rect));
  SetBoundsRect(Rect);
  return Rect;
}

void TKemHintWindow::ActivateHint(TRect Rect, const WideString& AHint) {
  // As the plain window: room for the border and the margin under the text.
  Rect.Bottom += 4;
  Rect = SetHintBounds(Rect, AHint);
  SetWindowPos(Handle(), HWND_TOPMOST, Rect.Left, Rect.Top, Rect.Width(), Rect.Height(),
               SWP_SHOWWINDOW | SWP_NOACTIVATE);
  Invalidate();
}

void CreateHintWindow() {
  FreeHintWindow();
  if (Application && Application->HintWindowClass)
    GHint.reset(Application->HintWindowClass(nullptr));
  else
    GHint = std::make_unique<TKemHintWindow>(nullptr);
  GHint->SetColor(0xC0FFFF);
  GShown = false;
  GShowCount = 0;
}

void FreeHintWindow() {
  HideHintWindow();
  GHint.reset();
}

void RecreateHintWindow() { CreateHintWindow(); }

THintWindow* GlobalHintWindow() { return GHint.get(); }

void SetHintMaxWidth(int Width) { GMaxWidth = Width; }

int HintMaxWidth() { return GMaxWidth >= 0 ? GMaxWidth : GetSystemMetrics(SM_CXSCREEN); }

void ShowHintAt(const WideString& Text, TPoint P, int HAlign, int VAlign, int ExtraWidth, int ExtraHeight) {
  ++GShowCount;
  if (!Application || !Application->ShowHint()) return;
  if (!GHint) CreateHintWindow();
  TMonitor* Monitor = Screen ? Screen->MonitorFromPoint(P) : nullptr;
  const TRect Area =
      Monitor ? Monitor->BoundsRect() : Bounds(0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
  // A hint as wide as the screen would cover what it tells about: it takes
  // half the monitor at most, its text in lines of that width and cut after
  // a few of them.
  const int MaxWidth = std::max(1, std::min(HintMaxWidth(), Area.Width() / 2));
  const WideString Broken = BreakHintLines(Text, MaxWidth, kHintMaxLines, [&](const WideString& Line) {
    return GHint->CalcHintRect(kUnbrokenWidth, Line, nullptr).Width() + ExtraWidth;
  });
  // Nor does it outgrow the monitor's height, whatever its font: a taller text is cut.
  // The plain window adds 4 pixels under the text when it is placed.
  const WideString Shown = FitHintText(Broken, {Area.Width(), Area.Height() - 4}, [&](const WideString& T) {
    const TRect R = GHint->CalcHintRect(MaxWidth, T, nullptr);
    return TSize{R.Width() + ExtraWidth, R.Height() + ExtraHeight};
  });
  const TRect Size = GHint->CalcHintRect(MaxWidth, Shown, nullptr);
  if (auto* Kem = dynamic_cast<TKemHintWindow*>(GHint.get())) {
    Kem->InsetX = ExtraWidth / 2;
    Kem->InsetY = ExtraHeight / 2;
    Kem->SetHintPoint(P);
  }
  GHint->ActivateHint(HintRectAt(P, {Size.Width() + ExtraWidth, Size.Height() + ExtraHeight}, HAlign, VAlign), Shown);
  if (!GShown) {
    InstallHintMessageHook();
    GShown = true;
  }
}

void ReleaseHint() {
  if (--GShowCount <= 0) HideHintWindow();
}

void HideHintWindow() {
  GShowCount = 0;
  if (!GShown) return;
  RemoveHintMessageHook();
  if (GHint) GHint->ReleaseHandle();
  GShown = false;
}

bool IsHintWindowShown() { return GShown; }
