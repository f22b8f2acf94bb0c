// TApplication: the hidden owner window of the forms (never shown, so the
// program has no taskbar button of its own), the message loop, exception
// display, and the main form.
//
// The program's start-up calls InitApplication() and its shut-down
// DoneApplication(): the application and the screen are made and freed there,
// in that order, not by static initialisers.
#pragma once
#include <exception>
#include <functional>
#include <utility>

#include "platform/component.h"
#include "platform/exceptions.h"
#include "platform/forms_win.h"
#include "platform/winapi_win.h"

class THintWindow;
class TTimer;

using TExceptionEvent = std::function<void(TObject* Sender, const Exception& E)>;
using TIdleEvent = std::function<void(TObject* Sender, bool& Done)>;

class TApplication : public TComponent {
 public:
  explicit TApplication(TComponent* AOwner);
  // Frees the forms (last created first), then the hidden window.
  ~TApplication() override;

  HWND Handle() const { return FHandle; }
  const WideString& Title() const { return FTitle; }
  void SetTitle(const WideString& Value);
  // UTF-8 path of the program file.
  String ExeName() const;

  // The first form made with CreateForm; closing it ends Run.
  TCustomForm* MainForm() const { return FMainForm; }
  // Run shows the main form first unless this is false.
  bool ShowMainForm = true;

  // Makes a form owned by the application and runs its OnCreate; the first
  // one becomes the main form (after its OnCreate, as in the class library).
  template <class T, class... Args>
  T* CreateForm(Args&&... args) {
    T* form = new T(this, std::forward<Args>(args)...);
    form->AfterConstruction();
    if (!FMainForm) {
      form->HandleNeeded();
      FMainForm = form;
    }
    return form;
  }

  // The message loop: runs until the main form closes or Terminate is called.
  // Returns at once without a main form. Exceptions from handlers go to
  // HandleException and the loop goes on.
  void Run();
  void Terminate();
  bool Terminated() const { return FTerminated; }
  // The session ends (WM_ENDSESSION to any of our windows): the system may end
  // the process as soon as the message is answered, so every form's
  // OnEndSession runs now, once, and the loop ends.
  void EndSession();
  // Handles every message waiting now, then returns.
  void ProcessMessages();
  // Handles one message; without one it idles (OnIdle, calls for the main
  // thread, deferred releases) and waits for the next.
  void HandleMessage();

  // OnException when set, else ShowException. Call it inside a catch block or
  // with the error in hand; a missing error does nothing.
  void HandleException(TObject* Sender, std::exception_ptr Error = std::current_exception());
  // A message box with the exception's message.
  void ShowException(const Exception& E);
  int MessageBox(const WideString& Text, const WideString& Caption, UINT Flags = MB_OK);
  TExceptionEvent OnException;
  TIdleEvent OnIdle;

  // ---- Hints. Hint is the long part of the hint of the control under the
  // mouse (for a status line); OnHint fires when it changes. After the mouse
  // rests HintPause ms over a control that shows hints (it or a parent has
  // ShowHint), the short part shows in a hint window made by HintWindowClass.
  const WideString& Hint() const { return FHint; }
  void SetHint(const WideString& Value);
  TNotifyEvent OnHint;
  bool ShowHint() const { return FShowHint; }
  void SetShowHint(bool Value);
  int HintPause = 500;
  // A control whose action has a shortcut shows it after the hint, "Open (Ctrl+O)".
  bool HintShortCuts = true;
  std::function<THintWindow*(TComponent* AOwner)> HintWindowClass;
  // Looks at the control under the mouse (the idle loop calls it): Hint
  // follows it, and a new control hides the hint window and starts the pause.
  void DoMouseIdle();
  // Hint anew from the control under the mouse (its hint may have changed).
  void RefreshHint();
  // The control whose hint is the current one (nullptr: none).
  TControl* HintControl() const { return FHintControl; }
  // Shows the hint window for the control under CursorPos (screen) at once.
  void ActivateHint(const TPoint& CursorPos);
  void CancelHint();
  THintWindow* HintWindow() const { return FHintWindow; }

  // The program to the front: its last active form, restored when minimised.
  void BringToFront();
  void Restore();
  void Minimize();

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  static LRESULT CALLBACK WindowProc(HWND Window, UINT Msg, WPARAM WParam, LPARAM LParam);
  LRESULT HandleWindowMessage(UINT Msg, WPARAM WParam, LPARAM LParam);
  bool ProcessMessage();
  void Idle();
  void ReleaseWaiting();
  // Every shown and enabled form updates its actions.
  void DoActionIdle();

  void HintTimerExpired();

  HWND FHandle = nullptr;
  WideString FTitle;
  WideString FHint;
  bool FShowHint = true;
  TControl* FHintControl = nullptr;
  THintWindow* FHintWindow = nullptr;  // owned as a component
  TTimer* FHintTimer = nullptr;        // owned as a component
  TCustomForm* FMainForm = nullptr;
  bool FTerminated = false;
  bool FSessionEnded = false;
};

extern TApplication* Application;

// The visual class layer's start-up: records the main thread, makes Screen
// and Application. Its mirror frees both. Both are for the program's own
// start-up and shut-down functions (and for tests, which may run them again).
void InitApplication();
void DoneApplication();
