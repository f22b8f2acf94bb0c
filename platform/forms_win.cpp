// TCustomForm: the form's window, showing and hiding, activation and focus,
// closing, modal showing and deferred freeing.
#include "platform/forms_win.h"

#include <algorithm>
#include <vector>

#include "platform/application_win.h"
#include "platform/deferred_release.h"
#include "platform/geometry_win.h"
#include "platform/menus_win.h"
#include "platform/screen_win.h"
#include "platform/scrollbox_win.h"

namespace {

// The enabled, visible top-level windows of this thread other than Except:
// disabled while a modal form runs, enabled again after it.
struct TTaskWindows {
  HWND except;
  std::vector<HWND> windows;
};

BOOL CALLBACK CollectTaskWindow(HWND Window, LPARAM Data) {
  auto* c = reinterpret_cast<TTaskWindows*>(Data);
  if (Window != c->except && IsWindowVisible(Window) && IsWindowEnabled(Window)) c->windows.push_back(Window);
  return TRUE;
}

std::vector<HWND> DisableTaskWindows(HWND Except) {
  TTaskWindows collect{Except, {}};
  EnumThreadWindows(GetCurrentThreadId(), CollectTaskWindow, reinterpret_cast<LPARAM>(&collect));
  for (HWND window : collect.windows) EnableWindow(window, FALSE);
  return collect.windows;
}

void EnableTaskWindows(const std::vector<HWND>& Windows) {
  for (HWND window : Windows) {
    if (IsWindow(window)) EnableWindow(window, TRUE);
  }
}

}  // namespace

template <class F>
void TCustomForm::Guarded(F&& f) {
  try {
    f();
  } catch (...) {
    if (!Application) throw;
    Application->HandleException(this, std::current_exception());
  }
}

TCustomForm::TCustomForm(TComponent* AOwner) : TWinControl(AOwner), FCanvas(std::make_unique<TControlCanvas>(this)) {
  SetControlStyle({csAcceptsControls, csCaptureMouse, csClickEvents, csDoubleClicks});
  SetVisible(false);
  SetColor(clBtnFace);
  SetParentFont(false);
  SetBounds(0, 0, 320, 240);
  if (Screen) Screen->AddForm(this);
}

TCustomForm::~TCustomForm() {
  // The window goes before the components: it must not take the menu with it.
  SetMenu(nullptr);
  if (Screen) Screen->RemoveForm(this);
  FCanvas->FreeHandle();
}

void TCustomForm::AfterConstruction() {
  Guarded([&] { DoCreate(); });
}

void TCustomForm::BeforeDestruction() {
  TWinControl::BeforeDestruction();
  Guarded([&] { DoDestroy(); });
}

void TCustomForm::DoCreate() {
  if (OnCreate) OnCreate(this);
}

void TCustomForm::DoDestroy() {
  if (OnDestroy) OnDestroy(this);
}

void TCustomForm::DoShow() {
  if (OnShow) OnShow(this);
}

void TCustomForm::DoHide() {
  if (OnHide) OnHide(this);
}

void TCustomForm::DoClose(TCloseAction& Action) {
  if (OnClose) OnClose(this, Action);
}

void TCustomForm::Activate() {
  if (OnActivate) OnActivate(this);
}

void TCustomForm::Deactivate() {
  if (OnDeactivate) OnDeactivate(this);
}

void TCustomForm::Paint() {
  if (OnPaint) OnPaint(this);
}

// ---- The window ------------------------------------------------------------------

void TCustomForm::CreateParams(TCreateParams& Params) {
  TWinControl::CreateParams(Params);
  Params.Style = WS_CLIPCHILDREN;
  if (!Enabled()) Params.Style |= WS_DISABLED;
  Params.ExStyle = 0;
  // Owned by the hidden application window: no taskbar button of its own.
  Params.WndParent = Application ? Application->Handle() : nullptr;
  switch (FBorderStyle) {
    case bsNone:
      Params.Style |= WS_POPUP;
      break;
    case bsSingle:
      Params.Style |= WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;
      break;
    case bsSizeable:
      Params.Style |= WS_CAPTION | WS_THICKFRAME | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;
      break;
    case bsDialog:
      Params.Style |= WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
      Params.ExStyle |= WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE;
      break;
    case bsToolWindow:
      Params.Style |= WS_CAPTION | WS_SYSMENU;
      Params.ExStyle |= WS_EX_TOOLWINDOW;
      break;
    case bsSizeToolWin:
      Params.Style |= WS_CAPTION | WS_THICKFRAME | WS_SYSMENU;
      Params.ExStyle |= WS_EX_TOOLWINDOW;
      break;
  }
  if (FFormStyle == fsStayOnTop) Params.ExStyle |= WS_EX_TOPMOST;
  Params.WinClassName = u"TOrvForm";
}

TRect TCustomForm::ClientRect() {
  if (HandleAllocated() && !IsIconic(Handle())) return TWinControl::ClientRect();
  // No window (or an iconic one): the borders its style would give.
  TCreateParams params;
  CreateParams(params);
  RECT frame{0, 0, 0, 0};
  AdjustWindowRectEx(&frame, params.Style, FALSE, params.ExStyle);
  const int frameWidth = static_cast<int>(frame.right - frame.left);
  const int frameHeight = static_cast<int>(frame.bottom - frame.top);
  return Rect(0, 0, std::max(0, Width() - frameWidth), std::max(0, Height() - frameHeight));
}

void TCustomForm::SetBorderStyle(TFormBorderStyle Value) {
  if (FBorderStyle == Value) return;
  FBorderStyle = Value;
  RecreateWnd();
}

void TCustomForm::SetFormStyle(TFormStyle Value) {
  if (FFormStyle == Value) return;
  FFormStyle = Value;
  if (HandleAllocated()) {
    SetWindowPos(Handle(), Value == fsStayOnTop ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  }
}

void TCustomForm::SetWindowState(TWindowState Value) {
  if (FWindowState == Value) return;
  FWindowState = Value;
  if (HandleAllocated() && Visible()) {
    ShowWindow(Handle(), Value == wsMinimized ? SW_MINIMIZE : Value == wsMaximized ? SW_MAXIMIZE : SW_RESTORE);
  }
}

void TCustomForm::PaintWindow(HDC DC) {
  TWinControl::PaintWindow(DC);
  FCanvas->Lock();
  FCanvas->FreeHandle();
  FCanvas->SetHandle(DC);
  try {
    Paint();
  } catch (...) {
    FCanvas->SetHandle(nullptr);
    FCanvas->Unlock();
    throw;
  }
  FCanvas->SetHandle(nullptr);
  FCanvas->Unlock();
}

// ---- Showing ------------------------------------------------------------------------

void TCustomForm::Show() {
  SetVisible(true);
  BringToFront();
}

void TCustomForm::VisibleChanged() {
  if (Visible()) {
    HandleNeeded();
    // OnShow runs before the window appears, so it can still change what shows.
    Guarded([&] { DoShow(); });
    if (!Visible() || !HandleAllocated()) return;
    PlaceForShow();
    const int command = FWindowState == wsMaximized   ? SW_SHOWMAXIMIZED
                        : FWindowState == wsMinimized ? SW_SHOWMINIMIZED
                                                      : SW_SHOWNORMAL;
    ShowWindow(Handle(), command);
  } else {
    Guarded([&] { DoHide(); });
    if (HandleAllocated()) ShowWindow(Handle(), SW_HIDE);
  }
}

void TCustomForm::PlaceForShow() {
  TRect around;
  switch (FPosition) {
    case poScreenCenter:
      around = Screen ? Rect(0, 0, Screen->Width(), Screen->Height()) : TRect{};
      break;
    case poDesktopCenter:
      around = Screen ? Screen->DesktopRect() : TRect{};
      break;
    case poMainFormCenter:
    case poOwnerFormCenter: {
      TCustomForm* center = FPosition == poOwnerFormCenter ? dynamic_cast<TCustomForm*>(Owner()) : nullptr;
      if (!center && Application) center = Application->MainForm();
      if (center && center != this && center->Visible()) {
        around = center->BoundsRect();
      } else if (Screen) {
        around = Rect(0, 0, Screen->Width(), Screen->Height());
      }
      break;
    }
    default:
      return;
  }
  if (IsRectEmpty(around)) return;
  SetBounds(around.Left + (around.Width() - Width()) / 2, around.Top + (around.Height() - Height()) / 2, Width(),
            Height());
}

// ---- Activation and focus ---------------------------------------------------------

void TCustomForm::DispatchDefault(TMessage& Message) {
  if (DispatchMenuMessage(FMenu, Message)) return;
  switch (Message.Msg) {
    case WM_CLOSE:
      Close();
      Message.Result = 0;
      return;
    case WM_ACTIVATE:
      DefaultHandler(Message);
      if (LOWORD(Message.WParam) != WA_INACTIVE) {
        FActive = true;
        if (Screen) Screen->SetActiveForm(this);
        if (FActiveControl && FActiveControl != this && FActiveControl->CanFocus()) {
          ::SetFocus(FActiveControl->Handle());
        }
        Activate();
      } else {
        FActive = false;
        Deactivate();
      }
      return;
    case WM_SIZE:
      DefaultHandler(Message);
      // A hidden window reports its creation size as "restored"; only what the
      // user sees changes the state, so a form set maximised before its first
      // show still shows maximised.
      if (!IsWindowVisible(Handle())) return;
      if (Message.WParam == SIZE_MINIMIZED) {
        FWindowState = wsMinimized;
      } else if (Message.WParam == SIZE_MAXIMIZED) {
        FWindowState = wsMaximized;
      } else if (Message.WParam == SIZE_RESTORED) {
        FWindowState = wsNormal;
      }
      return;
    case WM_QUERYENDSESSION:
      Message.Result = CloseQuery() ? TRUE : FALSE;
      return;
    case WM_ENDSESSION:
      // Whichever of our windows hears it first saves for all of them.
      if (Message.WParam && Application) Application->EndSession();
      Message.Result = 0;
      return;
    default:
      TWinControl::DispatchDefault(Message);
      return;
  }
}

void TCustomForm::SetActiveControl(TWinControl* Control) {
  if (Control && (Control == this || GetParentForm(Control) != this)) {
    throw EInvalidOperation("Invalid ActiveControl value");
  }
  FActiveControl = Control;
  if (Control && FActive && Control->CanFocus()) ::SetFocus(Control->Handle());
}

void TCustomForm::FocusChanged(TWinControl* Control) {
  if (Control == this) return;
  // Whatever took the focus is seen whole, in every scroll box around it
  // (the innermost first, so the outer ones scroll to where it lies then).
  for (TWinControl* p = Control->Parent(); p && p != this; p = p->Parent()) {
    if (auto* box = dynamic_cast<TScrollBox*>(p)) box->ScrollInView(Control);
  }
  FActiveControl = Control;
  if (FFocusedControl == Control) return;
  TWinControl* old = FFocusedControl;
  FFocusedControl = Control;
  if (old) old->DoExit();
  Control->DoEnter();
}

void TCustomForm::ControlRemoved(TControl* Control) {
  // By the parent chain, not by type: a control that is being destroyed is no
  // longer of its own class.
  auto inside = [&](TControl* c) {
    for (; c; c = c->Parent()) {
      if (c == Control) return true;
    }
    return false;
  };
  if (inside(FActiveControl)) FActiveControl = nullptr;
  if (inside(FFocusedControl)) FFocusedControl = nullptr;
}

void TCustomForm::SelectNext(TWinControl* CurControl, bool GoForward, bool CheckTabStop) {
  std::vector<TWinControl*> order;
  GetTabOrderList(order);
  const int n = static_cast<int>(order.size());
  if (n == 0) return;
  int start = static_cast<int>(std::find(order.begin(), order.end(), CurControl) - order.begin());
  if (start == n) start = GoForward ? n - 1 : 0;
  for (int step = 1; step <= n; ++step) {
    const int i = ((start + (GoForward ? step : -step)) % n + n) % n;
    TWinControl* c = order[static_cast<size_t>(i)];
    if (c->CanFocus() && (!CheckTabStop || c->TabStop())) {
      c->SetFocus();
      return;
    }
  }
}

bool TCustomForm::CanFocus() const { return Visible() && Enabled(); }

void TCustomForm::SetFocus() {
  if (!CanFocus()) throw EInvalidOperation("Cannot focus a disabled or invisible window");
  if (FActiveControl && FActiveControl->CanFocus()) {
    ::SetFocus(FActiveControl->Handle());
  } else {
    ::SetFocus(Handle());
  }
}

void TCustomForm::MouseWheelHandler(TMessage& Message) {
  // The focused control first, then its parents up to the form.
  MouseWheelChain(FActiveControl ? static_cast<TControl*>(FActiveControl) : this, Message);
}

// ---- Closing ------------------------------------------------------------------------

bool TCustomForm::CloseQuery() {
  bool canClose = true;
  if (OnCloseQuery) OnCloseQuery(this, canClose);
  return canClose;
}

void TCustomForm::Close() {
  if (FModal) {
    FModalResult = mrCancel;
    return;
  }
  if (!CloseQuery()) return;
  TCloseAction action = caHide;
  DoClose(action);
  if (action == caNone) return;
  if (Application && Application->MainForm() == this) {
    Application->Terminate();
  } else if (action == caHide) {
    Hide();
  } else if (action == caMinimize) {
    SetWindowState(wsMinimized);
  } else {
    Release();
  }
}

void TCustomForm::CloseModal() {
  try {
    TCloseAction action = caNone;
    if (CloseQuery()) {
      action = caHide;
      DoClose(action);
    }
    if (action == caNone) {
      FModalResult = mrNone;
    } else if (action == caFree) {
      Release();
    }
  } catch (...) {
    FModalResult = mrNone;
    if (!Application) throw;
    Application->HandleException(this, std::current_exception());
  }
}

TModalResult TCustomForm::ShowModal() {
  if (Visible() || !Enabled() || FModal) throw EInvalidOperation("Cannot make a visible window modal");
  if (!Application) throw EInvalidOperation("A modal form needs the application");
  SetCaptureControl(nullptr);
  // Forms released meanwhile wait until the modal loop is over.
  TMessageHandlerScope busy;
  FModal = true;
  HWND activeBefore = GetActiveWindow();
  std::vector<HWND> disabled = DisableTaskWindows(Handle());
  FModalResult = mrNone;
  TModalResult result = mrNone;
  try {
    Show();
    do {
      try {
        Application->HandleMessage();
      } catch (...) {
        Application->HandleException(Application, std::current_exception());
      }
      if (Application->Terminated()) {
        FModalResult = mrCancel;
      } else if (FModalResult != mrNone) {
        CloseModal();
      }
    } while (FModalResult == mrNone);
    result = FModalResult;
    if (GetActiveWindow() != Handle()) activeBefore = nullptr;
    Hide();
  } catch (...) {
    EnableTaskWindows(disabled);
    FModal = false;
    throw;
  }
  EnableTaskWindows(disabled);
  if (activeBefore && IsWindow(activeBefore)) SetActiveWindow(activeBefore);
  FModal = false;
  return result;
}

void TCustomForm::Release() { ReleaseComponent(this); }

bool TCustomForm::FormDialogChar(WideChar Key, TShiftState Shift) {
  return BroadcastDialogCharMessage(this, Key, Shift);
}

bool TCustomForm::FormDialogKey(std::uint16_t /*Key*/, TShiftState /*Shift*/) { return false; }

bool BroadcastDialogCharMessage(TWinControl* Root, WideChar Key, TShiftState Shift) {
  if (!Root) return false;
  for (int i = 0; i < Root->ControlCount(); ++i) {
    TControl* child = Root->Controls(i);
    if (child->Perform(CM_DIALOGCHAR, Key, static_cast<LPARAM>(Shift.ToMask())) != 0) return true;
    auto* w = dynamic_cast<TWinControl*>(child);
    if (w && BroadcastDialogCharMessage(w, Key, Shift)) return true;
    // A handler may have freed controls.
    if (i >= Root->ControlCount()) break;
  }
  return false;
}
