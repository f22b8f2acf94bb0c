// TApplication: hidden window, message loop, idle work, exception display.
#include "platform/application_win.h"

#include <vector>

#include "platform/deferred_release.h"
#include "platform/exception_handler.h"
#include "platform/hintwindow_win.h"
#include "platform/messages_win.h"
#include "platform/screen_win.h"
#include "platform/synchronize.h"
#include "platform/sysutils.h"
#include "platform/timer.h"
#include "platform/unicode_convert.h"
#include "platform/win_util_win.h"

TApplication* Application = nullptr;

namespace {

TExceptionHandler gPreviousHandler;

}  // namespace

TApplication::TApplication(TComponent* AOwner) : TComponent(AOwner) {
  static const wchar_t* const kClass = L"TOrvApplication";
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof(wc);
  wc.lpfnWndProc = WindowProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hIcon = LoadIconW(wc.hInstance, L"MAINICON");
  wc.lpszClassName = kClass;
  RegisterClassExW(&wc);  // fails harmlessly when a former application registered it
  String exe = ExeName();
  FTitle = Utf8ToWide(ChangeFileExt(ExtractFileName(exe), ""));
  FHandle = CreateWindowExW(0, kClass, WideCStr(FTitle), WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, wc.hInstance, nullptr);
  if (!FHandle) throw EOSError("Could not create the application window: " + LastErrorText());
  SetWindowLongPtrW(FHandle, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  HWND window = FHandle;
  // Both run on other threads or inside handlers: they only post.
  SetWakeMainThread([window] { PostMessageW(window, CM_WAKEUP, 0, 0); });
  SetDeferredReleaseWake([window] { PostMessageW(window, CM_RELEASE, 0, 0); });
  gPreviousHandler = SetExceptionHandler(
      [this](TObject* Sender, std::exception_ptr Error) { HandleException(Sender, std::move(Error)); });
}

TApplication::~TApplication() {
  SetExceptionHandler(std::move(gPreviousHandler));
  SetWakeMainThread(nullptr);
  SetDeferredReleaseWake(nullptr);
  // The forms go while the window that owns theirs still exists.
  DestroyComponents();
  SetWindowLongPtrW(FHandle, GWLP_USERDATA, 0);
  DestroyWindow(FHandle);
  // A quit request nobody took must not end the next loop of this thread.
  MSG msg;
  while (PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
  }
}

String TApplication::ExeName() const {
  std::vector<wchar_t> buffer(MAX_PATH);
  for (;;) {
    const DWORD length = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (length == 0) return "";
    if (length < buffer.size()) {
      return WideToUtf8(std::u16string_view(reinterpret_cast<const char16_t*>(buffer.data()), length));
    }
    buffer.resize(buffer.size() * 2);
  }
}

void TApplication::SetTitle(const WideString& Value) {
  FTitle = Value;
  SetWindowTextW(FHandle, WideCStr(FTitle));
}

void TApplication::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == FMainForm) FMainForm = nullptr;
  if (AComponent == FHintControl) FHintControl = nullptr;
  if (AComponent == FHintWindow) FHintWindow = nullptr;
  if (AComponent == FHintTimer) FHintTimer = nullptr;
}

// ---- The loop ------------------------------------------------------------------------

void TApplication::Run() {
  if (!FMainForm) return;
  if (ShowMainForm) {
    try {
      FMainForm->SetVisible(true);
    } catch (...) {
      HandleException(FMainForm);
    }
  }
  while (!FTerminated) {
    try {
      HandleMessage();
    } catch (...) {
      HandleException(this);
    }
  }
}

void TApplication::Terminate() {
  FTerminated = true;
  // Also ends loops of the system's (a menu, a message box) that run now.
  PostQuitMessage(0);
}

void TApplication::EndSession() {
  FTerminated = true;
  if (FSessionEnded) return;
  FSessionEnded = true;
  if (!Screen) return;
  std::vector<TCustomForm*> forms;
  for (int i = 0; i < Screen->FormCount(); ++i) forms.push_back(Screen->Forms(i));
  for (TCustomForm* form : forms) {
    if (!form->OnEndSession) continue;
    try {
      form->OnEndSession(form);
    } catch (...) {
      // No message box now: nobody is left to answer it, and it would hold
      // up the end of the session. The other forms still save.
    }
  }
}

bool TApplication::ProcessMessage() {
  MSG msg;
  if (!PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) return false;
  if (msg.message == WM_QUIT) {
    FTerminated = true;
    return true;
  }
  TranslateMessage(&msg);
  DispatchMessageW(&msg);
  ReleaseWaiting();
  return true;
}

void TApplication::ProcessMessages() {
  while (ProcessMessage()) {
  }
  ReleaseWaiting();
}

void TApplication::HandleMessage() {
  if (!ProcessMessage()) Idle();
}

void TApplication::Idle() {
  bool done = true;
  try {
    if (OnIdle) OnIdle(this, done);
  } catch (...) {
    HandleException(this);
  }
  try {
    CheckSynchronize();
  } catch (...) {
    HandleException(this);
  }
  ReleaseWaiting();
  try {
    DoMouseIdle();
  } catch (...) {
    HandleException(this);
  }
  try {
    DoActionIdle();
  } catch (...) {
    HandleException(this);
  }
  if (!done || FTerminated) return;
  // Sleeps until a message arrives or a worker hands a call over.
  HANDLE sync = synchronize_detail::SyncEvent().Handle();
  MsgWaitForMultipleObjectsEx(1, &sync, INFINITE, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
}

void TApplication::ReleaseWaiting() {
  if (!InMessageHandler() && HasDeferredReleases()) ProcessDeferredReleases();
}

void TApplication::DoActionIdle() {
  if (!Screen) return;
  std::vector<TCustomForm*> forms;
  for (int i = 0; i < Screen->FormCount(); ++i) forms.push_back(Screen->Forms(i));
  for (TCustomForm* form : forms) {
    // A form freed by an earlier form's handler is no longer on the screen.
    bool present = false;
    for (int i = 0; i < Screen->FormCount() && !present; ++i) present = Screen->Forms(i) == form;
    if (present && form->HandleAllocated() && IsWindowEnabled(form->Handle())) form->UpdateActions();
  }
}

LRESULT CALLBACK TApplication::WindowProc(HWND Window, UINT Msg, WPARAM WParam, LPARAM LParam) {
  auto* app = reinterpret_cast<TApplication*>(GetWindowLongPtrW(Window, GWLP_USERDATA));
  if (!app) return DefWindowProcW(Window, Msg, WParam, LParam);
  try {
    return app->HandleWindowMessage(Msg, WParam, LParam);
  } catch (...) {
    app->HandleException(app);
    return 0;
  }
}

LRESULT TApplication::HandleWindowMessage(UINT Msg, WPARAM WParam, LPARAM LParam) {
  switch (Msg) {
    case CM_WAKEUP:
      CheckSynchronize();
      return 0;
    case CM_RELEASE:
      ReleaseWaiting();
      return 0;
    case WM_CLOSE:
      if (FMainForm) FMainForm->Close();
      return 0;
    case WM_ENDSESSION:
      if (WParam) EndSession();
      return 0;
    default:
      return DefWindowProcW(FHandle, Msg, WParam, LParam);
  }
}

// ---- Exceptions ------------------------------------------------------------------------

void TApplication::HandleException(TObject* Sender, std::exception_ptr Error) {
  if (!Error) return;
  // A control holding the mouse would keep it while the message shows.
  if (HWND capture = GetCapture()) SendMessageW(capture, WM_CANCELMODE, 0, 0);
  auto report = [&](const Exception& e) {
    try {
      if (OnException) {
        OnException(Sender, e);
      } else {
        ShowException(e);
      }
    } catch (...) {
      // Nothing leaves the exception display.
    }
  };
  try {
    std::rethrow_exception(Error);
  } catch (const Exception& e) {
    report(e);
  } catch (const std::exception& e) {
    report(Exception(e.what()));
  } catch (...) {
    report(Exception("Unknown exception"));
  }
}

void TApplication::ShowException(const Exception& E) {
  WideString text = Utf8ToWide(E.Message);
  if (!text.empty() && text.back() > u'.') text += u'.';
  MessageBox(text, FTitle, MB_OK | MB_ICONSTOP);
}

int TApplication::MessageBox(const WideString& Text, const WideString& Caption, UINT Flags) {
  HWND owner = GetActiveWindow();
  if (!owner && FMainForm && FMainForm->HandleAllocated()) owner = FMainForm->Handle();
  return MessageBoxW(owner, WideCStr(Text), WideCStr(Caption), Flags);
}

// ---- Front and back ---------------------------------------------------------------

void TApplication::BringToFront() {
  HWND target = GetLastActivePopup(FHandle);
  if ((!target || target == FHandle) && FMainForm) target = FMainForm->Handle();
  if (!target || target == FHandle) return;
  if (IsIconic(target)) ShowWindow(target, SW_RESTORE);
  SetForegroundWindow(target);
}

void TApplication::Restore() {
  if (FMainForm && FMainForm->HandleAllocated() && IsIconic(FMainForm->Handle())) {
    ShowWindow(FMainForm->Handle(), SW_RESTORE);
  }
}

void TApplication::Minimize() {
  if (FMainForm && FMainForm->HandleAllocated()) ShowWindow(FMainForm->Handle(), SW_MINIMIZE);
}

// ---- Start-up and shut-down -----------------------------------------------------------

void InitApplication() {
  InitMainThread();
  if (!Screen) Screen = new TScreen(nullptr);
  if (!Application) Application = new TApplication(nullptr);
}

void DoneApplication() {
  FreeAndNil(Application);
  FreeAndNil(Screen);
}
