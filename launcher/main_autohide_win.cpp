// The bar's auto-hide timers, its screen areas and its global hotkeys: the
// Windows side of ov3autohide and ov3hotkeys.
#include <algorithm>
#include <cmath>

#include "kem3/controls/vosskinner_win.h"
#include "kem3/framework/kemcfg.h"
#include "kem3/framework/kemhi_win.h"
#include "kem3/framework/kemlan.h"
#include "kem3/framework/kemutil_win.h"
#include "launcher/launchlist_win.h"
#include "launcher/main_win.h"
#include "launcher/ov3cfg.h"
#include "platform/application_win.h"
#include "platform/exception_handler.h"
#include "platform/geometry_win.h"
#include "platform/screen_win.h"
#include "platform/unicode_convert.h"

namespace {

// Posted to the bar: a hook that could not be installed is shown once the
// code that tried is done, so creation and first show go on.
constexpr UINT kReportHookFailure = WM_APP + 2;

// The bar as the auto-hide machine sees it.
class TBarPlaceWin : public TOvBarPlace {
 public:
  explicit TBarPlaceWin(TfMain& Bar) : FBar(Bar) {}
  TRect BarBounds() override { return Bounds(FBar.Left(), FBar.Top(), FBar.Width(), FBar.Height()); }
  void MoveBar(int Left, int Top) override { FBar.SetBounds(Left, Top, FBar.Width(), FBar.Height()); }
  TPoint CursorPos() override {
    POINT P{};
    GetCursorPos(&P);
    return {P.x, P.y};
  }
  TSize ScreenSize() override { return {Screen->Width(), Screen->Height()}; }
  // Moving or sizing the bar by its skin holds it, and so does an open menu.
  bool HideBlocked() override {
    const TVosFormSkinner* skinner = FBar.Skinner();
    return FBar.MenuOpen() || (skinner && (skinner->Dragging() || skinner->Sizing()));
  }
  void BringToFront() override {
    ReleaseForegroundKey();
    ForceForegroundWindow(FBar.Handle());
  }
  void CloseHint() override { FBar.CloseBarHint(); }

 private:
  TfMain& FBar;
};

// The delays are kept as times with a unit; the timers count whole milliseconds.
int Milliseconds(int Id) {
  return static_cast<int>(std::clamp(std::lround(cfgGetFloatInUnit(Id, unMillisecond)), -1000000L, 1000000L));
}

bool ApplicationActive() {
  DWORD Process = 0;
  GetWindowThreadProcessId(GetForegroundWindow(), &Process);
  return Process == GetCurrentProcessId();
}

}  // namespace

void ReleaseForegroundKey() { keybd_event(VK_F24, 0, KEYEVENTF_KEYUP, 0); }

void TfMain::CreateAutoHide() {
  auto MakeTimer = [this](const char* Name, unsigned Interval, void (TfMain::*Handler)()) {
    TTimer* T = new TTimer(this);
    T->SetName(Name);
    T->SetEnabled(false);
    T->SetInterval(Interval);
    T->OnTimer = [this, Handler](TObject*) {
      (this->*Handler)();
      SyncAutoHideTimers();
    };
    return T;
  };
  FBarPlace = std::make_unique<TBarPlaceWin>(*this);
  FAutoHide = std::make_unique<TOvAutoHide>(*FBarPlace);
  tShowTimer = MakeTimer("tShowTimer", 500, &TfMain::ShowTimerTick);
  tHideTimer = MakeTimer("tHideTimer", kHideTimerInterval, &TfMain::HideTimerTick);
  tHideAnimate = MakeTimer("tHideAnimate", 10, &TfMain::HideAnimateTick);
  SetMessageHandler(WM_MOUSEHOOK, [this](TMessage& M) { HandleAreaMessage(M); });
  SetMessageHandler(WM_KEYBOARDHOOK, [this](TMessage& M) { HandleHotkeyMessage(M); });
  SetMessageHandler(kReportHookFailure, [this](TMessage&) { ReportHookFailure(); });
  // A new resolution moves the bottom and right areas.
  SetMessageHandler(WM_DISPLAYCHANGE, [this](TMessage& M) {
    SetHookAreas();
    M.Result = 0;
  });
}

void TfMain::ShowTimerTick() { FAutoHide->ShowTick(); }
void TfMain::HideTimerTick() { FAutoHide->HideTick(); }
void TfMain::HideAnimateTick() { FAutoHide->SlideTick(); }

void TfMain::SyncAutoHideTimers() {
  const TOvAutoHide& A = *FAutoHide;
  tHideTimer->SetEnabled(A.HideTimerOn());
  tHideAnimate->SetInterval(A.SlideInterval());
  tHideAnimate->SetEnabled(A.SlideTimerOn());
  tShowTimer->SetInterval(std::max(A.Settings.ShowDelay, 1));
  tShowTimer->SetEnabled(A.ShowTimerOn());
}

void TfMain::ReadAutoHideSettings() {
  TOvAutoHideSettings& S = FAutoHide->Settings;
  S.AutoHide = cfgGetBool(ovsAutoHide);
  S.AtOnce = cfgGetInt(ovsAutoHideMethod) == 1;
  S.HideDelay = Milliseconds(ovsAutoHideHideDelay);
  S.ShowDelay = Milliseconds(ovsAutoHideShowDelay);
  S.SlideStep = cfgGetInt(ovsAutoHideSteps);
  S.SlideInterval = Milliseconds(ovsAutoHideSpeed);
  S.AreaMode = cfgGetInt(ovsScreenArea);
  S.CustomAreas = cfgGetStr(ovsScreenAreas);
  FAutoHide->Vertical = FVertical;
}

void TfMain::ResetHideCountdown() {
  FAutoHide->ResetCountdown();
  if (!FAutoHide->HideTimerOn() || !tHideTimer->Enabled()) return;
  // Else the tick already under way would take the first step off the new countdown early.
  tHideTimer->SetEnabled(false);
  tHideTimer->SetEnabled(true);
}

void TfMain::AutoHideChanged() {
  ReadAutoHideSettings();
  FAutoHide->AutoHideChanged();
  SyncAutoHideTimers();
}

void TfMain::ShowBar() {
  FAutoHide->ShowBar();
  SyncAutoHideTimers();
}

void TfMain::ReportHookFailure() {
  if (std::exception_ptr Failure = std::exchange(FHookFailure, nullptr)) HandleEventException(this, Failure);
}

namespace {

// Keeps the exception being handled for the one report of a run.
void KeepHookFailure(TfMain& Bar, bool& Reported, std::exception_ptr& Failure) {
  if (Reported) return;
  Reported = true;
  Failure = std::current_exception();
  PostMessageW(Bar.Handle(), kReportHookFailure, 0, 0);
}

String HookMissing(const char* Missing) {
  return String("The hook library kem3.dll is missing or incomplete: ") + Missing;
}

// Runs a hook installation; a failure is kept for the one report.
// Missing: what the user loses without that function of the library.
bool TryInstallHook(TfMain& Bar, THookFunction Which, void (*Install)(HWND), const char* Missing, bool& Reported,
                    std::exception_ptr& Failure) {
  try {
    // Without the library, or that function of it, nothing would ever call the bar back.
    if (!HookFunctionBound(Which)) throw EKemHookError(HookMissing(Missing));
    Install(Bar.Handle());
    return true;
  } catch (const Exception&) {
    KeepHookFailure(Bar, Reported, Failure);
    return false;
  }
}

constexpr const char* kAreasLost = "screen areas are off, and auto-hide keeps the bar on the screen";

}  // namespace

void TfMain::InstallMouseHook() {
  FMouseHookInstalled =
      TryInstallHook(*this, hfMouseInstall, mhInstallHook,
                     "screen areas and global hotkeys are off, and auto-hide keeps the bar on the screen",
                     FHookFailureReported, FHookFailure);
  // Without the mouse hook no screen area would ever bring a hidden bar back.
  FAutoHide->SetCanComeBack(FMouseHookInstalled);
  SyncAutoHideTimers();
}

void TfMain::SetHookAreas() {
  if (!FMouseHookInstalled) return;
  const TSize Size{Screen->Width(), Screen->Height()};
  try {
    FAutoHide->SetScreenAreas(Size, cfgGetInt(ovsScreenEdgeSize), cfgGetInt(ovsScreenCornerSize),
                              [this](int N, const TRect& R) {
                                // A library that cannot hand back an area is no way back either.
                                if (!HookFunctionBound(hfSetArea) || !HookFunctionBound(hfGetArea))
                                  throw EKemHookError(HookMissing(kAreasLost));
                                try {
                                  mhSetArea(Handle(), N, 0, 1, R.Left, R.Top, R.Right, R.Bottom);
                                } catch (const EKemHookError& E) {
                                  // The hook's tables are full, or the library refuses.
                                  throw EKemHookError("The hook library kem3.dll could not set the screen areas (" +
                                                      E.Message + "): " + kAreasLost);
                                }
                              });
  } catch (const Exception&) {
    // Told once, as a missing hook is; the bar stays on the screen meanwhile.
    KeepHookFailure(*this, FHookFailureReported, FHookFailure);
  }
  SyncAutoHideTimers();
}

void TfMain::HandleAreaMessage(TMessage& Message) {
  Message.Result = 0;
  if (!FAutoHide->Hidden() || HookEventKind(Message.WParam) != hekEnter) return;
  const int Area = static_cast<int>(Message.LParam);
  const RECT R = mhGetArea(Handle(), Area, 0);
  FAutoHide->AreaEntered(Area, Rect(R.left, R.top, R.right, R.bottom));
  SyncAutoHideTimers();
}

void TfMain::InitHotkeys() {
  if (FHotkeysInitialised) return;
  FHotkeysInitialised = true;
  FKeyboardHookInstalled = TryInstallHook(*this, hfKeyboardInstall, khInstallHook, "global hotkeys are off",
                                          FHookFailureReported, FHookFailure);
  // The F24 hotkey lets the bar take the foreground when it needs to.
  FForegroundAtom = GlobalAddAtomA("OV3GAHK");
  RegisterHotKey(Handle(), FForegroundAtom, 0, VK_F24);
}

void TfMain::DoneHotkeys() {
  if (!FHotkeysInitialised) return;
  FHotkeysInitialised = false;
  UnregisterHotKey(Handle(), FForegroundAtom);
  GlobalDeleteAtom(FForegroundAtom);
  if (FKeyboardHookInstalled) {
    khClearHotkeys(Handle());
    khRemoveHook(Handle());
  }
  FHotkeys.Clear();
}

void TfMain::RebuildHotkeys() {
  if (!MainFormCreated || !FHotkeysInitialised) return;
  FHotkeys.Clear();
  FHotkeys.AddIcons(FGroupList);
  FHotkeys.AddOwn(ohkFocus, cfgGetStr(ovsFocusShortcut));
  FHotkeys.AddOwn(ohkAutoHide, cfgGetStr(ovsAutohideShortcut));
  const std::vector<TOvHookKey> Keys = FHotkeys.Apply();
  if (!FKeyboardHookInstalled) return;
  khClearHotkeys(Handle());
  for (const TOvHookKey& K : Keys) {
    try {
      khSetHotkey(Handle(), K.Id, K.Code, K.Flags);
    } catch (const Exception&) {
      return;  // the hook's table is full
    }
  }
}

void TfMain::FocusBar() {
  ReleaseForegroundKey();
  ForceForegroundWindow(Handle());
  if (FAutoHide->Hidden()) ShowBar();
}

void TfMain::HandleHotkeyMessage(TMessage& Message) {
  Message.Result = 0;
  if (FChooserOpen || Message.WParam != 0) return;
  const std::vector<TOvHotkeyTarget> Targets = FHotkeys.FindTargets(static_cast<int>(Message.LParam));
  if (Targets.empty()) return;
  const TOvHotkeyPress Press = SplitHotkeyTargets(Targets);
  ReleaseForegroundKey();
  TKemXmlTag* Choice = nullptr;
  if (Press.Icons.size() == 1) {
    Choice = Press.Icons[0];
  } else if (Press.Icons.size() > 1) {
    FChooserOpen = true;
    try {
      Choice = ChooseLaunchIcon(Press.Icons, FIconCache.get(), this);
    } catch (...) {
      FChooserOpen = false;
      throw;
    }
    FChooserOpen = false;
  }
  if (Choice) {
    LaunchIcon(Choice);
    return;
  }
  // Only without an icon do the bar's own commands run.
  for (int Own : Press.Own) {
    if (Own == ohkFocus) {
      FocusBar();
      continue;
    }
    if (Own != ohkAutoHide) continue;
    const HWND Front = GetForegroundWindow();
    switch (AutoHideKeyAction(cfgGetBool(ovsAutoHide), FAutoHide->Hidden(), ApplicationActive(),
                              Front && Front == ProgmanWindow())) {
      case akaShowAndStop:
        cfgSetValueNotify(ovsAutoHide, false);
        cfgApplyChanges(*this);
        break;
      case akaHideNow:
        FAutoHide->HideNow();
        SyncAutoHideTimers();
        break;
      case akaBringToFront:
        FocusBar();
        break;
      case akaStartAndHide:
        cfgSetValueNotify(ovsAutoHide, true);
        cfgApplyChanges(*this);
        FAutoHide->HideNow();
        SyncAutoHideTimers();
        break;
    }
  }
  UpdateActionStates();
}
